#!/usr/bin/env bash
# Builds the Debian package from a finished build and checks it without installing it: its
# control fields, that it holds every installed file, the desktop entry and the metainfo
# against their validators, the icons' sizes, the manual pages, and quarnel-dump run from the
# unpacked package against the packaged demo database.
# Usage: scripts/check-package.sh [BUILD_DIR]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")

failures=0
fail() {
  echo "check-package: FAIL: $*" >&2
  failures=$((failures + 1))
}
pass() { echo "check-package: ok: $*"; }

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
arch=$(dpkg --print-architecture)
deb="$build/quarnel_${version}_${arch}.deb"
rm -f "$build"/quarnel_*.deb
(cd "$build" && cpack -G DEB >cpack.log 2>&1) || { cat "$build/cpack.log" >&2; exit 1; }
[ -f "$deb" ] || { echo "check-package: FAIL: cpack did not write $deb" >&2; exit 1; }
pass "built $(basename "$deb")"

# Control fields.
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = quarnel ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = "$version" ] || fail "Version is '$(field Version)', the project's is $version"
[ -n "$(field Section)" ] || fail "no Section"
[ -n "$(field Description)" ] || fail "no Description"
depends=$(field Depends)
for needed in qt6-translations-l10n libqt6widgets6 libsqlite3-0; do
  grep -qE "(^|, )$needed( |,|$)" <<<"$depends" || fail "Depends lacks $needed: $depends"
done
grep -qE "(^|, )fonts-noto-cjk( |,|$)" <<<"$(field Recommends)" ||
  fail "Recommends lacks fonts-noto-cjk"
[ "$failures" -ne 0 ] || pass "control fields"

# The file list. The application ID is the desktop entry's name, used by the other files.
listing=$(dpkg-deb -c "$deb" | awk '{print $NF}' | sed 's|^\./|/|')
desktop=$(grep -E '^/usr/share/applications/[^/]+\.desktop$' <<<"$listing" || true)
if [ "$(grep -c . <<<"$desktop")" -ne 1 ]; then
  fail "expected one desktop entry, found: ${desktop:-none}"
  app_id=missing
else
  app_id=$(basename "$desktop" .desktop)
fi
expected=(
  /usr/bin/quarnel
  /usr/bin/quarnel-dump
  "/usr/share/applications/$app_id.desktop"
  "/usr/share/metainfo/$app_id.metainfo.xml"
  "/usr/share/icons/hicolor/48x48/apps/$app_id.png"
  "/usr/share/icons/hicolor/256x256/apps/$app_id.png"
  /usr/share/man/man1/quarnel.1.gz
  /usr/share/man/man1/quarnel-dump.1.gz
  /usr/share/quarnel/demo.db
  /usr/share/doc/quarnel/copyright
)
for path in "${expected[@]}"; do
  grep -qxF "$path" <<<"$listing" || fail "the package lacks $path"
done
if [ "$failures" -ne 0 ]; then
  echo "check-package: $failures check(s) failed; the package is not looked at further" >&2
  exit 1
fi
pass "dpkg-deb -c lists the ${#expected[@]} installed files"

# Everything below runs from the package unpacked into a temporary folder.
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
usr="$root/usr"

entry="$usr/share/applications/$app_id.desktop"
if desktop-file-validate "$entry"; then pass "desktop-file-validate"; else fail "desktop-file-validate"; fi
exec_line=$(sed -n 's/^Exec=//p' "$entry")
[ -x "$usr/bin/${exec_line%% *}" ] || fail "Exec=$exec_line is not a packaged program"
[ "$(sed -n 's/^Icon=//p' "$entry")" = "$app_id" ] || fail "Icon is not $app_id"
grep -qx 'Categories=Development;Database;' "$entry" || fail "Categories"
grep -qx 'Terminal=false' "$entry" || fail "Terminal"
for key in Name Comment; do
  grep -q "^$key=" "$entry" && grep -q "^$key\[ja\]=" "$entry" || fail "$key in English and Japanese"
done

metainfo="$usr/share/metainfo/$app_id.metainfo.xml"
if appstreamcli validate --no-net "$metainfo" && appstreamcli validate-tree --no-net "$root"; then
  pass "appstreamcli validate"
else
  fail "appstreamcli validate"
fi

for size in 48 256; do
  icon="$usr/share/icons/hicolor/${size}x${size}/apps/$app_id.png"
  file -b "$icon" | grep -q "PNG image data, $size x $size," || fail "$icon: $(file -b "$icon")"
done
pass "icons"

for page in quarnel quarnel-dump; do
  # -k reads the page's UTF-8 as the manual reader does (through preconv).
  warnings=$(gzip -dc "$usr/share/man/man1/$page.1.gz" | groff -k -man -Tutf8 -ww -z 2>&1)
  [ -z "$warnings" ] || fail "$page.1: $warnings"
done
pass "manual pages"

for program in quarnel quarnel-dump; do
  missing=$(ldd "$usr/bin/$program" | grep 'not found' || true)
  [ -z "$missing" ] || fail "$program: $missing"
done

# quarnel-dump from the package, as an unprivileged user when we are root, so the demo database
# is read from a folder the user cannot write, as after installation.
as_user=()
if [ "$(id -u)" -eq 0 ] && command -v setpriv >/dev/null; then
  chmod -R a+rX,go-w "$root"
  as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi
help=$("${as_user[@]}" "$usr/bin/quarnel-dump" --help) || fail "quarnel-dump --help failed"
[[ "$help" == "usage: quarnel-dump "* ]] || fail "quarnel-dump --help: $help"
(cd / && "${as_user[@]}" "$usr/bin/quarnel-dump" --host "sqlite:$usr/share/quarnel/demo.db" \
  --user demo >"$root/packaged.sql") || fail "dumping the packaged demo database failed"
"$build/quarnel-dump" --host "sqlite:$build/demo.db" --user demo >"$root/built.sql"
if grep -q "CREATE TABLE" "$root/packaged.sql" && cmp -s "$root/packaged.sql" "$root/built.sql"; then
  pass "quarnel-dump --help and the DDL of the packaged demo database"
else
  fail "the packaged quarnel-dump and demo database do not give the build's DDL"
fi

if [ "$failures" -ne 0 ]; then
  echo "check-package: $failures check(s) failed" >&2
  exit 1
fi
echo "check-package: all checks passed"
