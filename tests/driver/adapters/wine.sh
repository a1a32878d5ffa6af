# Driver adapter for the Windows build under Wine: each scenario gets a prefix of its
# own, copied from a template made once per build, with C: (the prefix's drive_c) and a
# CD-ROM drive Q: on a folder of the test, and no other drive letters. The registry is
# the prefix's own, exported by Wine's reg in the REGEDIT format.
# Sourced by run_driver_test.sh; see there for what an adapter provides.

wine_run=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)/scripts/wine-run
# The template lives in the build folder of the driver, beside its tools/ folder.
wine_template=${MIREL_WINE_TEMPLATE:-$(cd "$(dirname "$MIREL_DRIVER")/.." && pwd)/wine-template}

adapter_make_system() {
  local tmp=$1
  WINE_SYSTEM=$tmp/prefix
  Q_DIR=$tmp/q
  C_DIR=$WINE_SYSTEM/drive_c
  mkdir -p "$Q_DIR"
  "$wine_run" --prefix "$WINE_SYSTEM" --from "$wine_template" --test-system --cdrom "$Q_DIR" --create
  # The prefix's server outlives the last program by a few seconds and writes into the
  # prefix as it ends: it is stopped before the runner's own clean-up removes the folder.
  local previous
  previous=$(trap -p EXIT | sed "s/^trap -- '\(.*\)' EXIT\$/\1/")
  # shellcheck disable=SC2064
  trap "adapter_stop_system; $previous" EXIT
}

adapter_stop_system() {
  WINEPREFIX=$WINE_SYSTEM wineserver -k >/dev/null 2>&1 || true
  WINEPREFIX=$WINE_SYSTEM wineserver -w >/dev/null 2>&1 || true
}

adapter_run_driver() {
  "$wine_run" --prefix "$WINE_SYSTEM" "$MIREL_DRIVER" "$@"
}

adapter_registry_export() {
  local file=windows/temp/mirel-hkcu.reg
  "$wine_run" --prefix "$WINE_SYSTEM" reg export HKEY_CURRENT_USER "C:\\${file//\//\\}" /y >/dev/null 2>&1
  # UTF-16 with a byte-order mark; the lines are the same as REGEDIT4's.
  iconv -f UTF-16 -t UTF-8 "$C_DIR/$file" | sed '1s/^\xEF\xBB\xBF//'
  rm -f "$C_DIR/$file"
}

# %TEMP% of the prefix's user.
adapter_journal() {
  local journal
  journal=$(find "$C_DIR/users" -name mirel-setup.log -print -quit 2>/dev/null)
  if [ -n "$journal" ]; then cat "$journal"; fi
}
