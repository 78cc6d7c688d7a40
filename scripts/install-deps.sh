#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the screenshots need, and any further
# packages named as arguments (the lint and fuzz scripts' tools). Idempotent: does nothing
# when everything is there already.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-serialport-dev qt6-tools-dev qt6-l10n-tools libgl-dev
  libqt6svg6
  libgtest-dev
  xvfb xauth imagemagick poppler-utils
  ser2net
  "$@"
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
