#!/usr/bin/env bash
# A full install through the scripted driver (release build, no fault options: the
# platform exactly as the product runs it) against `cp -r` of the same
# data sets, alternating, several rounds, on a generated disc with the proportions of a
# real one. Prints both times, their ratio and the driver's peak memory. The driver keeps
# its install journal as the product does; with --journal-overhead each round also
# installs without one (--no-log), and the two medians are compared. As root, every run
# starts from dropped caches with the disc read back in (bench/settle.sh). Each round also
# times cp -r --preserve=timestamps, cp doing the installer's whole work, and cp -r
# followed by sync of the destination's file system: the installer puts every set on the
# disk before it records it, the same durable work.
# Targets: within 1.05x of cp -r, within 1.10x of cp -r and sync, under 32 MiB.
#
#   bench/full_install.sh [--size 1G] [--rounds 5] [--journal-overhead] [--no-build] [--keep] [--work DIR]
#                         [--driver FILE]   (another build's driver, e.g. of an older commit)
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD
. bench/settle.sh

size=1G
rounds=5
journal_overhead=0
build=1
keep=0
work_parent=${TMPDIR:-/var/tmp}
while [ $# -gt 0 ]; do
  case "$1" in
    --size) size=${2:?}; shift 2 ;;
    --rounds) rounds=${2:?}; shift 2 ;;
    --no-build) build=0; shift ;;
    --journal-overhead) journal_overhead=1; shift ;;
    --keep) keep=1; shift ;;
    --work) work_parent=${2:?}; shift 2 ;;
    --driver) driver=$(realpath "${2:?}"); build=0; shift 2 ;;
    -h|--help) sed -n '2,16s/^# \{0,1\}//p' "$0"; exit 0 ;;
    *) echo "full_install.sh: unknown option $1" >&2; exit 2 ;;
  esac
done
. bench/release_driver.sh
bench_release_driver full_install.sh "$rounds" "$build"

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
needed_kb=$(( (5 * rounds + 3) * disc_bytes / 1024 ))
free_kb=$(df -Pk "$work" | awk 'NR == 2 { print $4 }')
if [ "$free_kb" -lt "$needed_kb" ]; then
  echo "full_install.sh: needs $((needed_kb / 1024)) MiB free in $work_parent, has $((free_kb / 1024))" >&2
  exit 1
fi
new_destination() {
  destination=$(mktemp -d "$work/run.XXXXXX")
  mkdir -p "$destination/c" "$destination/root"
  printf 'C: fixed %s\nQ: cdrom %s\n' "$destination/c" "$disc" > "$destination/root/drives"
  fresh_caches "$disc"
}

# User and system time of the last timed command, in seconds: the steadier figure on a
# busy machine.
cpu_seconds() { awk '{ printf "%.3f", $1 + $2 }' "$work/cpu"; }

# Options for cp in "$@" (--preserve=timestamps: the installer's whole work, which keeps
# every copy's times).
run_cp() {
  new_destination
  local start end
  start=$(now)
  mkdir -p "$destination/c/$install_rel"
  (cd "$disc" && /usr/bin/time -f '%U %S' -o "$work/cpu" cp -r "$@" "${entries[@]}" "$destination/c/$install_rel/")
  [ "${with_sync:-0}" = 1 ] && sync -f "$destination/c"
  end=$(now)
  echo "$((end - start)) $(cpu_seconds)"
}

# Options for the driver in "$@" (--no-log: without the journal).
run_driver() {
  new_destination
  local start end output
  start=$(now)
  output=$(MIREL_SETUP_ROOT=$destination/root \
    /usr/bin/time -f '%U %S %M' -o "$work/cpu" "$driver" "$@" <<< "$commands")
  end=$(now)
  if [ "$output" != "$expected" ]; then
    echo "full_install.sh: the install did not succeed:" >&2
    echo "$output" >&2
    exit 1
  fi
  awk '{ print $3 }' "$work/cpu" > "$work/rss"
  echo "$((end - start)) $(cpu_seconds)"
}

seconds() { awk -v us="$1" 'BEGIN { printf "%.3f", us / 1e6 }'; }
median_real() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print int((v[NR / 2] + v[NR / 2 + 1]) / 2) }'; }

