#!/usr/bin/env bash
# Builds ALBORX! in Release into build-release/ and runs the benchmarks: the
# catalogue operations, then the main window under the offscreen platform.
set -euo pipefail
top="$(cd "$(dirname "$0")" && pwd)"
"$top/scripts/ensure-packages.sh" cmake g++ make qt6-base-dev qt6-translations-l10n fonts-liberation pkg-config libzip-dev zlib1g-dev libsqlite3-dev libexpat1-dev libdiscid-dev nlohmann-json3-dev
cmake -S "$top" -B "$top/build-release" -DCMAKE_BUILD_TYPE=Release -DALBORX_BUILD_TESTS=OFF >/dev/null
cmake --build "$top/build-release" --parallel "$(nproc)" --target alborx-bench alborx-uibench
"$top/build-release/alborx-bench" "$@"
echo
QT_QPA_PLATFORM=offscreen "$top/build-release/alborx-uibench"
