#!/usr/bin/env bash
# Builds the fuzz targets with clang's libFuzzer (with AddressSanitizer and
# UndefinedBehaviorSanitizer) into build-fuzz/ and runs each of them for the
# given number of seconds (default 60), starting from tests/fuzz/corpus/.
# 0 seconds runs each target once over its corpus. Findings are written to
# build-fuzz/findings/.
# Usage: ./fuzz.sh [seconds] [target...]
set -euo pipefail
top="$(cd "$(dirname "$0")" && pwd)"
seconds="${1:-60}"
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(catalogue settings genres template idreading csv tellico musicbrainz)

"$top/scripts/ensure-packages.sh" cmake make clang libclang-rt-14-dev pkg-config libzip-dev zlib1g-dev libsqlite3-dev libexpat1-dev libdiscid-dev nlohmann-json3-dev
flags="-g -O1 -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined"
CC=clang CXX=clang++ cmake -S "$top" -B "$top/build-fuzz" -DCMAKE_BUILD_TYPE=Debug \
  -DALBORX_BUILD_UI=OFF -DALBORX_BUILD_TESTS=OFF -DALBORX_FUZZ=ON \
  -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
cmake --build "$top/build-fuzz" --parallel "$(nproc)" \
  --target $(printf 'fuzz_%s ' "${targets[@]}") >/dev/null

mkdir -p "$top/build-fuzz/findings"
status=0
for target in "${targets[@]}"; do
  corpus="$top/build-fuzz/corpus/$target"
  mkdir -p "$corpus"
  cp -n "$top/tests/fuzz/corpus/$target/"* "$corpus/" 2>/dev/null || true
  if [ "$seconds" -eq 0 ]; then
    args=(-runs=0 "$corpus")
  else
    args=(-max_total_time="$seconds" -max_len=8192 -timeout=10 -rss_limit_mb=2048 "$corpus")
  fi
  echo "== fuzz_$target"
  if ! "$top/build-fuzz/fuzz_$target" -artifact_prefix="$top/build-fuzz/findings/$target-" \
      -print_final_stats=1 "${args[@]}" 2>"$top/build-fuzz/fuzz_$target.log"; then
    status=1
    tail -n 30 "$top/build-fuzz/fuzz_$target.log"
  fi
  grep -E 'stat::number_of_executed_units|Done [0-9]+ runs' "$top/build-fuzz/fuzz_$target.log" | tail -n 2 || true
done
exit $status
