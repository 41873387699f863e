#!/usr/bin/env bash
# The include check passes on the tree as it stands, and fails, naming the
# file and line, on a tree with a quoted include that climbs out of its folder.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
check="$here/../scripts/check_includes.sh"

bash "$check" "$here/.."

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/src/placement" "$work/src/model" "$work/tools/common" "$work/tests/fixtures/tool"
printf '#include "model/coding.h"\n// "../compiler/compile.h" in a comment is no include\n' >"$work/src/model/fine.cpp"
printf '#include "../not/code.h"\n' >"$work/tests/fixtures/tool/text.h"

planted() {  # FILE LINE: the check fails and names FILE:1
  local file="$1" line="$2" out rc=0
  rm -f "$work/src/placement/bad.cpp" "$work/tools/common/bad.h"
  printf '%s\n' "$line" >"$work/$file"
  out="$(bash "$check" "$work" 2>&1)" || rc=$?
  if [ "$rc" -ne 1 ] || [[ "$out" != *"$work/$file:1:"* ]]; then
    echo "FAIL: '$line' in $file: exit $rc, output: $out"
    exit 1
  fi
}
planted src/placement/bad.cpp '#include "../compiler/compile.h"'
planted src/placement/bad.cpp '  #  include "placement/../compiler/compile.h"'
planted tools/common/bad.h '#include "../compile/lint.h"'

rm -f "$work/src/placement/bad.cpp" "$work/tools/common/bad.h"
bash "$check" "$work"
echo "ok"
