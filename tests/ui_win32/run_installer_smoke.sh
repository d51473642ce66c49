#!/bin/sh
# Runs the installer's smoke program under Wine on a virtual display with a
# window manager, from an installation source folder laid out as the Windows
# archive lays it out (Help.html, img/, Tallowick.exe), and turns its
# screenshots into PNG files:
#   run_installer_smoke.sh SMOKE.exe TALLOWICK.exe SOURCE_DIR WORK_FOLDER [COPY_SHOTS_TO]
# The Wine prefix (WORK_FOLDER/prefix) and the home folder Wine sees are
# private, and Wine makes no Linux desktop entries for the links, so nothing
# lands on the user's own desktop. Exit status: the program's.
set -eu
smoke=$1 program=$2 source=$3 work=$4 copy_to=${5:-}
wine=${WINE:-/usr/lib/wine/wine64}
rm -rf "$work/source" "$work/shots"
mkdir -p "$work/source/img" "$work/shots" "$work/prefix" "$work/home"
cp "$source/resources/help/Help.html" "$program" "$work/source/"
cp "$source"/resources/help/img/*.jpg "$work/source/img/"
export HOME="$work/home" WINEPREFIX="$work/prefix" WINEDEBUG=-all \
  WINEDLLOVERRIDES="winemenubuilder.exe=d"
# What an earlier run installed.
rm -rf "$WINEPREFIX/drive_c/Program Files/Tallowick"
find "$WINEPREFIX/drive_c/users" -path '*/Desktop/Tallowick*.lnk' -exec rm -f {} + 2>/dev/null || true
# The installer copies from its working folder.
cd "$work/source"
status=0
xvfb-run -a -s "-screen 0 1366x768x24" sh "$source/tests/app/with_window_manager.sh" \
  "$wine" "$smoke" "$work/shots" || status=$?
for shot in "$work"/shots/*.bmp; do
  [ -e "$shot" ] || continue
  python3 "$source/tests/ui_win32/bmp_to_png.py" "$shot" "${shot%.bmp}.png"
  if [ -n "$copy_to" ]; then
    mkdir -p "$copy_to"
    cp "${shot%.bmp}.png" "$copy_to/win32-$(basename "${shot%.bmp}").png"
  fi
done
exit $status
