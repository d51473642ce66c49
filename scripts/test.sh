#!/usr/bin/env bash
# Builds Tallowick and runs every test. The tests start what they need themselves:
# a private PostgreSQL server on loopback, Xvfb for the GUI smoke test, and a
# private ODBC configuration (the user's own ~/.odbc.ini is never touched).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh "$@"
ctest --test-dir "${BUILD_DIR:-build}" --output-on-failure -j2 --timeout 600
