#!/usr/bin/env bash
# Writes sample databases with the engine and reads them with the npm package
# palm-pdb, which the set-up script installs beside this script (the test
# itself needs no network). Usage: check.sh SAMPLE_WRITER WORK_FOLDER. Fails
# (never skips) when the package is missing.
set -euo pipefail
writer=$1
work=$2
here=$(cd "$(dirname "$0")" && pwd)
if [ ! -f "$here/node_modules/palm-pdb/package.json" ]; then
  echo "the npm package palm-pdb is not installed in $here:" >&2
  echo "run 'sudo bash scripts/install-deps.sh' (or 'npm ci' in that folder)" >&2
  exit 1
fi
rm -rf "$work"
mkdir -p "$work/databases"
"$writer" "$work/databases/"
node "$here/check.mjs" "$work/databases"
