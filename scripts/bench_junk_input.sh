#!/usr/bin/env bash
# Peak memory and wall time of `scenario_tool check` on junk sources, medians of runs (called by bench.sh).
#
# Usage: scripts/bench_junk_input.sh SCENARIO_TOOL [RUNS] [LIMIT]
#
# Each case is the pair that `init` writes with one source replaced by junk,
# generated here: 2 million "xx" lines as the train source (LF and CR LF
# line ends), and 2 MB of commas as the line source and as the train source;
# each after a "[generale]" header (every field is then read and reported
# as an unknown keyword) and, for some, without it (nothing is read).
# For each case: the input's size, the exit status of check, and the median
# of RUNS runs (default 3) of the peak resident memory (GNU time's %M) and of
# the wall time, with the peak memory per byte of the junk source. Exits 1
# when a case needs more than LIMIT (default 20) bytes of peak memory per
# byte of its junk source.
set -euo pipefail

tool="$(realpath "$1")"
runs="${2:-3}"
limit="${3:-20}"
junk_lines=2000000
comma_bytes=$((2 * 1024 * 1024))

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# The junk text of a case on stdout.
junk() {
  case "$1" in
    lines_lf) python3 -c "import sys; sys.stdout.write('xx\n' * $junk_lines)" ;;
    lines_crlf) python3 -c "import sys; sys.stdout.write('xx\r\n' * $junk_lines)" ;;
    commas) python3 -c "import sys; sys.stdout.write(',' * $comma_bytes)" ;;
  esac
}

# name, the source replaced (line or train), whether the junk follows a
# "[generale]" header (so that every field is read as a keyword), the junk
cases=(
  "train_header_xx_lf train header lines_lf"
  "train_header_xx_crlf train header lines_crlf"
  "train_xx_lf train bare lines_lf"
  "line_commas line bare commas"
  "line_header_commas line header commas"
  "train_commas train bare commas"
  "train_header_commas train header commas"
)

over=0
printf '%-22s %10s %6s %12s %10s %12s\n' case "input B" status "peak MB" "wall s" "peak B/in B"
for entry in "${cases[@]}"; do
  read -r name which header kind <<<"$entry"
  dir="$work/$name"
  "$tool" init --route Prova --train T1 "$dir" >/dev/null
  if [ "$which" = line ]; then file="$dir/Prova_linea.txt"; else file="$dir/Prova_T1-.txt"; fi
  {
    if [ "$header" = header ]; then printf '[generale]\r\n'; fi
    junk "$kind"
  } >"$file"
  size=$(stat -c %s "$file")
  peaks=()
  walls=()
  status=0
  for _ in $(seq 1 "$runs"); do
    status=0
    /usr/bin/time -f '%M %e' -o "$work/time" "$tool" check "$dir" >/dev/null 2>&1 || status=$?
    # GNU time puts a line about a non-zero status before its own.
    read -r kb secs < <(tail -n 1 "$work/time")
    peaks+=("$kb")
    walls+=("$secs")
  done
  python3 - "$name" "$size" "$status" "${peaks[*]}" "${walls[*]}" "$limit" <<'PY' || over=1
import statistics, sys
name, size, status, peaks, walls = sys.argv[1], int(sys.argv[2]), sys.argv[3], sys.argv[4], sys.argv[5]
limit = float(sys.argv[6])
peak_kb = statistics.median(int(p) for p in peaks.split())
wall = statistics.median(float(w) for w in walls.split())
per_byte = peak_kb * 1024 / size
print(f"{name:<22} {size:>10} {status:>6} {peak_kb / 1024:>12.1f} {wall:>10.2f} {per_byte:>12.1f}")
sys.exit(0 if per_byte <= limit else 1)
PY
  rm -rf "$dir"
done
if [ "$over" -ne 0 ]; then
  echo "a junk source costs more than $limit bytes of peak memory per input byte" >&2
  exit 1
fi
