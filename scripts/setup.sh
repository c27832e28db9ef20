#!/usr/bin/env bash
# Installs the Debian packages the build, the tests, `make run` and `make
# package` need (the install test validates the desktop files), when
# they are missing. Uses sudo only when not already root.
set -euo pipefail

PACKAGES=(
  qt6-base-dev libqt6svg6 cmake ninja-build g++ make pkg-config
  libgtest-dev libgmock-dev
  fonts-liberation
  xvfb xauth xdotool imagemagick poppler-utils
  desktop-file-utils appstream dpkg-dev file
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  SUDO="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
