#!/usr/bin/env bash
# The package on a fresh Debian 12 root, as a teacher's machine gets it:
#   tests/package/install_test.sh markwise_VERSION_ARCH.deb [OUTDIR]
# debootstraps a minimal bookworm into a throwaway folder, installs the
# package there with `apt-get install ./markwise_*.deb` and nothing else, and
# runs the installed program on an X server of the host with openbox
# (installed_session.sh): the screen and xdotool's keys and clicks are the
# host's; the program, its libraries, fonts and the office it starts are
# the root's. Screenshots go to OUTDIR (default out/install-test/).
#
# Needs: root (debootstrap, chroot, mounts); the Debian mirror over the
# network (MARKWISE_DEBIAN_MIRROR, MARKWISE_DEBIAN_SECURITY); about 2 GB
# free under MARKWISE_INSTALL_ROOT_PARENT (default /var/tmp) for the root
# and 0.5 GB for the download cache; on the host debootstrap, Xvfb,
# openbox, xdotool, xprop and imagemagick. Exits 77 (skipped) when it is
# not root or a tool is missing.
# Downloaded packages are kept in MARKWISE_INSTALL_CACHE (default
# /var/cache/markwise-install-test) for the next run; the root is new every
# time and removed at the end.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../.." && pwd)
[ $# -ge 1 ] || { echo "usage: $0 markwise_VERSION_ARCH.deb [OUTDIR]"; exit 2; }
deb=$(readlink -f "$1")
out=${2:-$repo/out/install-test}
mirror=${MARKWISE_DEBIAN_MIRROR:-http://deb.debian.org/debian}
security=${MARKWISE_DEBIAN_SECURITY:-http://deb.debian.org/debian-security}
cache=${MARKWISE_INSTALL_CACHE:-/var/cache/markwise-install-test}
parent=${MARKWISE_INSTALL_ROOT_PARENT:-/var/tmp}

if [ "$(id -u)" -ne 0 ]; then echo "needs root for debootstrap and chroot: skipped"; exit 77; fi
for tool in debootstrap chroot findmnt Xvfb openbox xdotool xprop identify; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed: skipped"; exit 77; }
done
[ -f "$deb" ] || { echo "no package $deb"; exit 2; }
mkdir -p "$out" "$cache/debootstrap" "$cache/apt/partial"
chmod 0755 "$cache" "$cache/apt"
out=$(cd "$out" && pwd)

root=$(mktemp -d "$parent/markwise-install.XXXXXX")
# The root's own / as on any system: apt's download user must get through.
chmod 0755 "$root"
mounts_of_root() { findmnt -rn -o TARGET | awk -v r="$root" 'index($0, r "/") == 1' | sort -r; }
cleanup() {
  set +e
  # Whatever still runs in the root (an office the program left behind)
  # is ours: it was started there by this script.
  for proc in /proc/[0-9]*; do
    [ "$(readlink "$proc/root" 2>/dev/null)" = "$root" ] && kill -9 "${proc#/proc/}" 2>/dev/null
  done
  sleep 0.5
  for m in $(mounts_of_root); do umount "$m" || umount -l "$m"; done
  # Bind mounts of the host's own folders share its file system, so only a
  # root with nothing mounted in it may be removed.
  if [ -n "$(mounts_of_root)" ]; then
    echo "still mounted in $root; left in place:"; mounts_of_root
  else
    rm -rf --one-file-system "$root"
  fi
}
trap cleanup EXIT

step_start=$(date +%s)
step() {
  local now; now=$(date +%s)
  echo "== $1 ($((now - step_start)) s since the start)"
}

step "debootstrap bookworm into $root"
debootstrap --variant=minbase --cache-dir="$cache/debootstrap" bookworm "$root" "$mirror" >"$out/debootstrap.log" 2>&1 \
  || { tail -n 30 "$out/debootstrap.log"; exit 1; }
cat >"$root/etc/apt/sources.list" <<SOURCES
deb $mirror bookworm main
deb $mirror bookworm-updates main
deb $security bookworm-security main
SOURCES
mount --bind "$cache/apt" "$root/var/cache/apt/archives"
mount -t proc proc "$root/proc"
mount -t sysfs sysfs "$root/sys"
mount --bind /dev "$root/dev"
mount --bind /dev/pts "$root/dev/pts"
mount -t tmpfs -o mode=1777 tmpfs "$root/dev/shm"
# The host's X server, started later, puts its socket here.
[ -d /tmp/.X11-unix ] || mkdir -m 1777 /tmp/.X11-unix
mkdir -p "$root/tmp/.X11-unix"
mount --bind /tmp/.X11-unix "$root/tmp/.X11-unix"
cp /etc/resolv.conf "$root/etc/resolv.conf"

in_root() {
  chroot "$root" /usr/bin/env -i HOME=/root USER=root LOGNAME=root \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin DEBIAN_FRONTEND=noninteractive "$@"
}

step "apt-get install ./$(basename "$deb")"
cp "$deb" "$root/root/"
in_root apt-get update -qq
in_root sh -c "cd /root && apt-get install -y -q ./$(basename "$deb")" >"$out/apt-get.log" 2>&1 \
  || { tail -n 40 "$out/apt-get.log"; exit 1; }
grep -E '^(Need to get|After this operation)|newly installed' "$out/apt-get.log" || true
rc=0
# The system's triggers know the class file's type once the package is in.
if [ -x "$root/usr/bin/update-mime-database" ] \
  && ! grep -q 'application/x-markwise-class' "$root/usr/share/mime/globs2"; then
  echo "FAIL: the root's MIME database does not know the class file"
  rc=1
fi
in_root dpkg -s markwise | grep -E '^(Status|Version):'
in_root markwise --version

step "the installed program on the host's screen"
"$repo/tests/support/with_window_manager.sh" "$here/installed_session.sh" "$root" "$out" || rc=1
umount "$root/var/cache/apt/archives"
step "done: the installed root takes $(du -sh --one-file-system "$root" | cut -f1)"
exit "$rc"
