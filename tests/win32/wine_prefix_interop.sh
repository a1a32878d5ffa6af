#!/usr/bin/env bash
# The Linux build installing into a real Wine prefix, checked against Wine itself and the
# Windows build run under Wine in the same prefix.
#
#   wine_prefix_interop.sh CASE
#     linux_then_windows   the Linux driver installs; the Windows driver sees the install,
#                          Wine reads the record and resolves both links; the Windows
#                          driver uninstalls; the Linux driver sees a fresh system and
#                          Wine still loads user.reg
#     windows_then_linux   the reverse
#     server_running       with the prefix's server running the Linux driver refuses and
#                          changes nothing
#     launchers            the launchers are valid desktop entries with their icon in the
#                          theme, whose command starts the installed program under Wine;
#                          uninstalling removes them and the icon
#
# Environment: LINUX_DRIVER, WINDOWS_DRIVER, READ_SHELL_LINK, LAUNCH_PROBE, WINE_RUN,
# WINE_TEMPLATE, SAMPLE_DISC.
set -uo pipefail

case_name=${1:?usage: wine_prefix_interop.sh CASE}
. "$(dirname "$0")/prefix_test_lib.sh"
require_environment LINUX_DRIVER WINDOWS_DRIVER READ_SHELL_LINK LAUNCH_PROBE WINE_RUN WINE_TEMPLATE SAMPLE_DISC
make_workspace "prefix-$case_name"

"$SAMPLE_DISC" "$TMP/disc" >/dev/null || { echo "cannot make the sample disc" >&2; exit 1; }
"$WINE_RUN" --prefix "$WIN" --from "$WINE_TEMPLATE" --test-system --cdrom "$TMP/disc" --create
# The host user's folders of the Linux side stay inside the test.
export HOME=$TMP/home XDG_DATA_HOME=$TMP/home/.local/share XDG_CONFIG_HOME=$TMP/home/.config
mkdir -p "$HOME"
MENU_LAUNCHER="$XDG_DATA_HOME/applications/wine/Programs/Velstra/ハルネア/ハルネア.desktop"
DESKTOP_LAUNCHER="$HOME/Desktop/ハルネア.desktop"

settle() { WINEPREFIX=$WIN wineserver -w >/dev/null 2>&1; }
windows() { "$WINE_RUN" --prefix "$WIN" "$@"; }
windows_driver() { windows "$WINDOWS_DRIVER" --free-bytes C=10737418240 | tr -d '\r'; settle; }
linux_driver() { "$LINUX_DRIVER" --wine-prefix "$WIN" --free-bytes C=10737418240; }
# The dialog as each build shows it at start, without the line naming the prefix.
dump_of() { "$1" <<< $'start\ndump' | grep -v '^Wine prefix: '; }
linux_dump() { dump_of linux_driver; }
windows_dump() { dump_of windows_driver; }

install_commands=$'start\nselect 1003 Q\nselect 1001 C\nclick 1004\nclick 1005\nanswer ok\nclick 1010'
uninstall_commands=$'start\nanswer yes ok\nclick 1009'
DONE='message 0x40 ハルネアの\nインストールが終了しました。'
UNINSTALLED='message 0x40 アンインストールが完了しました。'
expected_fields='path=C:\Program Files\Velstra\Mirel\KARVEX34.EXE
working=C:\Program Files\Velstra\Mirel
arguments='

