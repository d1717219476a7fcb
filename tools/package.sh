#!/usr/bin/env bash
# Builds the Debian package build/marvoda_<version>_amd64.deb (install it with
# apt install ./build/marvoda_<version>_amd64.deb).
set -euo pipefail
cd "$(dirname "$0")/.."
[ -f build/build.ninja ] || bash tools/setup.sh
missing=()
for p in dpkg-dev file; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
cmake --build build --target marvoda marvoda-icons
(cd build && cpack -G DEB >/dev/null)
deb=$(ls -t build/marvoda_*_amd64.deb | head -1)
dpkg-deb --info "$deb" | sed -n '/Depends\|Recommends\|Installed-Size/p'
echo "$deb"
