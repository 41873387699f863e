#!/usr/bin/env bash
# A failure late in the run: the line plan cannot take the place of a directory
# of the same name. One message naming that file, exit status 2, the files
# written before it stay, the files after it are not written, no temporary left.
set -euo pipefail
. "$(dirname "$0")/shell_support.sh"
gen="$1"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
prog="$work/prog"
mkdir "$prog"
cp "$gen" "$prog/scenario_gen"
mkdir "$prog/Castrovelde_Ardis_linea.dat"
echo kept >"$prog/Castrovelde_Ardis_linea.dat/inside"

rc=0
(cd "$work" && env -u DISPLAY "$prog/scenario_gen") >"$work/stdout" 2>"$work/stderr" || rc=$?

[ "$rc" -eq 2 ] || { cat "$work/stderr" >&2; fail "exit status $rc, expected 2"; }
messages="$(grep -v '^Attendere$' "$work/stderr" || true)"
[ "$(printf '%s\n' "$messages" | grep -c .)" -eq 1 ] || fail "expected one message, got:
$messages"
case "$messages" in
  *"$prog/Castrovelde_Ardis_linea.dat"*": "?*) ;;
  *) fail "the message should name the line plan file and the reason: $messages" ;;
esac
for f in Castrovelde_Ardis_R31708_note.txt Castrovelde_Ardis_R31708_rallentamenti.txt \
         Castrovelde_Ardis_R31708_scheda_treno.txt; do
  [ -s "$prog/$f" ] || fail "$f, written before the failure, is missing"
done
for f in Castrovelde_Ardis_R31708.sim Castrovelde_Ardis_R31708.dat; do
  [ ! -e "$prog/$f" ] || fail "$f was written after the failure"
done
[ "$(cat "$prog/Castrovelde_Ardis_linea.dat/inside")" = kept ] || fail "the directory in the way was changed"
partials="$(ls -A "$prog" | grep '\.partial$' || true)"
[ -z "$partials" ] || fail "temporary files left behind: $partials"
echo "ok: $messages"
