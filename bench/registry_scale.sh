#!/usr/bin/env bash
# How the registry's cost grows with the size of the current user's hive: the dialog's
# start-up (driver `start`, which looks for an earlier install below HKCU\Software) and a
# full install followed by an uninstall, with 1,000, 10,000 and 100,000 sub-keys in
# HKCU\Software and with a hive of 5 MiB of keys and values. Prints the time and the
# peak memory of each, per size. Release build; the disc is the small test layout, so
# that the registry's share is what shows.
# Targets: start-up with 100,000 sub-keys under 1 s and growing no faster than the
# number of keys; peak memory under 32 MiB (the 5 MiB hive is reported, not held to it).
#
#   bench/registry_scale.sh [--rounds 3] [--no-build] [--keep] [--work DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD

rounds=3
build=1
keep=0
work_parent=${TMPDIR:-/var/tmp}
while [ $# -gt 0 ]; do
  case "$1" in
    --rounds) rounds=${2:?}; shift 2 ;;
    --no-build) build=0; shift ;;
    --keep) keep=1; shift ;;
    --work) work_parent=${2:?}; shift 2 ;;
    -h|--help) sed -n '2,12s/^# \{0,1\}//p' "$0"; exit 0 ;;
    *) echo "registry_scale.sh: unknown option $1" >&2; exit 2 ;;
  esac
done
. bench/release_driver.sh
bench_release_driver registry_scale.sh "$rounds" "$build"

work=$(mktemp -d "$work_parent/mirel-registry-bench.XXXXXX")
cleanup() { if [ "$keep" = 1 ]; then echo "kept $work"; else rm -rf "$work"; fi; }
trap cleanup EXIT
free_kb=$(df -Pk "$work" | awk 'NR == 2 { print $4 }')
if [ "$free_kb" -lt 204800 ]; then
  echo "registry_scale.sh: needs 200 MiB free in $work_parent, has $((free_kb / 1024)) MiB" >&2
  exit 1
fi

"$repo/tools/make-sample-disc" --flat "$work/q" >/dev/null
login=${USER:-$(id -un)}

# The current user's hive as the store writes it (sections sorted, every key its own),
# holding the shell folders the first start would put there.
hive_head() {
  printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software]\n\n'
}
hive_tail() {
  local key='HKEY_CURRENT_USER\Software\Microsoft'
  printf '[%s]\n\n' "$key" "$key\\Windows" "$key\\Windows\\CurrentVersion" "$key\\Windows\\CurrentVersion\\Explorer"
  printf '[%s\\Windows\\CurrentVersion\\Explorer\\Shell Folders]\n' "$key"
  printf '"Desktop"="C:\\\\users\\\\%s\\\\Desktop"\n' "$login"
  printf '"Programs"="C:\\\\users\\\\%s\\\\AppData\\\\Roaming\\\\Microsoft\\\\Windows\\\\Start Menu\\\\Programs"\n\n' "$login"
}
# N empty sub-keys of Software (they sort before Microsoft).
subkeys_hive() {
  hive_head
  awk -v n="$1" 'BEGIN { for (i = 0; i < n; i++) printf "[HKEY_CURRENT_USER\\Software\\App%06d]\n\n", i }'
  hive_tail
}
# About `bytes` of vendors, four products each with values of every kind (after
# Microsoft in sort order).
values_hive() {
  hive_head
  hive_tail
  awk -v bytes="$1" 'BEGIN {
    for (v = 0; written < bytes; v++) {
      vendor = sprintf("HKEY_CURRENT_USER\\Software\\Vendor%05d", v)
      text = "[" vendor "]\n\n"
      for (p = 0; p < 4; p++) {
        text = text sprintf("[%s\\Product%d]\n", vendor, p)
        text = text sprintf("\"InstallPath\"=\"C:\\\\Program Files\\\\Vendor%05d\\\\Product%d\"\n", v, p)
        text = text sprintf("\"Version\"=\"%d.%d.%d\"\n", v % 7, p, v % 13)
        text = text sprintf("\"Installed\"=dword:%08x\n", v * 4 + p)
        text = text "\"Settings\"=hex:00,11,22,33,44,55,66,77,88,99,aa,bb,cc,dd,ee,ff\n"
        text = text "\"Layout\"=hex(7):61,00,62,00,00,00,63,00,64,00,00,00,00,00\n"
        text = text sprintf("\"Description\"=\"Product %d of vendor %d, for the benchmark of a large hive\"\n\n", p, v)
      }
      printf "%s", text
      written += length(text)
    }
  }'
}

