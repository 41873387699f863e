#!/usr/bin/env bash
# The authors' tool's plot of the built-in scenario: well-formed SVG, and a
# picture that a headless browser renders to something that is not blank.
# Arguments: the scenario_gen binary, the build directory.
set -euo pipefail
gen="$1"
tool="$2/tools/scenario_tool"

skip() { echo "SKIPPED: $*" >&2; exit 77; }
fail() { echo "FAILED: $*" >&2; exit 1; }

[ -x "$tool" ] || skip "scenario_tool is not built in $2"
command -v xmllint >/dev/null 2>&1 || skip "xmllint is not installed (package libxml2-utils)"
command -v convert >/dev/null 2>&1 || skip "convert is not installed (package imagemagick)"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cp "$gen" "$work/scenario_gen"
(cd "$work" && ./scenario_gen >/dev/null 2>&1) || fail "the generator did not run"

"$tool" plot -o "$work/plot.svg" "$work" >/dev/null || fail "plot failed"
xmllint --noout "$work/plot.svg" || fail "the SVG is not well-formed"

browser="$(command -v chromium || command -v chromium-browser || true)"
[ -n "$browser" ] || skip "chromium is not installed"
if ! timeout 180 "$browser" --headless --no-sandbox --disable-gpu --disable-background-networking \
    --disable-component-update --disable-sync --no-first-run --user-data-dir="$work/profile" \
    --screenshot="$work/plot.png" --window-size=1200,900 "file://$work/plot.svg" >"$work/browser.log" 2>&1; then
  skip "chromium cannot run here: $(tail -n 1 "$work/browser.log")"
fi
[ -s "$work/plot.png" ] || skip "chromium wrote no screenshot: $(tail -n 1 "$work/browser.log")"

size="$(convert "$work/plot.png" -format '%wx%h' info:)"
[ "$size" = "1200x900" ] || fail "the screenshot is $size, not 1200x900"
colours="$(convert "$work/plot.png" -format '%k' info:)"
deviation="$(convert "$work/plot.png" -colorspace Gray -format '%[fx:standard_deviation]' info:)"
echo "screenshot: $colours colours, grey standard deviation $deviation"
[ "$colours" -ge 50 ] || fail "only $colours colours: the picture is blank or nearly so"
awk -v d="$deviation" 'BEGIN { exit !(d > 0.05) }' || fail "grey standard deviation $deviation: the picture is blank"
