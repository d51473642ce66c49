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
#              orders.dbf, README-Windows.txt and LICENSE
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
  -DTALLOWICK_GUI=OFF -DTALLOWICK_TESTS=$tests >/dev/null
ninja -C "$build"
# Only Windows' own DLLs: a DLL of the compiler's would be missing on a
# fresh Windows.
objdump=$arch-w64-mingw32-objdump
for exe in "$build"/cli/*.exe; do
  foreign=$("$objdump" -p "$exe" | sed -n 's/^\s*DLL Name: //p' |
            grep -viE '^(kernel32|msvcrt|odbc32|odbccp32|shell32|user32|advapi32|ole32|comctl32|comdlg32)\.dll$' || true)
  if [ -n "$foreign" ]; then
    echo "$exe needs DLLs Windows does not have: $foreign" >&2
    exit 1
  fi
done
echo "built: $(ls "$build"/cli/*.exe)"
