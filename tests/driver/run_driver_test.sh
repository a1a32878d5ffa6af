#!/usr/bin/env bash
# Runs one driver scenario: NAME.script is fed to the scripted driver on standard input
# and its output compared with NAME.expected; then the files and the install record
# left behind are checked.
#
#   run_driver_test.sh PATH/NAME.script
#
# Environment:
#   MIREL_DRIVER          the driver to run (required)
#   MIREL_DRIVER_ADAPTER  shell file that makes the system and runs the driver on it
#                         (default: adapters/posix.sh beside this file)
#   MIREL_SAMPLE_DISC     the disc generator (default: tools/make-sample-disc)
#   MIREL_KEEP_TEMP=1     keep the temporary folder and print where it is
#
# Header lines of a script (comments to the driver):
#   # options: ARGS       driver options, e.g. --free-bytes C=10737418240
#   # disc: ARGS          make-sample-disc options for the disc in Q:
#   # exit: N             the exit status expected (default 0)
#   # check: COMMAND      a check run after the driver, from the folder of drive C:
# A companion NAME.setup is sourced before the driver runs (it may call driver_setup),
# a companion NAME.check after it, with the same helpers as the check lines.
#
# An adapter defines adapter_make_system TMP (sets C_DIR and Q_DIR, the host folders
# of C: and Q:, and exports what the driver needs), adapter_run_driver ARGS... (stdin
# and stdout pass through), adapter_registry_export (prints the current user's
# registry as REGEDIT4 text) and adapter_journal (prints the install journal from the
# build's own place for it, nothing when there is none).
set -uo pipefail

here=$(cd "$(dirname "$0")" && pwd)
script=${1:?usage: run_driver_test.sh NAME.script}
[ -f "$script" ] || { echo "no such script: $script" >&2; exit 2; }
script=$(cd "$(dirname "$script")" && pwd)/$(basename "$script")
name=$(basename "$script" .script)
base=${script%.script}
: "${MIREL_DRIVER:?MIREL_DRIVER must name the driver}"
adapter=${MIREL_DRIVER_ADAPTER:-$here/adapters/posix.sh}
sample_disc=${MIREL_SAMPLE_DISC:-$here/../../tools/make-sample-disc}

# shellcheck source=adapters/posix.sh
. "$adapter"

# The header lines, read in one pass with shell built-ins.
disc_options= options= expected_status=0 checks=()
while IFS= read -r line || [ -n "$line" ]; do
  line=${line%$'\r'}
  case "$line" in
    "# options:"*) options+=" ${line#\# options:}" ;;
    "# disc:"*) disc_options+=" ${line#\# disc:}" ;;
    "# exit:"*) read -r expected_status <<< "${line#\# exit:}" ;;
    "# check:"*) checks+=("${line#\# check:}") ;;
  esac
done < "$script"

TMP=$(mktemp -d "${TMPDIR:-/tmp}/mirel-driver-$name.XXXXXX")
cleanup() {
  if [ "${MIREL_KEEP_TEMP:-0}" = 1 ]; then echo "kept $TMP"; else rm -rf "$TMP"; fi
}
trap cleanup EXIT

adapter_make_system "$TMP"

# shellcheck disable=SC2086
"$sample_disc" $disc_options "$Q_DIR" || { echo "FAIL $name: cannot make the sample disc"; exit 1; }
DISC_DATA=$Q_DIR
case " $disc_options " in *" --marker tazmel "*) DISC_DATA=$Q_DIR/Tazmel ;; esac
INSTALL="Program Files/Velstra/Mirel"
RECORD_KEY='HKEY_CURRENT_USER\Software\Velstra\Mirel'

failures=0
fail() {
  echo "check failed: $*"
  failures=$((failures + 1))
}

# --- helpers for .setup, .check and check lines ---

# Runs the driver with the commands on standard input; the scenario fails unless it
# ends with status 0.
driver_setup() {
  local out
  out=$(adapter_run_driver "$@" 2>&1 | tr -d '\r'; exit "${PIPESTATUS[0]}") || {
    echo "FAIL $name: setup run of the driver failed:"; echo "$out"; exit 1
  }
}

