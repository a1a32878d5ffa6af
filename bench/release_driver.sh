# Sourced by the benches that run the scripted driver: checks the rounds and the timer,
# builds the release driver when asked and sets `driver` (kept when already set).
#   bench_release_driver NAME ROUNDS BUILD
bench_release_driver() {
  local name=$1 rounds=$2 build=$3
  [[ "$rounds" =~ ^[1-9][0-9]*$ ]] || { echo "$name: --rounds needs a positive number" >&2; exit 2; }
  [ -x /usr/bin/time ] || { echo "$name: /usr/bin/time missing (scripts/bootstrap installs it)" >&2; exit 1; }
  driver=${driver:-$repo/build/release/tools/mirel-setup-script}
  if [ "$build" = 1 ]; then
    cmake --preset release >/dev/null
    cmake --build build/release --target mirel-setup-script >/dev/null
  fi
  [ -x "$driver" ] || { echo "$name: no driver at $driver" >&2; exit 1; }
}
