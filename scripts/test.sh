#!/usr/bin/env bash
# Builds and runs the unit tests. Usage: scripts/test.sh [default|sanitize]
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-default}"
bash scripts/install-deps.sh
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
ctest --preset "$preset" -j2
