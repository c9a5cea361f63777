#!/usr/bin/env bash
# Runs the input method test on an X server of its own under openbox, with its
# own session bus and an fcitx5 whose only profile is pinyin, so it never types into a
# person's desktop and never depends on their settings.
#   run_input_method_test.sh TEST_PROGRAM [test arguments]
# Exits 77 (skipped) only when the input method packages are missing.
set -euo pipefail
prog=$1
shift

missing() { echo "skipped: $1 is not installed (scripts/bootstrap installs it)"; exit 77; }
for tool in fcitx5 fcitx5-remote dbus-launch xdotool Xvfb openbox xprop; do
  command -v "$tool" > /dev/null || missing "$tool"
done
compgen -G "/usr/lib/*/qt6/plugins/platforminputcontexts/libfcitx5platforminputcontextplugin.so" > /dev/null ||
  missing "fcitx5-frontend-qt6"
[ -e /usr/share/fcitx5/addon/pinyin.conf ] || missing "fcitx5-chinese-addons"

if [ -z "${MARKWISE_IME_DISPLAY:-}" ]; then
  export MARKWISE_IME_DISPLAY=1
  exec "$(dirname "$0")/../support/with_window_manager.sh" "$0" "$prog" "$@"
fi

home=$(mktemp -d)
fcitx_pid=
cleanup() {
  if [ -n "$fcitx_pid" ]; then
    kill "$fcitx_pid" 2> /dev/null || true
    wait "$fcitx_pid" 2> /dev/null || true
  fi
  [ -n "${DBUS_SESSION_BUS_PID:-}" ] && kill "$DBUS_SESSION_BUS_PID" 2> /dev/null || true
  rm -rf "$home" 2> /dev/null || true
}
trap cleanup EXIT

export HOME=$home XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data XDG_CACHE_HOME=$home/cache
export XDG_RUNTIME_DIR=$home/run
mkdir -p "$XDG_CONFIG_HOME/fcitx5" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
cat > "$XDG_CONFIG_HOME/fcitx5/profile" << 'PROFILE'
[Groups/0]
Name=Default
Default Layout=us
DefaultIM=pinyin

[Groups/0/Items/0]
Name=keyboard-us
Layout=

[Groups/0/Items/1]
Name=pinyin
Layout=

[GroupOrder]
0=Default
PROFILE
cat > "$XDG_CONFIG_HOME/fcitx5/config" << 'CONFIG'
[Behavior]
ActiveByDefault=True
CONFIG

eval "$(dbus-launch --sh-syntax)"
fcitx5 -D > "$home/fcitx5.log" 2>&1 &
fcitx_pid=$!

# Ready once it owns its name on the bus; the test then waits for it to serve
# the focused edit before it types.
ready=
for _ in $(seq 300); do
  if dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
       org.freedesktop.DBus.NameHasOwner string:org.fcitx.Fcitx5 2> /dev/null | grep -q 'boolean true'; then
    ready=1
    break
  fi
  kill -0 "$fcitx_pid" 2> /dev/null || break
  sleep 0.1
done
if [ -z "$ready" ]; then
  echo "fcitx5 did not start:"
  cat "$home/fcitx5.log"
  exit 1
fi

export QT_QPA_PLATFORM=xcb QT_IM_MODULE=fcitx XMODIFIERS=@im=fcitx
status=0
"$prog" "$@" || status=$?
if [ "$status" -ne 0 ]; then
  echo "---- fcitx5 log"
  cat "$home/fcitx5.log"
fi
exit "$status"
