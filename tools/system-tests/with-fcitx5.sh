#!/usr/bin/env bash
# Runs a test program on an X server of its own (Xvfb) with the fcitx5 input method and its
# pinyin engine in a D-Bus session of its own, then stops them: with-fcitx5.sh PROGRAM [ARGS...]
# Exit 77 (skipped) when a part is not installed.
set -uo pipefail
skip() { echo "SKIP: $1 (bash tools/setup.sh --with-test-tools installs it)"; exit 77; }
command -v Xvfb >/dev/null || skip "Xvfb (package xvfb) is not installed"
command -v xdotool >/dev/null || skip "xdotool is not installed"
command -v dbus-run-session >/dev/null || skip "dbus-run-session (package dbus) is not installed"
command -v fcitx5 >/dev/null || skip "fcitx5 is not installed"
[ -f /usr/share/fcitx5/inputmethod/pinyin.conf ] || skip "the pinyin engine (package fcitx5-chinese-addons) is not installed"
ls /usr/lib/*/qt6/plugins/platforminputcontexts/libfcitx5platforminputcontextplugin.so >/dev/null 2>&1 ||
  skip "the Qt 6 frontend (package fcitx5-frontend-qt6) is not installed"

dir=$(mktemp -d /tmp/marvoda-fcitx5.XXXXXX)
mkdir -p "$dir/home/.config/fcitx5" "$dir/run"
chmod 700 "$dir/run"
# One group: the keyboard when inactive, pinyin when Ctrl+Space turns the input method on.
cat > "$dir/home/.config/fcitx5/profile" <<'CONF'
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
CONF

Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$dir/display" 2>"$dir/xvfb.log" &
xvfb=$!
cleanup() { kill "$xvfb" 2>/dev/null; wait "$xvfb" 2>/dev/null; rm -rf "$dir"; }
trap cleanup EXIT
for _ in $(seq 50); do [ -s "$dir/display" ] && break; sleep 0.2; done
[ -s "$dir/display" ] || { echo "Xvfb did not start:"; cat "$dir/xvfb.log"; exit 1; }

export DISPLAY=":$(head -1 "$dir/display")"
export HOME="$dir/home" XDG_CONFIG_HOME="$dir/home/.config" XDG_DATA_HOME="$dir/home/.local/share"
export XDG_RUNTIME_DIR="$dir/run"
export QT_QPA_PLATFORM=xcb QT_IM_MODULE=fcitx XMODIFIERS=@im=fcitx
# CI runs as root without a session bus: fcitx5 and the program meet on a bus of their own.
timeout 150 dbus-run-session -- bash -c '
  fcitx5 --disable=all --enable=xcb,dbus,dbusfrontend,xim,keyboard,pinyin,punctuation,pinyinhelper,spell,classicui \
    >"'"$dir"'/fcitx5.log" 2>&1 &
  fcitx=$!
  for _ in $(seq 50); do fcitx5-remote >/dev/null 2>&1 && break; sleep 0.2; done
  sleep 1
  "$@"
  rc=$?
  kill $fcitx 2>/dev/null; wait $fcitx 2>/dev/null
  [ $rc -ne 0 ] && { echo "--- fcitx5 log"; tail -20 "'"$dir"'/fcitx5.log"; }
  exit $rc
' bash "$@"
