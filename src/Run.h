// The top of the program: from the list of command-line arguments to the
// game's frame loop and back to the process exit status.
#pragma once

#include <string>
#include <vector>

// Full screen is chosen by a second argument that is exactly "--fullscreen".
bool isFullscreenRequested(const std::vector<std::string> &arguments);

// Builds the one Game from the arguments (the first is the program path),
// runs its frames while it is running, destroys it and returns 0.
int run(const std::vector<std::string> &arguments);
