#!/usr/bin/env bash
# Fails when a C++ file of the project differs from what .clang-format makes of it, and
# names the files. Fix with: git ls-files '*.cpp' '*.h' | xargs clang-format -i
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh --extra clang-format
git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror
echo "check-format: every C++ file is formatted"
