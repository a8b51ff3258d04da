// The run function owns the one Game, on its stack, for the whole run.
#include "Run.h"

#include "FatalReport.h"
#include "Game.h"

bool isFullscreenRequested(const std::vector<std::string> &arguments) {
  return arguments.size() >= 2 && arguments[1] == "--fullscreen";
}

int run(const std::vector<std::string> &arguments) {
  installOutOfMemoryReport();
  // The program path is handed to the window system and the audio library.
  ASSERT(!arguments.empty());
  Game game(arguments[0], isFullscreenRequested(arguments));
  while (game.isRunning)
    game.frame();
  return 0;
}
