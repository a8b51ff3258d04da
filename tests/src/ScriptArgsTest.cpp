// The script's two integer conversions over the awkward values, and the
// handle table.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "ScriptArgs.h"

namespace {

struct ConversionCase {
  double value;
  int32_t trunc;
  int32_t nearest;
};

const double nan = std::numeric_limits<double>::quiet_NaN();
const double inf = std::numeric_limits<double>::infinity();

const ConversionCase conversionCases[] = {
    {2.5, 2, 2},
    {3.5, 3, 4},
    {-2.5, -2, -2},
    {254.6, 254, 255},
    {-3.7, -3, -4},
    {0.4, 0, 0},
    {-0.5, 0, 0},
    {2147483647.0, INT32_MAX, INT32_MAX},
    {2147483648.0, INT32_MAX, INT32_MAX},
    {4294967301.0, INT32_MAX, INT32_MAX},
    {-2147483648.0, INT32_MIN, INT32_MIN},
    {-2147483649.5, INT32_MIN, INT32_MIN},
    {inf, INT32_MAX, INT32_MAX},
    {-inf, INT32_MIN, INT32_MIN},
    {nan, 0, 0},
};

TEST(ScriptArgsTest, TruncAndNearestAreDefinedForEveryNumber) {
  for (const ConversionCase &c : conversionCases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(truncToInt32(c.value), c.trunc);
    EXPECT_EQ(nearestToInt32(c.value), c.nearest);
  }
}

TEST(ScriptArgsTest, HandlesAreKnownOnlyWithTheirKindUntilRemoved) {
  int model = 0, sprite = 0;
  addHandle(&model, HANDLE_MODEL);
  addHandle(&sprite, HANDLE_SPRITE);
  EXPECT_TRUE(isHandleOf(&model, HANDLE_MODEL));
  EXPECT_FALSE(isHandleOf(&model, HANDLE_SPRITE));
  EXPECT_FALSE(isHandleOf(&model, HANDLE_SOUND));
  EXPECT_TRUE(isHandleOf(&sprite, HANDLE_SPRITE));
  removeHandle(&model, HANDLE_MODEL);
  EXPECT_FALSE(isHandleOf(&model, HANDLE_MODEL));
  EXPECT_EXIT(checkHandle(&model, HANDLE_MODEL), testing::ExitedWithCode(1),
              "Condition: isHandleOf\\(handle, kind\\)\nMessage: the script handed over a handle");
  removeHandle(&sprite, HANDLE_SPRITE);
}

}  // namespace
