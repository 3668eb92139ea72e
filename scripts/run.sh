#!/usr/bin/env bash
# Installs what is missing, builds, and starts the configurator against the simulated
# recorder, which is published as COM1 and stopped when the window closes.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh
cmake --preset default >/dev/null
cmake --build --preset default --target tc8-configurator tc8-sim

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display: the configurator is a desktop program and needs a graphical session" >&2
    echo "(DISPLAY or WAYLAND_DISPLAY is not set). Start it from a desktop, or use ssh -X." >&2
    exit 1
fi

ports="${XDG_DATA_HOME:-$HOME/.local/share}/tc8-configurator/ports"
if [ -e "$ports/COM1" ] && [ ! -L "$ports/COM1" ]; then
    echo "$ports/COM1 exists and is not a link; not replacing it." >&2
    exit 1
fi

build/tools/tc8-sim/tc8-sim --port 1 --quiet &
sim=$!
trap 'kill "$sim" 2>/dev/null || true; wait "$sim" 2>/dev/null || true' EXIT
for _ in $(seq 100); do
    [ -e "$ports/COM1" ] && break
    kill -0 "$sim" 2>/dev/null || { echo "The simulated recorder did not start." >&2; exit 1; }
    sleep 0.05
done
echo "Simulated recorder on COM1 (password 0157)."

build/src/tc8-configurator
