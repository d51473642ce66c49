#!/usr/bin/env bash
# The Debian packages, built the Debian way and tried on this machine (root):
#   check_debian_packages.sh [OUT_DIR]
# Builds tallowick and tallowick-cli with dpkg-buildpackage from a copy of the
# source tree (the tree itself stays as it is), runs lintian (errors fail),
# checks what each package holds and depends on, installs both with apt-get,
# runs the installed programs' checks, removes both again and checks that no
# file of theirs is left. The .deb files and lintian's report stay in OUT_DIR
# (default: a folder removed at the end).
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
scratch=$(mktemp -d)
out=${1:-$scratch/out}
mkdir -p "$out"
installed=()
cleanup() {
  if [ "${#installed[@]}" -gt 0 ]; then
    DEBIAN_FRONTEND=noninteractive apt-get remove -y "${installed[@]}" >/dev/null 2>&1 || true
  fi
  rm -rf "$scratch"
}
trap cleanup EXIT
failures=0
check() {  # check DESCRIPTION COMMAND...
  local what=$1; shift
  if "$@"; then echo "ok: $what"; else echo "FAIL: $what"; failures=$((failures + 1)); fi
}

# A copy of the tree as it is checked out (with uncommitted changes, without
# build folders), so that dpkg-buildpackage writes its results beside the copy.
src=$scratch/tallowick
mkdir -p "$src"
(cd "$top" && git ls-files -z --cached --others --exclude-standard |
   tar --null --ignore-failed-read -T - -cf -) | tar -xf - -C "$src"
(cd "$src" && dpkg-buildpackage -us -uc -b >"$out/build.log" 2>&1) || {
  tail -n 40 "$out/build.log"; echo "FAIL: dpkg-buildpackage (log: $out/build.log)"; exit 1; }
cp "$scratch"/*.deb "$scratch"/*.changes "$scratch"/*.buildinfo "$out/"
version=$(dpkg-parsechangelog -l "$src/debian/changelog" -S Version)
arch=$(dpkg --print-architecture)
gui=$out/tallowick_${version}_${arch}.deb
cli=$out/tallowick-cli_${version}_${arch}.deb

# Every tag, information included; the status fails on errors only.
lintian_status=0
lintian --fail-on error --info --display-info --pedantic --tag-display-limit 0 "$gui" "$cli" \
  >"$out/lintian.txt" 2>&1 || lintian_status=$?
cat "$out/lintian.txt"
check "lintian checked both packages and reports no error" test "$lintian_status" -eq 0

holds() { dpkg-deb -c "$1" | awk '{print $6}' | grep -qx "./$2"; }
for f in usr/bin/tallowick usr/share/applications/tallowick.desktop usr/share/metainfo/example.tallowick.Tallowick.metainfo.xml \
         usr/share/icons/hicolor/16x16/apps/tallowick.png usr/share/icons/hicolor/256x256/apps/tallowick.png \
         usr/share/tallowick/Help.html usr/share/tallowick/img/PDBGen.jpg usr/share/man/man1/tallowick.1.gz \
         usr/share/doc/tallowick/copyright; do
  check "tallowick holds /$f" holds "$gui" "$f"
done
for f in usr/bin/tallowick-cli usr/share/man/man1/tallowick-cli.1.gz \
         usr/share/bash-completion/completions/tallowick-cli usr/share/doc/tallowick-cli/copyright; do
  check "tallowick-cli holds /$f" holds "$cli" "$f"
done
for deb in "$gui" "$cli"; do
  check "$(basename "$deb") leaves the installer out" \
    test -z "$(dpkg-deb -c "$deb" | awk '{print $6}' | grep 'tallowick-setup')"
done
cli_depends=$(dpkg-deb -f "$cli" Depends)
check "tallowick-cli depends on neither wx nor GTK" test -z "$(grep -iE 'wx|gtk' <<<"$cli_depends")"
for d in libodbc2 odbcinst libsqliteodbc odbc-mdbtools; do
  check "tallowick-cli depends on $d" grep -qE "(^|, )$d( |,|$)" <<<"$cli_depends"
done
check "tallowick depends on wx" grep -q libwxgtk <<<"$(dpkg-deb -f "$gui" Depends)"

export DEBIAN_FRONTEND=noninteractive
apt-get install -y "$gui" "$cli" >"$out/install.log" 2>&1 || {
  cat "$out/install.log"; echo "FAIL: apt-get install"; exit 1; }
installed=(tallowick tallowick-cli)
check "tallowick-cli --version runs" tallowick-cli --version
check "the menu entry validates" desktop-file-validate /usr/share/applications/tallowick.desktop
if command -v appstreamcli >/dev/null; then
  appstream_valid() { appstreamcli validate --no-net "$1" >/dev/null; }
  check "the AppStream description validates" \
    appstream_valid /usr/share/metainfo/example.tallowick.Tallowick.metainfo.xml
fi
files=$(dpkg -L tallowick tallowick-cli | while read -r f; do if [ -f "$f" ]; then echo "$f"; fi; done)
apt-get remove -y tallowick tallowick-cli >"$out/remove.log" 2>&1
installed=()
left=$(while read -r f; do if [ -e "$f" ]; then echo "$f"; fi; done <<<"$files")
check "removing both packages leaves none of their files ($(wc -l <<<"$files") checked)" test -z "$left"
[ -z "$left" ] || echo "$left"

echo "debian packages: $failures failed"
[ "$failures" -eq 0 ]
