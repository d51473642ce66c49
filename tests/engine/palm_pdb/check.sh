#!/usr/bin/env bash
# Writes sample databases with the engine and reads them with the npm package
# palm-pdb. Usage: check.sh SAMPLE_WRITER WORK_FOLDER. Fails (never skips)
# when npm cannot install the package.
set -euo pipefail
writer=$1
work=$2
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$work"
cp "$here/package.json" "$here/package-lock.json" "$here/check.mjs" "$work/"
cd "$work"
if ! npm ci --no-audit --no-fund --loglevel=error; then
  echo "npm could not install palm-pdb from the registry" >&2
  exit 1
fi
rm -rf databases
mkdir databases
"$writer" databases/
node check.mjs databases
