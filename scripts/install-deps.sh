#!/usr/bin/env bash
# Installs every Debian package Tallowick needs to build, run, test and package.
# Run as root, or as a user who may use sudo: it raises itself when needed.
set -euo pipefail
packages=(
  # build
  build-essential cmake ninja-build pkg-config git
  libgtest-dev unixodbc-dev libwxgtk3.2-dev libsqlite3-dev libcsv-dev libzip-dev libexpat1-dev
  # ODBC drivers and tools
  odbcinst unixodbc libsqliteodbc odbc-mdbtools mdbtools odbc-postgresql postgresql sqlite3
  # tests: display, test data writers, fuzzing, packaging checks, independent PDB reader
  xvfb xauth openbox python3 python3-dbf python3-xlwt python3-openpyxl clang libclang-rt-14-dev clang-format
  desktop-file-utils xdg-utils xdg-user-dirs libglib2.0-bin file
  # the Debian packages: build, lintian, the AppStream validator
  debhelper lintian appstream
)
if [ "$(id -u)" -ne 0 ]; then
  exec sudo "$0" "$@"
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update
apt-get install -y --no-install-recommends "${packages[@]}"
# Node.js runs the independent PDB reader of the tests; keep a Node that is already there.
if ! command -v npm >/dev/null 2>&1; then
  apt-get install -y --no-install-recommends nodejs npm
fi
# The tests' independent PDB reader (npm package palm-pdb, pinned by its lock
# file) is installed here, so the tests themselves need no network.
(cd "$(dirname "$0")/../tests/engine/palm_pdb" && npm ci --no-audit --no-fund --loglevel=error)
