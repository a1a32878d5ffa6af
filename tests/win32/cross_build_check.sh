#!/usr/bin/env bash
# The two builds side by side: the same full install with both shortcuts, from the same
# disc, by the Linux driver on its file-backed system and by the Windows driver under
# Wine; then the same uninstall. What each leaves behind must match: the dialog's
# output, the installed files, the install record and the shortcuts. The links are read
# across: the Linux writer's by Wine's own link object, Wine's by lnkinfo. The Windows
# side runs in the locale WINE_LOCALE (ja_JP unless given): whatever the system's code
# page, the texts are the Japanese ones and the shortcut folder is Velstra\ハルネア.
#
# Environment: LINUX_DRIVER, WINDOWS_DRIVER, READ_SHELL_LINK (the Windows link reader),
# WINE_RUN, WINE_TEMPLATE (made in that locale), SAMPLE_DISC (the disc generator);
# optional WINE_LOCALE and WINE_USER (the prefix's user, and so its profile folder).
set -uo pipefail

. "$(dirname "$0")/prefix_test_lib.sh"
require_environment LINUX_DRIVER WINDOWS_DRIVER READ_SHELL_LINK WINE_RUN WINE_TEMPLATE SAMPLE_DISC
make_workspace cross
export MIREL_WINE_LOCALE=${WINE_LOCALE:-ja_JP}
[ -n "${WINE_USER:-}" ] && export MIREL_WINE_USER=$WINE_USER

same() {  # same WHAT FILE1 FILE2
  diff -u --label "Linux $1" --label "Windows $1" "$2" "$3" || fail "$1 differ"
}

"$SAMPLE_DISC" "$TMP/disc" >/dev/null || { echo "cannot make the sample disc" >&2; exit 1; }

# Linux: C: and Q: mapped by a drives file, the registry in REGEDIT4 files.
LINUX_ROOT=$TMP/linux-root
LINUX_C=$TMP/linux-c
mkdir -p "$LINUX_ROOT" "$LINUX_C"
printf 'C: fixed %s\nQ: cdrom %s\n' "$LINUX_C" "$TMP/disc" > "$LINUX_ROOT/drives"
linux_driver() { MIREL_SETUP_ROOT=$LINUX_ROOT "$LINUX_DRIVER" --free-bytes C=10737418240; }
linux_record() {
  local hive=$LINUX_ROOT/registry/HKEY_CURRENT_USER.reg
  [ -f "$hive" ] || return 0
  awk '/^\[/ { inside = (tolower($0) == tolower("[HKEY_CURRENT_USER\\Software\\Velstra\\Mirel]")); next }
       inside && NF { print }' "$hive" | sort
}

# Windows: a prefix of its own with the same disc in its CD-ROM drive Q:.
WIN_C=$WIN/drive_c
"$WINE_RUN" --prefix "$WIN" --from "$WINE_TEMPLATE" --test-system --cdrom "$TMP/disc" --create
windows() { "$WINE_RUN" --prefix "$WIN" "$@"; }
windows_driver() { windows "$WINDOWS_DRIVER" --free-bytes C=10737418240; }
windows_record() {
  local file=windows/temp/record.reg
  windows reg export 'HKEY_CURRENT_USER\Software\Velstra\Mirel' "C:\\windows\\temp\\record.reg" /y >/dev/null 2>&1 ||
    return 0
  iconv -f UTF-16 -t UTF-8 "$WIN_C/$file" | tr -d '\r' | sed '1s/^\xEF\xBB\xBF//' |
    awk '/^\[/ { next } /^Windows Registry Editor/ { next } NF { print }' | sort
  rm -f "$WIN_C/$file"
}
# Each installed file with its size and checksum, below the install folder.
installed_files() {
  local folder="$1/Program Files/Velstra/Mirel"
  [ -d "$folder" ] || return 0
  (cd "$folder" && find . -mindepth 1 | sort | while IFS= read -r path; do
     if [ -d "$path" ]; then echo "${path#./}/"; else echo "${path#./} $(md5sum < "$path" | cut -c1-32)"; fi
   done)
}
# Shortcut files below the user's profile, whatever the profile's name.
links() { (cd "$1/users" && find . -name '*.lnk' | sed 's|^\./[^/]*/||' | sort); }
# The texts a user reads, exactly (the driver prints them in UTF-8).
expect_line() {  # expect_line FILE LINE
  grep -qxF -- "$2" "$1" || fail "no line '$2' in: $(tr '\n' ';' < "$1")"
}
# What lnkinfo reads: target and working folder.
lnkinfo_fields() { lnkinfo "$1" | sed -n 's/^[[:space:]]*\(Local path\|Working directory\)[[:space:]]*:[[:space:]]*/\1: /p'; }
# What Wine's link object reads; the link is copied into the prefix to be reachable.
wine_link_fields() {
  cp "$1" "$WIN_C/windows/temp/read.lnk"
  windows "$READ_SHELL_LINK" 'C:\windows\temp\read.lnk' | tr -d '\r'
  rm -f "$WIN_C/windows/temp/read.lnk"
}

install_commands='start
select 1003 Q
select 1001 C
click 1004
click 1005
answer ok
click 1010'
uninstall_commands='start
dump
answer yes ok
click 1009'

