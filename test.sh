#!/usr/bin/env bash
# Builds ALBORX! with its tests and runs every test with CTest.
set -euo pipefail
top="$(cd "$(dirname "$0")" && pwd)"
"$top/scripts/ensure-packages.sh" cmake g++ make qt6-base-dev qt6-translations-l10n fonts-liberation pkg-config libzip-dev zlib1g-dev libsqlite3-dev libexpat1-dev libdiscid-dev nlohmann-json3-dev libgtest-dev poppler-utils xvfb xauth desktop-file-utils libxml2-utils shared-mime-info dpkg-dev
"$top/scripts/build.sh" -DALBORX_BUILD_TESTS=ON
cd "$top/build"
# Window tests draw on the offscreen platform; no display is needed.
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$(nproc)"
