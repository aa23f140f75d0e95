#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks that the launcher, the
# metainfo and every icon are where the desktop looks for them, and valid.
#   check-install.sh BUILD_DIR
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

id=org.tallyquill.Tallyquill
share=$prefix/share
expect=(
    "$prefix/bin/tallyquill"
    "$share/applications/$id.desktop"
    "$share/metainfo/$id.metainfo.xml"
    "$share/icons/hicolor/scalable/apps/$id.svg"
)
for size in 16 32 48 64 128 256; do
    expect+=("$share/icons/hicolor/${size}x${size}/apps/$id.png")
done
for f in "${expect[@]}"; do
    [ -s "$f" ] || { echo "missing after install: ${f#$prefix/}"; exit 1; }
done
for size in 16 32 48 64 128 256; do
    # A PNG's width and height are the two big-endian words after its header.
    got=$(od -An -j16 -N8 -tu4 --endian=big "$share/icons/hicolor/${size}x${size}/apps/$id.png" |
        awk '{ print $1 "x" $2 }')
    [ "$got" = "${size}x${size}" ] || { echo "icon ${size}: is $got"; exit 1; }
done

desktop-file-validate "$share/applications/$id.desktop"
appstreamcli validate --no-net "$share/metainfo/$id.metainfo.xml"
# The launcher and the metainfo name each other by the same id.
grep -q "<id>$id</id>" "$share/metainfo/$id.metainfo.xml"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$share/metainfo/$id.metainfo.xml"
echo "desktop files installed and valid"
