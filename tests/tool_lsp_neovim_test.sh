#!/usr/bin/env bash
# scenario_tool lsp driven by a real client: a headless Neovim opens the
# built-in pair, types a broken record, applies the quick fix, asks for
# hover, completion, outline and go to definition, edits the line source,
# asks for the references of a station that a sign names, moves a station
# back into place with the quick fix, and formats the train source; the
# formatted source must compile to the same bytes as before.
# Arguments: the scenario_gen binary, the build directory.
set -euo pipefail
tool="$2/tools/scenario_tool"
here="$(cd "$(dirname "$0")" && pwd)"

. "$here/shell_support.sh"

[ -x "$tool" ] || skip "scenario_tool is not built in $2"
command -v nvim >/dev/null 2>&1 || skip "Neovim is not installed"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir "$work/src" "$work/before" "$work/after"
"$tool" init "$work/src" >/dev/null
"$tool" compile -o "$work/before" "$work/src" >/dev/null 2>&1 || fail "the built-in pair does not compile"

TOOL="$tool" DIR="$work/src" timeout 120 nvim --headless --clean -n \
  -c "luafile $here/lsp/neovim_client.lua" </dev/null >"$work/nvim.log" 2>&1 || {
  cat "$work/nvim.log" >&2
  fail "the Neovim session failed"
}

"$tool" compile -o "$work/after" "$work/src" >/dev/null 2>&1 || fail "the formatted pair does not compile"
for f in Castrovelde_Ardis_linea.dat Castrovelde_Ardis_R31708.sim Castrovelde_Ardis_R31708.dat; do
  cmp "$work/before/$f" "$work/after/$f" || fail "formatting changed $f"
done
cmp -s "$work/src/Castrovelde_Ardis_R31708-.txt" <("$tool" init "$work/fresh" >/dev/null && cat "$work/fresh/Castrovelde_Ardis_R31708-.txt") &&
  fail "the formatted source was not written back"
echo "PASSED: Neovim drove the language server"
