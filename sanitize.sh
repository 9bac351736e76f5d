#!/usr/bin/env bash
# Builds the whole test suite, window tests included, with AddressSanitizer
# and UndefinedBehaviorSanitizer into build-asan/ and runs it with CTest. Any
# report of either fails the run.
set -euo pipefail
top="$(cd "$(dirname "$0")" && pwd)"
"$top/scripts/ensure-packages.sh" cmake g++ make qt6-base-dev qt6-translations-l10n fonts-liberation pkg-config libzip-dev zlib1g-dev libsqlite3-dev libexpat1-dev libdiscid-dev nlohmann-json3-dev libgtest-dev poppler-utils
flags="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
cmake -S "$top" -B "$top/build-asan" -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
cmake --build "$top/build-asan" --parallel "$(nproc)"
cd "$top/build-asan"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$(nproc)"
