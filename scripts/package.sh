#!/usr/bin/env bash
# Builds the Debian package in build/ (cpack -G DEB) and checks it: lintian on the package,
# desktop-file-validate on its menu entry and appstreamcli on its AppStream metainfo. An
# error from any of them fails the run; their warnings are shown.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
deb=$(cd build && cpack -G DEB | sed -n 's/^CPack: - package: \(.*\) generated\.$/\1/p')
[ -f "$deb" ] || { echo "cpack made no package"; exit 1; }
echo "Checking $deb"
lintian --fail-on error "$deb"

unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$deb" "$unpacked"
desktop-file-validate "$unpacked"/usr/share/applications/*.desktop
appstreamcli validate --no-net "$unpacked"/usr/share/metainfo/*.metainfo.xml
echo "The package passed lintian and both validators"
