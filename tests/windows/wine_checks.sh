#!/usr/bin/env bash
# Runs the Windows programs under wine inside a virtual X display: the
# platform layer, the generator's files against the Linux build's, errore's
# message box and exit status, and the wait window's geometry, font and pixels.
# Usage: wine_checks.sh BUILD_DIR LINUX_SCENARIO_GEN (with DISPLAY set).
set -uo pipefail
build=$(cd "$1" && pwd)
linux_gen=$2
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
export WINEPREFIX=$work/prefix WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
cleanup() {
  wineserver -k >/dev/null 2>&1
  rm -rf "$work"
}
trap cleanup EXIT
. "$here/wine_steps.sh"

outputs=(Castrovelde_Ardis_linea.dat Castrovelde_Ardis_R31708.sim Castrovelde_Ardis_R31708.dat
  Castrovelde_Ardis_R31708_scheda_treno.txt Castrovelde_Ardis_R31708_rallentamenti.txt
  Castrovelde_Ardis_R31708_note.txt)

boot_started=$SECONDS
if ! timeout 300 wineboot --init >"$work/wineboot.log" 2>&1; then
  echo "SKIPPED: wine cannot start on this machine (wineboot --init failed):"
  tail -5 "$work/wineboot.log"
  exit 0
fi
timeout 120 wineserver -w
echo "wine prefix ready in $((SECONDS - boot_started)) s"

passed=0
failed=0
for check in check_platform_layer check_generator_output check_planted_links check_errore_box check_wait_window; do
  echo "-- $check"
  if "$check"; then
    echo "PASS: $check"
    passed=$((passed + 1))
  else
    echo "FAIL: $check"
    failed=$((failed + 1))
  fi
done
echo "wine checks: $passed of $((passed + failed)) passed"
[ "$failed" -eq 0 ]
