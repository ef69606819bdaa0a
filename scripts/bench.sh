#!/usr/bin/env bash
# Builds the benchmarks optimised in build/bench and runs every one of them.
# Each prints its figures as ratios to a limit measured in the same run.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build/bench -G Ninja -DLUMBREL_BENCH=ON -DLUMBREL_TESTS=OFF -DCMAKE_BUILD_TYPE=Release >/dev/null
targets=()
for source in bench/bench_*.cpp; do
    targets+=("$(basename "$source" .cpp)")
done
cmake --build build/bench --target "${targets[@]}"
for target in "${targets[@]}"; do
    echo "== $target"
    "build/bench/bench/$target"
done
