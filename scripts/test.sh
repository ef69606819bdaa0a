#!/usr/bin/env bash
# Builds and runs the unit tests. Usage: scripts/test.sh [default|sanitize|windows]
# "windows" cross-builds with mingw-w64 (its libraries built once per machine
# by scripts/build-windows-deps.sh) and runs the tests under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-default}"
if [ "$preset" = windows ]; then
  bash scripts/build-windows-deps.sh
  cmake --preset windows >/dev/null
  cmake --build --preset windows
  source scripts/wine-session.sh
  wine_session_start "$PWD/build/windows/wine"
  trap wine_session_stop EXIT
  # A Wine process now and then dies while starting (no output, a few
  # milliseconds); such a test runs once more. A test that fails twice fails.
  ctest --preset windows -j2 --repeat until-pass:2
  exit 0
fi
bash scripts/install-deps.sh
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
ctest --preset "$preset" -j2
