#!/usr/bin/env bash
# SETUP.EXE on a virtual X display under Wine: the dialog comes up with its texts (a
# screenshot is kept for a person to look at), and a full install clicked through with
# the X server's own mouse and keyboard input succeeds.
#
# Environment: SETUP_EXE, DIALOG_PROBE, WINE_RUN, WINE_TEMPLATE, SAMPLE_DISC;
# SCREENSHOT_DIR (where dialog-DPIdpi.png, chosen-DPIdpi.png and finished-DPIdpi.png
# are written); DPI, the display's resolution (96 unless given); WINE_LOCALE, the
# system's locale (ja_JP unless given; WINE_TEMPLATE is made in it). The Japanese
# caption, messages and journal lines are looked for as they are in every locale.
set -uo pipefail

for variable in SETUP_EXE DIALOG_PROBE WINE_RUN WINE_TEMPLATE SAMPLE_DISC SCREENSHOT_DIR; do
  [ -n "${!variable:-}" ] || { echo "$variable is not set" >&2; exit 2; }
done
DPI=${DPI:-96}
export MIREL_WINE_LOCALE=${WINE_LOCALE:-ja_JP}
# Screenshots of another locale are named after it.
shot_suffix=${DPI}dpi
[ "$MIREL_WINE_LOCALE" = ja_JP ] || shot_suffix=$MIREL_WINE_LOCALE-$shot_suffix
# A screen of the same physical size at every resolution, large enough for the dialog.
screen="$((1024 * DPI / 96))x$((768 * DPI / 96))x24"

TMP=$(mktemp -d "${TMPDIR:-/tmp}/mirel-gui.XXXXXX")
WIN=$TMP/prefix
xvfb_pid=
setup_pid=
cleanup() {
  [ -n "$setup_pid" ] && kill "$setup_pid" 2>/dev/null
  WINEPREFIX=$WIN wineserver -k >/dev/null 2>&1
  WINEPREFIX=$WIN wineserver -w >/dev/null 2>&1
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$TMP"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*"
  exit 1
}

# A display of our own; Xvfb picks a free number and writes it to the descriptor.
exec 5> "$TMP/display"
Xvfb -displayfd 5 -screen 0 "$screen" -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do [ -s "$TMP/display" ] && break; sleep 0.1; done
[ -s "$TMP/display" ] || fail "Xvfb did not start"
export DISPLAY=:$(head -n 1 "$TMP/display")

mkdir -p "$SCREENSHOT_DIR"
"$SAMPLE_DISC" "$TMP/disc" >/dev/null || fail "cannot make the sample disc"
"$WINE_RUN" --prefix "$WIN" --from "$WINE_TEMPLATE" --test-system --cdrom "$TMP/disc" --create
windows() { "$WINE_RUN" --prefix "$WIN" "$@"; }
# No window manager runs: Wine draws the frames and captions itself. (The dialog font
# is the metric-compatible IPA face in every prefix scripts/wine-run makes.)
windows reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d Y /f >/dev/null || fail "cannot set up the display"
windows reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null || fail "cannot set up the display"
windows reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$DPI" /f >/dev/null ||
  fail "cannot set the resolution"

windows "$SETUP_EXE" > "$TMP/setup.log" 2>&1 &
setup_pid=$!

# Control centres on the screen, once the dialog shows.
probe() { windows "$DIALOG_PROBE" "$@" | tr -d '\r'; }
for _ in $(seq 120); do probe 1010 > "$TMP/probe" && break; sleep 0.5; done
[ -s "$TMP/probe" ] || fail "the dialog did not appear: $(cat "$TMP/setup.log")"
sleep 1
import -window root "$SCREENSHOT_DIR/dialog-${shot_suffix}.png" || fail "no screenshot"
echo "screenshot: $SCREENSHOT_DIR/dialog-${shot_suffix}.png"

at() { awk -v id="$1" '$1 == id { print $2, $3 }' "$TMP/controls"; }
enabled() { awk -v id="$1" '$1 == id { print $4 }' "$TMP/controls"; }
click() {  # click ID: a real mouse click in the middle of the control
  probe "$1" > "$TMP/controls"
  local position
  position=$(at "$1")
  [ -n "$position" ] || fail "control $1 not found"
  # shellcheck disable=SC2086
  xdotool mousemove $position click 1
  sleep 0.5
}

