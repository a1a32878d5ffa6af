# Driver adapter for the Linux build: a system root of its own with a drives file that
# maps C: (fixed) and Q: (CD-ROM) to folders of the test, the registry as REGEDIT4 files.
# Sourced by run_driver_test.sh; see there for what an adapter provides.

adapter_make_system() {
  local tmp=$1
  C_DIR=$tmp/c
  Q_DIR=$tmp/q
  mkdir -p "$C_DIR" "$Q_DIR" "$tmp/root"
  printf 'C: fixed %s\nQ: cdrom %s\n' "$C_DIR" "$Q_DIR" > "$tmp/root/drives"
  export MIREL_SETUP_ROOT=$tmp/root
}

adapter_run_driver() {
  "$MIREL_DRIVER" "$@"
}

adapter_registry_export() {
  local hive=$MIREL_SETUP_ROOT/registry/HKEY_CURRENT_USER.reg
  if [ -f "$hive" ]; then cat "$hive"; fi
}

adapter_journal() {
  local journal=$MIREL_SETUP_ROOT/setup.log
  if [ -f "$journal" ]; then cat "$journal"; fi
}
