// Entry point. On this platform the arguments already arrive as narrow bytes,
// exactly as the shell passed them; they go unchanged to the run function.
#include "Run.h"

#include <string>
#include <vector>

int main(int argc, char **argv) {
  std::vector<std::string> arguments(argv, argv + argc);
  return run(arguments);
}
