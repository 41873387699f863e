#!/usr/bin/env bash
# Installs what the tests need, builds, and runs the whole suite with ctest,
# then the further stages (sanitizers, fuzzing, Windows build) where present.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/packages.sh
ensure_packages $RUN_PACKAGES $TEST_PACKAGES

jobs="$(nproc)"
cmake -S . -B build/test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSCENARIO_TESTS=ON >/dev/null
cmake --build build/test -j"$jobs"
(cd build/test && ctest --output-on-failure -j"$jobs")

for stage in scripts/test_sanitizers.sh scripts/test_fuzz.sh scripts/test_windows.sh; do
  if [ -f "$stage" ]; then
    echo "== $stage"
    bash "$stage"
  fi
done
