#!/usr/bin/env bash
# errore without a display: its text alone on stderr, exit status 1.
set -euo pipefail
. "$(dirname "$0")/shell_support.sh"
probe="$2/tests/errore_probe"
[ -x "$probe" ] || fail "$probe is not built"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

for code in 1250 1251; do
  rc=0
  env -u DISPLAY "$probe" "$code" >"$work/stdout" 2>"$work/stderr" || rc=$?
  [ "$rc" -eq 1 ] || fail "errore $code: exit status $rc, expected 1"
  [ "$(cat "$work/stderr")" = " Errore n. $code" ] || fail "errore $code: stderr was '$(cat "$work/stderr")'"
  [ ! -s "$work/stdout" ] || fail "errore $code: wrote to stdout"
done
echo "ok: errore on stderr, exit status 1"
