// The start option: only a second argument of exactly "--fullscreen" counts.
#include <gtest/gtest.h>

#include "Run.h"

namespace {

struct ArgumentCase {
  std::vector<std::string> arguments;
  bool isFullscreen;
};

TEST(RunTest, FullscreenOnlyForExactSecondArgument) {
  const ArgumentCase cases[] = {
      {{"cubeworld", "--fullscreen"}, true},
      {{"cubeworld", "--fullscreen", "extra"}, true},
      {{"cubeworld", "--FULLSCREEN"}, false},
      {{"cubeworld", "x", "--fullscreen"}, false},
      {{"cubeworld"}, false},
      {{"cubeworld", "--fullscreen "}, false},
      {{"cubeworld", "-fullscreen"}, false},
      {{"cubeworld", ""}, false},
  };
  for (const ArgumentCase &c : cases) {
    std::string shown;
    for (const std::string &a : c.arguments)
      shown += "[" + a + "]";
    EXPECT_EQ(isFullscreenRequested(c.arguments), c.isFullscreen) << shown;
  }
}

}  // namespace