# --- install ---
linux_driver <<< "$install_commands" > "$TMP/linux.out" 2>&1 || fail "Linux install run exited $?"
windows_driver <<< "$install_commands" 2>&1 | tr -d '\r' > "$TMP/windows.out"
[ "${PIPESTATUS[0]}" = 0 ] || fail "Windows install run failed"
same "install output" "$TMP/linux.out" "$TMP/windows.out"
grep -q '^end ok$' "$TMP/windows.out" || fail "the Windows install did not end: $(cat "$TMP/windows.out")"
expect_line "$TMP/windows.out" 'message 0x40 ハルネアの\nインストールが終了しました。'

installed_files "$LINUX_C" > "$TMP/linux.files"
installed_files "$WIN_C" > "$TMP/windows.files"
[ -s "$TMP/windows.files" ] || fail "nothing installed on Windows"
same "installed files" "$TMP/linux.files" "$TMP/windows.files"

linux_record > "$TMP/linux.record"
windows_record > "$TMP/windows.record"
grep -qxF '"SetupMode"="Setup_MAX"' "$TMP/windows.record" || fail "no full record on Windows"
same "install record" "$TMP/linux.record" "$TMP/windows.record"

links "$LINUX_C" > "$TMP/linux.links"
links "$WIN_C" > "$TMP/windows.links"
expected_links='AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Velstra/ハルネア/ハルネア.lnk
Desktop/ハルネア.lnk'
if [ -n "${WINE_USER:-}" ]; then
  [ -f "$WIN_C/users/$WINE_USER/Desktop/ハルネア.lnk" ] || fail "no desktop link in the profile of $WINE_USER"
fi
[ "$(cat "$TMP/windows.links")" = "$expected_links" ] ||
  fail "Windows shortcuts: $(tr '\n' ';' < "$TMP/windows.links"), expected $(tr '\n' ';' <<< "$expected_links")"
same "shortcut files" "$TMP/linux.links" "$TMP/windows.links"

expected_fields='path=C:\Program Files\Velstra\Mirel\KARVEX34.EXE
working=C:\Program Files\Velstra\Mirel
arguments='
for link in "Desktop/ハルネア.lnk" "AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Velstra/ハルネア/ハルネア.lnk"; do
  linux_link=$(echo "$LINUX_C"/users/*/"$link")
  windows_link=$(echo "$WIN_C"/users/*/"$link")
  [ -f "$linux_link" ] && [ -f "$windows_link" ] || { fail "link $link missing"; continue; }
  [ "$(wine_link_fields "$linux_link")" = "$expected_fields" ] ||
    fail "Wine reads the Linux link $link as: $(wine_link_fields "$linux_link" | tr '\n' ';')"
  [ "$(wine_link_fields "$windows_link")" = "$expected_fields" ] ||
    fail "Wine reads its own link $link as: $(wine_link_fields "$windows_link" | tr '\n' ';')"
  lnkinfo_fields "$linux_link" > "$TMP/linux.lnkinfo"
  lnkinfo_fields "$windows_link" > "$TMP/windows.lnkinfo"
  grep -qxF 'Local path: C:\Program Files\Velstra\Mirel\KARVEX34.EXE' "$TMP/windows.lnkinfo" ||
    fail "lnkinfo reads the Windows link $link as: $(tr '\n' ';' < "$TMP/windows.lnkinfo")"
  same "lnkinfo of $link" "$TMP/linux.lnkinfo" "$TMP/windows.lnkinfo"
done

# --- uninstall: the same is removed on both (nested data folders stay by design) ---
linux_driver <<< "$uninstall_commands" > "$TMP/linux.out" 2>&1 || fail "Linux uninstall run exited $?"
windows_driver <<< "$uninstall_commands" 2>&1 | tr -d '\r' > "$TMP/windows.out"
same "uninstall output" "$TMP/linux.out" "$TMP/windows.out"
# The next start finds the installation: the uninstall part is enabled, the install one not.
expect_line "$TMP/windows.out" '1009 enabled=1 visible=1 text="実行"'
expect_line "$TMP/windows.out" '1010 enabled=0 visible=1 text="実行"'
expect_line "$TMP/windows.out" '1017 enabled=1 visible=1 text="アンインストール"'
expect_line "$TMP/windows.out" 'message 0x44 アンインストールを開始します。'
expect_line "$TMP/windows.out" 'message 0x40 アンインストールが完了しました。'
installed_files "$LINUX_C" > "$TMP/linux.files"
installed_files "$WIN_C" > "$TMP/windows.files"
same "files left after uninstalling" "$TMP/linux.files" "$TMP/windows.files"
grep -q 'KARVEX34' "$TMP/windows.files" && fail "program files left on Windows"
for c in "$LINUX_C" "$WIN_C"; do
  [ -z "$(links "$c")" ] || fail "$c: shortcuts left behind: $(links "$c" | tr '\n' ';')"
  if ls -d "$c"/users/*/AppData/Roaming/Microsoft/Windows/Start\ Menu/Programs/Velstra >/dev/null 2>&1; then
    fail "$c: the Programs folder Velstra left behind"
  fi
done
[ -z "$(windows_record)" ] || fail "the Windows install record is left"
[ -z "$(linux_record)" ] || fail "the Linux install record is left"

finish "both builds install and uninstall alike"
