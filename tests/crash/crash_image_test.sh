#!/usr/bin/env bash
# A power cut at many moments of a full install and of an uninstall, as the disk would
# keep it. The system root and drive C: live on an ext4 (the "disk") in a loop device
# whose backing file lies on a second ext4 (the "host"), itself a loop device over a
# file in a tmpfs. The driver stops itself before every Nth platform operation
# (--stop-every); the test then freezes the host, so that nothing more of what the disk
# writes back can land, copies the disk's backing file, thaws the host and lets the
# driver go on. What the disk's ext4 still held in memory is missing from the copy, as
# after a power cut. Once the run is over (and once more right after it ended), each copy
# is repaired with e2fsck -fy, mounted where the disk was, and the installer's own
# start-up (start + dump) says what it finds installed: the mode it names must have all
# its files, each as long as on the disc. An uninstall may be cut between its removals
# (the record is its commit point, removed last): the record then still names the full
# install and files may be missing, but none is ever short.
#
#   crash_image_test.sh      (MIREL_DRIVER: the driver; MIREL_SAMPLE_DISC: the disc tool)
# Needs root, loop devices and fsfreeze; exits 77 (skipped) with the reason otherwise.
set -uo pipefail

: "${MIREL_DRIVER:?MIREL_DRIVER must name the driver}"
sample_disc=${MIREL_SAMPLE_DISC:?MIREL_SAMPLE_DISC must name the disc tool}
stop_every=${MIREL_CRASH_STOP_EVERY:-6}

skip() { echo "SKIPPED: $*"; exit 77; }
[ "$(id -u)" = 0 ] || skip "needs root (loop devices, mounts, fsfreeze)"
for tool in losetup mkfs.ext4 e2fsck fsfreeze mount umount; do
  command -v "$tool" >/dev/null || skip "needs $tool"
done

TMP=$(mktemp -d "${TMPDIR:-/tmp}/mirel-crash.XXXXXX")
HOST=$TMP/host DISK=$TMP/disk COPIES=$TMP/copies Q=$TMP/q
host_loop= disk_loop= driver_pid=
cleanup() {
  [ -n "$driver_pid" ] && kill -KILL "$driver_pid" 2>/dev/null
  fsfreeze -u "$HOST" 2>/dev/null
  mountpoint -q "$DISK" && umount "$DISK"
  [ -n "$disk_loop" ] && losetup -d "$disk_loop" 2>/dev/null
  mountpoint -q "$HOST" && umount "$HOST"
  [ -n "$host_loop" ] && losetup -d "$host_loop" 2>/dev/null
  mountpoint -q "$TMP" && umount "$TMP"
  rm -rf "$TMP"
}
trap cleanup EXIT
mount -t tmpfs -o size=1g tmpfs "$TMP" 2>/dev/null || skip "cannot mount a tmpfs"
mkdir -p "$HOST" "$DISK" "$COPIES" "$Q"

truncate -s 256M "$TMP/host.img"
host_loop=$(losetup -f --show "$TMP/host.img" 2>/dev/null) || skip "no free loop device"
mkfs.ext4 -q "$host_loop" && mount "$host_loop" "$HOST" || { echo "FAIL: cannot make the host file system"; exit 1; }
fsfreeze -f "$HOST" 2>/dev/null && fsfreeze -u "$HOST" || skip "fsfreeze does not work here"
truncate -s 48M "$HOST/disk.img"
disk_loop=$(losetup -f --show "$HOST/disk.img" 2>/dev/null) || skip "no second free loop device"
mkfs.ext4 -q "$disk_loop" && mount "$disk_loop" "$DISK" || { echo "FAIL: cannot make the disk"; exit 1; }

ROOT=$DISK/root C=$DISK/c
INSTALL="$C/Program Files/Velstra/Mirel"
mkdir -p "$ROOT" "$C"
printf 'C: fixed %s\nQ: cdrom %s\n' "$C" "$Q" > "$ROOT/drives"
"$sample_disc" --size-kb 48 "$Q" >/dev/null || { echo "FAIL: cannot make the sample disc"; exit 1; }
sync  # the empty system is where every image starts from

FULL=$'start\nselect 1003 Q\nselect 1001 C\nclick 1020\nanswer ok\nclick 1010\n'
UNINSTALL=$'start\nanswer yes ok\nclick 1009\n'
failures=0
fail() { echo "check failed: $*"; failures=$((failures + 1)); }

