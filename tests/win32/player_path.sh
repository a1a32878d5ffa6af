#!/usr/bin/env bash
# A Linux player's path, on a prefix made by Wine's own wineboot (not a template of ours)
# and the sample disc mastered into a real ISO 9660 image mounted with fuseiso: the
# programs' default target, the disc given a letter as Wine's mount manager gives one, the
# game started from the launcher, a Wine program started in the middle of an install, a
# prefix of another user.
#
#   player_path.sh --make-prefix DIR   make the shared wineboot prefix (the test fixture)
#   player_path.sh CASE
#     disc_and_play         the disc (Joliet and Rock Ridge) gets D:, is offered as the
#                           source and not as a destination; a minimum install; the stand-in
#                           game started from the menu launcher runs in code page 932 and
#                           finds its data on CDPath
#     disc_level1           the same with a plain level-1 image
#     image_play            an image given with --disc, never mounted by us: D: written as
#                           a disc (x:: the image), a normal install; the game from the menu
#                           finds its data on CDPath through the image the launcher mounts,
#                           the mount is gone when the game has ended, one the player made
#                           is kept, and the same image keeps D: at the next start
#     image_removed         the same without fuseiso (the install says so) and then with
#                           the image removed before play: the game starts each time
#     disc_drive_label      a disc drive (a read-only loop device of the image stands for
#                           one) served by fuseiso: its x:: names the drive, and the game
#                           reads the disc's volume label, serial and CD file system
#     program_icon          the disc's program has icons of its own: the launchers show
#                           PNGs with that icon's pixels, which go with the uninstall
#     letters_without_run   a start that gives the disc its letter and makes no run
#                           journals the letter in a start block; one with a run, in the
#                           run's header only
#     disc_folder_bound     a folder of the disc bound elsewhere (mount --bind) is no second
#                           disc: the disc alone gets a letter
#     sandbox_sees_image    the sandbox offers the fuseiso-mounted image as a CD-ROM
#     server_midway         a Wine program started while the driver has the prefix open is
#                           refused without starting a server; the install record and that
#                           program's own change, made afterwards, both last
#     foreign_owner         a prefix another user owns is refused and left as it was; a
#                           hive of another owner in one's own prefix keeps owner and mode
#     no_prefix             without a prefix the driver says how to make one and exits 1
#     odd_paths             a prefix whose path holds a newline, a carriage return, an escape
#                           byte or a byte that is not UTF-8: the shortcuts are made, no
#                           launcher, and the install says why on stderr and in the journal
#
# Environment: LINUX_DRIVER, LAUNCH_PROBE, WINEBOOT_PREFIX, SAMPLE_DISC.
set -uo pipefail

