#!/usr/bin/env bash
# Cross-builds the Windows programs with Debian's MinGW-w64 compilers:
#   scripts/build-windows.sh [--tests] [--package] [i686|x86_64]   (default i686)
# into build-win32/ or build-win64/. The programs are linked statically and
# need nothing beyond Windows' own DLLs. Needs g++-mingw-w64-i686-posix or
# g++-mingw-w64-x86-64-posix.
#   --tests    builds the tests as well (GoogleTest from /usr/src/googletest);
#              `ctest --test-dir build-win64` runs them under Wine
#   --package  makes tallowick-<version>-win32.zip (or -win64.zip) in the
#              build folder: the programs, Help.html, img/, the sample
#              orders.dbf, README-Windows.txt and LICENSE, all in one folder:
#              Setup.exe started there installs Tallowick.exe and the help
set -euo pipefail
cd "$(dirname "$0")/.."
arch=i686 tests=OFF package=no
for argument in "$@"; do
  case "$argument" in
    --tests) tests=ON ;;
    --package) package=yes ;;
    i686 | x86_64) arch=$argument ;;
    *) echo "usage: $0 [--tests] [--package] [i686|x86_64]" >&2; exit 2 ;;
  esac
done
case "$arch" in
  i686) build=build-win32 bits=32 ;;
  x86_64) build=build-win64 bits=64 ;;
esac
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-Release} \
  -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-$arch.cmake" \
  -DTALLOWICK_GUI=ON -DTALLOWICK_TESTS=$tests >/dev/null
# The programs of the Windows build (the command line, Tallowick.exe and
# Setup.exe) and what they link, and the tests.
targets=(cli/all app/all installer/all)
if [ "$tests" = ON ]; then
  targets+=(tests/all)
fi
ninja -C "$build" "${targets[@]}"
# Only Windows' own DLLs: a DLL of the compiler's would be missing on a
# fresh Windows.
objdump=$arch-w64-mingw32-objdump
programs=$(ls "$build"/cli/*.exe "$build"/app/*.exe "$build"/installer/*.exe 2>/dev/null || true)
if [ -z "$programs" ]; then
  echo "no program was built in $build" >&2
  exit 1
fi
for exe in $programs; do
  foreign=$("$objdump" -p "$exe" | sed -n 's/^\s*DLL Name: //p' |
            grep -viE '^(kernel32|msvcrt|odbc32|odbccp32|shell32|user32|gdi32|advapi32|ole32|comctl32|comdlg32)\.dll$' || true)
  if [ -n "$foreign" ]; then
    echo "$exe needs DLLs Windows does not have: $foreign" >&2
    exit 1
  fi
done
# The sample a fresh Windows reads with the dBase driver it ships.
mkdir -p "$build/samples"
/usr/bin/python3 samples/make_orders_dbf.py "$build/samples/orders.dbf" >/dev/null
echo "built:" $programs "$build/samples/orders.dbf"

if [ "$package" = yes ]; then
  version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
  # The help page's files from the installer's list (installer/install_files.inc),
  # without the Linux program and its icon.
  help_files=$(sed -n 's/^"\/\{0,1\}\([^"]*\)",$/\1/p' installer/install_files.inc |
               grep -vxE 'tallowick(\.png)?')
  /usr/bin/python3 - "$build/tallowick-$version-win$bits.zip" "tallowick-$version-win$bits" \
    "$build" $help_files <<'PYTHON'
import os, sys, zipfile
archive, top, build, help_files = sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4:]
entries = [(os.path.join(build, folder, name), name) for folder in ("app", "cli", "installer")
           if os.path.isdir(os.path.join(build, folder))
           for name in sorted(os.listdir(os.path.join(build, folder))) if name.endswith(".exe")]
entries += [(os.path.join("resources/help", name), name) for name in help_files]
entries += [(os.path.join(build, "samples/orders.dbf"), "orders.dbf"), ("LICENSE", "LICENSE")]
partial = archive + ".partial"
try:
    with zipfile.ZipFile(partial, "w", zipfile.ZIP_DEFLATED) as zip_file:
        for source, name in entries:
            zip_file.write(source, top + "/" + name)
        # Windows' line ends for the one text a Windows user reads first.
        with open("README-Windows.txt", encoding="utf-8") as readme:
            zip_file.writestr(top + "/README-Windows.txt", readme.read().replace("\n", "\r\n"))
    os.replace(partial, archive)
finally:
    if os.path.exists(partial):
        os.remove(partial)
PYTHON
  echo "packaged: $build/tallowick-$version-win$bits.zip"
fi
