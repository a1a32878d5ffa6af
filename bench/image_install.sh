#!/usr/bin/env bash
# A full install through the scripted driver (release build, the platform exactly as the
# product runs it) from an ISO image of a generated disc, read in user space with
# --disc, against the tools players unpack images with: bsdtar -xf, xorriso -osirrox on
# -extract and, where present, 7z x, each unpacking the same image onto the same disk.
# Several rounds, the order turned each round; prints each one's elapsed and CPU time and
# peak memory, the medians and the median of the per-round ratios against the fastest
# tool. As root, every run starts from dropped caches with the image read back in
# (bench/settle.sh). Targets: no slower than the fastest tool, under 32 MiB.
#
#   bench/image_install.sh [--size 1G] [--rounds 5] [--no-build] [--keep] [--work DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD
. bench/settle.sh

size=1G
rounds=5
build=1
keep=0
work_parent=${TMPDIR:-/var/tmp}
while [ $# -gt 0 ]; do
  case "$1" in
    --size) size=${2:?}; shift 2 ;;
    --rounds) rounds=${2:?}; shift 2 ;;
    --no-build) build=0; shift ;;
    --keep) keep=1; shift ;;
    --work) work_parent=${2:?}; shift 2 ;;
    -h|--help) sed -n '2,12s/^# \{0,1\}//p' "$0"; exit 0 ;;
    *) echo "image_install.sh: unknown option $1" >&2; exit 2 ;;
  esac
done
. bench/release_driver.sh
bench_release_driver image_install.sh "$rounds" "$build"