probe 1010 > "$TMP/controls"
[ "$(enabled 1010)" = 0 ] || fail "the install button is enabled before the drives are chosen"
# The drive lists: a click opens the list, a click on the letter picks it.
click 1003
click 1003:Q
click 1001
click 1001:C
# Both shortcuts.
click 1004
click 1005
sleep 1
import -window root "$SCREENSHOT_DIR/chosen-${shot_suffix}.png"
probe 1010 > "$TMP/controls"
[ "$(enabled 1010)" = 1 ] || fail "the install button stays disabled with the disc in Q: and C: chosen"
click 1010

# The run ends with the completion message; Enter answers it and the program ends.
for _ in $(seq 120); do
  [ "$(xdotool search --onlyvisible --name 'インストーラ' 2>/dev/null | wc -l)" -ge 2 ] && break
  kill -0 "$setup_pid" 2>/dev/null || break
  sleep 0.5
done
sleep 1
import -window root "$SCREENSHOT_DIR/finished-${shot_suffix}.png"
xdotool key Return
for _ in $(seq 60); do kill -0 "$setup_pid" 2>/dev/null || break; sleep 0.5; done
kill -0 "$setup_pid" 2>/dev/null && fail "SETUP.EXE did not end after the completion message"
setup_pid=

INSTALL="$WIN/drive_c/Program Files/Velstra/Mirel"
for item in KARVEX34.EXE KARVEX34.DAT CUR MCG MSK TXT MSE KOE BGM MOV SAV; do
  [ -e "$INSTALL/$item" ] || fail "not installed: $item"
done
cmp -s "$INSTALL/KARVEX34.DAT" "$TMP/disc/KARVEX34.DAT" || fail "KARVEX34.DAT is not a copy of the disc"
windows reg export 'HKEY_CURRENT_USER\Software\Velstra\Mirel' 'C:\windows\temp\record.reg' /y >/dev/null 2>&1 ||
  fail "no install record"
iconv -f UTF-16 -t UTF-8 "$WIN/drive_c/windows/temp/record.reg" | tr -d '\r' > "$TMP/record"
grep -qxF '"SetupMode"="Setup_MAX"' "$TMP/record" || fail "not a full record: $(cat "$TMP/record")"
grep -qxF '"Path"="C:\\Program Files\\Velstra\\Mirel"' "$TMP/record" || fail "wrong install folder: $(cat "$TMP/record")"
# Both shortcuts, by their Japanese names, below the user's profile.
profile=$(dirname "$(find "$WIN/drive_c/users" -mindepth 2 -maxdepth 2 -name Desktop ! -path '*/Public/*' -print -quit)")
for link in "Desktop/ハルネア.lnk" "AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Velstra/ハルネア/ハルネア.lnk"; do
  [ -f "$profile/$link" ] || fail "no shortcut $link: $(cd "$WIN/drive_c/users" && find . -name '*.lnk')"
done
# SETUP.EXE's install journal in the user's temporary folder, in UTF-8.
journal=$(find "$WIN/drive_c/users" -name mirel-setup.log -print -quit)
[ -n "$journal" ] || fail "no install journal in %TEMP%"
for pattern in '^== install run, .* ==$' '^program: version .*, Windows, SETUP\.EXE$' '^drives: C: fixed, .*Q: cdrom.*$' \
               '^mode: full$' '^copied Q:\\KARVEX34\.DAT -> C:\\Program Files\\Velstra\\Mirel\\KARVEX34\.DAT \([0-9]+ bytes\)$' \
               '^result: install succeeded \("ハルネアの\\nインストールが終了しました。"\)$'; do
  tr -d '\r' < "$journal" | grep -qE -- "$pattern" || fail "the journal lacks a line like $pattern: $(cat "$journal")"
done
echo "PASS: the dialog shows and a full install clicked through succeeds at $DPI dpi"
