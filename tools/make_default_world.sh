#!/bin/sh
# Runs generate_default_world when the game folder has no "world.dat" yet:
#   make_default_world.sh <generate_default_world> <game folder>
# The world code needs an X display; a private virtual one is used when
# xvfb-run is there, so no window shows on the user's screen.
set -e
tool="$1"
game="$2"
[ -e "$game/world.dat" ] && exit 0
# Batch run: no warning box, and the sanitizers of the test build do not
# report the window system's own leaks as a failure of the build.
export VIVERI_NO_MESSAGE_BOX=1
export ASAN_OPTIONS="detect_leaks=0"
if command -v xvfb-run >/dev/null 2>&1; then
  exec xvfb-run -a -s "-screen 0 640x480x24 -nolisten tcp" "$tool" "$game"
fi
if [ -n "${DISPLAY:-}" ]; then
  exec "$tool" "$game"
fi
echo "make_default_world: no X server to make $game/world.dat (install xvfb)" >&2
exit 1
