#!/usr/bin/env bash
# scripts/run.sh on a virtual display, for a user whose COM1 entry leads to an adapter that
# is unplugged now: the demonstration must leave that entry as it was and take its own
# data folder away when the window closes.
#   tests/scripts/run_demo_test.sh BUILD_DIR
set -euo pipefail
cd "$(dirname "$0")/../.."
build=$(realpath "$1")

scratch=$(mktemp -d)
runner=""

# Every process started below the runner, deepest last, so that only our own instance is
# looked for and nothing of it outlives the test, whatever way it ends.
descendants() {
    local child
    for child in $(pgrep -P "$1" || true); do
        echo "$child"
        descendants "$child"
    done
}
cleanup() {
    if [ -n "$runner" ]; then
        local tree
        tree=$(descendants "$runner")
        kill $tree "$runner" 2>/dev/null || true
    fi
    rm -rf "$scratch"
}
trap cleanup EXIT
user_ports="$scratch/home/.local/share/tc8-configurator/ports"
mkdir -p "$user_ports" "$scratch/tmp"
ln -s /dev/ttyUSB-unplugged "$user_ports/COM1"

HOME="$scratch/home" XDG_DATA_HOME="" TMPDIR="$scratch/tmp" \
    xvfb-run --auto-servernum scripts/run.sh "$build" >"$scratch/run.log" 2>&1 &
runner=$!
fail() { echo "run_demo_test: $1" >&2; cat "$scratch/run.log" >&2; exit 1; }

# The window is up: close it as the user would end the demonstration.
configurator=$(realpath "$build/src/tc8-configurator")
window=""
for _ in $(seq 600); do
    for pid in $(descendants "$runner"); do
        if [ "$(readlink "/proc/$pid/exe" 2>/dev/null)" = "$configurator" ]; then
            window=$pid
        fi
    done
    [ -n "$window" ] && break
    kill -0 "$runner" 2>/dev/null || fail "run.sh ended before the window came up"
    sleep 0.1
done
[ -n "$window" ] || fail "the configurator did not start within a minute"
grep -q "Simulated recorder on COM1" "$scratch/run.log" || fail "no simulated recorder"
kill "$window"
for _ in $(seq 300); do
    kill -0 "$runner" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$runner" 2>/dev/null && fail "run.sh did not end within 30 s of the window closing"
wait "$runner" || true
runner=""

[ "$(readlink "$user_ports/COM1")" = /dev/ttyUSB-unplugged ] || fail "the user's COM1 entry was changed"
[ "$(ls -A "$user_ports")" = COM1 ] || fail "the user's ports folder was changed"
[ -z "$(find "$scratch/tmp" -maxdepth 1 -name 'tc8-demo.*')" ] ||
    fail "the demonstration's data folder was left behind"
echo "run_demo_test: the user's ports folder is as it was"
