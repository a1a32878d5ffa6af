#!/usr/bin/env bash
# End to end in a real X server: mirel-setup under Xvfb on a sample disc in drive Q,
# clicked through a full install with xdotool; then the installed files, the install
# record, the shortcuts and the screenshots are checked.
#
#   e2e_xvfb.sh MIREL_SETUP MAKE_SAMPLE_DISC WORK_FOLDER
set -euo pipefail

app=${1:?mirel-setup}
make_disc=${2:?make-sample-disc}
work=${3:?work folder}
here=$(cd "$(dirname "$0")" && pwd)

for tool in Xvfb xdotool import convert; do
  command -v "$tool" >/dev/null || { echo "e2e: $tool is not installed, skipped"; exit 77; }
done

fail() { echo "e2e: FAIL: $*" >&2; exit 1; }

rm -rf "$work"
mkdir -p "$work/root/drive_c" "$work/disc"
root=$work/root
printf 'C: fixed %s/drive_c\nQ: cdrom %s/disc\n' "$root" "$work" >"$root/drives"
"$make_disc" --marker tazmel --size-kb 64 "$work/disc" >/dev/null

# A display of our own: Xvfb picks a free number and writes it to descriptor 3.
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
trap 'kill "$xvfb_pid" 2>/dev/null || true' EXIT
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=:$(head -n 1 "$work/display")

"$here/click_through_install.sh" "$app" "$root" "$work/screenshots" || fail "the click-through ended with status $?"

# Every file of the disc below Tazmel\ but the marker, byte for byte in the install folder.
install_dir="$root/drive_c/Program Files/Velstra/Mirel"
source_root="$work/disc/Tazmel"
count=0
while IFS= read -r -d '' file; do
  relative=${file#"$source_root/"}
  # Folders whose names start with a dot are not part of a data set.
  case "$relative" in install.ini|.*/*|*/.*/*) continue ;; esac
  cmp -s "$file" "$install_dir/$relative" || fail "$relative was not installed as it is on the disc"
  count=$((count + 1))
done < <(find "$source_root" -type f -print0)
[ "$count" -gt 10 ] || fail "only $count files on the sample disc"
[ -d "$install_dir/SAV" ] || fail "no save-data folder"

hive="$root/registry/HKEY_CURRENT_USER.reg"
for line in '[HKEY_CURRENT_USER\SOFTWARE\Velstra\Mirel]' \
            '"Path"="C:\\Program Files\\Velstra\\Mirel"' \
            '"CDPath"="C:\\Program Files\\Velstra\\Mirel"' \
            '"SetupMode"="Setup_MAX"' \
            '"Install KOE"=dword:00000001'; do
  grep -qiF -- "$line" "$hive" || fail "the install record lacks $line"
done

links=$(find "$root/drive_c" -name 'ハルネア.lnk' | wc -l)
[ "$links" -eq 2 ] || fail "$links shortcuts instead of 2"
find "$root/drive_c" -path '*/Desktop/ハルネア.lnk' | grep -q . || fail "no desktop shortcut"
find "$root/drive_c" -path '*/Programs/Velstra/ハルネア/ハルネア.lnk' | grep -q . || fail "no Programs-menu shortcut"

# The install journal beside the system: the run's header, a copy, a link, the result.
journal="$root/setup.log"
[ -s "$journal" ] || fail "no install journal at $journal"
for pattern in '^== install run, .* ==$' '^program: version .*, Linux, Qt$' '^drives: C: fixed, Q: cdrom$' \
               '^mode: full$' '^copied Q:\\Tazmel\\KARVEX34\.EXE -> C:\\Program Files\\Velstra\\Mirel\\KARVEX34\.EXE \([0-9]+ bytes\)$' \
               '^saved link .*\\Desktop\\ハルネア\.lnk -> .*$' '^result: install succeeded .*$'; do
  grep -qE -- "$pattern" "$journal" || fail "the journal lacks a line like $pattern"
done

# The screenshots show a painted window: many colours, not one flat area.
for shot in 1-start.png 2-choices.png 3-finished.png; do
  file="$work/screenshots/$shot"
  [ -s "$file" ] || fail "no screenshot $shot"
  colours=$(convert "$file" -format %k info:)
  [ "$colours" -gt 500 ] || fail "$shot has only $colours colours"
done
# Before and after differ: the choices are made and the bar has run.
difference=$(compare -metric AE "$work/screenshots/1-start.png" "$work/screenshots/2-choices.png" null: 2>&1 || true)
[ "${difference%% *}" -gt 100 ] 2>/dev/null || fail "choosing changed nothing on the screen ($difference pixels)"

echo "e2e: installed $count files, record and 2 shortcuts; screenshots in $work/screenshots"
