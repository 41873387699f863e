#!/usr/bin/env bash
# errore without a usable display (none set, or a server that does not answer):
# its text alone on stderr, exit status 1.
set -euo pipefail
. "$(dirname "$0")/shell_support.sh"
probe="$2/tests/errore_probe"
[ -x "$probe" ] || fail "$probe is not built"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# No X server listens on display 9999 (its socket would be /tmp/.X11-unix/X9999).
[ ! -e /tmp/.X11-unix/X9999 ] || skip "something listens on display :9999"

for display in unset :9999; do
  for code in 1250 1251; do
    rc=0
    if [ "$display" = unset ]; then
      env -u DISPLAY "$probe" "$code" >"$work/stdout" 2>"$work/stderr" || rc=$?
    else
      DISPLAY="$display" "$probe" "$code" >"$work/stdout" 2>"$work/stderr" || rc=$?
    fi
    what="errore $code with DISPLAY $display"
    [ "$rc" -eq 1 ] || fail "$what: exit status $rc, expected 1"
    [ "$(cat "$work/stderr")" = " Errore n. $code" ] || fail "$what: stderr was '$(cat "$work/stderr")'"
    [ ! -s "$work/stdout" ] || fail "$what: wrote to stdout"
  done
done
echo "ok: errore on stderr, exit status 1"
