#!/usr/bin/env bash
# Benchmarks (not part of the test command): builds build/bench in Release
# without a display, runs the Google Benchmark programs, the peak memory of a
# 1000 km route (limit: three times its linea.dat), and the ratio of the
# generator's whole run to a plain copy of the six files it leaves (target:
# at most 3) and to a copy of them that reaches the disk, and the peak memory
# and time of the authors' tool's check on junk sources (limit: 20 bytes per
# input byte; scripts/bench_junk_input.sh). Extra arguments go to the
# benchmark program.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/packages.sh
ensure_packages $BENCH_PACKAGES

cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DSCENARIO_BENCH=ON -DSCENARIO_TESTS=OFF \
  -DSCENARIO_GUI=OFF >/dev/null
cmake --build build/bench -j"$(nproc)" --target compile_bench lsp_bench decompile_bench bench_peak_memory scenario_gen scenario_tool

echo "== benchmarks"
build/bench/bench/compile_bench --benchmark_min_time=1 "$@"

echo "== language server: didChange to published diagnostics (median and p95 of 200 changes)"
build/bench/bench/lsp_bench

echo "== whole run against a durable copy of its six outputs (cp, then fsync of each copy)"
durable_json="$(mktemp)"
build/bench/bench/compile_bench --benchmark_filter='^BM_(WholeRun|DurableCopy)$' \
  --benchmark_repetitions="${BENCH_REPETITIONS:-15}" --benchmark_min_time=0.2 \
  --benchmark_enable_random_interleaving=true --benchmark_report_aggregates_only=true \
  --benchmark_format=json >"$durable_json" 2>/dev/null
python3 - "$durable_json" <<'PY'
import json, sys
runs = json.load(open(sys.argv[1]))["benchmarks"]
median = {b["run_name"]: b["real_time"] for b in runs if b.get("aggregate_name") == "median"}
run, copy = median["BM_WholeRun"], median["BM_DurableCopy"]
print(f"whole run {run:.2f} ms, durable copy {copy:.2f} ms (medians): ratio {run / copy:.3f}")
PY
rm -f "$durable_json"

echo "== peak memory"
status=0
build/bench/bench/bench_peak_memory 1000 || status=1

echo "== check on junk sources (medians of 3 runs)"
scripts/bench_junk_input.sh build/bench/tools/scenario_tool 3 || status=1

echo "== decompile: time, and peak memory of the 1000 km route alone"
build/bench/bench/decompile_bench --benchmark_min_time=1 || status=1
/usr/bin/time -f "decompile 1000 km: peak resident %M KiB" \
  build/bench/bench/decompile_bench --benchmark_filter='BM_DecompileScaling/1000' >/dev/null || status=1

echo "== whole run against a copy of its outputs"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir "$work/prog" "$work/copy"
cp build/bench/scenario_gen "$work/prog/"
(cd "$work" && ./prog/scenario_gen 2>/dev/null)
outputs=(Castrovelde_Ardis_linea.dat Castrovelde_Ardis_R31708.sim Castrovelde_Ardis_R31708.dat
         Castrovelde_Ardis_R31708_scheda_treno.txt Castrovelde_Ardis_R31708_rallentamenti.txt
         Castrovelde_Ardis_R31708_note.txt)
run_cmd="$work/prog/scenario_gen"
copy_cmd="cp ${outputs[*]/#/$work/prog/} $work/copy/"

if command -v hyperfine >/dev/null; then
  hyperfine -N --warmup 5 --min-runs 50 --export-json "$work/times.json" \
    -n "whole run" "$run_cmd" -n "copy of the six files" "$copy_cmd" 2>/dev/null | grep -v '^ *$' || true
  # The medians of the two commands, in order.
  mapfile -t medians < <(sed -n 's/^ *"median": *\([0-9.e+-]*\),*$/\1/p' "$work/times.json")
  run_s="${medians[0]}"
  copy_s="${medians[1]}"
else
  # Without hyperfine: 50 runs of each, side by side, timed as a whole.
  elapsed() {
    local start end i
    start=$(date +%s%N)
    for i in $(seq 1 50); do "$@" >/dev/null 2>&1; done
    end=$(date +%s%N)
    awk -v ns=$((end - start)) 'BEGIN { printf "%.6f\n", ns / 50 / 1e9 }'
  }
  run_s=$(elapsed "$run_cmd")
  copy_s=$(elapsed bash -c "$copy_cmd")
fi
awk -v r="$run_s" -v c="$copy_s" 'BEGIN {
  ratio = r / c
  printf "whole run %.1f ms, copy %.1f ms (medians): ratio %.2f (target: at most 3)\n", r * 1000, c * 1000, ratio
  exit ratio <= 3 ? 0 : 1
}' || { echo "the whole run takes more than three times the copy" >&2; status=1; }
exit $status
