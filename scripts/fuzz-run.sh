#!/usr/bin/env bash
# scripts/fuzz-run.sh SECONDS [TARGET...]: builds the fuzz targets in build-fuzz/ and runs
# each (every target by default) for SECONDS. See fuzz/README.md.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
. "$ROOT/scripts/deps.sh"
. "$ROOT/scripts/fuzz.sh"
seconds=${1:?usage: scripts/fuzz-run.sh SECONDS [TARGET...]}; shift
ensure_packages "${BUILD_PACKAGES[@]}" "${FUZZ_PACKAGES[@]}"
fuzz_build "$ROOT"
fuzz_run "$ROOT" "$seconds" "$@"
