#!/bin/sh
# What an idle collection station costs: `k52cli collect` serving PORTS silent k52peer terminals (they
# never answer, so every port asks again and again) for SECONDS, as a share of one core.
# Usage: collect_idle_bench.sh K52CLI K52PEER [PORTS=8] [SECONDS=30]
set -eu
cli=$1 peer=$2 ports=${3:-8} seconds=${4:-30}
work=$(mktemp -d)
trap 'kill $peers 2>/dev/null || true; rm -rf "$work"' EXIT
peers="" devices=""
i=0
while [ "$i" -lt "$ports" ]; do
    "$peer" --fault silent >"$work/peer$i" 2>&1 &
    peers="$peers $!"
    i=$((i + 1))
done
i=0
while [ "$i" -lt "$ports" ]; do
    while [ ! -s "$work/peer$i" ]; do sleep 0.1; done
    devices="$devices --device $(head -n 1 "$work/peer$i")"
    i=$((i + 1))
done
# shellcheck disable=SC2086
"$cli" collect "$work/collected" $devices >"$work/events" 2>&1 &
station=$!
sleep 2  # past its start
ticks() { awk '{print $14 + $15}' "/proc/$station/stat"; }
before=$(ticks)
sleep "$seconds"
after=$(ticks)
kill -TERM "$station"
wait "$station"
hz=$(getconf CLK_TCK)
awk -v t=$((after - before)) -v hz="$hz" -v s="$seconds" -v n="$ports" \
    'BEGIN { printf "idle station, %d ports, %d s: %.2f%% of a core (%.3f%% per port)\n", n, s, 100 * t / hz / s, 100 * t / hz / s / n }'
