#!/usr/bin/env bash
# A run in a directory the program may not write: one message naming the first
# file and the reason, exit status 2, no file created or changed.
set -euo pipefail
. "$(dirname "$0")/shell_support.sh"
gen="$1"

work="$(mktemp -d)"
trap 'chmod -R u+w "$work" 2>/dev/null; rm -rf "$work"' EXIT
chmod 0755 "$work"
prog="$work/prog"
mkdir "$prog"
cp "$gen" "$prog/scenario_gen"
chmod 0755 "$prog/scenario_gen"
printf 'older notes\r\n' >"$prog/Castrovelde_Ardis_R31708_note.txt"
chmod 0444 "$prog/Castrovelde_Ardis_R31708_note.txt"
chmod 0555 "$prog"

# Permissions do not stop root, so as root the program runs as "nobody".
runner=()
if [ "$(id -u)" -eq 0 ]; then
  if command -v setpriv >/dev/null && setpriv --reuid=65534 --regid=65534 --clear-groups true 2>/dev/null; then
    runner=(setpriv --reuid=65534 --regid=65534 --clear-groups)
  elif command -v runuser >/dev/null && runuser -u nobody -- true 2>/dev/null; then
    runner=(runuser -u nobody --)
  else
    skip "running as root and cannot switch to an unprivileged user"
  fi
fi
"${runner[@]}" touch "$prog/probe" 2>/dev/null && skip "the directory is writable even after chmod 0555"

snapshot() { (cd "$prog" && ls -lA --time-style=full-iso && sha256sum -- *); }
before="$(snapshot)"

rc=0
(cd "$work" && env -u DISPLAY "${runner[@]}" "$prog/scenario_gen") >"$work/stdout" 2>"$work/stderr" || rc=$?

[ "$rc" -eq 2 ] || { cat "$work/stderr" >&2; fail "exit status $rc, expected 2"; }
messages="$(grep -v '^Attendere$' "$work/stderr" || true)"
[ "$(printf '%s\n' "$messages" | grep -c .)" -eq 1 ] || fail "expected one message, got:
$messages"
case "$messages" in
  *"$prog/Castrovelde_Ardis_linea.txt"*"Permission denied"*) ;;
  *) fail "the message should name the first file and the reason: $messages" ;;
esac
[ "$(snapshot)" = "$before" ] || fail "the directory changed:
$(snapshot)"
echo "ok: $messages"
