#!/usr/bin/env bash
# Writes the seed corpus of disc_image_fuzz: a tiny tree mastered by genisoimage (level 1,
# Joliet and Rock Ridge, the UDF bridge) and xorriso, each as the target's sparse image
# (every sector that is not all zeros, its trailing zeros left out, then the last sector).
#
#   tests/fuzz/make_disc_image_seeds.sh [CORPUS-FOLDER]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
corpus=${1:-$here/corpus/disc_image}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$corpus" "$work/tree/DATA/SUB"
printf '[setup]\n' > "$work/tree/install.ini"
printf 'alpha' > "$work/tree/DATA/alpha.txt"
printf 'b' > "$work/tree/DATA/SUB/b.bin"
touch -d @1700000000 "$work/tree" "$work/tree"/* "$work/tree/DATA"/* "$work/tree/DATA/SUB"/*

sparse() {
  perl -e '
    binmode STDIN; binmode STDOUT;
    my $sector = 0;
    for (; read(STDIN, my $data, 2048) > 0; ++$sector) {
      $data =~ s/\x00+$//;
      next if $data eq "";
      print pack("vv", $sector, length $data), $data;
    }
    print pack("vv", $sector - 1, 0);  # the image runs to its last sector, zeros or not'
}

master() {
  local name=$1
  shift
  "$@" > /dev/null 2>&1
  sparse < "$work/image" > "$corpus/$name"
}
g="genisoimage -quiet -no-pad -input-charset utf-8 -o $work/image"
master level1 $g "$work/tree"
master joliet-rock-ridge $g -J -R "$work/tree"
master udf-bridge $g -udf "$work/tree"
rm -f "$work/image"
master xorriso-rock-ridge xorriso -outdev "$work/image" -map "$work/tree" /
ls -l "$corpus"