echo "disc: $(awk -v b="$disc_bytes" 'BEGIN { printf "%.2f MiB", b / 1048576 }') in $disc_files files; $rounds rounds"
run_cp >/dev/null  # warm-up: brings the disc into the page cache for both contenders
wait_for_quiet_disk "$work"
describe_caches

cp_times=()
driver_times=()
cp_cpu=()
driver_cpu=()
round_ratios=()
same_work_times=()
same_work_ratios=()
durable_times=()
durable_ratios=()
unjournaled_times=()
peak_kb=0
for round in $(seq 1 "$rounds"); do
  # Alternate who goes first, so neither always inherits the other's write-back.
  if [ $((round % 2)) = 1 ]; then
    read -r c cc < <(run_cp); read -r d dc < <(run_driver)
  else
    read -r d dc < <(run_driver); read -r c cc < <(run_cp)
  fi
  rss=$(cat "$work/rss")
  [ "$rss" -gt "$peak_kb" ] && peak_kb=$rss
  cp_times+=("$c"); driver_times+=("$d"); cp_cpu+=("$cc"); driver_cpu+=("$dc")
  round_ratios+=("$(awk -v d="$d" -v c="$c" 'BEGIN { printf "%.3f", d / c }')")
  line="round $round: cp -r $(seconds "$c") s (cpu $cc s), installer $(seconds "$d") s (cpu $dc s), ratio ${round_ratios[-1]}, peak $((rss / 1024)) MiB"
  read -r t _ < <(run_cp --preserve=timestamps)
  same_work_times+=("$t")
  same_work_ratios+=("$(awk -v d="$d" -v t="$t" 'BEGIN { printf "%.3f", d / t }')")
  line+=", cp -r --preserve=timestamps $(seconds "$t") s"
  read -r s _ < <(with_sync=1 run_cp)
  durable_times+=("$s")
  durable_ratios+=("$(awk -v d="$d" -v s="$s" 'BEGIN { printf "%.3f", d / s }')")
  line+=", cp -r + sync $(seconds "$s") s"
  if [ "$journal_overhead" = 1 ]; then
    read -r u uc < <(run_driver --no-log)
    unjournaled_times+=("$u")
    line+=", without journal $(seconds "$u") s"
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
echo "ratio     $ratio; median of the rounds' ratios $(median_real "${round_ratios[@]}") (target <= 1.05)"
same_work_median=$(median "${same_work_times[@]}")
echo "cp -r --preserve=timestamps (the same work: the installer keeps every file's times) median $(seconds "$same_work_median") s"
echo "  installer / it: ratio of the medians $(awk -v d="$driver_median" -v t="$same_work_median" 'BEGIN { printf "%.3f", d / t }'), median of the rounds' ratios $(median_real "${same_work_ratios[@]}")"
durable_median=$(median "${durable_times[@]}")
echo "cp -r followed by sync (the same durable work) median $(seconds "$durable_median") s"
echo "  installer / it: ratio of the medians $(awk -v d="$driver_median" -v s="$durable_median" 'BEGIN { printf "%.3f", d / s }'), median of the rounds' ratios $(median_real "${durable_ratios[@]}") (target <= 1.10)"
echo "median cpu: cp -r $(median_real "${cp_cpu[@]}") s, installer $(median_real "${driver_cpu[@]}") s, ratio $(awk -v d="$(median_real "${driver_cpu[@]}")" -v c="$(median_real "${cp_cpu[@]}")" 'BEGIN { printf "%.3f", d / c }')"
echo "machine: $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg)"
echo "peak memory of the driver: $peak_mib MiB (target < 32 MiB)"
journal=$destination/root/setup.log
echo "journal of one full install: $(wc -l < "$journal") lines, $(wc -c < "$journal") bytes (bound 1048576)"
if [ "$journal_overhead" = 1 ]; then
  unjournaled_median=$(median "${unjournaled_times[@]}")
  echo "installer without journal median $(seconds "$unjournaled_median") s"
  echo "journal overhead $(awk -v d="$driver_median" -v u="$unjournaled_median" 'BEGIN { printf "%+.1f %%", (d / u - 1) * 100 }')"
fi
