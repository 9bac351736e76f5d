#!/usr/bin/env bash
# Configures and builds ALBORX! into build/. Extra arguments go to CMake's
# configure step (e.g. -DALBORX_BUILD_TESTS=ON); BUILD_TARGET, when set,
# builds only that target.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}" "$@" >/dev/null
cmake --build build --parallel "$(nproc)" ${BUILD_TARGET:+--target "$BUILD_TARGET"}
