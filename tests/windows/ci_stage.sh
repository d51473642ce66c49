#!/usr/bin/env bash
# The Windows stage of CI, run as root after the Linux build:
#   ci_stage.sh LINUX_CLI
# installs the MinGW-w64 compilers and Wine, cross-builds and packages both
# Windows programs, runs the 64-bit tests under Wine and compares the 64-bit
# tallowick-cli.exe with the Linux one. The 32-bit program is run too when
# this machine runs i386 programs; otherwise it is built and checked only.
set -euo pipefail
cd "$(dirname "$0")/../.."
linux_cli=$(realpath "${1:?the Linux tallowick-cli}")
start=$(date +%s)
step() { echo "--- $* ($(($(date +%s) - start)) s)"; }
export DEBIAN_FRONTEND=noninteractive

step "packages: the cross compilers and Wine"
apt-get install -y --no-install-recommends \
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix wine64 >/dev/null

# Whether the kernel runs i386 programs: a 32-bit ELF program that only
# calls exit(0).
probe=$(mktemp)
/usr/bin/python3 - "$probe" <<'EOF'
import struct, sys
code = bytes.fromhex("b801000000" "31db" "cd80")  # mov eax, 1; xor ebx, ebx; int 0x80
size = 52 + 32 + len(code)
header = b"\x7fELF\x01\x01\x01" + bytes(9) + struct.pack(
    "<HHIIIIIHHHHHH", 2, 3, 1, 0x08048054, 52, 0, 0, 52, 32, 1, 0, 0, 0)
program = struct.pack("<IIIIIIII", 1, 0, 0x08048000, 0x08048000, size, size, 5, 0x1000)
open(sys.argv[1], "wb").write(header + program + code)
EOF
chmod +x "$probe"
if probe_error=$("$probe" 2>&1); then
  i386=yes
  step "this machine runs i386 programs: the 32-bit program is tested under wine as well"
  dpkg --add-architecture i386
  apt-get update >/dev/null
  apt-get install -y --no-install-recommends wine32:i386 libodbc2:i386 libsqliteodbc:i386 \
    odbc-mdbtools:i386 odbc-postgresql:i386 >/dev/null
else
  i386=no
  step "this machine cannot run i386 programs (${probe_error##*: }): the 32-bit program is built and checked, not run"
fi
rm -f "$probe"

# Build logs are shown whole only when the build fails.
x86_64_log=$(mktemp) i686_log=$(mktemp)
trap 'rm -f "$x86_64_log" "$i686_log"' EXIT
step "64-bit build with its tests, and its archive"
if ! bash scripts/build-windows.sh --tests --package x86_64 >"$x86_64_log" 2>&1; then
  cat "$x86_64_log"
  exit 1
fi
tail -n 2 "$x86_64_log"

# The 32-bit build goes on beside the 64-bit tests, which mostly wait for Wine.
step "32-bit build started beside the 64-bit tests"
i686_arguments=(--package i686)
if [ "$i386" = yes ]; then
  i686_arguments=(--tests "${i686_arguments[@]}")
fi
setsid bash scripts/build-windows.sh "${i686_arguments[@]}" >"$i686_log" 2>&1 &
i686_build=$!
trap 'kill -- -$i686_build 2>/dev/null || true; rm -f "$x86_64_log" "$i686_log"' EXIT

step "64-bit tests under wine64"
# The window tests need a display; the smoke tests start their own.
xvfb-run -a ctest --test-dir build-win64 --output-on-failure -j2 --timeout 300
step "64-bit tallowick-cli.exe against the Linux one"
bash tests/windows/compare_with_linux.sh "$linux_cli" build-win64/cli/tallowick-cli.exe \
  /usr/lib/wine/wine64

step "32-bit build (objdump: only Windows' own DLLs) and its archive"
if ! wait "$i686_build"; then
  cat "$i686_log"
  exit 1
fi
tail -n 2 "$i686_log"
if [ "$i386" = yes ]; then
  step "32-bit tests under wine"
  xvfb-run -a ctest --test-dir build-win32 --output-on-failure -j2 --timeout 300
  step "32-bit tallowick-cli.exe against the Linux one"
  bash tests/windows/compare_with_linux.sh "$linux_cli" build-win32/cli/tallowick-cli.exe \
    /usr/lib/wine/wine
fi
step "done"
