#!/usr/bin/env bash
# Installs the packages, builds Quarnel, runs every test, compiles every source for Windows (syntax
# only), then builds the Debian package and checks it without installing it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)"
QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure -j"$(nproc)"
# Against a real Oracle server only when one is configured; otherwise it reports the skip.
bash scripts/test-oracle.sh build
bash scripts/check-windows-syntax.sh build
bash scripts/check-package.sh build
