#!/usr/bin/env bash
# Links planted where temporary files might go (the fixed "<name>.partial" of
# earlier versions and a few guessed names), pointing at a file outside the
# folder: the generator and the tool's compile -o must write their own files
# correctly and leave every link and the file it points at as they were.
# Arguments: the scenario_gen binary, the build directory.
set -euo pipefail
. "$(dirname "$0")/shell_support.sh"
gen="$1"
tool="$2/tools/scenario_tool"
fixtures="$(cd "$(dirname "$0")" && pwd)/fixtures/tool"
require_commands sha256sum

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir "$work/prog" "$work/outside" "$work/cwd"
cp "$gen" "$work/prog/scenario_gen"
bait="$work/outside/precious.txt"
printf 'the user'"'"'s own file\n' >"$bait"
bait_sum="$(sha256sum <"$bait")"

# The names a writer might use for a temporary file beside NAME.
guessed_names() {
  local f="$1"
  printf '%s\n' "$f.partial" "$f.tmp" "$f~" ".$f.swp" "$f.partial.tmp" "$f.000000000000.partial" \
    "$f.aaaaaaaaaaaa.partial"
}

# Plants a link to the bait at every guessed name of each file in folder $1.
plant_links() {
  local dir="$1" f name
  shift
  for f in "$@"; do
    while read -r name; do ln -s "$bait" "$dir/$name"; done < <(guessed_names "$f")
  done
}

# Every planted link is still a link to the bait, and the bait is unchanged.
check_links() {
  local dir="$1" f name
  shift
  for f in "$@"; do
    while read -r name; do
      [ -L "$dir/$name" ] || fail "$dir/$name is no longer a link"
      [ "$(readlink "$dir/$name")" = "$bait" ] || fail "$dir/$name points elsewhere"
    done < <(guessed_names "$f")
  done
  [ "$(sha256sum <"$bait")" = "$bait_sum" ] || fail "the file outside the folder changed: $(head -c 200 "$bait")"
}

# What is left in folder $1 besides the planted links (sorted).
unplanted() {
  find "$1" -mindepth 1 -maxdepth 1 ! -type l -printf '%f\n' | sort
}

outputs=(Castrovelde_Ardis_linea.dat Castrovelde_Ardis_R31708.sim Castrovelde_Ardis_R31708.dat
         Castrovelde_Ardis_R31708_scheda_treno.txt Castrovelde_Ardis_R31708_rallentamenti.txt
         Castrovelde_Ardis_R31708_note.txt)
sources=(Castrovelde_Ardis_linea.txt Castrovelde_Ardis_R31708-.txt)
expected_sums="ba502f6349df1add24f97ca255713a2711cada0d6ea1a65d9e208927c8d42308  Castrovelde_Ardis_R31708.dat
a2b74ee8bb7e74b099475db336c98e3b9e496f470cb2b5de188db331247d709e  Castrovelde_Ardis_R31708.sim
fea7f01e68e778694cdf9a1a05bcacd1b274660959d7b33d4e104a7dcb24d595  Castrovelde_Ardis_R31708_note.txt
05ff465fc25327caaaa7a753b5bee9a32fe66f962f25d35941f7a2402627828d  Castrovelde_Ardis_R31708_rallentamenti.txt
2904c2d3e67d624457da5c8fde9db38f3e7bbf499a7dd56b11db5a0a543ec221  Castrovelde_Ardis_R31708_scheda_treno.txt
b575796c058ef9dead728848ea2baf28dfde57c116a0c3eb1c2d809eb807611d  Castrovelde_Ardis_linea.dat"

# The generator, twice: once into an empty folder, once over its own files.
plant_links "$work/prog" "${outputs[@]}" "${sources[@]}"
for run in first second; do
  rc=0
  (cd "$work/cwd" && env -u DISPLAY "$work/prog/scenario_gen") >/dev/null 2>"$work/stderr" || rc=$?
  [ "$rc" -eq 0 ] || { cat "$work/stderr" >&2; fail "the $run run ended with status $rc"; }
  check_links "$work/prog" "${outputs[@]}" "${sources[@]}"
  actual_sums="$(cd "$work/prog" && sha256sum "${outputs[@]}" | sort -k2)"
  [ "$actual_sums" = "$expected_sums" ] || fail "the $run run's files differ:
$actual_sums"
  [ "$(unplanted "$work/prog")" = "$(printf '%s\n' scenario_gen "${outputs[@]}" | sort)" ] ||
    fail "after the $run run the folder holds: $(unplanted "$work/prog")"
done
echo "ok: generator, ${#outputs[@]} files correct, $(find "$work/prog" -type l | wc -l) planted links untouched"

[ -x "$tool" ] || skip "scenario_tool is not built in $2 (the generator part passed)"
binaries=(Prova_linea.dat Prova_T1.sim Prova_T1.dat)
mkdir "$work/reference" "$work/out"
"$tool" compile -o "$work/reference" "$fixtures/ok" >/dev/null 2>&1 || fail "compile into a clean folder failed"
plant_links "$work/out" "${binaries[@]}"
for run in first second; do
  "$tool" compile -o "$work/out" "$fixtures/ok" >/dev/null 2>"$work/stderr" ||
    { cat "$work/stderr" >&2; fail "compile -o, $run run, failed"; }
  check_links "$work/out" "${binaries[@]}"
  for f in "${binaries[@]}"; do
    cmp -s "$work/reference/$f" "$work/out/$f" || fail "compile -o wrote a different $f"
  done
  [ "$(unplanted "$work/out")" = "$(printf '%s\n' "${binaries[@]}" | sort)" ] ||
    fail "after compile -o the folder holds: $(unplanted "$work/out")"
done
echo "ok: compile -o, ${#binaries[@]} files correct, $(find "$work/out" -type l | wc -l) planted links untouched"
