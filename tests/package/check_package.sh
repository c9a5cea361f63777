#!/usr/bin/env bash
# Checks a built package the way Debian and the desktops will read it:
#   tests/package/check_package.sh markwise_VERSION_ARCH.deb
# lintian (no errors, and no warnings but the ones kept in
# tests/package/lintian_kept), desktop-file-validate, appstreamcli validate,
# every path the package must install, the same version in the package, the
# program and the metainfo, and run-time Depends without build-only
# packages.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
deb=$(readlink -f "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

echo "== dpkg-deb -I $(basename "$deb")"
dpkg-deb -I "$deb"
echo "== dpkg-deb -c $(basename "$deb")"
dpkg-deb -c "$deb"
dpkg-deb -x "$deb" "$work/root"
dpkg-deb -e "$deb" "$work/control"
field() { dpkg-deb -f "$deb" "$1"; }
version=$(field Version)
package=$(field Package)
arch=$(field Architecture)
[ "$(basename "$deb")" = "${package}_${version}_${arch}.deb" ] || fail "file name $(basename "$deb") is not ${package}_${version}_${arch}.deb"

echo "== lintian"
lintian_log="$work/lintian.log"
lintian --fail-on none --display-info --show-overrides --tag-display-limit 0 "$deb" | tee "$lintian_log" || true
if grep -q '^E: ' "$lintian_log"; then fail "lintian reports errors"; fi
kept=$(awk '!/^#/ && NF {print $1}' "$here/lintian_kept")
while read -r tag; do
  [ -z "$tag" ] && continue
  grep -qx "$tag" <<<"$kept" || fail "lintian warning $tag is not among the kept ones"
done < <(awk '$1 == "W:" {print $3}' "$lintian_log" | sort -u)

desktop="$work/root/usr/share/applications/markwise.desktop"
echo "== desktop-file-validate"
desktop-file-validate "$desktop" || fail "desktop-file-validate"
metainfo=$(ls "$work"/root/usr/share/metainfo/*.metainfo.xml)
echo "== appstreamcli validate"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate"

echo "== contents"
expect=(
  usr/bin/markwise
  usr/share/applications/markwise.desktop
  usr/share/mime/packages/markwise.xml
  usr/share/man/man1/markwise.1.gz
  usr/share/doc/markwise/copyright
  usr/share/doc/markwise/changelog.gz
  usr/share/lintian/overrides/markwise
)
for size in 16 24 32 48 64 128 256; do
  expect+=("usr/share/icons/hicolor/${size}x${size}/apps/markwise.png")
  expect+=("usr/share/icons/hicolor/${size}x${size}/mimetypes/application-x-markwise-class.png")
done
for path in "${expect[@]}"; do
  [ -f "$work/root/$path" ] || fail "missing /$path"
done
# An icon in a size's folder must be that size: the theme scales nothing
# it finds in the wrong place.
for png in "$work"/root/usr/share/icons/hicolor/*/*/*.png; do
  want=$(basename "$(dirname "$(dirname "$png")")")
  got=$(identify -format '%wx%h' "$png")
  [ "$got" = "$want" ] || fail "${png#"$work"/root} is $got"
done
# Nothing outside /usr, and no file a package must not ship.
stray=$(cd "$work/root" && find . -mindepth 1 -maxdepth 1 ! -name usr)
[ -z "$stray" ] || fail "paths outside /usr: $stray"

echo "== version"
program_version=$("$work/root/usr/bin/markwise" --version)
[ "$program_version" = "markwise $version" ] || fail "markwise --version says '$program_version', the package $version"
grep -q "<release version=\"$version\"" "$metainfo" || fail "the metainfo's release is not $version"
zcat "$work/root/usr/share/doc/markwise/changelog.gz" | head -n 1 | grep -q "^markwise ($version) " || fail "the changelog's first entry is not $version"
zcat "$work/root/usr/share/man/man1/markwise.1.gz" | grep -q "\"markwise $version\"" || fail "the manual page is not of $version"

echo "== the class file's type"
mime=application/x-markwise-class
grep -q "^MimeType=.*$mime;" "$desktop" || fail "the desktop entry does not open $mime"
grep -q "<mediatype>$mime</mediatype>" "$metainfo" || fail "the metainfo does not name $mime"
grep -q "type=\"$mime\"" "$work/root/usr/share/mime/packages/markwise.xml" || fail "the MIME entry does not define $mime"
icon=$(sed -n 's/.*<icon name="\([^"]*\)".*/\1/p' "$work/root/usr/share/mime/packages/markwise.xml")
[ -f "$work/root/usr/share/icons/hicolor/48x48/mimetypes/$icon.png" ] || fail "the MIME entry's icon $icon is not installed"
grep -q '^Exec=markwise %[fFuU]' "$desktop" || fail "the desktop entry does not pass the file to open"

echo "== Depends"
depends=$(field Depends)
echo "$depends"
for need in libreoffice-writer libreoffice-calc fonts-noto-cjk qt6-translations-l10n libqt6widgets6 libuno-cppu3; do
  grep -Eq "(^|, )$need( |,|$)" <<<"$depends" || fail "Depends lacks $need"
done
build_only=$(tr ',|' '\n\n' <<<"$depends" | awk '{print $1}' | grep -E -- '-dev$|^(cmake|ninja-build|build-essential|g\+\+|gcc|libgtest|libgmock|libbenchmark|xvfb|lintian)' || true)
[ -z "$build_only" ] || fail "build-only packages in Depends: $build_only"

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) of $(basename "$deb") failed"
  exit 1
fi
echo "all checks of $(basename "$deb") passed"
