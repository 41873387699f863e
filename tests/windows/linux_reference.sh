#!/usr/bin/env bash
# Prints the path of a Linux scenario_gen built from the current sources: the
# main test build's when nothing changed since it was linked, otherwise a
# console-only build in build/winlinux. Build output goes to stderr.
set -euo pipefail
main_build=build/test/scenario_gen
if [ -x "$main_build" ] && [ -z "$(find src CMakeLists.txt -newer "$main_build" -print -quit)" ]; then
  echo "$PWD/$main_build"
  exit 0
fi
cmake -S . -B build/winlinux -DCMAKE_BUILD_TYPE=Release -DSCENARIO_GUI=OFF -DSCENARIO_TESTS=OFF >&2
cmake --build build/winlinux -j"$(nproc)" --target scenario_gen >&2
echo "$PWD/build/winlinux/scenario_gen"
