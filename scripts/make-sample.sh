#!/usr/bin/env bash
# Builds the sample database from samples/orders.sql with the sqlite3 tool.
#   make-sample.sh [OUTPUT]   default: samples/orders.db
set -euo pipefail
cd "$(dirname "$0")/.."
output=${1:-samples/orders.db}
rm -f "$output"
sqlite3 -bail "$output" <samples/orders.sql
echo "$output: $(sqlite3 "$output" 'SELECT count(*) FROM orders') orders"
