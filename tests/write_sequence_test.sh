#!/usr/bin/env bash
# The order in which a run writes, pushes to disk, renames and deletes its
# files, seen in the system calls: the six files it keeps are each synced
# before their rename; the two source texts, deleted a moment later, are
# renamed without a sync; the writes and deletes keep their order.
set -euo pipefail
. "$(dirname "$0")/shell_support.sh"
gen="$1"
require_commands strace
strace -qq -e trace=none true 2>/dev/null || skip "strace cannot trace here"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir "$work/prog"
cp "$gen" "$work/prog/scenario_gen"
# The leak checker of a sanitizer build refuses to run under a tracer; the
# sequence does not depend on it.
(cd "$work" && env -u DISPLAY ASAN_OPTIONS="${ASAN_OPTIONS:-}:detect_leaks=0" strace -f -y -qq -o "$work/trace" \
  -e trace=fsync,fdatasync,rename,renameat,renameat2,unlink,unlinkat "$work/prog/scenario_gen") 2>/dev/null ||
  fail "the traced run failed"

# One line per event: "sync NAME", "rename NAME" (the final name), "delete NAME".
events="$(sed -E -n \
  -e 's/.*f(data)?sync\([0-9]+<[^>]*\/([^/>]+)\.[a-z0-9]{12}\.partial>\) = 0$/sync \2/p' \
  -e 's/.*rename(at2?)?\(.*"[^"]*\/([^/"]+)\.[a-z0-9]{12}\.partial",.* = 0$/rename \2/p' \
  -e 's/.*unlink(at)?\(.*"[^"]*\/([^/"]+)".* = 0$/delete \2/p' "$work/trace")"
expected="rename Castrovelde_Ardis_linea.txt
rename Castrovelde_Ardis_R31708-.txt
sync Castrovelde_Ardis_R31708_note.txt
rename Castrovelde_Ardis_R31708_note.txt
sync Castrovelde_Ardis_R31708_rallentamenti.txt
rename Castrovelde_Ardis_R31708_rallentamenti.txt
sync Castrovelde_Ardis_R31708_scheda_treno.txt
rename Castrovelde_Ardis_R31708_scheda_treno.txt
delete Castrovelde_Ardis_linea.txt
delete Castrovelde_Ardis_R31708-.txt
sync Castrovelde_Ardis_linea.dat
rename Castrovelde_Ardis_linea.dat
sync Castrovelde_Ardis_R31708.sim
rename Castrovelde_Ardis_R31708.sim
sync Castrovelde_Ardis_R31708.dat
rename Castrovelde_Ardis_R31708.dat"
[ "$events" = "$expected" ] || fail "the run's file events differ:
$(diff <(echo "$expected") <(echo "$events") || true)
(trace: $(cat "$work/trace"))"
echo "ok: six files synced before their rename, two source texts renamed without a sync, order kept"
