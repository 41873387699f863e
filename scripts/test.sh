#!/usr/bin/env bash
# Installs what the tests need, builds, and runs the whole suite with ctest.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/packages.sh
ensure_packages $RUN_PACKAGES $TEST_PACKAGES

jobs="$(nproc)"
cmake -S . -B build/test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSCENARIO_TESTS=ON >/dev/null
cmake --build build/test -j"$jobs"
(cd build/test && ctest --output-on-failure -j"$jobs")
