#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a bounded time.
# Usage: scripts/fuzz.sh [seconds per target, default 60]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
bash scripts/install-deps.sh
cmake --preset fuzz >/dev/null
# Only the fuzz targets: the rest of the tree is built and tested by the
# other presets.
targets=$(for f in fuzz/fuzz_*.cpp; do basename "$f" .cpp; done)
cmake --build --preset fuzz --target $targets
status=0
for target in build/fuzz/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  corpus="build/fuzz/corpus/$name"
  mkdir -p "$corpus"
  seeds="fuzz/seeds/${name#fuzz_}"
  [ -d "$seeds" ] || seeds=""
  echo "== $name for ${seconds}s"
  if ! "$target" -artifact_prefix="build/fuzz/$name-" -max_total_time="$seconds" -max_len=200000 -timeout=10 -rss_limit_mb=4096 \
       -print_final_stats=1 "$corpus" $seeds 2>&1 | tail -n 12; then
    status=1
  fi
done
exit $status
