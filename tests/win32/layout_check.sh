#!/usr/bin/env bash
# The layout of SETUP.EXE's dialog at a display resolution, under Wine with the font
# that has the Windows face's metrics (scripts/wine-run sets it up in every prefix).
#
#   layout_check.sh DPI          no text cut, picture and icons at size, made at DPI
#   layout_check.sh DPI TO_DPI   made at DPI and moved to a monitor at TO_DPI: no fault,
#                                and every control where a dialog made at TO_DPI has it
#
# Environment: LAYOUT_CHECK (dialog-layout-check.exe), SETUP_EXE, WINE_RUN, WINE_TEMPLATE.
# Needs an X display (the tests run it under xvfb-run).
set -uo pipefail

for variable in LAYOUT_CHECK SETUP_EXE WINE_RUN WINE_TEMPLATE; do
  [ -n "${!variable:-}" ] || { echo "$variable is not set" >&2; exit 2; }
done
[ $# -ge 1 ] || { echo "usage: layout_check.sh DPI [TO_DPI]" >&2; exit 2; }

TMP=$(mktemp -d "${TMPDIR:-/tmp}/mirel-layout.XXXXXX")
cleanup() {
  local prefix
  for prefix in "$TMP"/prefix-*; do
    [ -d "$prefix" ] && WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1
  done
  rm -rf "$TMP"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*"
  exit 1
}

# layout DPI [--move-to TO]: the check's report in a prefix whose display is at DPI.
layout() {
  local dpi=$1 prefix=$TMP/prefix-$1
  shift
  "$WINE_RUN" --prefix "$prefix" --from "$WINE_TEMPLATE" --test-system --create
  "$WINE_RUN" --prefix "$prefix" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f \
    >/dev/null 2>&1 || fail "cannot set the resolution"
  # The test system has no drive for host folders: the program goes onto C:.
  cp "$SETUP_EXE" "$prefix/drive_c/SETUP.EXE"
  "$WINE_RUN" --prefix "$prefix" "$LAYOUT_CHECK" 'C:\SETUP.EXE' "$@" 2>&1 | tr -d '\r'
  return "${PIPESTATUS[0]}"
}

from=$1
to=${2:-}
if [ -z "$to" ]; then
  layout "$from" > "$TMP/report"
  status=$?
  cat "$TMP/report"
  grep -qx "dpi $from" "$TMP/report" || fail "the dialog was not made at $from dpi"
  [ "$status" = 0 ] || fail "faults at $from dpi"
  echo "PASS: every text whole, the picture filling its frame and the icons at size at $from dpi"
  exit 0
fi

layout "$from" --move-to "$to" > "$TMP/moved"
status=$?
layout "$to" > "$TMP/made"
cat "$TMP/moved"
grep -qx "dpi $to" "$TMP/made" || fail "the reference dialog was not made at $to dpi"
[ "$status" = 0 ] || fail "faults after the move from $from to $to dpi"
if ! diff <(grep -E '^(client|control) ' "$TMP/made") <(grep -E '^(client|control) ' "$TMP/moved"); then
  fail "moved from $from to $to dpi (right) the layout is not the one made at $to dpi (left)"
fi
echo "PASS: moved from $from to $to dpi, the dialog has the layout made at $to dpi and no fault"
