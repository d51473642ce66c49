#!/usr/bin/env bash
# Runs a Windows program under Wine in a private prefix, quietly:
#   wine_run.sh LAUNCHER PREFIX PROGRAM [ARGUMENTS...]
# LAUNCHER is /usr/lib/wine/wine64 (64-bit programs) or /usr/lib/wine/wine
# (32-bit ones); PREFIX is made on the first run.
set -euo pipefail
launcher=$1 prefix=$2
shift 2
export WINEPREFIX=$prefix WINEDEBUG=-all
if [ "$(basename "$launcher")" = wine ]; then
  export WINEARCH=win32
fi
if [ ! -f "$prefix/system.reg" ]; then
  # Programs started at the same time make the prefix once.
  mkdir -p "$(dirname "$prefix")"
  (
    flock 9
    if [ ! -f "$prefix/system.reg" ]; then
      # Without the offers to download Mono and Gecko, which nothing here needs.
      WINEDLLOVERRIDES="mscoree,mshtml=" "$launcher" wineboot --init >/dev/null 2>&1
      /usr/lib/wine/wineserver -w
    fi
  ) 9>"$prefix.lock"
fi
exec "$launcher" "$@"
