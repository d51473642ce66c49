#!/bin/sh
# Runs the Win32 smoke program under Wine on a virtual display of a laptop's
# size (1366 x 768) with a window manager, on a SQLite file made from
# samples/orders.sql, and turns its screenshots into PNG files:
#   run_win32_smoke.sh SMOKE.exe SOURCE_DIR WORK_FOLDER [COPY_SHOTS_TO]
# The Wine prefix is private (WORK_FOLDER/prefix; its first start takes a
# minute), so is the ODBC user configuration. Exit status: the program's.
set -eu
smoke=$1 source=$2 work=$3 copy_to=${4:-}
wine=${WINE:-/usr/lib/wine/wine64}
rm -rf "$work/out" "$work/shots" "$work/orders.db"
mkdir -p "$work/out" "$work/shots" "$work/prefix"
sqlite3 "$work/orders.db" < "$source/samples/orders.sql"
rows=$(sqlite3 "$work/orders.db" "SELECT COUNT(*) FROM orders")
export WINEPREFIX="$work/prefix" WINEDEBUG=-all ODBCINI="$work/odbc.ini"
: > "$ODBCINI"
# No Help.html in the working folder: F1 and Help report where they looked.
cd "$work"
status=0
xvfb-run -a -s "-screen 0 1366x768x24" sh "$source/tests/app/with_window_manager.sh" \
  "$wine" "$smoke" "$work/orders.db" "SELECT * FROM orders" "$rows" "$work/out" "$work/shots" ||
  status=$?
for shot in "$work"/shots/*.bmp; do
  [ -e "$shot" ] || continue
  python3 "$source/tests/ui_win32/bmp_to_png.py" "$shot" "${shot%.bmp}.png"
  if [ -n "$copy_to" ]; then
    mkdir -p "$copy_to"
    cp "${shot%.bmp}.png" "$copy_to/win32-$(basename "${shot%.bmp}").png"
  fi
done
exit $status
