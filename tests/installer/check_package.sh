#!/usr/bin/env bash
# The installed layout and the Debian package of a built tree:
#   check_package.sh BUILD_DIR
# 1. cmake --install into a scratch DESTDIR with the prefix /usr: the three
#    programs, the help page and pictures, the icons, and a menu entry that
#    validates and starts the program where its help page is.
# 2. The same with a prefix holding blanks and quotes: the entry still validates.
# 3. cpack -G DEB into a scratch folder: the package holds the same files and
#    depends on the libraries and ODBC drivers the programs use.
set -euo pipefail
build=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
check() {  # check DESCRIPTION COMMAND...
  local what=$1; shift
  if "$@"; then echo "ok: $what"; else echo "FAIL: $what"; failures=$((failures + 1)); fi
}
key() { sed -n "s/^$1=//p" "$2"; }

root=$scratch/root
DESTDIR=$root cmake --install "$build" --prefix /usr >/dev/null
files=(usr/bin/tallowick usr/bin/tallowick-cli usr/bin/tallowick-setup
       usr/share/applications/tallowick.desktop
       usr/share/icons/hicolor/32x32/apps/tallowick.png usr/share/icons/hicolor/64x64/apps/tallowick.png
       usr/share/icons/hicolor/128x128/apps/tallowick.png
       usr/share/tallowick/Help.html usr/share/tallowick/img/PDBGen.jpg usr/share/tallowick/img/PDBView.jpg
       usr/share/tallowick/img/browse.jpg)
for f in "${files[@]}"; do check "installs /$f" test -f "$root/$f"; done
for p in tallowick tallowick-cli tallowick-setup; do check "/usr/bin/$p is executable" test -x "$root/usr/bin/$p"; done
entry=$root/usr/share/applications/tallowick.desktop
check "the menu entry validates" desktop-file-validate "$entry"
check "the menu entry starts /usr/bin/tallowick" test "$(key Exec "$entry")" = /usr/bin/tallowick
check "the menu entry starts it in /usr/share/tallowick" test "$(key Path "$entry")" = /usr/share/tallowick
check "the menu entry's icon is installed" test "$(key Icon "$entry")" = tallowick
check "the working folder holds the help page" test -f "$root$(key Path "$entry")/Help.html"
cli_help() { "$root/usr/bin/tallowick-cli" --help >/dev/null; }
check "tallowick-cli --help runs" cli_help

odd=$scratch/odd
DESTDIR=$odd cmake --install "$build" --prefix '/opt/My "Tools" $1' >/dev/null
odd_entry=$odd'/opt/My "Tools" $1/share/applications/tallowick.desktop'
check "an entry for a prefix with blanks and quotes validates" desktop-file-validate "$odd_entry"
check "its Exec key is quoted" test "$(key Exec "$odd_entry")" = '"/opt/My \\"Tools\\" \\$1/bin/tallowick"'
check "its Path key is the plain folder" test "$(key Path "$odd_entry")" = '/opt/My "Tools" $1/share/tallowick'

(cd "$scratch" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/deb" >/dev/null)
deb=$(ls "$scratch"/deb/tallowick_*.deb)
check "the package is named tallowick" test "$(dpkg-deb -f "$deb" Package)" = tallowick
listing=$(dpkg-deb -c "$deb" | awk '{print $6}')
for f in "${files[@]}"; do check "the package holds /$f" grep -qx "./$f" <<<"$listing"; done
depends=$(dpkg-deb -f "$deb" Depends)
for d in libodbc2 libwxgtk3.2-1 libsqlite3-0 odbcinst libsqliteodbc odbc-mdbtools; do
  check "the package depends on $d" grep -qE "(^|, )$d( |,|$)" <<<"$depends"
done
check "the package recommends odbc-postgresql" grep -q odbc-postgresql <<<"$(dpkg-deb -f "$deb" Recommends)"
extracted=$scratch/extracted
dpkg-deb -x "$deb" "$extracted"
check "the packaged menu entry names /usr" test "$(key Path "$extracted/usr/share/applications/tallowick.desktop")" = /usr/share/tallowick

echo "package: $failures failed"
[ "$failures" -eq 0 ]
