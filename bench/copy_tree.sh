#!/usr/bin/env bash
# Times the installer's tree copy against `cp -r` on the same disc-like tree.
#
#   bench/copy_tree.sh [--many-files] [SIZE [ROUNDS]]   SIZE such as 1G (default), 256M;
#                                                       ROUNDS default 5
#
# Builds the release preset's copy_tree_bench, generates the tree in a temporary folder
# ($TMPDIR, else /tmp), warms the page cache, then copies it alternately with the
# installer (through the real Linux platform) and with cp -r, flushing written data
# between runs (as root also dropping the caches and reading the source back in, see
# bench/settle.sh). Prints each round, the median times, the median of the rounds'
# ratios, the CPU-time ratio and the peak memory of the installer's copy, and beside
# them cp -r --preserve=timestamps, which does the installer's whole work.
#
# --many-files also generates the same bytes in ten times the files, each a tenth of the
# size, copies both trees each round with both contenders, and prints how much longer
# ten times the files take on each side.
#
# Refuses to start when the disk lacks room for the trees and every copy (copies are kept
# until the end, see below). On a busy machine, run it as `nice -n -10 bench/copy_tree.sh`
# (as root) so both copies get the processor alike.
set -euo pipefail
cd "$(dirname "$0")/.."
. bench/settle.sh

many=0
if [ "${1:-}" = --many-files ]; then many=1; shift; fi
size=${1:-1G}
rounds=${2:-5}
[[ "$rounds" =~ ^[1-9][0-9]*$ ]] || { echo "copy_tree.sh: ROUNDS must be a positive number" >&2; exit 2; }
bytes=$(numfmt --from=iec "$size")
[ -x /usr/bin/time ] || { echo "copy_tree.sh: /usr/bin/time missing (scripts/bootstrap installs it)" >&2; exit 1; }

trees=(DISC)
if [ "$many" = 1 ]; then trees+=(MANY); fi
# Copies of each tree: one checked, one warm-up, and per round the installer's, cp's and
# (one tree only) cp's with time stamps.
copies_per_tree=$((2 + 2 * rounds))
if [ "$many" = 0 ]; then copies_per_tree=$((copies_per_tree + rounds)); fi

parent=${TMPDIR:-/tmp}
free_kib() { df -Pk "$1" | awk 'NR == 2 { print $4 }'; }
# Refuses with a message when `kib` more KiB do not fit with a 1 GiB margin to spare.
need_space() {
    local kib=$1 what=$2 free
    free=$(free_kib "$parent")
    if ((free < kib + 1048576)); then
        echo "copy_tree.sh: $what needs $((kib / 1024)) MiB (plus 1 GiB to spare) in $parent," \
            "which has $((free / 1024)) MiB free; try a smaller SIZE, fewer ROUNDS or TMPDIR elsewhere" >&2
        exit 1
    fi
}
# Before anything is written: the bytes and a block for each file (files of 40 KB on
# average, ten times as many of a tenth the size in the split tree).
estimate=0
for tree in "${trees[@]}"; do
    split=1; [ "$tree" = MANY ] && split=10
    estimate=$((estimate + (copies_per_tree + 1) * (bytes / 1024 + bytes / 40960 * split * 4)))
done
need_space "$estimate" "this run"

cmake --preset release >/dev/null
cmake --build build/release --target copy_tree_bench >/dev/null
tool=$PWD/build/release/bench/copy_tree_bench

work=$(mktemp -d "$parent/copy-tree-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/src" "$work/dst"
copies_kib=0
for tree in "${trees[@]}"; do
    split=1; [ "$tree" = MANY ] && split=10
    "$tool" generate "$work/src/$tree" "$bytes" "$split"
    copies_kib=$((copies_kib + copies_per_tree * $(du -sk "$work/src/$tree" | cut -f1)))
done
sync
need_space "$copies_kib" "the copies of the generated trees"
# Warm cache: every source byte read once before anything is timed.
find "$work/src" -type f -print0 | xargs -0 cat >/dev/null

# One timed copy into a new folder: prints "elapsed-seconds cpu-seconds peak-kib". The
# CPU time (user + system) is the steadier figure on a busy machine; both are reported.
# Copies are kept until the end: ext4 makes file creation slow for some minutes after
# many files were deleted (it skips recently freed inodes), which would tax whichever
# copy came after a clean-up. Their pages are dropped from the cache instead.
# Elapsed time is taken by the shell in microseconds: time(1)'s is in hundredths, too
# coarse for copies of half a second.
timed() {
    local destination=$1; shift
    local start end
    sync
    start=${EPOCHREALTIME/[.,]/}
    /usr/bin/time -f '%U %S %M' -o "$work/time" "$@" "$destination" >/dev/null
    end=${EPOCHREALTIME/[.,]/}
    sync
    "$tool" evict "$destination"
    awk -v us=$((end - start)) '{printf "%.3f %.3f %d\n", us / 1e6, $1 + $2, $3}' "$work/time"
}
# run_installer|run_cp|run_cp_times TREE NAME
run_installer() { fresh_caches "$work/src/$1"; timed "$work/dst/$2" "$tool" copy "$work/src/$1"; }
run_cp() { fresh_caches "$work/src/$1"; timed "$work/dst/$2" cp -r "$work/src/$1"; }
# cp doing the installer's whole work: it also sets every copy's time stamps.
run_cp_times() { fresh_caches "$work/src/$1"; timed "$work/dst/$2" cp -r --preserve=timestamps "$work/src/$1"; }

# The copy being timed must be a right one.
for tree in "${trees[@]}"; do
    run_installer "$tree" "CHECK$tree" >/dev/null
    diff -r "$work/src/$tree" "$work/dst/CHECK$tree" >/dev/null ||
        { echo "copy_tree: the installer's copy of $tree differs" >&2; exit 1; }
    run_cp "$tree" "WARMUP$tree" >/dev/null
done

wait_for_quiet_disk "$work"
describe_caches

median() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2}'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.3f", a / b}'; }

