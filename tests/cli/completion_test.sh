#!/usr/bin/env bash
# The bash completion of tallowick-cli, as bash calls it: COMP_WORDS and
# COMP_CWORD set, the function run, COMPREPLY checked. Data source names
# come from the program itself, on a private ODBC configuration.
# Usage: completion_test.sh COMPLETION_FILE FOLDER_OF_TALLOWICK_CLI
set -u
completion=$1
export PATH="$2:$PATH"

odbc=$(mktemp -d)
trap 'rm -rf "$odbc"' EXIT
mkdir "$odbc/system"
: >"$odbc/system/odbcinst.ini"
: >"$odbc/system/odbc.ini"
printf '[Orders Local]\nDriver=SQLite3\nDatabase=/nowhere.db\n\n[Other]\nDriver=SQLite3\n' \
  >"$odbc/odbc.ini"
export ODBCINI="$odbc/odbc.ini" ODBCSYSINI="$odbc/system"

mkdir "$odbc/out dir" "$odbc/outer"
: >"$odbc/OrdersHelper.mhl"
mkdir -p "$odbc/data/sub folder"
for f in a.mdb b.ACCDB c.xls d.xlsx e.XLSM f.dbf g.db h.sqlite i.sqlite3 "j k.csv" l.TSV m.txt \
  n.doc o.csv.bak; do
  : >"$odbc/data/$f"
done

# shellcheck source=/dev/null
source "$completion"

failures=0
# expect "WORDS..." "what COMPREPLY must hold, sorted, one per line"
expect() {
  local line=$1 expected=$2
  read -r -a COMP_WORDS <<<"$line"
  [[ $line == *" " ]] && COMP_WORDS+=("")
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMPREPLY=()
  _tallowick_cli
  local got
  got=$(printf '%s\n' "${COMPREPLY[@]}" | LC_ALL=C sort)
  [[ ${#COMPREPLY[@]} -eq 0 ]] && got=""
  if [[ $got != "$expected" ]]; then
    printf 'FAIL: "%s"\n  expected: %q\n  got:      %q\n' "$line" "$expected" "$got"
    failures=$((failures + 1))
  fi
}

expect "tallowick-cli " $'--help\n--version\n-V\n-h\ncolumns\ngenerate\npreview\nreader\nsources\ntables\nview'
expect "tallowick-cli ge" "generate"
expect "tallowick-cli generate --c" $'--charset\n--creator'
expect "tallowick-cli generate --charset " $'big5\ncp1252\neuc-kr\ngb2312\nshift-jis\nutf-8'
expect "tallowick-cli view x.mhl --charset s" "shift-jis"
expect "tallowick-cli generate --charset = u" "utf-8"
expect "tallowick-cli preview --format " $'csv\njson\ntext'
expect "tallowick-cli tables --dsn " $'Orders\\ Local\nOther'
expect "tallowick-cli tables --dsn Or" 'Orders\ Local'
expect "tallowick-cli columns --t" "--table"
expect "tallowick-cli generate --file x.db --query " ""
expect "tallowick-cli generate --out $odbc/out" "$odbc/out dir"$'\n'"$odbc/outer"
expect "tallowick-cli view $odbc/Orders" "$odbc/OrdersHelper.mhl"
expect "tallowick-cli view -" $'--charset\n--format\n--help\n-h'
expect "tallowick-cli sources --" "--help"
expect "tallowick-cli r" "reader"
expect "tallowick-cli reader $odbc/Orders" "$odbc/OrdersHelper.mhl"
expect "tallowick-cli reader x.mhl --" $'--help\n--lang\n--out\n--prefix'
expect "tallowick-cli reader x.mhl --lang " "c"
expect "tallowick-cli reader x.mhl --prefix " ""
expect "tallowick-cli generate --reader $odbc/out" "$odbc/out dir"$'\n'"$odbc/outer"
expect "tallowick-cli generate --re" "--reader"
expect "tallowick-cli tables --file $odbc/data/" "$(printf "$odbc/data/%s\n" a.mdb b.ACCDB c.xls \
  d.xlsx e.XLSM f.dbf g.db h.sqlite i.sqlite3 "j k.csv" l.TSV m.txt "sub folder" | LC_ALL=C sort)"
expect "tallowick-cli tables --d" $'--delimiter\n--dsn'
expect "tallowick-cli preview --file x.csv --delimiter " $'comma\nsemicolon\ntab'
expect "tallowick-cli generate --encoding w" $'windows-1250\nwindows-1251\nwindows-1252'
expect "tallowick-cli columns --encoding = c" $'cp437\ncp850'

if ((failures)); then
  echo "$failures case(s) failed"
  exit 1
fi
echo "all cases passed"
