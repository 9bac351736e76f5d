#!/usr/bin/env bash
# Checks that keep the build clean, run by CI before the tests:
# - the README's first command on a clean clone: ./run.sh sets up its own
#   build without the tests and GoogleTest plays no part in it;
# - Debug and Release builds of everything, tests included, without a warning;
# - the layout of every source file as .clang-format says.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
"$top/scripts/ensure-packages.sh" cmake g++ make qt6-base-dev pkg-config libzip-dev zlib1g-dev libsqlite3-dev libexpat1-dev libdiscid-dev nlohmann-json3-dev libgtest-dev clang-format git

echo "== ./run.sh --version on a clean clone"
clone="$(mktemp -d)"
trap 'rm -rf "$clone"' EXIT
git -C "$top" clone -q "$top" "$clone/alborx"
version="$("$clone/alborx/run.sh" --version | tail -n 1)"
echo "$version"
[ "$version" = "ALBORX! 1.0" ]
if grep -q '^GTest_DIR' "$clone/alborx/build/CMakeCache.txt"; then
  echo "run.sh looked for GoogleTest" >&2
  exit 1
fi

for type in Debug Release; do
  echo "== $type build, warnings as errors"
  folder="$top/build-werror-${type,,}"
  cmake -S "$top" -B "$folder" -DCMAKE_BUILD_TYPE="$type" -DALBORX_BUILD_TESTS=ON \
    -DALBORX_WERROR=ON >/dev/null
  cmake --build "$folder" --parallel "$(nproc)" >/dev/null
done

echo "== layout"
git -C "$top" ls-files -z '*.cpp' '*.h' | (cd "$top" && xargs -0 clang-format --dry-run --Werror)
