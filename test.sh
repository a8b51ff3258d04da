#!/usr/bin/env bash
# Installs what is missing, builds the test build (warnings as errors, address
# and undefined-behaviour sanitizers) and runs every test headless under its
# own X server. Exits 0 only when all tests pass.
set -euo pipefail
cd "$(dirname "$0")"

./scripts/install-deps.sh

build=build-test
configure_log=$(mktemp)
trap 'rm -f "$configure_log"' EXIT
if ! cmake -S . -B "$build" -DCUBEWORLD_TEST_BUILD=ON -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" >"$configure_log" 2>&1; then
  cat "$configure_log" >&2
  echo "Configuring the test build failed (output above)." >&2
  exit 1
fi
cmake --build "$build" -j"$(nproc)"

# Depth 24 is needed for GLX and multisampling. A test program that fails is
# run once more before it counts as failed: now and then (about one start in
# two hundred on a loaded machine) a program cannot open the shared X display
# at all; the first failure's output is still printed.
xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" \
  ctest --test-dir "$build" --output-on-failure --timeout 300 --repeat until-pass:2 \
  -j"$(nproc)" "$@"
