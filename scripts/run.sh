#!/usr/bin/env bash
# Installs what is missing, builds, and starts the configurator against the simulated
# recorder, which is published as COM1 and stopped when the window closes.
#   scripts/run.sh [BUILD_DIR]
# BUILD_DIR defaults to build (made with the default preset).
set -euo pipefail
cd "$(dirname "$0")/.."

build="${1:-build}"
scripts/deps.sh
if [ "$build" = build ]; then
    cmake --preset default >/dev/null
fi
cmake --build "$build" --target tc8-configurator tc8-sim

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display: the configurator is a desktop program and needs a graphical session" >&2
    echo "(DISPLAY or WAYLAND_DISPLAY is not set). Start it from a desktop, or use ssh -X." >&2
    exit 1
fi

# The demonstration has a data folder of its own, made for this run and removed after it,
# so the technician's own ports folder (a COM1 entry in it too) is never touched.
demo=$(mktemp -d "${TMPDIR:-/tmp}/tc8-demo.XXXXXX")
export XDG_DATA_HOME="$demo"
ports="$demo/tc8-configurator/ports"

"$build/tools/tc8-sim/tc8-sim" --port 1 --quiet &
sim=$!
trap 'kill "$sim" 2>/dev/null || true; wait "$sim" 2>/dev/null || true; rm -rf "$demo"' EXIT
for _ in $(seq 400); do
    [ -e "$ports/COM1" ] && break
    kill -0 "$sim" 2>/dev/null || { echo "The simulated recorder did not start." >&2; exit 1; }
    sleep 0.05
done
echo "Simulated recorder on COM1 (password 0157)."

"$build/src/tc8-configurator"
