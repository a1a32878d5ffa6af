#!/usr/bin/env bash
# Clicks mirel-setup through a full install in the X server of $DISPLAY, as a user would:
# the source drive Q and the destination C chosen with the keyboard, full mode, both
# shortcut boxes, the install button, OK on the success message. Saves screenshots on
# the way. Used by scripts/demo and by the end-to-end test.
#
#   click_through_install.sh MIREL_SETUP SYSTEM_ROOT SCREENSHOT_FOLDER
#
# Control positions come from the running window itself (MIREL_SETUP_GEOMETRY_FILE): the
# window lays its controls out from the dialog font it actually got, which a script
# cannot know. Exit status: that of mirel-setup, or 1 when the window does not behave.
set -euo pipefail

app=${1:?mirel-setup}
root=${2:?system root}
shots=${3:?screenshot folder}
: "${DISPLAY:?no X display}"
mkdir -p "$shots"

work=$(mktemp -d)
app_pid=
cleanup() {
  if [ -n "$app_pid" ] && kill -0 "$app_pid" 2>/dev/null; then kill "$app_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

say() { echo "click-through: $*"; }
fail() { echo "click-through: $*" >&2; exit 1; }

# Waits up to $1 tenths of a second for the command that follows to succeed.
wait_for() {
  local tenths=$1; shift
  for _ in $(seq "$tenths"); do
    if "$@" >/dev/null 2>&1; then return 0; fi
    sleep 0.1
  done
  return 1
}

geometry=$work/geometry
# Always on this X server, whatever platform the caller chose for Qt (tests run offscreen).
QT_QPA_PLATFORM=xcb MIREL_SETUP_ROOT=$root MIREL_SETUP_GEOMETRY_FILE=$geometry "$app" >"$work/app.log" 2>&1 &
app_pid=$!

wait_for 200 test -s "$geometry" || { cat "$work/app.log" >&2; fail "the window did not come up"; }
window=$(awk '$1 == "window" { print $2 }' "$geometry")
wait_for 100 xdotool search --onlyvisible --name 'Quorvid' || fail "the window is not visible"
sleep 0.3

# Centre of control $1 relative to the window.
centre() { awk -v id="$1" '$1 == id { print int($2 + $4 / 2), int($3 + $5 / 2) }' "$geometry"; }
click() {
  local at
  at=$(centre "$1")
  [ -n "$at" ] || fail "no control $1 in the window"
  # shellcheck disable=SC2086
  xdotool mousemove --window "$window" $at click 1
  sleep 0.2
}
shoot_window() { import -window "$window" "$shots/$1"; }
# The window with what lies over it (the message box is a window of its own).
shoot_screen_area() {
  local X Y WIDTH HEIGHT SCREEN WINDOW
  eval "$(xdotool getwindowgeometry --shell "$window")"
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$shots/$1"
}

shoot_window 1-start.png
say "saved $shots/1-start.png"

# The source drive box has the focus at start; a drive is chosen by typing its letter.
xdotool windowfocus --sync "$window"
sleep 0.2
xdotool type --delay 50 Q
sleep 0.3
xdotool key Tab
sleep 0.2
xdotool type --delay 50 C
sleep 0.3
click 1020   # full
click 1004   # Programs-menu shortcut
click 1005   # desktop shortcut
shoot_window 2-choices.png
say "saved $shots/2-choices.png"

click 1010   # install
# The success message is a second window of the installer.
boxes() { [ "$(xdotool search --onlyvisible --name 'Quorvid' | wc -l)" -ge 2 ]; }
wait_for 300 boxes || { shoot_window failed.png; fail "no message after installing"; }
sleep 0.3
shoot_screen_area 3-finished.png
say "saved $shots/3-finished.png"
box=$(xdotool search --onlyvisible --name 'Quorvid' | grep -vx "$window" | head -n 1)
xdotool windowfocus --sync "$box" key Return

status=0
wait_for 100 bash -c "! kill -0 $app_pid" || fail "the installer did not end after the message"
wait "$app_pid" || status=$?
app_pid=
exit "$status"
