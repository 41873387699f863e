#!/usr/bin/env bash
# The wait window under X: a 280 x 179 client area, and "Attendere" drawn
# inside Label1's rectangle (64, 64, 177 x 53) and nowhere else. The
# screenshot is kept in the build directory as wait_window.png.
set -euo pipefail
. "$(dirname "$0")/shell_support.sh"
build="$2"
probe="$build/tests/wait_window_probe"
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

"$probe" 6 >"$work/stdout" 2>"$work/stderr" &
probe_pid=$!
for _ in $(seq 1 100); do
  grep -q '^shown$' "$work/stdout" && break
  sleep 0.1
done
grep -q '^shown$' "$work/stdout" || fail "the probe never reported the window shown"
[ ! -s "$work/stderr" ] || fail "the window went to stderr: $(cat "$work/stderr")"

id="$(wait_for_window scenario_gen 5)"
w="$(window_value "$id" Width)"
h="$(window_value "$id" Height)"
x="$(window_value "$id" "Absolute upper-left X")"
y="$(window_value "$id" "Absolute upper-left Y")"
[ "$w" = 280 ] && [ "$h" = 179 ] || fail "client area is ${w}x${h}, expected 280x179"

# show() returns only once the window has been drawn, and the probe handles no
# events afterwards, just as the generator during its long work.
import -window root "$work/screen.png"
convert "$work/screen.png" -crop "280x179+${x}+${y}" +repage "$work/client.png"
cp "$work/client.png" "$build/wait_window.png"

inside="$(dark_pixels "$work/client.png" 177x53+64+64)"
total="$(dark_pixels "$work/client.png")"
outside=$((total - inside))
[ "$inside" -gt 300 ] || fail "too little text inside the label: $inside dark pixels"
[ "$outside" -eq 0 ] || fail "$outside dark pixels outside the label"

wait_for_exit "$probe_pid" 15
probe_pid=
[ "$EXIT_STATUS" = 0 ] || fail "the probe ended with status $EXIT_STATUS"
echo "ok: 280x179 at ${x},${y}; $inside dark pixels inside the label, none outside"
