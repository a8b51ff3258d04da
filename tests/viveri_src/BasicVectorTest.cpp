// Vector comparisons are containment tests; length, normalise, spherical
// conversion and the stream format are exact.
#include "BasicVector.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

namespace {

struct ComparisonCase {
  Int3 a, b;
  bool eq, ne, lt, le, gt, ge;
};

const ComparisonCase comparisonCases[] = {
    {Int3(1, 5, 2), Int3(3, 3, 3), false, true, false, false, false, false},
    {Int3(0, 0, 0), Int3(0, 0, 0), true, false, false, true, false, true},
    {Int3(0, 0, 0), Int3(1, 1, 1), false, true, true, true, false, false},
    {Int3(2, 2, 2), Int3(1, 1, 1), false, true, false, false, true, true},
    {Int3(1, 1, 2), Int3(1, 1, 1), false, true, false, false, false, true},
    {Int3(-1, 0, 31), Int3(0, 0, 32), false, true, false, true, false, false},
};

TEST(BasicVectorTest, ComparisonsAreComponentwise) {
  for (const ComparisonCase &c : comparisonCases) {
    SCOPED_TRACE(testing::Message() << c.a << " vs " << c.b);
    EXPECT_EQ(c.a == c.b, c.eq);
    EXPECT_EQ(c.a != c.b, c.ne);
    EXPECT_EQ(c.a < c.b, c.lt);
    EXPECT_EQ(c.a <= c.b, c.le);
    EXPECT_EQ(c.a > c.b, c.gt);
    EXPECT_EQ(c.a >= c.b, c.ge);
  }
}

TEST(BasicVectorTest, LayoutIsPackedComponents) {
  Float3 points[2] = {Float3(1, 2, 3), Float3(4, 5, 6)};
  const float *raw = &points[0].v[0];
  for (int i = 0; i < 6; ++i)
    EXPECT_EQ(raw[i], float(i + 1));
  Int2 size(800, 600);
  EXPECT_EQ(size.width(), 800);
  EXPECT_EQ(size.height(), 600);
  EXPECT_EQ(Int3(), Int3(0, 0, 0));
}

TEST(BasicVectorTest, Arithmetic) {
  Int3 a(1, 2, 3), b(10, 20, 30);
  EXPECT_EQ(a + b, Int3(11, 22, 33));
  EXPECT_EQ(b - a, Int3(9, 18, 27));
  EXPECT_EQ(-a, Int3(-1, -2, -3));
  EXPECT_EQ(a * 3, Int3(3, 6, 9));
  EXPECT_EQ(b / 10, Int3(1, 2, 3));
  a += b;
  EXPECT_EQ(a, Int3(11, 22, 33));
  a -= b;
  a *= 2;
  EXPECT_EQ(a, Int3(2, 4, 6));
}

TEST(BasicVectorTest, LengthAndNormalize) {
  Float3 v(3, 4, 0);
  EXPECT_EQ(v.length(), 5.0f);
  v.normalize();
  EXPECT_FLOAT_EQ(v.x(), 0.6f);
  EXPECT_FLOAT_EQ(v.y(), 0.8f);
  EXPECT_EQ(v.z(), 0.0f);
  // The sum is kept in single precision: 1e8 + 1 rounds back to 1e8.
  Float3 big(10000.0f, 1.0f, 0.0f);
  EXPECT_EQ(big.length(), 10000.0f);
}

TEST(BasicVectorTest, FromSpherical) {
  for (float azimuth : {0.0f, 1.0f, 3.0f}) {
    Float3 up = fromSpherical(2, 0, azimuth);
    EXPECT_NEAR(up.x(), 0, 1e-6);
    EXPECT_EQ(up.y(), 2);
    EXPECT_NEAR(up.z(), 0, 1e-6);
  }
  Float3 side = fromSpherical(1, quarterTurnRadians, 0);
  EXPECT_NEAR(side.x(), 1, 1e-6);
  EXPECT_NEAR(side.y(), 0, 1e-6);
  EXPECT_NEAR(side.z(), 0, 1e-6);
  Float3 front = fromSpherical(3, quarterTurnRadians, quarterTurnRadians);
  EXPECT_NEAR(front.x(), 0, 1e-6);
  EXPECT_NEAR(front.z(), 3, 1e-6);
}

TEST(BasicVectorTest, StreamOutput) {
  struct {
    std::string (*print)();
    const char *expected;
  } cases[] = {
      {[] {
         std::ostringstream s;
         s << Int3(4, -2, 7);
         return s.str();
       },
       "BasicVector<3,?(sizeof=4)> (4;-2;7;)"},
      {[] {
         std::ostringstream s;
         s << Int3(0, 0, 0);
         return s.str();
       },
       "BasicVector<3,?(sizeof=4)> (0;0;0;)"},
      {[] {
         std::ostringstream s;
         s << Int2(800, 600);
         return s.str();
       },
       "BasicVector<2,?(sizeof=4)> (800;600;)"},
      {[] {
         std::ostringstream s;
         s << Float3(1.9f, -2.7f, 0);
         return s.str();
       },
       "BasicVector<3,?(sizeof=4)> (1;-2;0;)"},
  };
  for (const auto &c : cases)
    EXPECT_EQ(c.print(), c.expected);
}

}  // namespace
