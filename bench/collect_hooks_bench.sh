#!/bin/sh
# What hooks and the status cost a collection station, and whether a slow hook holds up collection:
#  1. `k52cli collect` serving PORTS silent k52peer terminals with upload and event hooks, the status
#     file and the metrics file on, for SECONDS: its CPU as a share of one core;
#  2. the next uploads on one port while the earlier uploads' hooks run: once with a hook that sleeps
#     120 s, once with one that returns at once; the delay the slow hook adds is the difference.
# Usage: collect_hooks_bench.sh K52CLI K52PEER [PORTS=64] [SECONDS=30]
set -eu
cli=$1 peer=$2 ports=${3:-64} seconds=${4:-30}
work=$(mktemp -d)
pids=""
trap 'for p in $pids $(cat "$work/slow.pids" 2>/dev/null); do kill "$p" 2>/dev/null || true; done; rm -rf "$work"' EXIT

printf '#!/bin/sh\ncat >/dev/null\nexit 0\n' >"$work/quick-hook"
printf '#!/bin/sh\necho $$ >>"%s/slow.pids"\ncat >/dev/null\nexec sleep 120\n' "$work" >"$work/slow-hook"
chmod +x "$work/quick-hook" "$work/slow-hook"

# The pseudo-terminals k52peer prints, once it has printed all `count` of them.
devices_of() {
    while [ ! -f "$1" ] || [ "$(wc -l <"$1")" -lt "$2" ]; do sleep 0.1; done
    head -n "$2" "$1" | sed 's/^/--device /' | tr '\n' ' '
}
ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }

# 1. Idle ports, first with no hooks and no metrics file, then with everything on.
idle_share() {  # FOLDER [OPTIONS...]: the station's share of a core over SECONDS, in percent
    folder=$1
    shift
    # shellcheck disable=SC2086
    "$cli" collect "$folder" $devices "$@" >"$folder.events" 2>&1 &
    station=$!
    pids="$pids $station"
    sleep 3  # past its start
    [ -s "$folder/status.json" ] || echo "warning: no status file in $folder" >&2
    before=$(ticks "$station")
    sleep "$seconds"
    after=$(ticks "$station")
    kill -TERM "$station"
    wait "$station" || true
    awk -v t=$((after - before)) -v hz="$(getconf CLK_TCK)" -v s="$seconds" 'BEGIN { printf "%.2f", 100 * t / hz / s }'
}
"$peer" --fault silent --count "$ports" >"$work/silent" 2>&1 &
silent=$!
pids="$pids $silent"
devices=$(devices_of "$work/silent" "$ports")
bare=$(idle_share "$work/bare")
full=$(idle_share "$work/idle" --on-upload "$work/quick-hook" --on-event "$work/quick-hook" --metrics "$work/idle/k52.prom")
kill "$silent" 2>/dev/null || true
wait "$silent" 2>/dev/null || true
awk -v b="$bare" -v f="$full" -v s="$seconds" -v n="$ports" 'BEGIN {
    printf "idle station, %d ports, %d s: %.2f%% of a core with the status file only, %.2f%% with hooks, status and metrics (%.4f%% per port)\n", n, s, b, f, f / n }'

# 2. The next uploads while the earlier uploads' hooks run. Each terminal uploads once and goes, so each
# upload comes on a port of its own: a link that points at its terminal only from the moment it is
# started until its upload has ended. The time from the link's appearance to the upload's end is the
# station's own (its next request, one a second, and the upload); a hook that held the station up
# would add its run to it.
printf '0123456789012,%s\n' 1 2 3 4 5 6 7 8 9 10 >"$work/records"
uploads=6
next_uploads() {  # HOOK NAME: the mean seconds from a terminal's appearance to its upload's end
    mkfifo "$work/$2.fifo"
    : >"$work/$2.times"
    while IFS= read -r line; do
        case $line in
        *'"event":"finished"'*) echo "finished $(date +%s.%N)" ;;
        esac
    done <"$work/$2.fifo" >>"$work/$2.times" &
    reader=$!
    links="" k=1
    while [ "$k" -le "$uploads" ]; do
        links="$links --device $work/$2.tty$k"
        k=$((k + 1))
    done
    # shellcheck disable=SC2086
    "$cli" collect "$work/$2" $links --interval 1 --json --on-upload "$1" --hook-timeout 300 \
        >"$work/$2.fifo" 2>"$work/$2.err" &
    station=$!
    sleep 2  # past its start
    k=1
    while [ "$k" -le "$uploads" ]; do
        "$peer" --records "$work/records" >"$work/$2.peer$k" 2>&1 &
        terminal=$!
        device=$(devices_of "$work/$2.peer$k" 1 | sed 's/^--device //; s/ $//')
        ln -s "$device" "$work/$2.tty$k"
        echo "ready $(date +%s.%N)" >>"$work/$2.times"
        waited=0
        while [ "$(grep -c finished "$work/$2.times")" -lt "$k" ] && [ "$waited" -lt 600 ]; do
            sleep 0.05
            waited=$((waited + 1))
        done
        # Gone before the terminal goes: its pseudo-terminal may soon be another program's.
        rm -f "$work/$2.tty$k"
        wait "$terminal" 2>/dev/null || true
        k=$((k + 1))
    done
    kill -TERM "$station"
    wait "$station" || true
    wait "$reader" || true
    # The first upload comes before any hook runs; the others while the earlier ones' hooks run.
    awk '$1 == "ready" { r = $2 } $1 == "finished" && r { n++; if (n > 1) { sum += $2 - r; m++ } r = 0 }
         END { printf "%.3f\n", m ? sum / m : -1 }' "$work/$2.times"
}
quick=$(next_uploads "$work/quick-hook" quick)
slow=$(next_uploads "$work/slow-hook" slow)
# The station runs a few hooks at once and queues the rest: the slow ones started are those running.
started=$(cat "$work/slow.pids" 2>/dev/null | wc -l)
echo "next upload, from its terminal's appearance to the upload's end (mean of $((uploads - 1))):" \
    "${quick} s with a quick hook, ${slow} s while ${started} earlier uploads' hooks sleep 120 s"
awk -v q="$quick" -v s="$slow" 'BEGIN { printf "delay a slow hook adds to the next upload: %.3f s\n", s - q }'