quiet_wine() { export WINEDEBUG=-all WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"; }

if [ "${1:-}" = --make-prefix ]; then
  dir=${2:?--make-prefix DIR}
  quiet_wine
  # Wine links the prefix's Desktop, Documents, ... to the home it was made in: that
  # home is kept beside it, and each case links them to its own.
  rm -rf "$dir" "$dir.home"; mkdir -p "$dir.home"
  HOME=$dir.home WINEPREFIX=$dir wineboot --init >/dev/null 2>&1 && WINEPREFIX=$dir wineserver -w
  status=$?
  [ -f "$dir/system.reg" ] && [ -L "$dir/dosdevices/c:" ] || { echo "wineboot made no prefix at $dir" >&2; exit 1; }
  exit $status
fi

case_name=${1:?usage: player_path.sh CASE}
. "$(dirname "$0")/prefix_test_lib.sh"
require_environment LINUX_DRIVER LAUNCH_PROBE WINEBOOT_PREFIX SAMPLE_DISC
command -v fuseiso >/dev/null && command -v genisoimage >/dev/null || { echo "fuseiso and genisoimage are needed" >&2; exit 1; }
make_workspace "player-$case_name"
MOUNT=$TMP/media/MIREL_DISC1
unmount_disc() {
  [ -z "${BOUND_FOLDER:-}" ] || umount "$BOUND_FOLDER"
  mountpoint -q "$MOUNT" 2>/dev/null && fusermount -u "$MOUNT"
  [ -z "${LOOP_DEVICE:-}" ] || losetup -d "$LOOP_DEVICE"
}
trap 'unmount_disc; mountpoint -q "$WIN/mirel-setup-discs/d" 2>/dev/null && fusermount -u "$WIN/mirel-setup-discs/d"; WINEPREFIX=$WIN wineserver -k >/dev/null 2>&1; WINEPREFIX=$WIN wineserver -w >/dev/null 2>&1; rm -rf "$TMP"' EXIT

quiet_wine
# The player's own session: their home, their usual locale, no sandbox asked for.
export HOME=$TMP/home XDG_DATA_HOME=$TMP/home/.local/share XDG_CONFIG_HOME=$TMP/home/.config
export XDG_STATE_HOME=$TMP/home/.local/state LANG=C.UTF-8 LC_ALL=C.UTF-8 WINEPREFIX=$WIN
unset MIREL_SETUP_ROOT
mkdir -p "$HOME"
cp -a "$WINEBOOT_PREFIX" "$WIN"
find "$WIN/drive_c/users" -mindepth 2 -maxdepth 2 -type l -lname "$WINEBOOT_PREFIX.home*" -exec ln -sfn "$HOME" {} \;

# master_disc [GENISOIMAGE OPTIONS]: the sample disc as the image $TMP/disc.iso, its
# program replaced by $DISC_PROGRAM when that is set.
master_disc() {
  "$SAMPLE_DISC" "$TMP/disc" >/dev/null || { echo "cannot make the sample disc" >&2; exit 1; }
  [ -z "${DISC_PROGRAM:-}" ] || cp "$DISC_PROGRAM" "$TMP/disc/KARVEX34.EXE"
  genisoimage -quiet "$@" -V MIREL_DISC1 -o "$TMP/disc.iso" "$TMP/disc" || { echo "genisoimage failed" >&2; exit 1; }
}

# mount_disc [GENISOIMAGE OPTIONS]: the sample disc as an image, mounted as a desktop's
# FUSE helper would.
mount_disc() {
  master_disc "$@"
  mkdir -p "$MOUNT"
  fuseiso "$TMP/disc.iso" "$MOUNT" || { echo "fuseiso cannot mount here" >&2; exit 1; }
}

driver() { "$LINUX_DRIVER" --free-bytes C=10737418240 "$@"; }
items_of() { sed -n "s/^$1 .*items=\"\\([^\"]*\\)\".*/\\1/p" <<< "$2"; }
DONE='ハルネアの\nインストールが終了しました。'
# With both links (1004 desktop, 1005 menu).
minimum_install=$'start\nselect 1003 D\nselect 1001 C\nclick 1018\nclick 1004\nclick 1005\nanswer ok\nclick 1010'
normal_install=$'start\nselect 1003 D\nselect 1001 C\nclick 1019\nclick 1004\nclick 1005\nanswer ok\nclick 1010'
MENU_LAUNCHER="$XDG_DATA_HOME/applications/wine/Programs/Velstra/ハルネア/ハルネア.desktop"
INSTALL_DIR="$WIN/drive_c/Program Files/Velstra/Mirel"

disc_and_play() {
  cp "$WIN/system.reg" "$TMP/system.before"
  local out
  # The player's first start: what it shows, then the install, in one session.
  out=$(driver <<< "$(printf 'start\ndump\n%s' "${minimum_install#start$'\n'}")" 2>"$TMP/err")
  [ "$(items_of 1003 "$out")" = "C,D,Z" ] || fail "sources offered: $(items_of 1003 "$out") (stderr: $(cat "$TMP/err"))"
  [ "$(items_of 1001 "$out")" = "C,Z" ] || fail "destinations offered: $(items_of 1001 "$out")"
  grep -qF "D: added for the disc at $MOUNT ($TMP/disc.iso)" "$TMP/err" || fail "nothing said of D: on stderr: $(cat "$TMP/err")"
  [ "$(readlink "$WIN/dosdevices/d:")" = "$MOUNT" ] || fail "d: is $(readlink "$WIN/dosdevices/d:")"
  [ "$(readlink "$WIN/dosdevices/d::")" = "$TMP/disc.iso" ] || fail "d:: is $(readlink "$WIN/dosdevices/d::")"
  # Only the drive's type is new in system.reg; every other line as Wine wrote it.
  diff <(grep -v '^#time=' "$TMP/system.before") <(grep -v '^#time=' "$WIN/system.reg") | grep '^[<>]' > "$TMP/changes"
  printf '%s\n' '> ' '> [Software\\Wine\\Drives] '"$(grep -o '^\[Software\\\\Wine\\\\Drives\] [0-9]*' "$WIN/system.reg" | cut -d' ' -f2)" \
    '> "d:"="cdrom"' | diff - "$TMP/changes" >/dev/null || fail "system.reg changed otherwise: $(head -5 "$TMP/changes")"
  # Wine itself sees a CD-ROM drive there.
  wine reg query 'HKLM\Software\Wine\Drives' /v d: 2>/dev/null | tr -d '\r' | grep -q 'cdrom' ||
    fail "Wine does not read d: as cdrom"
  grep -qF "$DONE" <<< "$out" || fail "the minimum install did not finish: $out"
  WINEPREFIX=$WIN wineserver -w
  # The next start keeps the letter and adds nothing.
  driver <<< $'start' >/dev/null 2>"$TMP/err2"
  ! grep -q 'added' "$TMP/err2" || fail "a second start added again: $(cat "$TMP/err2")"
  [ ! -e "$WIN/dosdevices/e:" ] || fail "a second letter for the same disc"

  grep -q '^system: D: added for the disc' "$XDG_STATE_HOME/mirel-setup/setup.log" ||
    fail "the journal does not say D: was added: $(head -8 "$XDG_STATE_HOME/mirel-setup/setup.log")"
  play_from_menu && finds_the_disc
}

# play_from_menu: the stand-in game started from the menu launcher as the menu runs it
# (its string escapes undone), in the player's locale; SEEN gets what it read. False when
# there is no launcher.
play_from_menu() {
  SEEN=
  [ -f "$MENU_LAUNCHER" ] || { fail "no menu launcher"; return 1; }
  desktop-file-validate "$MENU_LAUNCHER" || fail "desktop-file-validate refuses the launcher"
  cp "$LAUNCH_PROBE" "$INSTALL_DIR/KARVEX34.EXE"
  rm -f "$INSTALL_DIR/launched.txt"
  local exec_line
  exec_line=$(sed -n 's/^Exec=//p' "$MENU_LAUNCHER" | sed 's/\\\\/\\/g')
  (eval "$exec_line") >/dev/null 2>&1
  for _ in $(seq 100); do [ -s "$INSTALL_DIR/launched.txt" ] && break; sleep 0.2; done
  WINEPREFIX=$WIN wineserver -w
  SEEN=$(tr -d '\r' < "$INSTALL_DIR/launched.txt" 2>&1)
  grep -qxF 'started in C:\Program Files\Velstra\Mirel' <<< "$SEEN" || fail "the game did not start in its folder: $SEEN"
  grep -qxF 'code page 932' <<< "$SEEN" || fail "the game runs in another code page: $SEEN"
  grep -qxF 'CDPath D:\' <<< "$SEEN" || fail "CDPath: $SEEN"
  echo "the stand-in game reads: $(tr '\n' ';' <<< "$SEEN")"
}

# finds_the_disc: the game found its data on CDPath, on a CD-ROM drive.
finds_the_disc() {
  grep -q '^CDPath holds .*KARVEX34.DAT' <<< "$SEEN" || grep -qi '^CDPath holds .*karvex34.dat' <<< "$SEEN" ||
    fail "the game does not find its data on CDPath: $SEEN"
  grep -q '^drive D:\\ type 5 ' <<< "$SEEN" || fail "D: is no CD-ROM drive to the game: $SEEN"
}

# A disc image given to the driver (--disc), never mounted by us: a normal install, then
# the game from the menu, which mounts the image on D:'s folder for its run only.
DISC_FOLDER=$WIN/mirel-setup-discs/d
image_play() {
  local out image
  image=$(realpath "$TMP/disc.iso")
  out=$(driver --disc "$TMP/disc.iso" <<< "$normal_install" 2>"$TMP/err")
  grep -qF "$DONE" <<< "$out" || { fail "the normal install did not finish: $out $(cat "$TMP/err")"; return; }
  grep -qF "D: added for the disc image $image, made readable at $DISC_FOLDER while the game runs" "$TMP/err" ||
    fail "nothing said of D: on stderr: $(cat "$TMP/err")"
  grep -q '^system: D: added for the disc image' "$XDG_STATE_HOME/mirel-setup/setup.log" ||
    fail "the journal does not say D: was added: $(head -8 "$XDG_STATE_HOME/mirel-setup/setup.log")"
  [ "$(readlink "$WIN/dosdevices/d:")" = ../mirel-setup-discs/d ] || fail "d: is $(readlink "$WIN/dosdevices/d:")"
  [ "$(readlink "$WIN/dosdevices/d::")" = "$image" ] || fail "d:: is $(readlink "$WIN/dosdevices/d::")"
  grep -qx '"d:"="cdrom"' "$WIN/system.reg" || fail "d: is not typed as a CD-ROM in system.reg"
  grep -qF '"CDPath"="D:\\"' "$WIN/user.reg" || fail "the record's CDPath is not D:"
  # The install read the image itself: nothing was mounted, nothing is left in the folder.
  [ -d "$DISC_FOLDER" ] && [ -z "$(ls -A "$DISC_FOLDER")" ] && ! mountpoint -q "$DISC_FOLDER" ||
    fail "D:'s folder is not an empty folder after the install"
  WINEPREFIX=$WIN wineserver -w
}

# The volume serial Windows gives a CD: a byte sum in four lanes over the volume
# descriptor of the highest type before the set's terminator (Joliet's over the primary).
disc_serial() {
  local offset best=0 highest=0 type
  for offset in $(seq $((0x8000)) 2048 $((0x9800))); do
    type=$(od -An -tu1 -j "$offset" -N1 "$1" | tr -d ' ')
    [ "$type" = 255 ] && break
    [ "$type" -gt "$highest" ] && { highest=$type; best=$offset; }
  done
  od -An -tu1 -v -j "$best" -N 2048 "$1" |
    awk '{ for (i = 1; i <= NF; i++) { sum[n % 4] = (sum[n % 4] + $i) % 256; n++ } }
         END { printf "%02X%02X%02X%02X\n", sum[0], sum[1], sum[2], sum[3] }'
}

# A disc drive stands in for the image: the label a disc check compares reaches the game.
disc_drive_label() {
  local out seen
  out=$(driver <<< "$minimum_install" 2>&1)
  grep -qF "$DONE" <<< "$out" || { fail "the minimum install did not finish: $out"; return; }
  grep -qF "D: added for the disc at $MOUNT ($LOOP_DEVICE)" <<< "$out" || fail "nothing said of D:: $out"
  ! grep -q 'no volume label' <<< "$out" || fail "a disc drive said to give no label: $out"
  [ "$(readlink "$WIN/dosdevices/d::")" = "$LOOP_DEVICE" ] || fail "d:: is $(readlink "$WIN/dosdevices/d::")"
  cp "$LAUNCH_PROBE" "$INSTALL_DIR/KARVEX34.EXE"
  (cd "$INSTALL_DIR" && wine KARVEX34.EXE) >/dev/null 2>&1
  WINEPREFIX=$WIN wineserver -w
  seen=$(tr -d '\r' < "$INSTALL_DIR/launched.txt" 2>&1)
  grep -qxF 'drive D:\ type 5 label MIREL_DISC1' <<< "$seen" || fail "the game reads another label: $seen"
  grep -qxF "volume D:\ serial $(disc_serial "$TMP/disc.iso") file system CDFS" <<< "$seen" ||
    fail "the game reads another volume (the disc's serial is $(disc_serial "$TMP/disc.iso")): $seen"
  echo "the stand-in game reads: $(tr '\n' ';' <<< "$seen")"
}

# The launchers of a program with an icon show that icon, size for size and pixel for
# pixel (fully transparent pixels compared as transparent whatever their colour).
program_icon() {
  local out icon pngs png size sizes="" index
  out=$(driver <<< "$minimum_install" 2>&1)
  grep -qF "$DONE" <<< "$out" || { fail "the minimum install did not finish: $out"; return; }
  pixels() { convert "$1" -background black -alpha background -depth 8 RGBA:- | md5sum; }
  for launcher in "$MENU_LAUNCHER" "$HOME/Desktop/ハルネア.desktop"; do
    icon=$(sed -n 's/^Icon=//p' "$launcher" 2>/dev/null)
    [ -n "$icon" ] && [ "$icon" != mirel-setup-launcher ] || { fail "$launcher shows icon '$icon', not the program's"; continue; }
    pngs=$(find "$XDG_DATA_HOME/icons/hicolor" -path "*/apps/$icon.png" | sort)
    sizes=$(for png in $pngs; do basename "$(dirname "$(dirname "$png")")"; done | sort -V | tr '\n' ' ')
    [ "$sizes" = "16x16 32x32 " ] || fail "the icon $icon has the sizes: $sizes"
    for png in $pngs; do
      size=$(basename "$(dirname "$(dirname "$png")")")
      index=$([ "$size" = 16x16 ] && echo 0 || echo 1)
      [ "$(pixels "$png")" = "$(pixels "$PROBE_ICON[$index]")" ] || fail "$png does not show the program's $size icon"
    done
  done
  grep -qF "アンインストールが完了しました" <<< "$(driver <<< $'start\nanswer yes ok\nclick 1009' 2>&1)" ||
    fail "the uninstall did not finish"
  [ -z "$(find "$XDG_DATA_HOME/icons" -name '*.png' 2>/dev/null)" ] ||
    fail "icons left after the uninstall: $(find "$XDG_DATA_HOME/icons" -name '*.png')"
}

# The letter a start adds is journaled once: in the header of the run that follows, or,
# when none does, in a block of the start's own.
letters_without_run() {
  local log=$XDG_STATE_HOME/mirel-setup/setup.log added="system: D: added for the disc at $MOUNT ($TMP/disc.iso)"
  grep -qF "$DONE" <<< "$(driver <<< "$minimum_install" 2>&1)" || { fail "the minimum install did not finish"; return; }
  [ "$(grep -cF "$added" "$log")" = 1 ] && ! grep -q '^== start' "$log" ||
    fail "a start with a run journals the letter otherwise: $(cat "$log")"
  # The player's next start finds the letter gone (a prefix restored, say) and only looks.
  rm "$WIN/dosdevices/d:" "$WIN/dosdevices/d::"
  driver <<< $'start' >/dev/null 2>&1
  [ "$(grep -c '^== ' "$log")" = 2 ] || fail "not one block more: $(grep '^== ' "$log")"
  tail -4 "$log" > "$TMP/start-block"
  grep -q '^== start without a run, [0-9-]* [0-9:]* ==$' "$TMP/start-block" &&
    grep -q '^program: version ' "$TMP/start-block" && grep -qx 'drives: C: fixed, D: cdrom, Z: fixed' "$TMP/start-block" &&
    [ "$(tail -1 "$TMP/start-block" | cut -c1-${#added})" = "$added" ] ||
    fail "the start block reads: $(cat "$TMP/start-block")"
  # A start that adds nothing journals nothing.
  cp "$log" "$TMP/log.before"
  driver <<< $'start' >/dev/null 2>&1
  cmp -s "$TMP/log.before" "$log" || fail "a start that changed nothing was journaled: $(diff "$TMP/log.before" "$log")"
}

case "$case_name" in
  disc_and_play)
    mount_disc -J -R
    disc_and_play
    ;;
  disc_level1)
    mount_disc
    disc_and_play
    ;;
  image_play)
    master_disc -J -R
    image_play
    play_from_menu && finds_the_disc
    ! mountpoint -q "$DISC_FOLDER" || fail "the launcher left the image mounted after the game ended"
    # The next start with the same image keeps its letter and adds nothing.
    driver --disc "$TMP/disc.iso" <<< $'start\ndump' >"$TMP/out2" 2>"$TMP/err2"
    ! grep -q 'added' "$TMP/err2" || fail "a second start added again: $(cat "$TMP/err2")"
    grep -q '^1003 .*items="C,D,Z"' "$TMP/out2" || fail "the second start offers $(grep '^1003' "$TMP/out2")"
    [ ! -e "$WIN/dosdevices/e:" ] && [ ! -e "$WIN/dosdevices/e::" ] || fail "a second letter for the same image"
    # A player who mounted the image there already keeps that mount.
    fuseiso "$TMP/disc.iso" "$DISC_FOLDER" || fail "fuseiso cannot mount on D:'s folder"
    play_from_menu && finds_the_disc
    mountpoint -q "$DISC_FOLDER" || fail "the launcher released a mount it did not make"
    fusermount -u "$DISC_FOLDER"
    ;;
  image_removed)
    # A system without fuseiso: the install says so, and the game still starts.
    mkdir "$TMP/no-fuseiso"
    ln -s /usr/bin/* "$TMP/no-fuseiso/"; ln -s /bin/* "$TMP/no-fuseiso/" 2>/dev/null
    rm -f "$TMP/no-fuseiso/fuseiso"
    master_disc -J -R
    PATH=$TMP/no-fuseiso image_play
    grep -qF 'fuseiso is not installed' "$TMP/err" || fail "the install does not say fuseiso is missing: $(cat "$TMP/err")"
    grep -q '^system: fuseiso is not installed.*apt-get install fuseiso' "$XDG_STATE_HOME/mirel-setup/setup.log" ||
      fail "the journal does not say fuseiso is missing"
    PATH=$TMP/no-fuseiso play_from_menu
    grep -qxF 'CDPath holds nothing' <<< "$SEEN" || fail "the game found something without fuseiso: $SEEN"
    # With fuseiso but without the image.
    rm "$TMP/disc.iso"
    play_from_menu
    grep -qxF 'CDPath holds nothing' <<< "$SEEN" || fail "the game found something without its image: $SEEN"
    ! mountpoint -q "$DISC_FOLDER" || fail "something is mounted on D:'s folder"
    ;;
  disc_drive_label)
    [ "$(id -u)" = 0 ] || { echo "SKIP: a loop device for the disc needs root"; exit 0; }
    master_disc -J -R
    LOOP_DEVICE=$(losetup --read-only --find --show "$TMP/disc.iso") || { echo "SKIP: no loop device here"; exit 0; }
    mkdir -p "$MOUNT"
    fuseiso "$LOOP_DEVICE" "$MOUNT" || { echo "fuseiso cannot mount $LOOP_DEVICE" >&2; exit 1; }
    disc_drive_label
    ;;
  program_icon)
    DISC_PROGRAM=$LAUNCH_PROBE mount_disc -J -R
    PROBE_ICON=$(dirname "$0")/launch_probe.ico
    program_icon
    ;;
  letters_without_run)
    mount_disc -J -R
    letters_without_run
    ;;
  disc_folder_bound)
    [ "$(id -u)" = 0 ] || { echo "SKIP: a bind mount needs root"; exit 0; }
    mount_disc -J -R
    mkdir -p "$TMP/media/bgm"
    mount --bind "$MOUNT/BGM" "$TMP/media/bgm" || { echo "SKIP: no bind mounts here"; exit 0; }
    BOUND_FOLDER=$TMP/media/bgm
    grep -qF " /BGM $TMP/media/bgm " /proc/self/mountinfo || fail "the bind mount is not in the table as expected"
    out=$(driver <<< $'start\ndump' 2>&1)
    [ "$(items_of 1003 "$out")" = "C,D,Z" ] || fail "sources offered: $(items_of 1003 "$out") ($out)"
    [ "$(readlink "$WIN/dosdevices/d:")" = "$MOUNT" ] || fail "d: is $(readlink "$WIN/dosdevices/d:")"
    [ ! -e "$WIN/dosdevices/e:" ] || fail "the bound folder got e: -> $(readlink "$WIN/dosdevices/e:")"
    out=$(MIREL_SETUP_ROOT=$TMP/root driver <<< $'start\ndump' 2>&1)
    [ "$(items_of 1003 "$out")" = "C,D" ] || fail "the sandbox offers: $(items_of 1003 "$out")"
    ;;
  sandbox_sees_image)
    mount_disc -J -R
    out=$(MIREL_SETUP_ROOT=$TMP/root driver <<< $'start\ndump' 2>&1)
    grep -q '^1003 .*items="C,[^"]*D' <<< "$out" || fail "the sandbox does not offer the image: $(grep '^1003' <<< "$out")"
    [ ! -e "$WIN/dosdevices/d:" ] || fail "the sandbox run changed the prefix"
    ;;
  server_midway)
    mount_disc -J -R
    mkfifo "$TMP/commands"
    driver < "$TMP/commands" > "$TMP/out" 2>&1 &
    driver_pid=$!
    exec 4> "$TMP/commands"
    printf 'start\ndump\n' >&4
    for _ in $(seq 600); do grep -q "^1003 " "$TMP/out" && break; sleep 0.1; done
    grep -q "^1003 " "$TMP/out" || fail "the driver did not open the prefix: $(cat "$TMP/out")"
    # The player starts a Wine program while the installer is open.
    started=$(date +%s.%N)
    wine reg add 'HKCU\Software\Probe' /v Midway /d yes /f > "$TMP/wine.out" 2>&1; wine_status=$?
    took=$(awk -v a="$started" -v b="$(date +%s.%N)" 'BEGIN { printf "%.1f", b - a }')
    echo "a Wine program started meanwhile ended after ${took} s with status $wine_status: $(tr '\n' ' ' < "$TMP/wine.out")"
    [ "$wine_status" -ne 0 ] || fail "the Wine program ran while the prefix was being changed"
    server_folder=${TMPDIR:-/tmp}/$(cat "$WIN/wineserver")/server-$(stat -c %D "$WIN")-$(printf %x "$(stat -c %i "$WIN")")
    [ ! -S "$server_folder/socket" ] || fail "a server of the prefix started during the install"
    printf '%s\n' "${minimum_install#start$'\n'}" >&4
    exec 4>&-
    wait "$driver_pid"
    grep -qF "$DONE" "$TMP/out" || fail "the install did not finish: $(tail -3 "$TMP/out")"
    # Now the same program runs, and both its change and our record last past its end.
    wine reg add 'HKCU\Software\Probe' /v Midway /d yes /f >/dev/null 2>&1 || fail "the Wine program fails after the install"
    WINEPREFIX=$WIN wineserver -w
    grep -q '^"SetupMode"="Setup_MIN"' "$WIN/user.reg" || fail "the install record was lost"
    grep -q '^"Midway"="yes"' "$WIN/user.reg" || fail "the Wine program's own change was lost"
    out=$(driver <<< $'start\ndump' 2>&1)
    grep -q '^1017 .*' <<< "$out" && grep -q '^1009 enabled=1' <<< "$out" || fail "the next start does not see the install: $out"
    ;;
  foreign_owner)
    [ "$(id -u)" = 0 ] || { echo "SKIP: giving a prefix to another user needs root"; exit 0; }
    mount_disc -J -R
    chown -R nobody: "$WIN"
    before=$(cd "$WIN" && find . -printf '%p %s %u %m\n' | sort)
    out=$(driver <<< $'start' 2>&1); status=$?
    [ "$status" = 1 ] || fail "a prefix of nobody's was opened (status $status): $out"
    grep -qF "$WIN is not owned by you but by nobody" <<< "$out" || fail "no clear message: $out"
    [ "$before" = "$(cd "$WIN" && find . -printf '%p %s %u %m\n' | sort)" ] || fail "the prefix was changed"
    # One's own prefix with a hive that another user owns (as root left it, say).
    chown -R root: "$WIN"; chown nobody: "$WIN/user.reg"; chmod 0640 "$WIN/user.reg"
    out=$(driver <<< "$minimum_install" 2>&1)
    grep -qF "$DONE" <<< "$out" || fail "the install into one's own prefix failed: $out"
    [ "$(stat -c '%U %a' "$WIN/user.reg")" = "nobody 640" ] || fail "user.reg is now $(stat -c '%U %a' "$WIN/user.reg")"
    grep -q '^"SetupMode"=' "$WIN/user.reg" || fail "no install record in user.reg"
    ;;
  no_prefix)
    export WINEPREFIX=$TMP/no-prefix-yet
    out=$(driver <<< $'start' 2>&1); status=$?
    [ "$status" = 1 ] || fail "exit status $status without a prefix: $out"
    grep -qF "WINEPREFIX=\"$WINEPREFIX\" wineboot --init" <<< "$out" || fail "no advice: $out"
    [ ! -e "$WINEPREFIX" ] || fail "something was made at $WINEPREFIX"
    out=$(driver --sandbox "$TMP/root" <<< $'start\ndump' 2>&1)
    grep -q '^1001 ' <<< "$out" && [ -d "$TMP/root/registry" ] || fail "--sandbox ROOT does not open the sandbox: $out"
    ;;
  odd_paths)
    mount_disc -J -R
    for odd in $'new\nline' $'carriage\rreturn' $'esc\033ape' $'not\377utf8'; do
      odd_prefix="$TMP/prefix $odd"
      cp -a "$WIN" "$odd_prefix"
      rm -rf "$XDG_DATA_HOME/applications" "$XDG_STATE_HOME"
      out=$(WINEPREFIX=$odd_prefix driver <<< "$minimum_install" 2>&1)
      shown=$(printf '%q' "$odd")
      grep -qF "$DONE" <<< "$out" || fail "$shown: the install did not finish: $out"
      [ "$(grep -c 'no launcher for the shortcut' <<< "$out")" = 2 ] || fail "$shown: stderr does not say why: $out"
      [ "$(grep -c 'no launcher for the shortcut' "$XDG_STATE_HOME/mirel-setup/setup.log")" = 2 ] ||
        fail "$shown: the journal does not say why: $(tail -4 "$XDG_STATE_HOME/mirel-setup/setup.log")"
      [ -z "$(find "$XDG_DATA_HOME" "$HOME/Desktop" -name '*.desktop' 2>/dev/null)" ] || fail "$shown: a launcher was written"
      # The prefix's Desktop is the player's home, as wineboot linked it.
      [ -f "$(echo "$odd_prefix"/drive_c/users/*/AppData/Roaming/Microsoft/Windows/Start\ Menu/Programs/Velstra/ハルネア/ハルネア.lnk)" ] &&
        [ -f "$HOME/ハルネア.lnk" ] || fail "$shown: the shortcuts are not kept"
      rm -f "$HOME/ハルネア.lnk"
      WINEPREFIX=$odd_prefix wineserver -k >/dev/null 2>&1
      rm -rf "$odd_prefix"
    done
    ;;
  *) echo "no such case: $case_name" >&2; exit 2 ;;
esac

finish "$case_name"
