#!/usr/bin/env bash
# Times the installer's tree copy against `cp -r` on the same disc-like tree.
#
#   bench/copy_tree.sh [SIZE [ROUNDS]]     SIZE such as 1G (default), 256M; ROUNDS default 3
#
# Builds the release preset's copy_tree_bench, generates the tree in a temporary folder,
# warms the page cache, then copies it alternately with the installer (through the real
# Linux platform) and with cp -r, flushing written data between runs. Prints each
# round, the median times, their ratio and the peak memory of the installer's copy.
# Needs free disk space for 3 x ROUNDS + 2 copies of the tree. On a busy machine, run it
# as `nice -n -10 bench/copy_tree.sh` (as root) so both copies get the processor alike.
set -euo pipefail
cd "$(dirname "$0")/.."

size=${1:-1G}
rounds=${2:-3}
bytes=$(numfmt --from=iec "$size")

cmake --preset release >/dev/null
cmake --build build/release --target copy_tree_bench >/dev/null
tool=$PWD/build/release/tools/copy_tree_bench

work=$(mktemp -d "${TMPDIR:-/tmp}/copy-tree-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/src" "$work/dst"
"$tool" generate "$work/src/DISC" "$bytes"
sync
# Warm cache: every source byte read once before anything is timed.
find "$work/src/DISC" -type f -print0 | xargs -0 cat >/dev/null

# One timed copy into a new folder: prints "elapsed-seconds cpu-seconds peak-kib". The
# CPU time (user + system) is the steadier figure on a busy machine; both are reported.
# Copies are kept until the end: ext4 makes file creation slow for some minutes after
# many files were deleted (it skips recently freed inodes), which would tax whichever
# copy came after a clean-up. Their pages are dropped from the cache instead.
timed() {
    local destination=$1; shift
    sync
    /usr/bin/time -f '%e %U %S %M' -o "$work/time" "$@" "$destination" >/dev/null
    sync
    "$tool" evict "$destination"
    awk '{printf "%.3f %.3f %d\n", $1, $2 + $3, $4}' "$work/time"
}
run_installer() { timed "$work/dst/$1" "$tool" copy "$work/src/DISC"; }
run_cp() { timed "$work/dst/$1" cp -r "$work/src/DISC"; }
# For context only: cp also setting the time stamps, which the installer's copy does.
run_cp_times() { timed "$work/dst/$1" cp -r --preserve=timestamps "$work/src/DISC"; }

# The copy being timed must be a right one.
run_installer CHECK >/dev/null
diff -r "$work/src/DISC" "$work/dst/CHECK" >/dev/null || { echo "copy_tree: the installer's copy differs" >&2; exit 1; }
run_cp WARMUP >/dev/null

installer_wall=(); installer_cpu=(); cp_wall=(); cp_cpu=(); ratios=(); cpt_wall=(); peak=0
for ((round = 1; round <= rounds; round++)); do
    if ((round % 2)); then
        read -r iw ic im < <(run_installer "I$round"); read -r cw cc _ < <(run_cp "C$round")
    else
        read -r cw cc _ < <(run_cp "C$round"); read -r iw ic im < <(run_installer "I$round")
    fi
    read -r tw _ _ < <(run_cp_times "P$round")
    installer_wall+=("$iw"); installer_cpu+=("$ic"); cp_wall+=("$cw"); cp_cpu+=("$cc"); cpt_wall+=("$tw")
    ratios+=("$(awk -v i="$iw" -v c="$cw" 'BEGIN {printf "%.3f", i / c}')")
    if ((im > peak)); then peak=$im; fi
    printf 'round %d: installer %6.3f s (cpu %6.3f s)   cp -r %6.3f s (cpu %6.3f s)   ratio %s\n' \
        "$round" "$iw" "$ic" "$cw" "$cc" "${ratios[-1]}"
done

median() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2}'; }
files=$(find "$work/src/DISC" -type f | wc -l)
echo "tree: $size in $files files, $rounds rounds"
awk -v iw="$(median "${installer_wall[@]}")" -v cw="$(median "${cp_wall[@]}")" \
    -v ic="$(median "${installer_cpu[@]}")" -v cc="$(median "${cp_cpu[@]}")" -v p="$peak" \
    -v r="$(median "${ratios[@]}")" -v tw="$(median "${cpt_wall[@]}")" 'BEGIN {
    printf "median elapsed: installer %.3f s, cp -r %.3f s, ratio %.3f (target <= 1.10)\n", iw, cw, iw / cw
    printf "median of the rounds'"'"' elapsed ratios: %.3f\n", r
    printf "median cpu:     installer %.3f s, cp -r %.3f s, ratio %.3f\n", ic, cc, ic / cc
    printf "for context, cp -r --preserve=timestamps: median %.3f s, installer ratio %.3f\n", tw, iw / tw
    printf "peak memory of the installer copy: %d KiB = %.1f MiB (target < 32 MiB)\n", p, p / 1024
}'