new_system() {
  system=$work/system
  rm -rf "$system"
  mkdir -p "$system/c" "$system/root/registry"
  printf 'C: fixed %s\nQ: cdrom %s\n' "$system/c" "$work/q" > "$system/root/drives"
  cp "$hive" "$system/root/registry/HKEY_CURRENT_USER.reg"
  sync
}

now() { echo "${EPOCHREALTIME/[.,]/}"; }  # microseconds
# run_driver COMMANDS: prints "microseconds peak-kib"; the output goes to $work/output.
run_driver() {
  local start end
  start=$(now)
  MIREL_SETUP_ROOT=$system/root /usr/bin/time -f '%M' -o "$work/rss" \
    "$driver" <<< "$1" > "$work/output"
  end=$(now)
  echo "$((end - start)) $(cat "$work/rss")"
}
median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : int((v[NR / 2] + v[NR / 2 + 1]) / 2) }'; }
ms() { awk -v us="$1" 'BEGIN { printf "%.1f", us / 1000 }'; }
mib() { awk -v k="$1" 'BEGIN { printf "%.2f", k / 1024 }'; }

full=$'start\nselect 1001 C\nselect 1003 Q\nclick 1020\nanswer ok\nclick 1010\n'
uninstall=$'start\nanswer yes ok\nclick 1009\n'
installed='インストールが終了しました'
removed='アンインストールが完了しました'

echo "machine: $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg); $rounds rounds, medians"
printf '%-16s %10s %12s %10s %16s %10s\n' "HKCU hive" "file" "start-up" "peak" "install+uninst" "peak"
declare -A start_ms
for case_name in 1000 10000 100000 5MiB; do
  hive=$work/hive-$case_name.reg
  if [ "$case_name" = 5MiB ]; then values_hive 5242880 > "$hive"; else subkeys_hive "$case_name" > "$hive"; fi

  start_times=(); start_peak=0; run_times=(); run_peak=0
  for ((round = 1; round <= rounds; round++)); do
    new_system
    read -r us kb < <(run_driver $'start\n')
    start_times+=("$us"); ((kb > start_peak)) && start_peak=$kb

    read -r us1 kb1 < <(run_driver "$full")
    grep -q "$installed" "$work/output" || { echo "registry_scale.sh: the install failed:" >&2; cat "$work/output" >&2; exit 1; }
    read -r us2 kb2 < <(run_driver "$uninstall")
    grep -q "$removed" "$work/output" || { echo "registry_scale.sh: the uninstall failed:" >&2; cat "$work/output" >&2; exit 1; }
    run_times+=("$((us1 + us2))")
    ((kb1 > run_peak)) && run_peak=$kb1
    ((kb2 > run_peak)) && run_peak=$kb2
  done
  # What the user had must have come through both runs.
  after=$system/root/registry/HKEY_CURRENT_USER.reg
  if [ "$(grep -c '^\[' "$after")" != "$(grep -c '^\[' "$hive")" ]; then
    echo "registry_scale.sh: the hive lost or kept keys it should not have ($case_name)" >&2; exit 1
  fi

  start_ms[$case_name]=$(ms "$(median "${start_times[@]}")")
  label=$case_name; [[ "$case_name" =~ ^[0-9]+$ ]] && label="$case_name sub-keys"
  printf '%-16s %8s MiB %9s ms %6s MiB %13s ms %6s MiB\n' "$label" "$(mib $(($(stat -c %s "$hive") / 1024)))" \
    "${start_ms[$case_name]}" "$(mib "$start_peak")" "$(ms "$(median "${run_times[@]}")")" "$(mib "$run_peak")"
done
awk -v a="${start_ms[1000]}" -v b="${start_ms[10000]}" -v c="${start_ms[100000]}" 'BEGIN {
  printf "start-up growth: 10,000/1,000 keys x%.2f, 100,000/10,000 keys x%.2f (linear: x10 each; target: 100,000 under 1000 ms)\n", b / a, c / b
}'
