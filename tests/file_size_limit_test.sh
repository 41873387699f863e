#!/usr/bin/env bash
# A write that fails half-way through a whole run: with the file size limit at
# 1 MiB the five texts are written, and the 2 MB line plan's write stops after
# its first MiB ("File too large"). One message naming the plan and the
# reason, exit status 2, the older binary files whole, no temporary file left.
set -euo pipefail
. "$(dirname "$0")/shell_support.sh"
gen="$1"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
prog="$work/prog"
mkdir "$prog"
cp "$gen" "$prog/scenario_gen"
binaries=(Castrovelde_Ardis_linea.dat Castrovelde_Ardis_R31708.sim Castrovelde_Ardis_R31708.dat)
for f in "${binaries[@]}"; do printf 'older %s\r\n' "$f" >"$prog/$f"; done

rc=0
# An ignored SIGXFSZ stays ignored in the program, so the write fails with
# EFBIG instead of killing it. ulimit -f counts KiB.
(cd "$work" && trap '' XFSZ && ulimit -f 1024 && exec env -u DISPLAY "$prog/scenario_gen") \
  >"$work/stdout" 2>"$work/stderr" || rc=$?

[ "$rc" -eq 2 ] || { cat "$work/stderr" >&2; fail "exit status $rc, expected 2"; }
messages="$(grep -v '^Attendere$' "$work/stderr" || true)"
[ "$(printf '%s\n' "$messages" | grep -c .)" -eq 1 ] || fail "expected one message, got:
$messages"
case "$messages" in
  *"$prog/Castrovelde_Ardis_linea.dat: File too large"*) ;;
  *) fail "the message should name the line plan file and the reason: $messages" ;;
esac
for f in "${binaries[@]}"; do
  [ "$(cat "$prog/$f")" = "$(printf 'older %s\r\n' "$f")" ] || fail "$f was not kept whole"
done
for f in Castrovelde_Ardis_R31708_note.txt Castrovelde_Ardis_R31708_rallentamenti.txt \
         Castrovelde_Ardis_R31708_scheda_treno.txt; do
  [ -s "$prog/$f" ] || fail "$f, written before the plan, is missing"
done
partials="$(ls -A "$prog" | grep '\.partial$' || true)"
[ -z "$partials" ] || fail "temporary files left behind: $partials"
echo "ok: $messages"