# Paths are relative to the folder of drive C:; globs are allowed.
present() { local p; for p in "$@"; do [ -e "$p" ] || fail "missing: $p"; done; }
absent() { local p; for p in "$@"; do [ ! -e "$p" ] && [ ! -L "$p" ] || fail "should not exist: $p"; done; }
empty_folder() {
  local p
  for p in "$@"; do
    [ -d "$p" ] && [ -z "$(ls -A "$p")" ] || fail "not an empty folder: $p"
  done
}
# Files or folders of the install folder that must equal the same names on the disc;
# a folder is compared file by file, passing over folders whose name starts with a dot
# (the copy skips them).
copied() {
  local p f
  for p in "$@"; do
    if [ -d "$DISC_DATA/$p" ]; then
      [ -d "$INSTALL/$p" ] || { fail "folder not copied: $INSTALL/$p"; continue; }
      while IFS= read -r -d '' f; do
        cmp -s "$INSTALL/$p/$f" "$DISC_DATA/$p/$f" || fail "not a copy of the disc: $INSTALL/$p/$f"
      done < <(cd "$DISC_DATA/$p" && find . -mindepth 1 -type d -name '.*' -prune -o -type f -printf '%P\0')
    elif [ -f "$DISC_DATA/$p" ]; then
      cmp -s "$INSTALL/$p" "$DISC_DATA/$p" || fail "not a copy of the disc: $INSTALL/$p"
    else
      fail "not on the disc: $p"
    fi
  done
}

# The lines of one registry key (REGEDIT4), its path compared without regard to case.
registry_key_lines() {
  adapter_registry_export | tr -d '\r' | awk -v key="[$1]" '
    /^\[/ { inside = (tolower($0) == tolower(key)); next }
    inside && NF { print }'
}
registry_has_key() {
  adapter_registry_export | tr -d '\r' | awk -v key="[$1]" 'tolower($0) == tolower(key) { found = 1 } END { exit !found }'
}
key_present() { local k; for k in "$@"; do registry_has_key "$k" || fail "registry key missing: $k"; done; }
key_absent() { local k; for k in "$@"; do ! registry_has_key "$k" || fail "registry key should not exist: $k"; done; }
# Values of the install record, as REGEDIT4 lines: "SetupMode"="Setup_MIN".
record_has() {
  local line lines
  lines=$(registry_key_lines "$RECORD_KEY")
  for line in "$@"; do
    grep -qxF -- "$line" <<< "$lines" || fail "install record lacks $line (has: $(tr '\n' ' ' <<< "$lines"))"
  done
}

# The install journal (UTF-8 on both builds), and lines of it by extended regular
# expression: each pattern must match a whole line.
journal_text() { adapter_journal | tr -d '\r'; }
journal_has() {
  local pattern text
  text=$(journal_text)
  for pattern in "$@"; do
    grep -qE -- "^($pattern)\$" <<< "$text" || fail "journal lacks a line like: $pattern"
  done
}
journal_lacks() {
  local pattern text
  text=$(journal_text)
  for pattern in "$@"; do
    ! grep -qE -- "^($pattern)\$" <<< "$text" || fail "journal has a line like: $pattern"
  done
}

# --- the run ---

if [ -f "$base.setup" ]; then
  # shellcheck disable=SC1090
  . "$base.setup"
fi

# shellcheck disable=SC2086
adapter_run_driver $options < "$script" > "$TMP/output.raw" 2> "$TMP/stderr"
status=$?
tr -d '\r' < "$TMP/output.raw" > "$TMP/output"

ok=1
if [ "$status" != "$expected_status" ]; then
  echo "exit status $status, expected $expected_status"
  ok=0
fi
if ! diff -u --label "$name.expected" --label "$name output" "$base.expected" "$TMP/output"; then
  ok=0
fi
if [ -s "$TMP/stderr" ]; then
  echo "--- standard error ---"
  cat "$TMP/stderr"
fi

cd "$C_DIR" || exit 1
for check in "${checks[@]}"; do
  eval "$check"
done
if [ -f "$base.check" ]; then
  # shellcheck disable=SC1090
  . "$base.check"
fi
[ "$failures" -eq 0 ] || ok=0

if [ "$ok" = 1 ]; then
  echo "PASS $name"
  exit 0
fi
echo "FAIL $name"
exit 1
