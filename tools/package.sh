#!/usr/bin/env bash
# Builds the Debian package build/marvoda_<version>_amd64.deb (install it with
# apt install ./build/marvoda_<version>_amd64.deb).
set -euo pipefail
cd "$(dirname "$0")/.."
# dpkg-shlibdeps (dpkg-dev) names the runtime libraries; setup.sh installs it with the build tools.
if [ ! -f build/build.ninja ] || ! command -v dpkg-shlibdeps >/dev/null; then bash tools/setup.sh; fi
cmake --build build --target marvoda marvoda-icons
(cd build && cpack -G DEB >/dev/null)
deb=$(ls -t build/marvoda_*_amd64.deb | head -1)
dpkg-deb --info "$deb" | sed -n '/Depends\|Recommends\|Installed-Size/p'
echo "$deb"
