#!/usr/bin/env bash
# A full install through the scripted driver (release build) against `cp -r` of the same
# data sets, alternating, several rounds, on a generated disc with the proportions of a
# real one. Prints both times, their ratio and the driver's peak memory. The driver
# keeps its install journal as the product does; with --journal-overhead each round
# also installs without one (--no-log), and the medians of the two, in elapsed and in
# CPU time (user + system, less shaken by other work on the machine), are compared.
# Targets: within 1.10x of cp -r, under 32 MiB.
#
#   bench/full_install.sh [--size 1G] [--rounds 5] [--journal-overhead] [--no-build] [--keep] [--work DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD

size=1G
rounds=5
build=1
keep=0
journal_overhead=0
work_parent=${TMPDIR:-/var/tmp}
while [ $# -gt 0 ]; do
  case "$1" in
    --size) size=${2:?}; shift 2 ;;
    --rounds) rounds=${2:?}; shift 2 ;;
    --no-build) build=0; shift ;;
    --keep) keep=1; shift ;;
    --journal-overhead) journal_overhead=1; shift ;;
    --work) work_parent=${2:?}; shift 2 ;;
    -h|--help) sed -n '2,10s/^# \{0,1\}//p' "$0"; exit 0 ;;
    *) echo "full_install.sh: unknown option $1" >&2; exit 2 ;;
  esac
done
[[ "$rounds" =~ ^[1-9][0-9]*$ ]] || { echo "full_install.sh: --rounds needs a positive number" >&2; exit 2; }
[ -x /usr/bin/time ] || { echo "full_install.sh: /usr/bin/time missing (scripts/bootstrap installs it)" >&2; exit 1; }

driver=$repo/build/release/tools/mirel-setup-script
if [ "$build" = 1 ]; then
  cmake --preset release >/dev/null
  cmake --build build/release --target mirel-setup-script >/dev/null
fi
[ -x "$driver" ] || { echo "full_install.sh: no driver at $driver" >&2; exit 1; }

work=$(mktemp -d "$work_parent/mirel-bench.XXXXXX")
cleanup() { if [ "$keep" = 1 ]; then echo "kept $work"; else rm -rf "$work"; fi; }
trap cleanup EXIT

disc=$work/q
echo "making a disc of $size in $disc ..."
"$repo/tools/make-sample-disc" --size "$size" "$disc"
disc_bytes=$(du -sb "$disc" | cut -f1)
disc_files=$(find "$disc" -type f | wc -l)

# What a full install copies: the program files and every data set.
entries=(KARVEX34.EXE KARVEX34.DAT CUR MCG MSK TXT MSE KOE BGM MOV)
install_rel="Program Files/Velstra/Mirel"

commands=$'start\nselect 1003 Q\nselect 1001 C\nanswer ok\nclick 1010\n'
expected=$'message 0x40 ハルネアの\\nインストールが終了しました。\nanswer ok\nend ok'

now() { echo "${EPOCHREALTIME/[.,]/}"; }  # microseconds

# Every run writes into folders of its own that are removed only at the end: ext4 skips
# recently freed inodes when it allocates, so deleting the previous run's 10,000 files
# would tax whoever runs next.
needed_kb=$(( (3 * rounds + 3) * disc_bytes / 1024 ))
free_kb=$(df -Pk "$work" | awk 'NR == 2 { print $4 }')
if [ "$free_kb" -lt "$needed_kb" ]; then
  echo "full_install.sh: needs $((needed_kb / 1024)) MiB free in $work_parent, has $((free_kb / 1024))" >&2
  exit 1
fi
new_destination() {
  destination=$(mktemp -d "$work/run.XXXXXX")
  mkdir -p "$destination/c" "$destination/root"
  printf 'C: fixed %s\nQ: cdrom %s\n' "$destination/c" "$disc" > "$destination/root/drives"
  sync
}

run_cp() {
  new_destination
  local start end
  start=$(now)
  mkdir -p "$destination/c/$install_rel"
  (cd "$disc" && cp -r "${entries[@]}" "$destination/c/$install_rel/")
  end=$(now)
  echo $((end - start))
}

