#!/bin/sh
# The first keystrokes under a real X server with a window manager: on a new book the operator
# types the password and Enter without touching the mouse, and then F10 opens the main menu.
#   first-keys.sh PROGRAM
# Exits 77 (skipped) when Xvfb, openbox or xdotool is missing.
prog=$1
for t in Xvfb openbox xdotool xwininfo; do command -v $t >/dev/null || { echo "missing $t"; exit 77; }; done
work=$(mktemp -d)
pids=""
finish() {
  for p in $pids; do kill "$p" 2>/dev/null; done
  rm -rf "$work"
}
trap finish EXIT
fail() { echo "FAIL: $*"; exit 1; }
# Waits up to $1 tenths of a second for the command after it to succeed.
within() {
  n=$1; shift
  while [ "$n" -gt 0 ]; do "$@" >/dev/null 2>&1 && return 0; sleep 0.1; n=$((n - 1)); done
  return 1
}

Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
pids="$!"
within 100 test -s "$work/display" || fail "Xvfb did not start"
DISPLAY=:$(cat "$work/display"); export DISPLAY
openbox >"$work/openbox.log" 2>&1 &
pids="$! $pids"
within 50 sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"' || fail "openbox did not start"

"$prog" --create-database --data-dir "$work/book" --admin-password ab >/dev/null || fail "no book"
LANG=zh_CN.UTF-8 "$prog" --data-dir "$work/book" >"$work/program.log" 2>&1 &
pids="$! $pids"

# The program's visible window titled $1 (xdotool's own name search misreads Chinese titles).
shown() {
  for w in $(xdotool search --onlyvisible --class marvoda); do
    xprop -id "$w" _NET_WM_NAME | grep -qF "\"$1" && echo "$w" && return 0
  done
  return 1
}
within 300 shown "登录系统" || fail "no login dialog"
sleep 0.5   # as long as an operator takes to see it
xdotool type --delay 80 ab
xdotool key Return
within 150 shown "QuorinMarvoda建材行业版V2011" || fail "the password and Enter did not log in"
main=$(shown "QuorinMarvoda建材行业版V2011")
sleep 0.5
popups() {
  for w in $(xdotool search --onlyvisible --class marvoda); do
    xwininfo -id "$w" | grep -q "Override Redirect State: yes" && echo "$w"
  done
}
menuOpen() { [ -n "$(popups)" ]; }
menuOpen && fail "a menu is open before F10"
xdotool key F10
within 50 menuOpen || fail "F10 did not open the menu"
echo "logged in by keyboard into window $main; F10 opened the menu"
