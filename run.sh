#!/usr/bin/env bash
# Builds ALBORX! and starts it in the current directory, where it keeps its
# settings files. Usage: ./run.sh [catalogue.abx]
set -euo pipefail
top="$(cd "$(dirname "$0")" && pwd)"
"$top/scripts/ensure-packages.sh" cmake g++ make qt6-base-dev qt6-translations-l10n fonts-liberation
"$top/scripts/build.sh"
exec "$top/build/alborx" "$@"
