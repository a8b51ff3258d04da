#!/usr/bin/env bash
# Installs every Debian package that the build, the game and the tests need.
# Quick when everything is present: apt-get runs only for missing packages.
set -euo pipefail

packages=(
  # build
  build-essential cmake pkg-config
  # window, GL and extension loading
  freeglut3-dev libglew-dev libglu1-mesa-dev libgl1-mesa-dev libgl1-mesa-dri
  libx11-dev libxrandr-dev
  # images
  libpng-dev libjpeg62-turbo-dev
  # script interpreter
  liblua5.1-0-dev
  # sound
  libopenal-dev libalut-dev
  # tests and benchmarks
  libgtest-dev libbenchmark-dev
  # data generation (font rendering)
  libfreetype-dev fonts-dejavu-core
  # headless runs and end-to-end tests
  xvfb xauth xdotool imagemagick x11-utils
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
