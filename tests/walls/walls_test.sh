#!/usr/bin/env bash
# Black-box checks of the sandbox's walls on Linux: hostile trees, links and files around
# a real install and uninstall by the scripted driver. Each case runs in a folder of its
# own that also holds a decoy folder outside the system root; whatever the case does,
# the decoy must stay byte for byte as it was.
#
#   walls_test.sh CASE       (MIREL_DRIVER: the driver; MIREL_SAMPLE_DISC: the disc tool)
set -uo pipefail

case_name=${1:?usage: walls_test.sh CASE}
: "${MIREL_DRIVER:?MIREL_DRIVER must name the driver}"
sample_disc=${MIREL_SAMPLE_DISC:?MIREL_SAMPLE_DISC must name the disc tool}

TMP=$(mktemp -d "${TMPDIR:-/tmp}/mirel-walls-$case_name.XXXXXX")
trap 'rm -rf "$TMP"' EXIT
ROOT=$TMP/root C=$TMP/c Q=$TMP/q DECOY=$TMP/decoy
INSTALL="$C/Program Files/Velstra/Mirel"
FULL=$'start\nselect 1001 C\nselect 1003 Q\nclick 1020\nanswer ok\nclick 1010\n'
UNINST=$'start\nanswer yes ok\nclick 1009\n'
DONE_TEXT='インストールが終了しました'
failures=0
fail() { echo "check failed: $*"; failures=$((failures + 1)); }

make_system() {
  mkdir -p "$ROOT" "$C" "$Q" "$DECOY/inner"
  printf 'C: fixed %s\nQ: cdrom %s\n' "$C" "$Q" > "$ROOT/drives"
  "$sample_disc" "$Q" >/dev/null || { echo "cannot make the sample disc"; exit 1; }
  printf 'the user'"'"'s own data\n' > "$DECOY/user.txt"
  printf 'secret\n' > "$DECOY/secret.txt"
  printf 'nested\n' > "$DECOY/inner/keep.dat"
}
# A fingerprint of a tree: every path, type, size and content digest.
fingerprint() { (cd "$1" && find . -printf '%p %y %s\n' | sort && find . -type f -exec sha256sum {} + | sort); }
decoy_before() { DECOY_PRINT=$(fingerprint "$DECOY"); }
decoy_unchanged() { [ "$(fingerprint "$DECOY")" = "$DECOY_PRINT" ] || fail "the decoy folder outside the root changed"; }

# Runs the driver on the commands in $1 with $MIREL_SETUP_ROOT as it is; output in
# $TMP/out, standard error in $TMP/err. A run that does not end within 20 s fails.
run() {
  printf '%s' "$1" | timeout 20 "$MIREL_DRIVER" > "$TMP/out" 2> "$TMP/err"
  local status=$?
  [ "$status" -ne 124 ] || fail "the driver did not end (blocked)"
  return "$status"
}
said() { grep -qF -- "$1" "$TMP/out" || fail "the output lacks: $1 (it was: $(tr '\n' '|' < "$TMP/out"))"; }
not_said() { ! grep -qF -- "$1" "$TMP/out" || fail "the output should not say: $1"; }
warned() { grep -qF -- "$1" "$TMP/err" || fail "standard error lacks: $1 (it was: $(tr '\n' '|' < "$TMP/err"))"; }

