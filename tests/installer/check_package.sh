#!/usr/bin/env bash
# The installed layout and the portable archive of a built tree:
#   check_package.sh BUILD_DIR
# 1. cmake --install into a scratch DESTDIR with the prefix /usr: the three
#    programs, the help page and pictures, the icons (each of the size its
#    folder names), a menu entry that validates and starts the program where
#    its help page is, and an AppStream description of this version.
# 2. The same with a prefix holding blanks and quotes: the entry still validates.
# 3. cpack -G TGZ into a scratch folder: the archive holds the installation
#    source folder (program, help page, pictures, icon, installer, licence)
#    byte for byte, programs executable.
# (The Debian packages are built with dpkg-buildpackage: check_debian_packages.sh.)
set -euo pipefail
build=$(cd "$1" && pwd)
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
sizes=(16 32 48 64 128 256)
files=(usr/bin/tallowick usr/bin/tallowick-cli usr/bin/tallowick-setup
       usr/share/applications/tallowick.desktop usr/share/metainfo/example.tallowick.Tallowick.metainfo.xml
       usr/share/icons/hicolor/scalable/apps/tallowick.svg
       usr/share/tallowick/Help.html usr/share/tallowick/img/PDBGen.jpg usr/share/tallowick/img/PDBView.jpg usr/share/tallowick/img/PDBEnlarged.jpg
       usr/share/tallowick/img/browse.jpg)
for size in "${sizes[@]}"; do files+=("usr/share/icons/hicolor/${size}x${size}/apps/tallowick.png"); done
for f in "${files[@]}"; do check "installs /$f" test -f "$root/$f"; done
for size in "${sizes[@]}"; do
  check "the ${size}x${size} icon is ${size} pixels square" \
    grep -q "PNG image data, $size x $size," <<<"$(file "$root/usr/share/icons/hicolor/${size}x${size}/apps/tallowick.png")"
done
version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")
metainfo=$root/usr/share/metainfo/example.tallowick.Tallowick.metainfo.xml
check "the AppStream description's latest release is $version" \
  grep -q "<release version=\"$version\"" <<<"$(grep -m1 '<release ' "$metainfo")"
if command -v appstreamcli >/dev/null; then
  appstream_valid() { appstreamcli validate --no-net "$1" >/dev/null; }
  check "the AppStream description validates" appstream_valid "$metainfo"
fi
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

source_dir=$(sed -n 's/^TALLOWICK_INSTALL_SOURCE:INTERNAL=//p' "$build/CMakeCache.txt")
(cd "$scratch" && cpack -G TGZ --config "$build/CPackConfig.cmake" -B "$scratch/archive" >/dev/null)
archive=$(ls "$scratch"/archive/tallowick-"$version"-linux-*.tar.gz)
unpacked=$scratch/unpacked
mkdir -p "$unpacked" && tar -xzf "$archive" -C "$unpacked"
top=$unpacked/$(basename "$archive" .tar.gz)
for f in Help.html tallowick tallowick.png img/PDBGen.jpg img/PDBEnlarged.jpg img/PDBView.jpg img/browse.jpg tallowick-setup LICENSE; do
  check "the archive holds $f as built" cmp -s "$top/$f" "$source_dir/$f"
done
for p in tallowick tallowick-setup; do check "the archive's $p is executable" test -x "$top/$p"; done
check "the archive holds only the installation source" diff -r "$top" "$source_dir"

echo "package: $failures failed"
[ "$failures" -eq 0 ]
