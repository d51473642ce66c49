#!/usr/bin/env bash
# tallowick-cli on Linux and tallowick-cli.exe under Wine, run on the same
# inputs, must agree: the same exit status, the same standard output and
# error (CR LF and the two systems' path forms aside), the same files, the
# PDB and the Helper file byte for byte (the dates in their headers aside),
# the logs line for line with CR LF line ends on Windows.
#   compare_with_linux.sh LINUX_CLI WINDOWS_CLI [WINE_LAUNCHER]
# Under Wine the program reaches this machine's drivers (SQLite3, MDBTools,
# PostgreSQL Unicode) through Wine's odbc32. Needs /usr/bin/python3 with
# python3-dbf and python3-xlwt, sqlite3, and a PostgreSQL server.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
linux_cli=$(realpath "${1:?Linux tallowick-cli}")
windows_cli=$(realpath "${2:?tallowick-cli.exe}")
launcher=${3:-/usr/lib/wine/wine64}
prefix=$(dirname "$(dirname "$windows_cli")")/wine-prefix
fixtures=${TALLOWICK_FIXTURES:-$root/tests/fixtures}
python=/usr/bin/python3

work=$(mktemp -d /tmp/tallowick-compare-XXXXXX)
pg_port=$("$python" -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
cleanup() {
  bash "$root/tests/support/pg_server.sh" stop "$work/pg" "$pg_port" >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT
chmod 755 "$work"  # the PostgreSQL server runs as its own user when we are root

# A private ODBC configuration for both programs: Wine passes the
# environment on to the driver manager it forwards to.
mkdir -p "$work/odbc/system"
sed 's/^CommLog=1/CommLog=0/' /etc/odbcinst.ini >"$work/odbc/system/odbcinst.ini"
: >"$work/odbc/system/odbc.ini"
cat >"$work/odbc/odbc.ini" <<EOF
[TallowickPg]
Driver=PostgreSQL Unicode
Servername=127.0.0.1
Port=$pg_port
Database=tallowick
EOF
export ODBCINI=$work/odbc/odbc.ini ODBCSYSINI=$work/odbc/system

# The inputs, in a folder with a non-ASCII name.
inputs=$work/Eingänge
mkdir -p "$inputs/dbase"
sqlite3 -bail "$inputs/orders.db" <"$root/samples/orders.sql"
cp "$fixtures/Northwind.mdb" "$fixtures/DateTest.mdb" "$fixtures/AssetItems.accdb" "$inputs/"
"$python" "$root/samples/make_orders_dbf.py" "$inputs/dbase/orders.dbf" >/dev/null
"$python" - "$inputs/dbase/städte.dbf" "$inputs/Bücher.xls" <<'EOF'
import datetime, sys, dbf, xlwt
towns = dbf.Table(sys.argv[1], "name C(20); founded D; people N(9,0); area N(8,2)",
                  dbf_type="db3", codepage="cp1252")
towns.open(dbf.READ_WRITE)
towns.append(("Zürich", datetime.date(1262, 1, 1), 421878, 87.88))
towns.append(("Malmö", datetime.date(1275, 6, 1), 347949, 158.4))
towns.close()
book = xlwt.Workbook()
dates = xlwt.easyxf(num_format_str="YYYY-MM-DD")
sheet = book.add_sheet("Bücher")
for c, name in enumerate(["Titel", "Seiten", "Erschienen", "Preis €"]):
    sheet.write(0, c, name)
for r, row in enumerate([("Der Zauberberg", 1008, datetime.date(1924, 11, 28), 14.5),
                         ("Momo", 304, datetime.date(1973, 1, 1), 9.95)], 1):
    for c, value in enumerate(row):
        sheet.write(r, c, value, dates if c == 2 else xlwt.Style.default_style)
book.save(sys.argv[2])
EOF
bash "$root/tests/support/pg_server.sh" start "$work/pg" "$pg_port" "$root/samples/orders.sql" >/dev/null

# A path as the Windows program is given it: drive Z: is the Linux root.
windows_path() { printf 'Z:%s' "${1//\//\\}"; }

# Text of one run with the system's forms made alike: CR LF as LF, the
# run's folders as placeholders, Windows' separators as '/'.
alike() {  # FILE INPUTS OUT
  local inputs_form=$2 out_form=$3
  sed -e 's/\r$//' -e "s|${inputs_form//\\/\\\\}|<inputs>|g" -e "s|${out_form//\\/\\\\}|<out>|g" \
    -e 's|\\|/|g' "$1"
}

# Compares the PDB-format files (PDB and Helper file) with the three dates
# of the header (bytes 36 to 47) left out.
same_database() {
  "$python" -c 'import sys
a, b = (open(p, "rb").read() for p in sys.argv[1:3])
sys.exit(0 if len(a) == len(b) and a[:36] + a[48:] == b[:36] + b[48:] else 1)' "$1" "$2"
}

failures=0
fail() {
  echo "FAIL: $case_name: $*"
  failures=$((failures + 1))
}

# compare NAME STATUS [STDIN] -- ARGUMENTS...   with @IN@ for the inputs
# folder and @OUT@ for the output folder.
compare() {
  case_name=$1
  local expected=$2 input=$3
  shift 4
  local linux_out=$work/linux/$case_name windows_out=$work/windows/$case_name
  mkdir -p "$linux_out" "$windows_out"
  local win_inputs win_out
  win_inputs=$(windows_path "$inputs") win_out=$(windows_path "$windows_out")
  local linux_args=() windows_args=() argument
  for argument in "$@"; do
    local linux_form=${argument//@IN@/$inputs} windows_form=${argument//@IN@/$win_inputs}
    linux_args+=("${linux_form//@OUT@/$linux_out}")
    windows_args+=("${windows_form//@OUT@/$win_out}")
  done
  local linux_status=0 windows_status=0
  printf '%s' "$input" | "$linux_cli" "${linux_args[@]}" >"$work/linux.out" 2>"$work/linux.err" ||
    linux_status=$?
  printf '%s' "$input" | bash "$here/wine_run.sh" "$launcher" "$prefix" "$windows_cli" \
    "${windows_args[@]}" >"$work/windows.out" 2>"$work/windows.err" || windows_status=$?
  [ "$linux_status" = "$expected" ] || fail "Linux exit status $linux_status, not $expected: $(cat "$work/linux.err")"
  [ "$windows_status" = "$linux_status" ] ||
    fail "exit status $windows_status on Windows, $linux_status on Linux: $(cat "$work/windows.err")"
  local stream
  for stream in out err; do
    diff <(alike "$work/linux.$stream" "$inputs" "$linux_out") \
      <(alike "$work/windows.$stream" "$win_inputs" "$win_out") >"$work/diff" ||
      fail "standard $stream differs:$(printf '\n'; cat "$work/diff")"
  done
  diff <(ls "$linux_out") <(ls "$windows_out") >"$work/diff" ||
    fail "different files:$(printf '\n'; cat "$work/diff")"
  local file name
  for file in "$linux_out"/*; do
    [ -e "$file" ] || continue
    name=$(basename "$file")
    [ -e "$windows_out/$name" ] || continue
    case "$name" in
      *.pdb | *.mhl)
        same_database "$file" "$windows_out/$name" || fail "$name differs" ;;
      *)
        # Text mode: every line break is CR LF.
        "$python" -c 'import sys; t = open(sys.argv[1], "rb").read()
sys.exit(0 if t.count(b"\n") == t.count(b"\r\n") else 1)' "$windows_out/$name" ||
          fail "$name has a line break without CR"
        diff <(alike "$file" "$inputs" "$linux_out") \
          <(alike "$windows_out/$name" "$win_inputs" "$win_out") >"$work/diff" ||
          fail "$name differs:$(printf '\n'; cat "$work/diff")" ;;
    esac
  done
  echo "compared: $case_name (exit status $linux_status)"
}

generate=(generate --out @OUT@)
compare sqlite 0 "" -- "${generate[@]}" --file @IN@/orders.db --query "SELECT * FROM orders" --name Orders
compare sqlite-japanese 0 "" -- "${generate[@]}" --file @IN@/orders.db \
  --query "SELECT customer, product FROM orders" --name "Bestellungen Ü" --charset shift-jis
compare northwind 0 "" -- "${generate[@]}" --file @IN@/Northwind.mdb --query "SELECT * FROM Customers" \
  --name Customers
compare northwind-umlaut 0 "" -- "${generate[@]}" --file @IN@/Northwind.mdb \
  --query "SELECT * FROM [Umsätze]" --name Umsätze
compare datetest 0 "" -- "${generate[@]}" --file @IN@/DateTest.mdb --query "SELECT * FROM DateTest" \
  --name DateTest
compare accdb 0 "" -- "${generate[@]}" --file @IN@/AssetItems.accdb \
  --query "SELECT * FROM [Asset Items]" --name Assets
compare dbase 0 "" -- "${generate[@]}" --file @IN@/dbase/orders.dbf --query "SELECT * FROM orders" \
  --name OrdersDbf
compare dbase-umlaut 0 "" -- "${generate[@]}" --file @IN@/dbase/städte.dbf \
  --query "SELECT * FROM städte" --name Städte
compare workbook 0 "" -- "${generate[@]}" --file @IN@/Bücher.xls --query 'SELECT * FROM [Bücher$]' \
  --name Bücher
compare postgres-password 0 $'tallowick-pw\n' -- "${generate[@]}" --dsn TallowickPg --user tallowick \
  --password-stdin --query "SELECT * FROM orders ORDER BY id" --name OrdersPg
compare postgres-wrong-password 1 $'wrong\n' -- tables --dsn TallowickPg --user tallowick --password-stdin
compare view 0 "" -- view @IN@/../linux/sqlite/OrdersHelper.mhl --format csv
compare missing-file 1 "" -- "${generate[@]}" --file @IN@/missing.db --query "SELECT 1" --name Missing
compare bad-query 1 "" -- "${generate[@]}" --file @IN@/orders.db --query "SELECT nothing FROM orders" \
  --name Bad
compare usage 2 "" -- generate --file @IN@/orders.db

if [ "$failures" -ne 0 ]; then
  echo "$failures difference(s) between the Linux and the Windows program"
  exit 1
fi
echo "the Linux and the Windows program agree"
