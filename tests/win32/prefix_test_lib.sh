# Sourced by the test scripts that run both drivers against a Wine prefix of their own:
# the environment they need, a folder (and prefix) removed on exit, and failure counting.

# require_environment VARIABLE...: exits 2 naming the first one not set; exits 1 when the
# Linux driver (LINUX_DRIVER) has not been built.
require_environment() {
  local variable
  for variable in "$@"; do
    [ -n "${!variable:-}" ] || { echo "$variable is not set" >&2; exit 2; }
  done
  [ -x "$LINUX_DRIVER" ] || { echo "no Linux driver at $LINUX_DRIVER: build the debug preset first" >&2; exit 1; }
}

# make_workspace NAME: TMP, a new folder under $TMPDIR (else /tmp), and WIN, the prefix
# inside it; on exit the prefix's server is stopped and the folder removed.
make_workspace() {
  TMP=$(mktemp -d "${TMPDIR:-/tmp}/mirel-$1.XXXXXX")
  WIN=$TMP/prefix
  trap 'WINEPREFIX=$WIN wineserver -k >/dev/null 2>&1; WINEPREFIX=$WIN wineserver -w >/dev/null 2>&1; rm -rf "$TMP"' EXIT
}

failures=0
# fail WHAT: counts a failed check and goes on.
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# finish MESSAGE: exits 0 printing "PASS MESSAGE" when no check failed, else 1.
finish() {
  if [ "$failures" -eq 0 ]; then echo "PASS $1"; exit 0; fi
  exit 1
}
