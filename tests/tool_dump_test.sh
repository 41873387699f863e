#!/usr/bin/env bash
# The authors' tool's JSON output parses: dump --json of the three built-in
# files and compile --diagnostics=json of a broken source; a truncated file
# is an error that names its byte offset.
# Arguments: the scenario_gen binary, the build directory.
set -euo pipefail
gen="$1"
tool="$2/tools/scenario_tool"
fixtures="$(cd "$(dirname "$0")" && pwd)/fixtures/tool"

skip() { echo "SKIPPED: $*" >&2; exit 77; }
fail() { echo "FAILED: $*" >&2; exit 1; }

[ -x "$tool" ] || skip "scenario_tool is not built in $2"
command -v python3 >/dev/null 2>&1 || skip "python3 is not installed"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cp "$gen" "$work/scenario_gen"
(cd "$work" && ./scenario_gen >/dev/null 2>&1) || fail "the generator did not run"

for f in Castrovelde_Ardis_R31708.sim Castrovelde_Ardis_R31708.dat Castrovelde_Ardis_linea.dat; do
  "$tool" dump --json "$work/$f" >"$work/$f.json" || fail "dump --json $f failed"
  python3 -m json.tool "$work/$f.json" >/dev/null || fail "dump --json $f is not JSON"
done
python3 - "$work/Castrovelde_Ardis_R31708.dat.json" <<'PY' || fail "the train file's JSON lacks the built-in signals"
import json, sys
d = json.load(open(sys.argv[1]))
assert sum(1 for c in d["cells"] if c["kind_name"] == "signal") == 23
assert d["speed"][0] == {"first": 0, "last": 491, "byte": 16, "text": "speed 80 km/h"}
PY

cp -r "$fixtures/code_22" "$work/broken"
status=0
"$tool" compile --diagnostics=json "$work/broken" >"$work/diagnostics.jsonl" 2>/dev/null || status=$?
[ "$status" -eq 1 ] || fail "compile of a broken source exited $status, not 1"
python3 - "$work/diagnostics.jsonl" <<'PY' || fail "the diagnostics are not JSON lines"
import json, sys
lines = [json.loads(l) for l in open(sys.argv[1])]
assert lines[0]["code"] == "22" and lines[0]["line"] == 13 and lines[0]["severity"] == "error", lines
PY

head -c 100 "$work/Castrovelde_Ardis_R31708.dat" >"$work/cut_R31708.dat"
status=0
"$tool" dump "$work/cut_R31708.dat" >/dev/null 2>"$work/error.txt" || status=$?
[ "$status" -eq 1 ] || fail "a truncated file exited $status, not 1"
grep -q "cut_R31708.dat: truncated at byte offset 90: cell 6 needs 15 bytes, but only 10 are left" "$work/error.txt" \
  || fail "unexpected error: $(cat "$work/error.txt")"
