#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a bounded time,
# JOBS targets at a time, printing one line per target as it starts and one
# as it ends (the end of its log when it found something).
# Usage: scripts/fuzz.sh [seconds per target, default 60] [jobs, default 1]
# The whole run takes about ceil(targets / jobs) x seconds.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
jobs="${2:-1}"
if ! [[ "$seconds" =~ ^[0-9]+$ && "$jobs" =~ ^[1-9][0-9]*$ ]]; then
  echo "usage: scripts/fuzz.sh [seconds per target] [jobs]" >&2
  exit 2
fi
bash scripts/install-deps.sh
cmake --preset fuzz >/dev/null
# Only the fuzz targets: the rest of the tree is built and tested by the
# other presets.
targets=$(for f in fuzz/fuzz_*.cpp; do basename "$f" .cpp; done)
cmake --build --preset fuzz --target $targets

# Seeds: fuzz/seeds/<name without fuzz_>, and the samples where they fit.
seedsOf() {
  local seeds="fuzz/seeds/${1#fuzz_}"
  [ -d "$seeds" ] && echo "$seeds"
  case "$1" in
    fuzz_picture_probe) echo samples/pictures ;;
    fuzz_layout_json) echo samples ;;
  esac
}

runTarget() {
  local name="$1" log="build/fuzz/logs/$1.log"
  local corpus="build/fuzz/corpus/$name"
  mkdir -p "$corpus"
  if "build/fuzz/fuzz/$name" -artifact_prefix="build/fuzz/$name-" -max_total_time="$seconds" -max_len=200000 \
       -timeout=10 -rss_limit_mb=4096 -print_final_stats=1 "$corpus" $(seedsOf "$name") >"$log" 2>&1; then
    local runs
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    echo "ok      $name: ${runs:-?} inputs in ${seconds}s"
  else
    echo "FAILED  $name (build/fuzz/logs/$name.log, artifacts build/fuzz/$name-*):"
    tail -n 30 "$log" | sed 's/^/        /'
    return 1
  fi
}

mkdir -p build/fuzz/logs
status=0
running=0
for name in $targets; do
  [ -x "build/fuzz/fuzz/$name" ] || continue
  if [ "$running" -ge "$jobs" ]; then
    wait -n || status=1
    running=$((running - 1))
  fi
  echo "start   $name for ${seconds}s"
  runTarget "$name" &
  running=$((running + 1))
done
while [ "$running" -gt 0 ]; do
  wait -n || status=1
  running=$((running - 1))
done
exit $status
