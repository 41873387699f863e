# Debian packages the project needs, and a helper that installs missing ones.
# Sourced by run.sh, test.sh and bench.sh.

RUN_PACKAGES="cmake make g++ libfltk1.3-dev"
TEST_PACKAGES="libgtest-dev libgmock-dev xvfb xauth xdotool x11-utils imagemagick"

ensure_packages() {
  local missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages. Run as root:" >&2
    echo "  apt-get update && apt-get install -y ${missing[*]}" >&2
    exit 1
  fi
  echo "Installing: ${missing[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
}
