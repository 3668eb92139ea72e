#!/usr/bin/env bash
# scripts/run.sh on a virtual display, for a user whose COM1 entry leads to an adapter that
# is unplugged now: the demonstration must leave that entry as it was and take its own
# data folder away when the window closes.
#   tests/scripts/run_demo_test.sh BUILD_DIR
set -euo pipefail
cd "$(dirname "$0")/../.."
build=$(realpath "$1")

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
user_ports="$scratch/home/.local/share/tc8-configurator/ports"
mkdir -p "$user_ports" "$scratch/tmp"
ln -s /dev/ttyUSB-unplugged "$user_ports/COM1"

HOME="$scratch/home" XDG_DATA_HOME="" TMPDIR="$scratch/tmp" \
    xvfb-run --auto-servernum scripts/run.sh "$build" >"$scratch/run.log" 2>&1 &
runner=$!
fail() { echo "run_demo_test: $1" >&2; cat "$scratch/run.log" >&2; exit 1; }

# The window is up: close it as the user would end the demonstration.
configurator="$build/src/tc8-configurator"
started=""
for _ in $(seq 600); do
    if pgrep -f "^$configurator" >/dev/null; then
        started=yes
        break
    fi
    kill -0 "$runner" 2>/dev/null || fail "run.sh ended before the window came up"
    sleep 0.1
done
[ -n "$started" ] || fail "the configurator did not start within a minute"
grep -q "Simulated recorder on COM1" "$scratch/run.log" || fail "no simulated recorder"
pkill -f "^$configurator" || true
wait "$runner" || true

[ "$(readlink "$user_ports/COM1")" = /dev/ttyUSB-unplugged ] || fail "the user's COM1 entry was changed"
[ "$(ls -A "$user_ports")" = COM1 ] || fail "the user's ports folder was changed"
[ -z "$(find "$scratch/tmp" -maxdepth 1 -name 'tc8-demo.*')" ] ||
    fail "the demonstration's data folder was left behind"
echo "run_demo_test: the user's ports folder is as it was"
