#!/usr/bin/env bash
# A full filesystem: the program runs from a small tmpfs of its own. Whether
# the space runs out in the line plan (the texts fit, the plan does not) or at
# the first text file, the run ends with one message naming the file and the
# reason and exit status 2; the older binary files stay whole and no temporary
# file is left behind. Needs the right to mount (root); skips otherwise.
set -euo pipefail
. "$(dirname "$0")/shell_support.sh"
gen="$1"

work="$(mktemp -d)"
mnt="$work/prog"
mkdir "$mnt"
cleanup() {
  mountpoint -q "$mnt" && umount "$mnt"
  rm -rf "$work"
}
trap cleanup EXIT

binaries=(Castrovelde_Ardis_linea.dat Castrovelde_Ardis_R31708.sim Castrovelde_Ardis_R31708.dat)

# Mounts a fresh tmpfs with room for the program and `free_kib` KiB more,
# copies the program in and puts small older binary files beside it.
prepare() {
  local free_kib="$1"
  mountpoint -q "$mnt" && umount "$mnt"
  local prog_kib=$(( ($(stat -c %s "$gen") + 4095) / 4096 * 4 ))
  mount -t tmpfs -o size=$((prog_kib + free_kib))k tmpfs "$mnt" 2>"$work/mount.err" ||
    skip "cannot mount a tmpfs here: $(cat "$work/mount.err")"
  cp "$gen" "$mnt/scenario_gen"
  local f
  for f in "${binaries[@]}"; do printf 'older %s\r\n' "$f" >"$mnt/$f"; done
}

# Fills what is left of the filesystem.
fill_up() {
  dd if=/dev/zero of="$mnt/filler" bs=4096 2>/dev/null || true
  [ "$(df --output=avail -k "$mnt" | tail -n 1 | tr -d ' ')" -eq 0 ] || fail "the filesystem is not full"
}

# Runs the program and checks the outcome; $1 is the file the message must name.
run_and_check() {
  local named="$1" rc=0
  (cd "$work" && env -u DISPLAY "$mnt/scenario_gen") >"$work/stdout" 2>"$work/stderr" || rc=$?
  [ "$rc" -eq 2 ] || { cat "$work/stderr" >&2; fail "exit status $rc, expected 2"; }
  local messages
  messages="$(grep -v '^Attendere$' "$work/stderr" || true)"
  [ "$(printf '%s\n' "$messages" | grep -c .)" -eq 1 ] || fail "expected one message, got:
$messages"
  case "$messages" in
    *"$mnt/$named: No space left on device"*) ;;
    *) fail "the message should name $named and the reason: $messages" ;;
  esac
  local f
  for f in "${binaries[@]}"; do
    [ "$(cat "$mnt/$f")" = "$(printf 'older %s\r\n' "$f")" ] || fail "$f was not kept whole"
  done
  local partials
  partials="$(ls -A "$mnt" | grep '\.partial$' || true)"
  [ -z "$partials" ] || fail "temporary files left behind: $partials"
  echo "ok: $messages"
}

# Room for the five texts (about 16 KiB) but not for the 2 MB line plan: the
# plan's write fails part of the way through.
prepare 64
run_and_check Castrovelde_Ardis_linea.dat
for f in Castrovelde_Ardis_R31708_note.txt Castrovelde_Ardis_R31708_rallentamenti.txt \
         Castrovelde_Ardis_R31708_scheda_treno.txt; do
  [ -s "$mnt/$f" ] || fail "$f, written before the plan, is missing"
done

# No room at all: the first text file cannot be written.
prepare 64
fill_up
run_and_check Castrovelde_Ardis_linea.txt
