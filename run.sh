#!/usr/bin/env bash
# Installs what is missing, builds the release build, prepares the game's
# working folder (build/game) and starts the game in it.
#   ./run.sh [--fullscreen]
set -euo pipefail
cd "$(dirname "$0")"

./scripts/install-deps.sh

build=build
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
# Building also generates the default game data into build/game; the data
# generator never replaces a world or a save-game that a user made there.
cmake --build "$build" -j"$(nproc)"

if [ -z "${DISPLAY:-}" ]; then
  echo "No X display: the game needs one. To run it headless, start it as:"
  echo "  xvfb-run -a -s \"-screen 0 1280x1024x24\" ./run.sh $*"
  exit 1
fi

cd "$build/game"
exec ../cubeworld "$@"
