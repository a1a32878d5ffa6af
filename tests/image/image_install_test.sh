#!/usr/bin/env bash
# Installs the sample disc from a disc image and from the folder it was mastered from,
# in each install mode, through the scripted driver, and compares the two: what the
# driver printed, the installed files (names, bytes, times) and the install record.
#
#   image_install_test.sh KIND      (a kind of tools/make-disc-image)
#
# The folder's files get whole-second times of their own, as ISO 9660 records them; the
# runs are in a time zone east of UTC, so an offset applied twice or not at all shows.
# Level-1 names are what Windows shows of such a disc (upper case, "_" for a leading
# dot), so the folder for that kind is the sample disc with its names so changed.
set -uo pipefail

kind=${1:?usage: image_install_test.sh KIND}
: "${MIREL_DRIVER:?MIREL_DRIVER must name the driver}"
: "${MIREL_SAMPLE_DISC:?MIREL_SAMPLE_DISC must name make-sample-disc}"
: "${MIREL_DISC_IMAGE:?MIREL_DISC_IMAGE must name make-disc-image}"
export TZ=Asia/Tokyo

TMP=$(mktemp -d "${TMPDIR:-/tmp}/mirel-image-$kind.XXXXXX")
trap 'rm -rf "$TMP"' EXIT
failures=0
fail() { echo "FAIL $kind: $*"; failures=$((failures + 1)); }

disc=$TMP/disc
"$MIREL_SAMPLE_DISC" "$disc" >/dev/null || { echo "FAIL $kind: cannot make the sample disc"; exit 1; }
if [ "$kind" = iso-level1 ]; then
  # Deepest first, so that a folder is renamed after its entries.
  find "$disc" -mindepth 1 -depth -print0 | while IFS= read -r -d '' path; do
    name=$(basename "$path")
    shown=$(printf '%s' "$name" | tr 'a-z' 'A-Z' | sed 's/^\./_/')
    [ "$shown" = "$name" ] || mv "$path" "$(dirname "$path")/$shown"
  done
fi
seconds=1700000000
while IFS= read -r -d '' path; do
  seconds=$((seconds + 3607))
  touch -h -d "@$seconds" "$path"
done < <(find "$disc" -mindepth 1 -depth -print0 | sort -z)
touch -d "@$seconds" "$disc"

image=$TMP/image
"$MIREL_DISC_IMAGE" "$kind" "$disc" "$image" || { echo "FAIL $kind: cannot master the image"; exit 1; }
case "$kind" in cue-*) image=$image.cue ;; esac

# One run of the driver in a system of its own whose Q: is `source`; prints where its C:
# is. Commands come from standard input.
run() {
  local name=$1 source=$2
  shift 2
  local system=$TMP/$name
  mkdir -p "$system/c" "$system/root"
  printf 'C: fixed %s\nQ: cdrom %s\n' "$system/c" "$source" > "$system/root/drives"
  MIREL_SETUP_ROOT=$system/root "$MIREL_DRIVER" --free-bytes C=10737418240 "$@" > "$system/out" 2> "$system/err"
  echo $? >> "$system/out"
}

# What an install left, one line a file or folder: path, type, size, time, and a hash of
# the bytes; shortcuts by name only (they hold the time they were made).
installed() {
  (cd "$1/c" && find . -mindepth 1 \( -type d -printf '%P d\n' \) -o \( -name '*.lnk' -printf '%P link\n' \) -o \
     \( -type f -printf '%P f %s %T@ ' -exec sh -c 'md5sum < "$1" | cut -c1-32' _ {} \; \)) | sort
}

for mode in 1018 1019 1020; do
  commands=$'start\nselect 1003 Q\nselect 1001 C\nclick '$mode$'\nclick 1004\nclick 1005\nanswer ok\nclick 1010\n'
  run "folder-$mode" "$disc" <<< "$commands"
  run "image-$mode" "$image" <<< "$commands"
  from_folder=$TMP/folder-$mode from_image=$TMP/image-$mode
  diff -u "$from_folder/out" "$from_image/out" > "$TMP/diff" || { fail "mode $mode: the driver printed otherwise"; cat "$TMP/diff"; }
  [ -s "$from_image/err" ] && { fail "mode $mode: the image run reported problems"; cat "$from_image/err"; }
  installed "$from_folder" > "$TMP/folder.files"
  installed "$from_image" > "$TMP/image.files"
  grep -q ' f ' "$TMP/folder.files" || fail "mode $mode: nothing installed from the folder"
  diff -u "$TMP/folder.files" "$TMP/image.files" > "$TMP/diff" || { fail "mode $mode: other files installed"; cat "$TMP/diff"; }
  for hive in "$from_folder" "$from_image"; do
    sed 's/^\[\(.*\)\] [0-9]*$/[\1]/' "$hive/root/registry/HKEY_CURRENT_USER.reg" > "$hive/record"
  done
  diff -u "$from_folder/record" "$from_image/record" > "$TMP/diff" || { fail "mode $mode: another install record"; cat "$TMP/diff"; }
done

# --disc puts the image on the first free letter from D: for the run.
mkdir -p "$TMP/disc-option/c" "$TMP/disc-option/root"
printf 'C: fixed %s\n' "$TMP/disc-option/c" > "$TMP/disc-option/root/drives"
out=$(MIREL_SETUP_ROOT=$TMP/disc-option/root "$MIREL_DRIVER" --free-bytes C=10737418240 --disc "$image" <<< $'start\nselect 1003 D\nselect 1001 C\nclick 1004\nclick 1005\nanswer ok\nclick 1010\n' 2>&1)
grep -qx "disc image D: $image (.*)" <<< "$out" || fail "--disc did not name the image on D:: $out"
grep -q '^end ok' <<< "$out" || fail "--disc: the install did not end well: $out"
grep -q '"CDPath"="C:' "$TMP/disc-option/root/registry/HKEY_CURRENT_USER.reg" 2>/dev/null || fail "--disc: no install record"

[ "$failures" -eq 0 ] && echo "ok $kind"
exit $((failures > 0))
