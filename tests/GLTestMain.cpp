// Test entry point of the programs whose tests share one GL context. Death
// tests run in the "threadsafe" style: a fork of a process holding a GL
// context hangs in the software renderer.
#include "GLTestEnvironment.h"

#include <gtest/gtest.h>

int main(int argc, char **argv) {
  testing::InitGoogleTest(&argc, argv);
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  testing::AddGlobalTestEnvironment(new GLTestEnvironment());
  return RUN_ALL_TESTS();
}
