#!/usr/bin/env bash
# Installs what the tests need, builds, and runs the whole suite with ctest,
# then the further stages (sanitizers, fuzzing, Windows build) where present.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/packages.sh
ensure_packages $RUN_PACKAGES $TEST_PACKAGES $TOOL_TEST_PACKAGES

jobs="$(nproc)"
cmake -S . -B build/test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSCENARIO_TESTS=ON >/dev/null
cmake --build build/test -j"$jobs"
# Without DISPLAY every test is the same on a desktop and on a server: the GUI
# tests start an Xvfb of their own, and no window or message box of another
# test can appear on the user's screen or wait there for a key.
(cd build/test && env -u DISPLAY ctest --output-on-failure -j"$jobs")

for stage in scripts/test_sanitizers.sh scripts/test_fuzz.sh scripts/test_windows.sh; do
  if [ -f "$stage" ]; then
    echo "== $stage"
    bash "$stage"
  fi
done
