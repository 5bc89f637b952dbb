#!/usr/bin/env bash
# Builds the benchmarks in Release (into build-bench/) and runs them.
# Usage: bench/run.sh [extra Google Benchmark options]
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="$here/build-bench"
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DHALVEX_BENCH=ON >/dev/null
targets=()
for src in "$here"/bench/bench_*.cpp "$here"/bench/toolkit_bench_*.cpp "$here"/bench/app_bench_*.cpp; do
    targets+=("$(basename "$src" .cpp)")
done
cmake --build "$build" -j2 --target "${targets[@]}"
for name in "${targets[@]}"; do
    echo "== $name"
    QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}" "$build/bench/$name" --benchmark_counters_tabular=true "$@"
done
