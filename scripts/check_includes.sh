#!/usr/bin/env bash
# Checks that no quoted include climbs out of its folder with "..": an include
# names a file from the top of src/ or tools/ ("model/coding.h"), so that a
# layer sees only what its include path gives it and an include that points
# up does not build. Lists each offending line and exits 1; exits 0 when none.
#   scripts/check_includes.sh [ROOT]      ROOT defaults to the repository
set -euo pipefail
root="${1:-$(cd "$(dirname "$0")/.." && pwd)}"
status=0
for folder in src tools bench fuzz tests; do
  [ -d "$root/$folder" ] || continue
  # -I: binary files are no sources; fixtures hold authors' texts, not code.
  if grep -rnIE --include='*.cpp' --include='*.h' '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[^"]*\.\.' \
      --exclude-dir=fixtures "$root/$folder"; then
    status=1
  fi
done
if [ "$status" -ne 0 ]; then
  echo "check_includes: a quoted include climbs out of its folder with '..'; name the file from the top of src/ or tools/" >&2
fi
exit "$status"
