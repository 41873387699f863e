#!/usr/bin/env bash
# A whole run without a display: exit 0, "Attendere" on stderr and nothing else,
# the files left in the program's directory (not the working one), older files replaced.
set -euo pipefail
. "$(dirname "$0")/shell_support.sh"
gen="$1"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir "$work/prog" "$work/cwd"
cp "$gen" "$work/prog/scenario_gen"

outputs=(Castrovelde_Ardis_linea.dat Castrovelde_Ardis_R31708.sim Castrovelde_Ardis_R31708.dat
         Castrovelde_Ardis_R31708_scheda_treno.txt Castrovelde_Ardis_R31708_rallentamenti.txt
         Castrovelde_Ardis_R31708_note.txt)
sources=(Castrovelde_Ardis_linea.txt Castrovelde_Ardis_R31708-.txt)

# Older files of the same names, longer than anything the run writes, must be
# replaced and not show through behind the new contents.
for f in "${outputs[@]}" "${sources[@]}"; do
  awk 'BEGIN { for (i = 0; i < 160000; i++) print "OLD-CONTENT-MARKER" }' >"$work/prog/$f"
done

rc=0
(cd "$work/cwd" && env -u DISPLAY "$work/prog/scenario_gen") >"$work/stdout" 2>"$work/stderr" || rc=$?

[ "$rc" -eq 0 ] || { cat "$work/stderr" >&2; fail "exit status $rc, expected 0"; }
[ "$(cat "$work/stderr")" = "Attendere" ] || { cat "$work/stderr" >&2; fail "stderr should be the one line Attendere"; }
[ ! -s "$work/stdout" ] || fail "the run wrote to stdout"
[ -z "$(ls -A "$work/cwd")" ] || fail "files appeared in the working directory: $(ls -A "$work/cwd")"

for f in "${outputs[@]}"; do
  [ -f "$work/prog/$f" ] || fail "$f is missing"
  [ -s "$work/prog/$f" ] || fail "$f is empty"
  if grep -q OLD-CONTENT-MARKER "$work/prog/$f"; then fail "$f still holds bytes of the older file"; fi
done
partials="$(cd "$work/prog" && ls -A | grep '\.partial$' || true)"
[ -z "$partials" ] || fail "temporary files left behind: $partials"

# The compiler deletes the two source texts after reading them: what is left
# is the program and the six files, nothing else.
expected="$(printf '%s\n' scenario_gen "${outputs[@]}" | sort)"
actual="$(ls -A "$work/prog" | sort)"
[ "$actual" = "$expected" ] || fail "directory holds:
$actual
expected:
$expected"
echo "ok: complete run without a display"
