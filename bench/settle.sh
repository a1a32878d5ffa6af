# Sourced by the benches: lets the disk and the caches settle before each timed run.
#
# A file system mounted with online discard (as many virtual machines' are) goes on
# trimming what an earlier run deleted after that run has exited, and write-back of its
# last files may still be under way; a copy timed meanwhile waits for the disk at random
# moments. Waiting until the disk has been idle for a few seconds before the first round
# removes that noise; the wait gives up after a while, saying so. (It cannot remove the
# other after-effect of a large deletion: see the README.)

# wait_for_quiet_disk FOLDER [MAX_SECONDS]
wait_for_quiet_disk() {
    local folder=$1 limit=${2:-180} source name stat busy before after idle=0 waited=0
    source=$(df --output=source "$folder" 2>/dev/null | tail -n 1)
    name=$(basename "$(readlink -f "$source" 2>/dev/null)" 2>/dev/null)
    stat=/sys/class/block/$name/stat
    [ -n "$name" ] && [ -r "$stat" ] || return 0  # not a block device (tmpfs, overlay): nothing to wait for
    sync
    # Field 10 of the device's stat is the time it was busy, in milliseconds.
    busy() { awk '{ print $10 }' "$stat"; }
    before=$(busy)
    while ((idle < 3)); do
        if ((waited >= limit)); then
            echo "bench: the disk $name was still busy after ${limit} s; figures may be noisy" >&2
            return 0
        fi
        sleep 1
        waited=$((waited + 1))
        after=$(busy)
        # Busy for under a twentieth of the last second counts as idle.
        if ((after - before < 50)); then idle=$((idle + 1)); else idle=0; fi
        before=$after
    done
    if ((waited > 3)); then echo "bench: waited ${waited} s for the disk $name to settle" >&2; fi
}

# fresh_caches FOLDER...
# Before each timed run: as root, writes back and drops the kernel's clean caches, then
# reads every file under FOLDER... back in. On ext4 without a journal, creating a file
# costs two to four times as much while the inode tables the allocator passes over are
# cached (it checks each free inode there for a recent deletion), so without this the
# copies slow down round by round, each by a different amount. Not root: nothing is
# dropped, and the rounds keep that drift.
fresh_caches() {
    sync
    if [ "$(id -u)" = 0 ] && [ -w /proc/sys/vm/drop_caches ]; then
        echo 1 > /proc/sys/vm/drop_caches
        find "$@" -type f -print0 | xargs -0 -r cat >/dev/null
    fi
}

# Says once, before the rounds, whether fresh_caches can do its part.
describe_caches() {
    if [ "$(id -u)" = 0 ] && [ -w /proc/sys/vm/drop_caches ]; then
        echo "caches: dropped and the sources read back before every timed run"
    else
        echo "caches: not dropped between runs (needs root); rounds may drift"
    fi
}
