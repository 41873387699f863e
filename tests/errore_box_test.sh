#!/usr/bin/env bash
# errore under X: a box titled with the program's title, drawn with its text,
# waits for the user; Return or Escape closes it and the process ends with
# status 1, writing nothing to stderr.
set -euo pipefail
. "$(dirname "$0")/shell_support.sh"
build="$2"
probe="$build/tests/errore_probe"
require_gui_build "$build"
[ -x "$probe" ] || fail "$probe is not built"
require_commands Xvfb xdotool xwininfo import convert

work="$(mktemp -d)"
probe_pid=
cleanup() {
  [ -n "$probe_pid" ] && kill "$probe_pid" 2>/dev/null
  stop_xvfb
  rm -rf "$work"
}
trap cleanup EXIT
start_xvfb "$work"

for key in Return Escape; do
  "$probe" 1251 >"$work/stdout" 2>"$work/stderr" &
  probe_pid=$!
  id="$(wait_for_window scenario_gen 10)"

  # The box stays until the user answers.
  sleep 1
  kill -0 "$probe_pid" 2>/dev/null || fail "$key: the process ended before the box was answered"
  import -window root "$work/box.png"
  x="$(window_value "$id" "Absolute upper-left X")"
  y="$(window_value "$id" "Absolute upper-left Y")"
  w="$(window_value "$id" Width)"
  h="$(window_value "$id" Height)"
  dark="$(dark_pixels "$work/box.png" "${w}x$((h - 45))+${x}+${y}")"
  [ "$dark" -gt 50 ] || fail "$key: no text drawn in the box ($dark dark pixels)"

  xdotool windowfocus --sync "$id" 2>/dev/null || true
  xdotool key "$key"
  wait_for_exit "$probe_pid" 10
  probe_pid=
  [ "$EXIT_STATUS" = 1 ] || fail "$key: exit status $EXIT_STATUS, expected 1"
  [ ! -s "$work/stderr" ] || fail "$key: the box went to stderr: $(cat "$work/stderr")"
  echo "ok: $key closes the ${w}x${h} box, exit status 1"
done
