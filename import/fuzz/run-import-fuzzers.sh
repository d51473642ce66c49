#!/usr/bin/env bash
# Runs each import fuzzer for SECONDS (default 60) under ASan and UBSan, on
# a seed corpus of real files written by the tests' data writers
# (python3-xlwt, python3-openpyxl, python3-dbf, Python's csv module).
#
# usage: run-import-fuzzers.sh [SECONDS] [BUILD_DIR]
#   BUILD_DIR (default: build-fuzz, or $FUZZ_BUILD_DIR) is configured with
#   clang, TALLOWICK_FUZZ and TALLOWICK_SANITIZE when it has no fuzzers yet.
# Exit status: 0 when no fuzzer found a fault of ours; inputs are kept in
# BUILD_DIR/fuzz-import/crashes.
set -euo pipefail
seconds=${1:-60}
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../.." && pwd)
build=${2:-${FUZZ_BUILD_DIR:-$repo/build-fuzz}}
if [ ! -f "$build/CMakeCache.txt" ]; then
  CC=clang CXX=clang++ cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTALLOWICK_FUZZ=ON -DTALLOWICK_SANITIZE=ON -DTALLOWICK_GUI=OFF -DTALLOWICK_TESTS=OFF >/dev/null
fi
ninja -C "$build" -j2 dbf_import_fuzzer xls_import_fuzzer xls_scan_fuzzer xlsx_import_fuzzer \
  csv_import_fuzzer
build=$(cd "$build" && pwd)
work="$build/fuzz-import"
rm -rf "$work/crashes"
mkdir -p "$work/crashes" "$work/seeds"

find_fuzzer() {
  local found
  found=$(find "$build" -type f -name "$1" -perm -u+x | head -n 1)
  if [ -z "$found" ]; then echo "no $1 in $build (configure with TALLOWICK_FUZZ=ON and clang)" >&2; exit 2; fi
  echo "$found"
}

# Seeds: the workbooks and tables the tests use.
/usr/bin/python3 "$repo/tests/import/data_writers/make_workbooks.py" "$work/seeds"
/usr/bin/python3 "$repo/tests/import/data_writers/make_dbf_tables.py" "$work/seeds"
mkdir -p "$work/seeds/open"
/usr/bin/python3 "$repo/tests/import/data_writers/make_xlsx_workbooks.py" "$work/seeds/open"
/usr/bin/python3 "$repo/tests/import/data_writers/make_csv_files.py" "$work/seeds/open"
mkdir -p "$work/corpus-xls" "$work/corpus-dbf" "$work/corpus-xlsx" "$work/corpus-csv"
cp "$work/seeds"/*.xls "$work/corpus-xls/"
# The bomb is left out: each run would unpack half a gigabyte.
find "$work/seeds/open" -name '*.xlsx' ! -name bomb.xlsx -exec cp {} "$work/corpus-xlsx/" \;
# A csv seed: the options byte (0: delimiter and encoding found), then the file.
for seed in "$work/seeds/open"/*.csv "$work/seeds/open"/*.tsv "$work/seeds/open"/*.txt; do
  { printf '\0'; cat "$seed"; } >"$work/corpus-csv/$(basename "$seed")"
done
# A dbf seed: flag byte, table length, table, memo (see dbf_import_fuzzer.cpp).
/usr/bin/python3 - "$work/seeds" "$work/corpus-dbf" <<'PY'
import glob, os, struct, sys
seeds, out = sys.argv[1], sys.argv[2]
for table in glob.glob(os.path.join(seeds, '*', '*.[dD][bB][fF]')):
    base = os.path.splitext(table)[0]
    memo, flags = b'', 0
    for ext, flag in (('.dbt', 1), ('.DBT', 1), ('.fpt', 3), ('.FPT', 3)):
        if os.path.exists(base + ext):
            memo, flags = open(base + ext, 'rb').read(), flag
    data = open(table, 'rb').read()
    name = os.path.basename(os.path.dirname(table)) + '-' + os.path.basename(table)
    with open(os.path.join(out, name), 'wb') as f:
        f.write(bytes([flags]) + struct.pack('<I', len(data)) + data + memo)
PY

export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
status=0
run() {
  local fuzzer=$1 corpus=$2 max_len=$3
  local binary
  binary=$(find_fuzzer "$fuzzer")
  echo "== $fuzzer for ${seconds}s"
  if ! "$binary" "$corpus" -max_total_time="$seconds" -max_len="$max_len" -timeout=20 -rss_limit_mb=2048 \
       -artifact_prefix="$work/crashes/$fuzzer-" -print_final_stats=1 2>"$work/$fuzzer.log"; then
    echo "!! $fuzzer found a fault; see $work/$fuzzer.log and $work/crashes" >&2
    status=1
  fi
  grep -E "stat::number_of_executed_units|stat::peak_rss_mb|cov:" "$work/$fuzzer.log" | tail -n 3 || true
}
run xls_scan_fuzzer "$work/corpus-xls" 65536
run xls_import_fuzzer "$work/corpus-xls" 65536
run dbf_import_fuzzer "$work/corpus-dbf" 16384
run xlsx_import_fuzzer "$work/corpus-xlsx" 65536
run csv_import_fuzzer "$work/corpus-csv" 16384
exit $status
