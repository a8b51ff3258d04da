// Test entry point shared by the unit test programs: death tests run in the
// "threadsafe" style, since a fork of a process holding a GL context hangs in
// the software renderer.
#include <gtest/gtest.h>

int main(int argc, char **argv) {
  testing::InitGoogleTest(&argc, argv);
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  return RUN_ALL_TESTS();
}