# Options for the driver in "$@" (--no-log: without the journal).
run_driver() {
  new_destination
  local start end output
  start=$(now)
  output=$(MIREL_SETUP_ROOT=$destination/root \
    /usr/bin/time -f '%M %U %S' -o "$work/time" "$driver" --free-bytes C=1099511627776 "$@" <<< "$commands")
  end=$(now)
  if [ "$output" != "$expected" ]; then
    echo "full_install.sh: the install did not succeed:" >&2
    echo "$output" >&2
    exit 1
  fi
  echo $((end - start))
}

seconds() { awk -v us="$1" 'BEGIN { printf "%.3f", us / 1e6 }'; }
median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print int((v[NR / 2] + v[NR / 2 + 1]) / 2) }'; }

echo "disc: $(awk -v b="$disc_bytes" 'BEGIN { printf "%.2f MiB", b / 1048576 }') in $disc_files files; $rounds rounds"
run_cp >/dev/null  # warm-up: brings the disc into the page cache for both contenders

cp_times=()
driver_times=()
unjournaled_times=()
driver_cpu=()
unjournaled_cpu=()
rss() { cut -d' ' -f1 "$work/time"; }
cpu_us() { awk '{ printf "%d", ($2 + $3) * 1e6 }' "$work/time"; }
peak_kb=0
for round in $(seq 1 "$rounds"); do
  # Alternate who goes first, so neither always inherits the other's write-back.
  if [ $((round % 2)) = 1 ]; then
    c=$(run_cp); d=$(run_driver)
  else
    d=$(run_driver); c=$(run_cp)
  fi
  rss=$(rss)
  [ "$rss" -gt "$peak_kb" ] && peak_kb=$rss
  cp_times+=("$c"); driver_times+=("$d"); driver_cpu+=("$(cpu_us)")
  line="round $round: cp -r $(seconds "$c") s, installer $(seconds "$d") s, peak $((rss / 1024)) MiB"
  if [ "$journal_overhead" = 1 ]; then
    u=$(run_driver --no-log)
    unjournaled_times+=("$u"); unjournaled_cpu+=("$(cpu_us)")
    line+=", without journal $(seconds "$u") s; CPU $(seconds "${driver_cpu[-1]}") s against $(seconds "${unjournaled_cpu[-1]}") s"
  fi
  echo "$line"
done

# One more install, untimed, that must be a faithful copy (dot-folders are skipped by
# design).
run_driver >/dev/null
verify_failed=0
for entry in "${entries[@]}"; do
  diff -rq -x '.*' "$disc/$entry" "$destination/c/$install_rel/$entry" >/dev/null || { echo "differs: $entry"; verify_failed=1; }
done
[ "$verify_failed" = 0 ] || { echo "full_install.sh: the installed copy differs from the disc" >&2; exit 1; }

cp_median=$(median "${cp_times[@]}")
driver_median=$(median "${driver_times[@]}")
ratio=$(awk -v d="$driver_median" -v c="$cp_median" 'BEGIN { printf "%.3f", d / c }')
peak_mib=$(awk -v k="$peak_kb" 'BEGIN { printf "%.1f", k / 1024 }')
echo "cp -r     median $(seconds "$cp_median") s"
echo "installer median $(seconds "$driver_median") s"
echo "ratio     $ratio (target <= 1.10)"
echo "peak memory of the driver: $peak_mib MiB (target < 32 MiB)"
journal=$destination/root/setup.log
echo "journal of one full install: $(wc -l < "$journal") lines, $(wc -c < "$journal") bytes (bound 1048576)"
if [ "$journal_overhead" = 1 ]; then
  unjournaled_median=$(median "${unjournaled_times[@]}")
  with_cpu=$(median "${driver_cpu[@]}")
  without_cpu=$(median "${unjournaled_cpu[@]}")
  overhead() { awk -v w="$1" -v o="$2" 'BEGIN { printf "%+.1f %%", (w / o - 1) * 100 }'; }
  echo "installer without journal median $(seconds "$unjournaled_median") s"
  echo "journal overhead, elapsed: $(overhead "$driver_median" "$unjournaled_median")"
  echo "CPU time median with journal $(seconds "$with_cpu") s, without $(seconds "$without_cpu") s: $(overhead "$with_cpu" "$without_cpu")"
fi
