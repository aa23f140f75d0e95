#!/usr/bin/env bash
# Installs the package the way a user does, uses it without a display, checks
# that the desktop and man find its files, purges it and checks that nothing of
# it is left. It changes the machine, so it runs only when asked for with
# TALLYQUILL_TRY_PACKAGE=1 (as .ci/run does), and needs root; otherwise it is
# skipped (exit 77).
#   install-package.sh PACKAGE_DIR
set -euo pipefail
skip() { echo "SKIPPED: $*"; exit 77; }
fail() { echo "FAILED: $*"; exit 1; }

[ "${TALLYQUILL_TRY_PACKAGE:-0}" = 1 ] || skip "installs and purges the package on this machine; set TALLYQUILL_TRY_PACKAGE=1 to try it"
[ "$(id -u)" -eq 0 ] || skip "installing a package needs root (CI runs as root); run ctest as root to try it"
debs=("$1"/tallyquill_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "no single tallyquill_*.deb in $1"
deb=$(realpath "${debs[0]}")
version=$(dpkg-deb -f "$deb" Version)

# One package test at a time on this machine, whichever build tree runs it.
exec 9>/tmp/tallyquill-package-test.lock
flock -w 600 9 || fail "another package test held the lock for 10 minutes"

installed() { dpkg-query -W -f='${db:Status-Status}' tallyquill 2>/dev/null | grep -qx installed; }
installed && skip "a tallyquill package is already installed here; this test would remove it"
[ ! -e /usr/bin/tallyquill ] || skip "/usr/bin/tallyquill exists outside any package; this test would remove it"

work=$(mktemp -d)
apt_get() {
    DEBIAN_FRONTEND=noninteractive apt-get -y -q -o DPkg::Lock::Timeout=300 "$@" >"$work/apt.log" 2>&1 \
        || { cat "$work/apt.log"; fail "apt-get $*"; }
}
cleanup() {
    installed && apt_get purge tallyquill
    rm -rf "$work"
}
trap cleanup EXIT

apt_get install --no-install-recommends "$deb"
installed || fail "apt-get install left tallyquill not installed"
dpkg-query -L tallyquill >"$work/files"

# The program runs as a user would, with a home of its own here, so that
# what it keeps (settings, recovery copies) goes nowhere else.
home=(HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share")
mkdir -p "$work/home"

# The command line needs no display.
nodisplay=(timeout 60 env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "${home[@]}")
[ "$(command -v tallyquill)" = /usr/bin/tallyquill ] || fail "tallyquill is not /usr/bin/tallyquill on PATH"
got=$("${nodisplay[@]}" tallyquill --version) || fail "tallyquill --version exited with $?"
grep -qwF -- "$version" <<<"$got" || fail "tallyquill --version says '$got', the package is $version"

printf 'The cat saw the dog. The cat ran, and the dog ran after the cat.\n' >"$work/sample.txt"
"${nodisplay[@]}" tallyquill --analyze "$work/sample.txt" >"$work/list" 2>"$work/err" \
    || { cat "$work/err"; fail "tallyquill --analyze exited with an error"; }
for line in "5 - the" "3 - cat" "2 - dog" "2 - ran" "1 - saw" "1 - after"; do
    grep -qx -- "$line" "$work/list" || { cat "$work/list"; fail "the word list lacks '$line'"; }
done

# The window starts and stays up until it is told to end.
status=0
timeout 5 env "${home[@]}" QT_QPA_PLATFORM=offscreen tallyquill >"$work/err" 2>&1 || status=$?
[ $status -eq 124 ] || { cat "$work/err"; fail "the window ended by itself with status $status"; }

# Where the desktop and man look for the files.
id=org.tallyquill.Tallyquill
launcher=/usr/share/applications/$id.desktop
desktop-file-validate "$launcher" || fail "the launcher does not validate"
grep -qx "Exec=tallyquill.*" "$launcher" || fail "the launcher does not start tallyquill"
grep -qx "Icon=$id" "$launcher" || fail "the launcher names another icon"
grep -q "=.*$id.desktop" /usr/share/applications/mimeinfo.cache \
    || fail "the desktop does not offer tallyquill for the documents it opens"
appstreamcli validate --no-net "/usr/share/metainfo/$id.metainfo.xml" >"$work/as.log" 2>&1 \
    || { cat "$work/as.log"; fail "the metainfo does not validate"; }
grep -q "<release version=\"$version\"" "/usr/share/metainfo/$id.metainfo.xml" \
    || fail "the metainfo's newest release is not $version"
for icon in scalable/apps/$id.svg 16x16/apps/$id.png 32x32/apps/$id.png 48x48/apps/$id.png \
            64x64/apps/$id.png 128x128/apps/$id.png 256x256/apps/$id.png; do
    [ -s "/usr/share/icons/hicolor/$icon" ] || fail "icon missing: $icon"
done
[ "$(man -w tallyquill)" = /usr/share/man/man1/tallyquill.1.gz ] || fail "man does not find tallyquill(1)"
[ -s /usr/share/doc/tallyquill/copyright ] || fail "no copyright file"

# Purged, it leaves no file, no folder of its own and no trace in dpkg.
apt_get purge tallyquill
! installed || fail "apt-get purge left tallyquill installed"
left=()
while read -r path; do
    if [ -e "$path" ] && [ ! -d "$path" ]; then left+=("$path"); fi
done <"$work/files"
if [ -d /usr/share/doc/tallyquill ]; then left+=(/usr/share/doc/tallyquill); fi
if grep -q "$id.desktop" /usr/share/applications/mimeinfo.cache 2>/dev/null; then
    left+=("the launcher in mimeinfo.cache")
fi
shopt -s nullglob
left+=(/var/lib/dpkg/info/tallyquill.*)
shopt -u nullglob
[ ${#left[@]} -eq 0 ] || fail "left after purge: ${left[*]}"
echo "installed, used, found and purged tallyquill $version"
