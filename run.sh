#!/usr/bin/env bash
# Installs what is missing, checks the display, builds the release build,
# prepares the game's working folder (build/game) and starts the game in it.
#   ./run.sh [--fullscreen]
set -euo pipefail
cd "$(dirname "$0")"

no_display() {
  echo "No X display could be opened${DISPLAY:+ (DISPLAY=$DISPLAY)}: the game needs one."
  echo "To run it headless, start it as:"
  echo "  VIVERI_NO_MESSAGE_BOX=1 xvfb-run -a -s \"-screen 0 1280x1024x24\" ./run.sh${*:+ $*}"
  exit 1
}

# Before minutes of building: without a display the game cannot start.
if [ -z "${DISPLAY:-}" ]; then
  no_display "$@"
fi

./scripts/install-deps.sh

if ! xdpyinfo >/dev/null 2>&1; then
  no_display "$@"
fi

build=build
configure_log=$(mktemp)
trap 'rm -f "$configure_log"' EXIT
if ! cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release >"$configure_log" 2>&1; then
  cat "$configure_log" >&2
  echo "Configuring the build failed (output above)." >&2
  exit 1
fi
# Building also generates the default game data into build/game; the data
# generator never replaces a world or a save-game that a user made there.
cmake --build "$build" -j"$(nproc)"

cd "$build/game"
exec ../cubeworld "$@"
