#!/usr/bin/env bash
# Builds ALBORX! and starts it in the current directory, where it keeps its
# settings files. Usage: ./run.sh [catalogue.abx]
set -euo pipefail
top="$(cd "$(dirname "$0")" && pwd)"
"$top/scripts/ensure-packages.sh" cmake g++ make qt6-base-dev qt6-translations-l10n fonts-liberation pkg-config libzip-dev zlib1g-dev libsqlite3-dev libexpat1-dev libdiscid-dev nlohmann-json3-dev
# Only the program is built. A build folder that ./test.sh set up keeps its
# tests; a new one is set up without them, so GoogleTest is not needed.
options=()
[ -f "$top/build/CMakeCache.txt" ] || options=(-DALBORX_BUILD_TESTS=OFF)
BUILD_TARGET=alborx "$top/scripts/build.sh" "${options[@]}"
exec "$top/build/alborx" "$@"
