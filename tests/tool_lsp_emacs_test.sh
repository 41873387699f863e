#!/usr/bin/env bash
# scenario_tool lsp driven by Emacs with eglot in batch mode: it opens the
# built-in pair (no diagnostics), types a broken record and sees the error at
# its line and column, counts columns after an accent in UTF-16 units, asks
# for hover and references, and shuts the server down.
# Arguments: the scenario_gen binary, the build directory.
set -euo pipefail
tool="$2/tools/scenario_tool"
here="$(cd "$(dirname "$0")" && pwd)"

. "$here/shell_support.sh"

[ -x "$tool" ] || skip "scenario_tool is not built in $2"
command -v emacs >/dev/null 2>&1 || skip "Emacs is not installed"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
"$tool" init "$work/src" >/dev/null

HOME="$work" TOOL="$tool" DIR="$work/src" timeout 120 emacs --batch -l "$here/lsp/emacs_client.el" \
  </dev/null >"$work/emacs.log" 2>&1 || {
  cat "$work/emacs.log" >&2
  fail "the Emacs session failed"
}
echo "PASSED: Emacs with eglot drove the language server"
