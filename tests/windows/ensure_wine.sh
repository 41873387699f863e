#!/usr/bin/env bash
# Installs the 64-bit wine (no 32-bit architecture, no recommended extras)
# when it is missing; fails when it cannot be installed.
set -uo pipefail
if command -v wine >/dev/null && [ -x /usr/lib/wine/wine64 ] && [ -d /usr/share/wine/fonts ]; then
  exit 0
fi
if [ "$(id -u)" -ne 0 ]; then
  echo "wine is missing and this user cannot install it (apt-get install wine wine64 fonts-wine)" >&2
  exit 1
fi
echo "Installing: wine wine64 fonts-wine"
apt-get update -qq || exit 1
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends wine wine64 fonts-wine >/dev/null
