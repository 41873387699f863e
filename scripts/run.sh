#!/usr/bin/env bash
# Builds the generator and the authors' tool in Release, runs the generator in out/ and lists what it left.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/packages.sh
ensure_packages $RUN_PACKAGES

cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DSCENARIO_TESTS=OFF >/dev/null
cmake --build build/release -j"$(nproc)" --target scenario_gen scenario_tool
mkdir -p out
cp build/release/scenario_gen out/
cp build/release/tools/scenario_tool out/
status=0
./out/scenario_gen || status=$?
echo "scenario_gen exited with status $status; files in out/:"
ls -l out/
exit $status
