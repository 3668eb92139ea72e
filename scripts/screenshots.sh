#!/usr/bin/env bash
# Remakes the pictures in docs/images/ (main window, dialogs, message boxes) on a virtual
# display, against the simulated recorder. Run it whenever a window changes, look at the
# pictures, and commit them with the change.
#   scripts/screenshots.sh [BUILD_DIR [FOLDER]]
# BUILD_DIR defaults to build (the folder of scripts/run.sh), FOLDER to docs/images.
set -euo pipefail
cd "$(dirname "$0")/.."

build="${1:-build}"
folder="${2:-docs/images}"
scripts/deps.sh
if [ "$build" = build ]; then
    cmake --preset default >/dev/null
fi
cmake --build "$build" --target tc8-screenshot

# A screen large enough for every window.
xvfb-run --auto-servernum --server-args="-screen 0 1280x1024x24" \
    "$build/tools/screenshot/tc8-screenshot" "$folder"
