#!/usr/bin/env bash
# Runs a test program on an X server of its own with openbox managing its
# windows: for what only a window manager does (moving and sizing a
# frameless window, iconifying it) and for a real pointer (xdotool).
# Exits 77, which CTest counts as skipped, when a tool is missing.
set -u
for tool in xvfb-run openbox xdotool xprop; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed: skipped"; exit 77; }
done
exec xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  openbox --sm-disable >/dev/null 2>&1 &
  wm=$!
  for i in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break
    sleep 0.05
  done
  MARKWISE_WINDOW_MANAGER=1 QT_QPA_PLATFORM=xcb "$@"
  rc=$?
  kill "$wm"
  wait "$wm" 2>/dev/null
  exit $rc' with-window-manager "$@"
