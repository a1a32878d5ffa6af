# Sourced by the benches: waits until the disk under a folder has settled.
#
# A file system mounted with online discard (as many virtual machines' are) trims what
# the previous bench deleted for a minute or more after it has exited, and creating files
# meanwhile costs two to four times as much, for cp -r and the installer alike but not
# evenly between rounds. Waiting until the disk has been idle for a few seconds before
# the first round removes most of that noise; the wait gives up after a while, saying so.

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
