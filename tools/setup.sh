#!/usr/bin/env bash
# Installs what the program needs on a fresh Debian 12 machine and builds it into build/.
set -euo pipefail
cd "$(dirname "$0")/.."
PACKAGES=(
  cmake ninja-build g++ pkg-config ccache dpkg-dev
  qt6-base-dev libqt6sql6-sqlite libqt6sql6-psql qt6-translations-l10n
  libsodium-dev libsqlite3-dev libpq-dev libicu-dev libxlsxwriter-dev libfreexl-dev libzip-dev mdbtools-dev
  fontconfig fonts-noto-cjk fonts-wqy-microhei fonts-arphic-uming fonts-arphic-ukai
)
# The tests' throwaway PostgreSQL server and the real readers their checks use (mdb-export reads
# the Access fixtures back).
TEST_PACKAGES=(postgresql-15 poppler-utils xlsx2csv mdbtools)
# Printing through CUPS onto a PDF printer; Chinese typing through fcitx5's pinyin under Xvfb;
# the first keystrokes under the openbox window manager; checking the package's desktop entry.
TEST_PACKAGES+=(cups printer-driver-cups-pdf xvfb xauth xdotool x11-utils openbox dbus-x11 fcitx5
                fcitx5-chinese-addons fcitx5-frontend-qt6 desktop-file-utils)
want=("${PACKAGES[@]}")
[ "${1:-}" = "--with-test-tools" ] && want+=("${TEST_PACKAGES[@]}")
missing=()
for p in "${want[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"
