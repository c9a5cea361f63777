#!/usr/bin/env bash
# Runs a command on an X server of its own with openbox managing its windows:
# for what only a window manager does (moving and sizing a frameless window,
# iconifying it, giving it the focus) and for a real pointer (xdotool).
#   with_window_manager.sh COMMAND [arguments]
# Exits 77, which CTest counts as skipped, when a tool is missing.
#
# The server picks a free display itself (-displayfd), so nothing here
# races another X server for a number. It never resets (-noreset): a server
# resets when its last client leaves, dropping the connections still being
# set up, and the probe below is such a client while openbox connects.
set -u
for tool in Xvfb openbox xdotool xprop; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed: skipped"; exit 77; }
done
dir=$(mktemp -d)
xvfb= wm=
cleanup() {
  [ -n "$wm" ] && kill "$wm" 2>/dev/null
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$dir"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$dir/display" >"$dir/xvfb.log" 2>&1 &
xvfb=$!
for _ in $(seq 400); do
  [ -s "$dir/display" ] && break
  kill -0 "$xvfb" 2>/dev/null || break
  sleep 0.05
done
if [ ! -s "$dir/display" ]; then
  echo "Xvfb did not start:"; cat "$dir/xvfb.log"
  exit 1
fi
export DISPLAY=":$(head -n 1 "$dir/display")"
unset XAUTHORITY

# The window manager is up once it has marked the root window.
openbox --sm-disable >"$dir/openbox.log" 2>&1 &
wm=$!
up=
for _ in $(seq 600); do
  if xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; then
    up=1
    break
  fi
  kill -0 "$wm" 2>/dev/null || break
  sleep 0.05
done
if [ -z "$up" ]; then
  echo "openbox did not start on $DISPLAY:"; cat "$dir/openbox.log"
  kill -0 "$wm" 2>/dev/null || wm=
  exit 1
fi

MARKWISE_WINDOW_MANAGER=1 QT_QPA_PLATFORM=xcb "$@"
rc=$?
if ! kill -0 "$wm" 2>/dev/null; then
  echo "openbox ended before the run did, on $DISPLAY:"; cat "$dir/openbox.log"
  wm=
fi
exit $rc
