#!/usr/bin/env bash
# A fuzz campaign: every target in turn, for SECONDS in all (shared evenly),
# with libFuzzer's fork mode on every core. Crashes, timeouts and memory
# blow-ups are collected instead of ending the run (build/fuzz/campaign/
# artifacts). Afterwards each target's committed corpus (fuzz/corpus/<target>)
# and what the campaign found are merged and minimized with -merge=1 into the
# new committed corpus, and one line per target gives the executions, the
# coverage (edges and features of the merged corpus) and the findings.
# Run it niced when others share the machine: nice -n 19 scripts/fuzz_campaign.sh 3600
# FUZZ_CORPUS names another corpus root than fuzz/corpus (to keep the
# worktree untouched while the campaign runs). FUZZ_ONLY names the targets
# to run (space-separated) when not all of them: FUZZ_ONLY=fuzz_lsp.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/packages.sh
. scripts/fuzz_targets.sh
ensure_packages $FUZZ_PACKAGES

[ $# -eq 1 ] && [ "$1" -gt 0 ] 2>/dev/null || {
  echo "usage: scripts/fuzz_campaign.sh SECONDS" >&2
  exit 2
}
total="$1"
corpus="${FUZZ_CORPUS:-fuzz/corpus}"
jobs="$(nproc)"
if [ -n "${FUZZ_ONLY:-}" ]; then
  for t in $FUZZ_ONLY; do
    printf '%s\n' "${FUZZ_TARGETS[@]}" | grep -qx "$t" || {
      echo "fuzz_campaign.sh: no fuzz target '$t'" >&2
      exit 2
    }
  done
  read -r -a FUZZ_TARGETS <<<"$FUZZ_ONLY"
fi
build_fuzz_targets >/dev/null
per_target=$((total / ${#FUZZ_TARGETS[@]}))
[ "$per_target" -gt 0 ] || per_target=1

root=build/fuzz/campaign
mkdir -p "$root/artifacts"
summary="$root/summary.txt"
printf '%-18s %12s %9s %8s %9s %9s\n' target executions exec/s edges features findings >"$summary"
for t in "${FUZZ_TARGETS[@]}"; do
  work="$root/work/$t"
  mkdir -p "$work" "$corpus/$t"
  echo "== $t: $per_target s on $jobs jobs"
  started=$SECONDS
  # The first folder receives what the children find; the others are read.
  # shellcheck disable=SC2046
  "build/fuzz/fuzz/$t" "$work" "$corpus/$t" "build/fuzz/seeds/$t" $(fuzz_options "$t") \
    -fork="$jobs" -ignore_crashes=1 -ignore_timeouts=1 -ignore_ooms=1 \
    -max_total_time="$per_target" -artifact_prefix="$root/artifacts/$t-" >"$root/$t.log" 2>&1 || true
  # Fork mode reports "#<executions>: cov: ..." as it goes; the rate is over
  # the target's wall-clock time, all jobs together.
  execs=$(sed -n 's/^#\([0-9]*\):.*/\1/p' "$root/$t.log" | tail -n 1)
  rate=$(( ${execs:-0} / (SECONDS - started > 0 ? SECONDS - started : 1) ))

  # The committed corpus, minimized: every input of the old corpus and of the
  # campaign that adds coverage, the smallest first.
  merged="$root/merged/$t"
  rm -rf "$merged"
  mkdir -p "$merged"
  # shellcheck disable=SC2046
  "build/fuzz/fuzz/$t" -merge=1 "$merged" "$corpus/$t" "$work" "build/fuzz/seeds/$t" $(fuzz_options "$t") \
    >"$root/$t.merge.log" 2>&1
  rm -rf "$corpus/$t"
  cp -r "$merged" "$corpus/$t"
  # shellcheck disable=SC2046
  "build/fuzz/fuzz/$t" -runs=0 "$corpus/$t" $(fuzz_options "$t") >"$root/$t.coverage.log" 2>&1 || true
  read -r edges features < <(sed -n 's/.*INITED cov: \([0-9]*\) ft: \([0-9]*\).*/\1 \2/p' "$root/$t.coverage.log" | tail -n 1)
  findings=$(find "$root/artifacts" -name "$t-*" | wc -l)
  printf '%-18s %12s %9s %8s %9s %9s\n' "$t" "${execs:-0}" "${rate:-0}" "${edges:-?}" "${features:-?}" "$findings" \
    >>"$summary"
done
echo
cat "$summary"
awk 'NR > 1 { e += $2; f += $6 } END { printf "total: %d executions, %d findings\n", e, f }' "$summary"
if find "$root/artifacts" -type f | grep -q .; then
  echo "findings kept in $root/artifacts/:"
  ls "$root/artifacts"
fi
