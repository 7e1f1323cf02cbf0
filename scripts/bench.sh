#!/usr/bin/env bash
# Installs the packages, builds Quarnel and runs the benchmark. The schema of 100,000 tables is
# built once into bench-data/ (kept out of the repository) and reused by later runs.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)" --target quarnel-bench
QT_QPA_PLATFORM=offscreen build/bench/quarnel-bench --data bench-data "$@"