record_query() { windows reg query 'HKCU\Software\Velstra\Mirel' 2>/dev/null | tr -d '\r' | iconv -f CP932 -t UTF-8; }
check_links_resolve() {
  local link
  for link in "Desktop/ハルネア.lnk" "AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Velstra/ハルネア/ハルネア.lnk"; do
    local host
    host=$(echo "$WIN"/drive_c/users/*/"$link")
    [ -f "$host" ] || { fail "link $link missing"; continue; }
    cp "$host" "$WIN/drive_c/windows/temp/read.lnk"
    local fields
    fields=$(windows "$READ_SHELL_LINK" 'C:\windows\temp\read.lnk' | tr -d '\r')
    [ "$fields" = "$expected_fields" ] || fail "Wine reads $link as: $(tr '\n' ';' <<< "$fields")"
  done
  rm -f "$WIN/drive_c/windows/temp/read.lnk"
}
unrelated_key_loads() {
  windows reg query 'HKCU\Software\Wine' >/dev/null 2>&1 || fail "Wine no longer reads an unrelated key of user.reg"
}

settle
fresh=$(linux_dump)
case "$case_name" in
  linux_then_windows)
    out=$(linux_driver <<< "$install_commands" 2>&1)
    grep -qxF "Wine prefix: $WIN" <<< "$out" || fail "the driver did not name the prefix: $out"
    grep -qF "$DONE" <<< "$out" || fail "the Linux install did not finish: $out"
    installed=$(linux_dump)
    [ "$installed" != "$fresh" ] || fail "the Linux driver does not see its own install"
    [ "$(windows_dump)" = "$installed" ] || fail "the Windows driver sees: $(diff <(echo "$installed") <(windows_dump))"
    record=$(record_query)
    grep -q 'SetupMode.*REG_SZ.*Setup_MAX' <<< "$record" || fail "wine reg query reads: $record"
    grep -q 'Install KOE.*REG_DWORD.*0x1' <<< "$record" || fail "wine reg query reads: $record"
    check_links_resolve
    grep -qF "$UNINSTALLED" <<< "$(windows_driver <<< "$uninstall_commands")" || fail "the Windows uninstall failed"
    [ "$(linux_dump)" = "$fresh" ] || fail "after the Windows uninstall the Linux driver sees: $(linux_dump)"
    unrelated_key_loads
    ;;
  windows_then_linux)
    grep -qF "$DONE" <<< "$(windows_driver <<< "$install_commands")" || fail "the Windows install failed"
    installed=$(windows_dump)
    [ "$(linux_dump)" = "$installed" ] || fail "the Linux driver sees: $(diff <(echo "$installed") <(linux_dump))"
    out=$(linux_driver <<< "$uninstall_commands" 2>&1)
    grep -qF "$UNINSTALLED" <<< "$out" || fail "the Linux uninstall failed: $out"
    [ "$(windows_dump)" = "$fresh" ] || fail "after the Linux uninstall the Windows driver sees: $(windows_dump)"
    [ -z "$(find "$WIN/drive_c/users" -name '*.lnk')" ] || fail "links left: $(find "$WIN/drive_c/users" -name '*.lnk')"
    [ ! -e "$WIN/drive_c/Program Files/Velstra/Mirel/KARVEX34.EXE" ] || fail "program files left"
    unrelated_key_loads
    ;;
  server_running)
    WINEPREFIX=$WIN WINEDEBUG=-all wineserver -p
    for _ in $(seq 50); do WINEPREFIX=$WIN wineserver -k0 2>/dev/null && break; sleep 0.1; done
    before=$(cd "$WIN" && find . -printf '%p %s %T@\n' | sort; cd "$WIN" && find . -type f -exec md5sum {} + | sort)
    out=$(linux_driver <<< "$install_commands" 2>&1); status=$?
    [ "$status" -ne 0 ] || fail "the driver ran with the server running: $out"
    grep -qF 'wineserver -k' <<< "$out" || fail "no advice in: $out"
    grep -qF "$WIN" <<< "$out" || fail "the prefix is not named in: $out"
    after=$(cd "$WIN" && find . -printf '%p %s %T@\n' | sort; cd "$WIN" && find . -type f -exec md5sum {} + | sort)
    [ "$before" = "$after" ] || fail "the prefix changed: $(diff <(echo "$before") <(echo "$after") | head -5)"
    ;;
  launchers)
    cp "$WIN/user.reg" "$TMP/user.before"; cp "$WIN/system.reg" "$TMP/system.before"
    grep -qF "$DONE" <<< "$(linux_driver <<< "$install_commands" 2>&1)" || fail "the Linux install failed"
    # Only our keys changed in Wine's own file; every other line is as Wine wrote it.
    diff <(grep -v '^#time=' "$TMP/user.before") <(grep -v '^#time=' "$WIN/user.reg") | grep '^[<>]' |
      grep -v '^> \[Software\\\\Velstra\\\\Mirel\] [0-9]*$' | grep -v '^> "\(Path\|CDPath\|SetupMode\|Install KOE\)"=' |
      grep -v '^> $' > "$TMP/other-changes"
    [ ! -s "$TMP/other-changes" ] || fail "the install changed other lines of user.reg: $(head -5 "$TMP/other-changes")"
    # An install and uninstall of ours (no Wine program run meanwhile, which would have
    # Wine rewrite its font keys) leave Wine's files exactly as they were.
    grep -qF "$UNINSTALLED" <<< "$(linux_driver <<< "$uninstall_commands" 2>&1)" || fail "the Linux uninstall failed"
    cmp -s "$TMP/user.before" "$WIN/user.reg" || fail "user.reg differs after an install and uninstall: $(diff "$TMP/user.before" "$WIN/user.reg" | head -12)"
    cmp -s "$TMP/system.before" "$WIN/system.reg" || fail "system.reg changed: $(diff "$TMP/system.before" "$WIN/system.reg" | head -8)"
    grep -qF "$DONE" <<< "$(linux_driver <<< "$install_commands" 2>&1)" || fail "the second Linux install failed"
    for launcher in "$MENU_LAUNCHER" "$DESKTOP_LAUNCHER"; do
      [ -f "$launcher" ] || { fail "no launcher $launcher"; continue; }
      desktop-file-validate "$launcher" || fail "desktop-file-validate refuses $launcher"
    done
    # Each launcher names a theme icon that exists as a PNG of the size its folder says.
    icons=()
    for launcher in "$MENU_LAUNCHER" "$DESKTOP_LAUNCHER"; do
      icon=$(sed -n 's/^Icon=//p' "$launcher")
      [ -n "$icon" ] || { fail "no Icon= in $launcher"; continue; }
      icons+=("$icon")
      pngs=$(find "$XDG_DATA_HOME/icons/hicolor" -path "*/apps/$icon.png" 2>/dev/null)
      [ -n "$pngs" ] || fail "no PNG of the icon $icon"
      for png in $pngs; do
        size=$(basename "$(dirname "$(dirname "$png")")")
        file -b "$png" | grep -q "^PNG image data, ${size/x/ x }," || fail "$png is no PNG of $size: $(file -b "$png")"
      done
    done
    install_dir="$WIN/drive_c/Program Files/Velstra/Mirel"
    cp "$LAUNCH_PROBE" "$install_dir/KARVEX34.EXE"
    for launcher in "$MENU_LAUNCHER" "$DESKTOP_LAUNCHER"; do
      rm -f "$install_dir/launched.txt"
      # The Exec value with the desktop entry's string escapes undone; its quoting is the
      # shell's own for these characters.
      exec_line=$(sed -n 's/^Exec=//p' "$launcher" | sed 's/\\\\/\\/g')
      (export WINEDEBUG=-all LANG=ja_JP.UTF-8 WINEDLLOVERRIDES=winemenubuilder.exe=d; eval "$exec_line") >/dev/null 2>&1
      for _ in $(seq 100); do [ -s "$install_dir/launched.txt" ] && break; sleep 0.2; done
      settle
      grep -qF 'started in C:\Program Files\Velstra\Mirel' "$install_dir/launched.txt" 2>/dev/null ||
        fail "$(basename "$(dirname "$launcher")") launcher did not start the program in its folder: $(cat "$install_dir/launched.txt" 2>&1)"
    done
    grep -qF "$UNINSTALLED" <<< "$(linux_driver <<< "$uninstall_commands" 2>&1)" || fail "the Linux uninstall failed"
    [ ! -e "$MENU_LAUNCHER" ] && [ ! -e "$DESKTOP_LAUNCHER" ] || fail "launchers left after the uninstall"
    [ ! -e "$XDG_DATA_HOME/applications/wine/Programs/Velstra" ] || fail "emptied menu folders left"
    for icon in "${icons[@]}"; do
      [ -z "$(find "$XDG_DATA_HOME/icons" -name "$icon.png" 2>/dev/null)" ] || fail "the icon $icon is left after the uninstall"
    done
    ;;
  *) echo "no such case: $case_name" >&2; exit 2 ;;
esac

finish "$case_name"