contenders=(installer)
command -v bsdtar >/dev/null && contenders+=(bsdtar)
command -v xorriso >/dev/null && contenders+=(xorriso)
command -v 7z >/dev/null && contenders+=(7z)
[ ${#contenders[@]} -gt 1 ] || { echo "image_install.sh: none of bsdtar, xorriso, 7z is installed" >&2; exit 1; }

work=$(mktemp -d "$work_parent/mirel-bench.XXXXXX")
cleanup() { if [ "$keep" = 1 ]; then echo "kept $work"; else rm -rf "$work"; fi; }
trap cleanup EXIT

echo "making a disc of $size and its ISO image in $work ..."
"$repo/tools/make-sample-disc" --size "$size" "$work/disc"
disc_bytes=$(du -sb "$work/disc" | cut -f1)
disc_files=$(find "$work/disc" -type f | wc -l)
image=$work/disc.iso
"$repo/tools/make-disc-image" iso-joliet "$work/disc" "$image"
rm -rf "$work/disc"

# A round's unpacked copies stay until the round ends, so that no contender pays for
# another's removals within it.
needed_kb=$(( (${#contenders[@]} + 2) * disc_bytes / 1024 ))
free_kb=$(df -Pk "$work" | awk 'NR == 2 { print $4 }')
if [ "$free_kb" -lt "$needed_kb" ]; then
  echo "image_install.sh: needs $((needed_kb / 1024)) MiB free in $work_parent, has $((free_kb / 1024))" >&2
  exit 1
fi

commands=$'start\nselect 1003 D\nselect 1001 C\nanswer ok\nclick 1010\n'
expected_end=$'message 0x40 ハルネアの\\nインストールが終了しました。\nanswer ok\nend ok'

now() { echo "${EPOCHREALTIME/[.,]/}"; }  # microseconds

# Runs contender $1 into a fresh folder; prints elapsed microseconds, CPU seconds, peak
# memory in KiB, and the elapsed microseconds until what it wrote is on the disk (sync -f
# after it: the installer makes each data set durable before it records it, the tools
# leave their files to the kernel's write-back).
run() {
  local who=$1 destination start end output
  destination=$(mktemp -d "$work/run.XXXXXX")
  fresh_caches "$image"
  start=$(now)
  case "$who" in
    installer)
      mkdir -p "$destination/c" "$destination/root"
      printf 'C: fixed %s\n' "$destination/c" > "$destination/root/drives"
      output=$(MIREL_SETUP_ROOT=$destination/root \
        /usr/bin/time -f '%U %S %M' -o "$work/cpu" "$driver" --disc "$image" <<< "$commands")
      if [ "$(tail -n 3 <<< "$output")" != "$expected_end" ]; then
        echo "image_install.sh: the install did not succeed:" >&2
        echo "$output" >&2
        exit 1
      fi
      ;;
    bsdtar) /usr/bin/time -f '%U %S %M' -o "$work/cpu" bsdtar -xf "$image" -C "$destination" ;;
    xorriso)
      /usr/bin/time -f '%U %S %M' -o "$work/cpu" xorriso -report_about SORRY -osirrox on \
        -indev "$image" -extract / "$destination/x" >/dev/null 2>&1
      ;;
    7z) /usr/bin/time -f '%U %S %M' -o "$work/cpu" 7z x -bd -y -o"$destination/x" "$image" >/dev/null ;;
  esac
  end=$(now)
  sync -f "$destination"
  echo "$((end - start)) $(awk '{ printf "%.3f %d", $1 + $2, $3 }' "$work/cpu") $(( $(now) - start ))"
}

seconds() { awk -v us="$1" 'BEGIN { printf "%.3f", us / 1e6 }'; }
median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

echo "image: $(awk -v b="$(stat -c %s "$image")" 'BEGIN { printf "%.2f MiB", b / 1048576 }'), $disc_files files; $rounds rounds; contenders: ${contenders[*]}"
run bsdtar >/dev/null  # warm-up
rm -rf "$work"/run.*
wait_for_quiet_disk "$work"
describe_caches

declare -A times cpus peaks durable
ratios=()
durable_ratios=()
for round in $(seq 1 "$rounds"); do
  # Turn the order each round, so that no one always inherits another's write-back.
  order=()
  for i in "${!contenders[@]}"; do order+=("${contenders[$(( (i + round - 1) % ${#contenders[@]} ))]}"); done
  declare -A this=() this_durable=()
  line="round $round:"
  for who in "${order[@]}"; do
    read -r t c m d < <(run "$who")
    this[$who]=$t; this_durable[$who]=$d
    times[$who]+=" $t"; cpus[$who]+=" $c"; durable[$who]+=" $d"
    [ "${peaks[$who]:-0}" -lt "$m" ] && peaks[$who]=$m
    line+=" $who $(seconds "$t") s (on disk $(seconds "$d") s, cpu $c s, $((m / 1024)) MiB);"
  done
  fastest= fastest_durable=
  for who in "${contenders[@]}"; do
    [ "$who" = installer ] && continue
    if [ -z "$fastest" ] || [ "${this[$who]}" -lt "$fastest" ]; then fastest=${this[$who]}; fi
    if [ -z "$fastest_durable" ] || [ "${this_durable[$who]}" -lt "$fastest_durable" ]; then
      fastest_durable=${this_durable[$who]}
    fi
  done
  ratios+=("$(awk -v d="${this[installer]}" -v f="$fastest" 'BEGIN { printf "%.3f", d / f }')")
  durable_ratios+=("$(awk -v d="${this_durable[installer]}" -v f="$fastest_durable" 'BEGIN { printf "%.3f", d / f }')")
  echo "$line installer / fastest tool ${ratios[-1]}, on disk ${durable_ratios[-1]}"
  rm -rf "$work"/run.*
  wait_for_quiet_disk "$work"
done

# One more install, untimed, that must be a faithful copy of what the image holds.
destination=$work/verify
mkdir -p "$destination/c" "$destination/root" "$destination/x"
printf 'C: fixed %s\n' "$destination/c" > "$destination/root/drives"
MIREL_SETUP_ROOT=$destination/root "$driver" --disc "$image" <<< "$commands" >/dev/null
bsdtar -xf "$image" -C "$destination/x"
for entry in KARVEX34.EXE KARVEX34.DAT CUR MCG MSK TXT MSE KOE BGM MOV; do
  diff -rq -x '.*' "$destination/x/$entry" "$destination/c/Program Files/Velstra/Mirel/$entry" >/dev/null ||
    { echo "image_install.sh: the installed $entry differs from the image's" >&2; exit 1; }
done

for who in "${contenders[@]}"; do
  # shellcheck disable=SC2086
  printf '%-9s median %s s, on disk %s s, cpu %s s, peak %.1f MiB\n' "$who" "$(seconds "$(median ${times[$who]})")" \
    "$(seconds "$(median ${durable[$who]})")" "$(median ${cpus[$who]})" \
    "$(awk -v k="${peaks[$who]}" 'BEGIN { print k / 1024 }')"
done
echo "installer / fastest tool: median of the rounds' ratios $(median "${ratios[@]}") (target <= 1.0)"
echo "  until the files are on the disk: median of the rounds' ratios $(median "${durable_ratios[@]}")"
echo "peak memory of the driver: $(awk -v k="${peaks[installer]}" 'BEGIN { printf "%.1f", k / 1024 }') MiB (target < 32 MiB)"
echo "machine: $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg)"