# What the disk holds now, as image NAME.
take_image() {
  fsfreeze -f "$HOST" || { fail "cannot freeze the host"; return; }
  cp --sparse=always "$HOST/disk.img" "$COPIES/$1.img"
  fsfreeze -u "$HOST"
}

# Runs the driver on the commands in $2, taking an image at each of its stops (named
# $1-NNN) and one right after it ended ($1-end).
run_with_stops() {
  local phase=$1 commands=$2 stops=0 state
  printf '%s' "$commands" | MIREL_SETUP_ROOT=$ROOT "$MIREL_DRIVER" --no-log --free-bytes C=10737418240 \
    --stop-every "$stop_every" > "$TMP/$phase.out" 2>&1 &
  driver_pid=$!
  while :; do
    state=$(awk '{ print $3 }' "/proc/$driver_pid/stat" 2>/dev/null) || break
    case "$state" in
      T)
        stops=$((stops + 1))
        take_image "$(printf '%s-%03d' "$phase" "$stops")"
        kill -CONT "$driver_pid"
        ;;
      Z|"") break ;;
      *) sleep 0.002 ;;
    esac
  done
  wait "$driver_pid" || fail "the $phase run failed"
  driver_pid=
  take_image "$phase-end"
  echo "$phase: $stops stops, every $stop_every operations"
}

# The disc's files of the mode of state N (1 minimum, 2 normal, 3 full), "SIZE PATH".
expected_files() {
  local sets="KARVEX34.EXE KARVEX34.DAT CUR MCG MSK TXT MSE"
  [ "$1" -ge 2 ] && sets+=" KOE"
  [ "$1" -ge 3 ] && sets+=" BGM MOV"
  # shellcheck disable=SC2086
  (cd "$Q" && find $sets -type f ! -path '*/.*' -printf '%s %p\n')
}

# The install state the installer's start-up detects, from the size labels it blanks
# for what is installed: 0 to 3.
detected_state() {
  printf 'start\ndump\n' | MIREL_SETUP_ROOT=$ROOT "$MIREL_DRIVER" --no-log 2>/dev/null |
    grep -cE '^102[123] .*text="\( -- MB \)"'
}

# Repairs image $1, mounts it where the disk was and checks what start-up finds there.
# $2: "install" or "uninstall" (an uninstall may leave files missing, never short).
check_image() {
  local image=$1 phase=$2 state size path missing=0 short=0
  e2fsck -fy "$COPIES/$image.img" >/dev/null 2>&1
  [ $? -lt 4 ] || { fail "$image: e2fsck could not repair the image"; return; }
  mount -o loop "$COPIES/$image.img" "$DISK" || { fail "$image: cannot mount"; return; }
  state=$(detected_state)
  if [ "$state" -gt 0 ]; then
    while read -r size path; do
      if [ ! -f "$INSTALL/$path" ]; then
        missing=$((missing + 1))
      elif [ "$(stat -c %s "$INSTALL/$path")" != "$size" ]; then
        short=$((short + 1))
      fi
    done < <(expected_files "$state")
  fi
  umount "$DISK"
  rm -f "$COPIES/$image.img"
  held=$((held + 1))
  states+=" $state"
  if [ "$short" -gt 0 ] || { [ "$phase" = install ] && [ "$missing" -gt 0 ]; }; then
    fail "$image: start-up detects state $state while $missing of its files are missing and $short short"
    held=$((held - 1))
  elif [ "$phase" = uninstall ] && [ "$state" != 0 ] && [ "$state" != 3 ]; then
    fail "$image: state $state in the middle of an uninstall of a full install"
    held=$((held - 1))
  fi
}

started=$(date +%s)
run_with_stops install "$FULL"
grep -q 'インストールが終了しました' "$TMP/install.out" || fail "the install did not end with its success message"
sync  # the uninstall starts from a full install on the disk
run_with_stops uninstall "$UNINSTALL"
umount "$DISK"

for phase in install uninstall; do
  held=0 states=
  images=$(cd "$COPIES" && ls "$phase"-*.img | sed 's/\.img$//' | sort)
  for image in $images; do check_image "$image" "$phase"; done
  echo "$phase: $held of $(echo "$images" | wc -w) images held; detected states:$states"
done
echo "$(( $(date +%s) - started )) s"

[ "$failures" = 0 ] || { echo "FAIL: $failures checks failed"; exit 1; }
echo "PASS"
