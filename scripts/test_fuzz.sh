#!/usr/bin/env bash
# Fuzz stage: builds the libFuzzer targets with clang in build/fuzz and runs
# each one for a short while (FUZZ_SECONDS, 30 by default) from the committed
# seeds, the built-in sources and what earlier runs found. A crash, a
# sanitizer report or an escaping exception fails the stage; the input that
# caused it is kept in build/fuzz/artifacts/.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/packages.sh
ensure_packages $FUZZ_PACKAGES
started=$SECONDS

seconds="${FUZZ_SECONDS:-30}"
targets=(fuzz_line fuzz_train fuzz_pair)

cmake -S . -B build/fuzz -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g1" \
  -DSCENARIO_FUZZ=ON -DSCENARIO_TESTS=OFF -DSCENARIO_GUI=OFF >/dev/null
cmake --build build/fuzz -j"$(nproc)" --target "${targets[@]}" fuzz_seeds

build/fuzz/fuzz/fuzz_seeds build/fuzz/seeds
mkdir -p build/fuzz/artifacts
for t in "${targets[@]}"; do
  mkdir -p "build/fuzz/work/$t"
  echo "== $t for $seconds s"
  # A route of 1000000 m makes a plan of a million points: allow the memory
  # and the time that one such input needs.
  "build/fuzz/fuzz/$t" "build/fuzz/work/$t" "fuzz/corpus/$t" "build/fuzz/seeds/$t" \
    -dict=fuzz/keywords.dict -max_len=65536 -rss_limit_mb=2048 -timeout=120 \
    -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="build/fuzz/artifacts/$t-" 2>"build/fuzz/$t.log" || {
    tail -n 60 "build/fuzz/$t.log" >&2
    echo "FAILED: $t found a fault; see build/fuzz/artifacts/" >&2
    exit 1
  }
  grep -E '^#[0-9]+[[:space:]]+DONE' "build/fuzz/$t.log" | tail -n 1 || true
  grep -E 'stat::number_of_executed_units' "build/fuzz/$t.log" || true
done
echo "fuzz stage took $((SECONDS - started)) s"
