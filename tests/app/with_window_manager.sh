#!/bin/sh
# Runs a program on the current X display under a window manager (openbox,
# when installed), so that windows get their frames and the work area its
# real size; the window manager is ended afterwards. Exit status: the program's.
wm_pid=
if command -v openbox >/dev/null 2>&1; then
  openbox --sm-disable >/dev/null 2>&1 &
  wm_pid=$!
  sleep 1
fi
"$@"
status=$?
if [ -n "$wm_pid" ]; then
  kill "$wm_pid" 2>/dev/null
  wait "$wm_pid" 2>/dev/null
fi
exit $status