export MIREL_SETUP_ROOT=$ROOT
case "$case_name" in
  uninstall_through_folder_link)
    # The install's MCG folder replaced by a link to a folder of the user's.
    make_system; run "$FULL"; said "$DONE_TEXT"
    rm -rf "$INSTALL/MCG"; ln -s "$DECOY" "$INSTALL/MCG"
    decoy_before; run "$UNINST"; decoy_unchanged
    ;;
  install_over_file_link)
    # The program's data file is a link to a file outside, before the install.
    make_system; mkdir -p "$INSTALL"
    ln -s "$DECOY/user.txt" "$INSTALL/KARVEX34.DAT"
    ln -s "../../../../decoy/secret.txt" "$INSTALL/KARVEX34.EXE"
    decoy_before; run "$FULL"; decoy_unchanged; not_said "$DONE_TEXT"
    ;;
  disc_links_out)
    # Links on the disc to a file and a folder off the disc, by absolute and by relative
    # target: to the disc they are not there, so the install goes on without them and
    # nothing of the decoy reaches the install folder.
    make_system
    ln -s "$DECOY/secret.txt" "$Q/TXT/x.txt"
    ln -s "../../decoy/secret.txt" "$Q/TXT/y.txt"
    ln -s "../../decoy" "$Q/TXT/outside"
    decoy_before; run "$FULL"; decoy_unchanged; said "$DONE_TEXT"
    if grep -rqF secret "$C"; then fail "a file off the disc was copied into the install"; fi
    [ ! -e "$INSTALL/TXT/x.txt" ] && [ ! -e "$INSTALL/TXT/y.txt" ] || fail "a link off the disc was copied"
    ;;
  disc_is_install_folder)
    # The disc copied into the install folder and Q: mapped there: every copy would write
    # onto its own source.
    make_system; mkdir -p "$INSTALL"; cp -a "$Q/." "$INSTALL/"
    printf 'C: fixed %s\nQ: cdrom %s\n' "$C" "$INSTALL" > "$ROOT/drives"
    before=$(fingerprint "$Q")
    run "$FULL"; not_said "$DONE_TEXT"
    [ "$(fingerprint "$Q")" = "$(cd "$INSTALL" && fingerprint .)" ] || fail "files of the install folder (the disc) changed"
    ;;
  drives_fifo)
    make_system; rm "$ROOT/drives"; mkfifo "$ROOT/drives"
    run $'start\ndump\n'; warned "drives: not a regular file"
    ;;
  drives_link_out)
    make_system; mv "$ROOT/drives" "$DECOY/drives"; ln -s "$DECOY/drives" "$ROOT/drives"
    decoy_before; run $'start\ndump\n'; decoy_unchanged; warned "leads out of the system root"
    [ -L "$ROOT/drives" ] || fail "the user's link was replaced"
    ;;
  registry_link_out)
    # The registry's folder a link to a folder outside the root: nothing is written
    # there, the link is reported, and without a record the install cannot succeed.
    make_system; ln -s "$DECOY" "$ROOT/registry"
    decoy_before; run "$FULL"; decoy_unchanged; warned "registry: a link that leads out of the system root"
    not_said "$DONE_TEXT"
    [ -L "$ROOT/registry" ] || fail "the user's link was replaced"
    ;;
  journal_link_out)
    # The journal a link to a file of the user's: the run goes on without it.
    make_system; ln -s "$DECOY/user.txt" "$ROOT/setup.log"
    decoy_before; run "$FULL"; decoy_unchanged; said "$DONE_TEXT"; warned "setup.log not written: it is a symbolic link"
    ;;
  drives_bad_lines)
    make_system
    printf 'C: fixed %s\nnonsense\nQ: cdrom %s\nE: floppy /x\nc: fixed /elsewhere\nF: fixed relative/path\n' \
      "$C" "$Q" > "$ROOT/drives"
    run "$FULL"; said "$DONE_TEXT"
    for n in 2 4 5 6; do warned "$ROOT/drives: line $n: "; done
    [ "$(grep -c 'drives: line' "$TMP/err")" = 4 ] || fail "other lines were reported: $(cat "$TMP/err")"
    ;;
  root_with_odd_bytes)
    # A root whose path holds " #", a quote, a backslash and a line break: the default
    # drives file must read back as the same folder, and the install land inside it.
    make_system
    ROOT="$TMP/my #root \"q\" \\b"$'\n'"x"; export MIREL_SETUP_ROOT=$ROOT
    run $'start\n'; [ -s "$TMP/err" ] && fail "warnings on a fresh root: $(cat "$TMP/err")"
    printf 'Q: cdrom %s\n' "$Q" >> "$ROOT/drives"
    run "$FULL"; said "$DONE_TEXT"; [ -s "$TMP/err" ] && fail "warnings: $(cat "$TMP/err")"
    [ -f "$ROOT/drive_c/Program Files/Velstra/Mirel/KARVEX34.EXE" ] || fail "the install is not below the root"
    [ "$(find "$TMP" -mindepth 1 -maxdepth 1 -printf x)" = xxxxxxx ] || fail "something was made beside the root: $(ls -A "$TMP")"
    ;;
  relative_root)
    make_system; mkdir -p "$TMP/cwd"; cd "$TMP/cwd" || exit 1
    export MIREL_SETUP_ROOT=rel
    run $'start\n'; run $'start\ndump\n'
    grep -q '^1001 .*items="C"' "$TMP/out" || fail "C: is lost at the next start: $(grep '^1001' "$TMP/out")"
    grep -qF "C: fixed $TMP/cwd/rel/drive_c" "$TMP/cwd/rel/drives" || fail "the drives file holds a relative folder"
    ;;
  damaged_hive)
    make_system; mkdir -p "$ROOT/registry"
    printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software]\n"a"=dword:zz\n' > "$ROOT/registry/HKEY_CURRENT_USER.reg"
    before=$(sha256sum < "$ROOT/registry/HKEY_CURRENT_USER.reg")
    run $'start\n'; warned "HKEY_CURRENT_USER.reg: line 4"
    [ "$(sha256sum < "$ROOT/registry/HKEY_CURRENT_USER.reg")" = "$before" ] || fail "the damaged hive was rewritten"
    ;;
  *) echo "no such case: $case_name"; exit 2 ;;
esac

if [ "$failures" -eq 0 ]; then echo "PASS $case_name"; exit 0; fi
echo "--- output ---"; cat "$TMP/out"; echo "--- standard error ---"; cat "$TMP/err"
echo "FAIL $case_name"; exit 1