declare -A iw ic cw cc   # per tree: space-separated per-round figures
declare -A round_ratio   # per tree: installer / cp per round
growth_i=(); growth_c=()
cpt_wall=(); cpt_ratio=(); peak=0
for ((round = 1; round <= rounds; round++)); do
    line="round $round:"
    declare -A this_iw this_cw
    for tree in "${trees[@]}"; do
        # Alternate who goes first, so neither always inherits the other's write-back.
        if ((round % 2)); then
            read -r w c m < <(run_installer "$tree" "I$tree$round"); read -r w2 c2 _ < <(run_cp "$tree" "C$tree$round")
        else
            read -r w2 c2 _ < <(run_cp "$tree" "C$tree$round"); read -r w c m < <(run_installer "$tree" "I$tree$round")
        fi
        iw[$tree]+=" $w"; ic[$tree]+=" $c"; cw[$tree]+=" $w2"; cc[$tree]+=" $c2"
        this_iw[$tree]=$w; this_cw[$tree]=$w2
        round_ratio[$tree]+=" $(ratio "$w" "$w2")"
        if ((m > peak)); then peak=$m; fi
        line+=$(printf '  %s installer %6.3f s (cpu %6.3f)  cp -r %6.3f s (cpu %6.3f)  ratio %s' \
            "$tree" "$w" "$c" "$w2" "$c2" "$(ratio "$w" "$w2")")
    done
    if [ "$many" = 1 ]; then
        growth_i+=("$(ratio "${this_iw[MANY]}" "${this_iw[DISC]}")")
        growth_c+=("$(ratio "${this_cw[MANY]}" "${this_cw[DISC]}")")
    else
        read -r tw _ _ < <(run_cp_times DISC "P$round")
        cpt_wall+=("$tw")
        cpt_ratio+=("$(ratio "${this_iw[DISC]}" "$tw")")
    fi
    echo "$line"
done

echo "machine: $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg)"
for tree in "${trees[@]}"; do
    # shellcheck disable=SC2086 # the per-round lists are meant to split
    {
        miw=$(median ${iw[$tree]}); mcw=$(median ${cw[$tree]}); mic=$(median ${ic[$tree]}); mcc=$(median ${cc[$tree]})
        mr=$(median ${round_ratio[$tree]})
    }
    files=$(find "$work/src/$tree" -type f | wc -l)
    echo "tree $tree: $size in $files files, $rounds rounds"
    echo "  median elapsed: installer $miw s, cp -r $mcw s, ratio $(ratio "$miw" "$mcw")"
    echo "  median of the rounds' elapsed ratios: $mr (target <= 1.05)"
    echo "  median cpu:     installer $mic s, cp -r $mcc s, ratio $(ratio "$mic" "$mcc")"
done
if [ "$many" = 1 ]; then
    echo "ten times the files against the same bytes in fewer (median of the rounds' ratios, target <= 1.5):"
    echo "  installer $(median "${growth_i[@]}")   cp -r $(median "${growth_c[@]}")"
else
    tw=$(median "${cpt_wall[@]}")
    echo "cp -r --preserve=timestamps (the same work: the installer keeps every file's times): median $tw s"
    echo "  installer / it: ratio of the medians $(ratio "$(median ${iw[DISC]})" "$tw"), median of the rounds' ratios $(median "${cpt_ratio[@]}")"
fi
awk -v p="$peak" 'BEGIN {printf "peak memory of the installer copy: %d KiB = %.1f MiB (target < 32 MiB)\n", p, p / 1024}'
