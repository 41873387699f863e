# Helpers shared by the shell tests: skipping, a private Xvfb, and pixel counts.
# Sourced; the tests call them with `set -euo pipefail` in force.

# Exit status that ctest reports as "skipped".
SKIPPED=77

skip() {
  echo "SKIPPED: $*" >&2
  exit "$SKIPPED"
}

fail() {
  echo "FAILED: $*" >&2
  exit 1
}

# Skips unless every named command is installed.
require_commands() {
  local c
  for c in "$@"; do
    command -v "$c" >/dev/null 2>&1 || skip "$c is not installed"
  done
}

# Skips when the build under test has no FLTK window (SCENARIO_GUI=OFF).
require_gui_build() {
  local cache="$1/CMakeCache.txt"
  [ -f "$cache" ] || fail "no CMakeCache.txt in $1"
  grep -q '^SCENARIO_GUI:BOOL=ON$' "$cache" || skip "this build has no FLTK window (SCENARIO_GUI=OFF)"
}

# Starts a private Xvfb (1024x768, 24 bit) on a free display number and
# exports DISPLAY. -displayfd lets the server pick the number itself, so tests
# that run at the same time never race for one. Sets XVFB_PID.
start_xvfb() {
  local work="$1"
  require_commands Xvfb
  : >"$work/xvfb.display"
  Xvfb -displayfd 9 -screen 0 1024x768x24 -nolisten tcp 9>"$work/xvfb.display" 2>"$work/xvfb.log" &
  XVFB_PID=$!
  local i
  for i in $(seq 1 100); do
    if [ -s "$work/xvfb.display" ]; then
      export DISPLAY=":$(tr -d '[:space:]' <"$work/xvfb.display")"
      return 0
    fi
    kill -0 "$XVFB_PID" 2>/dev/null || break
    sleep 0.1
  done
  cat "$work/xvfb.log" >&2 || true
  skip "Xvfb could not be started"
}

stop_xvfb() {
  if [ -n "${XVFB_PID:-}" ]; then
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
    XVFB_PID=
  fi
}

# Waits up to $2 seconds for a top-level window titled exactly $1 and prints its id.
wait_for_window() {
  local id
  id="$(timeout "$2" xdotool search --sync --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1)" || true
  [ -n "$id" ] || fail "no window titled '$1' appeared within $2 s"
  echo "$id"
}

# One geometry value of a window ("Width", "Height", "Absolute upper-left X", ...).
window_value() {
  xwininfo -id "$1" | sed -n "s/^ *$2: *\([-0-9]*\).*/\1/p"
}

# Number of dark pixels (grey level below one half) in an image or a region
# of it given as WxH+X+Y.
dark_pixels() {
  local image="$1" region="${2:-}"
  local args=("$image")
  [ -n "$region" ] && args+=(-crop "$region" +repage)
  convert "${args[@]}" -colorspace Gray -threshold 50% -negate -format '%[fx:round(mean*w*h)]' info:
}

# Waits up to $2 seconds for child process $1 to end and sets EXIT_STATUS to
# its exit status, or to "running" if it is still there. (Not to be called in
# a command substitution: only the shell that started the child can wait for it.)
wait_for_exit() {
  local pid="$1" i
  EXIT_STATUS=running
  for i in $(seq 1 $(($2 * 10))); do
    if ! kill -0 "$pid" 2>/dev/null; then
      EXIT_STATUS=0
      wait "$pid" || EXIT_STATUS=$?
      return 0
    fi
    sleep 0.1
  done
}
