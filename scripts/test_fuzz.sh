#!/usr/bin/env bash
# Fuzz stage: builds the libFuzzer targets with clang in build/fuzz and runs
# each one for a short while (FUZZ_SECONDS, 20 by default) from the committed
# corpus (fuzz/corpus/, merged from the campaigns) and the seeds. A crash, a
# sanitizer report, a broken property or an escaping exception fails the
# stage; the input that caused it is kept in build/fuzz/artifacts/.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/packages.sh
. scripts/fuzz_targets.sh
ensure_packages $FUZZ_PACKAGES
started=$SECONDS

seconds="${FUZZ_SECONDS:-20}"
build_fuzz_targets
mkdir -p build/fuzz/artifacts
for t in "${FUZZ_TARGETS[@]}"; do
  rm -rf "build/fuzz/work/$t"
  mkdir -p "build/fuzz/work/$t"
  echo "== $t for $seconds s"
  # shellcheck disable=SC2046
  "build/fuzz/fuzz/$t" "build/fuzz/work/$t" "fuzz/corpus/$t" "build/fuzz/seeds/$t" $(fuzz_options "$t") \
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
