# Debian packages the project needs, and a helper that installs missing ones.
# Sourced by run.sh, test.sh and bench.sh.

# fonts-liberation: a sans-serif face with Helvetica's widths for the wait window;
# nlohmann-json3-dev: the JSON of the authors' tool's language server.
RUN_PACKAGES="cmake make g++ libfltk1.3-dev fonts-liberation nlohmann-json3-dev"
# xvfb, xdotool, x11-utils (xwininfo), imagemagick (import, convert): the GUI
# tests; util-linux (setpriv): the unwritable-directory test when run as root;
# strace: the test of the run's write, sync, rename and delete sequence;
# neovim, emacs-nox and elpa-eglot: the editors that drive the language server in its tests.
TEST_PACKAGES="libgtest-dev libgmock-dev xvfb xauth xdotool x11-utils imagemagick util-linux strace neovim emacs-nox elpa-eglot"
# xmllint and a headless browser: the authors' tool's plot tests; a JSON
# reader for the tests of its SARIF output.
TOOL_TEST_PACKAGES="libxml2-utils chromium nlohmann-json3-dev"
# clang 14 with its libFuzzer runtime: the fuzz stage.
FUZZ_PACKAGES="cmake make clang libclang-rt-14-dev nlohmann-json3-dev"
# Google Benchmark, GNU time (peak memory) and python3 (medians): scripts/bench.sh.
BENCH_PACKAGES="cmake make g++ libbenchmark-dev time python3 nlohmann-json3-dev"

ensure_packages() {
  local missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages. Install them as root with:" >&2
    echo "  apt-get install -y ${missing[*]}" >&2
    exit 1
  fi
  echo "Installing: ${missing[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
}
