// Quaternion construction, product order and the rotation matrix, checked by
// where the matrix sends the axes.
#include "Quaternion.h"

#include <gtest/gtest.h>

namespace {

const float pi = 3.14159265f;

Float3 applyMatrix(const float m[16], Float3 v) {
  return Float3(m[0] * v.x() + m[4] * v.y() + m[8] * v.z(),
                m[1] * v.x() + m[5] * v.y() + m[9] * v.z(),
                m[2] * v.x() + m[6] * v.y() + m[10] * v.z());
}

void expectNear(Float3 actual, Float3 expected) {
  EXPECT_NEAR(actual.x(), expected.x(), 1e-5f);
  EXPECT_NEAR(actual.y(), expected.y(), 1e-5f);
  EXPECT_NEAR(actual.z(), expected.z(), 1e-5f);
}

void expectNear(const Quaternion &actual, const Quaternion &expected) {
  EXPECT_NEAR(actual.x, expected.x, 1e-6f);
  EXPECT_NEAR(actual.y, expected.y, 1e-6f);
  EXPECT_NEAR(actual.z, expected.z, 1e-6f);
  EXPECT_NEAR(actual.w, expected.w, 1e-6f);
}

TEST(QuaternionTest, FromAxisAngleNormalisesTheAxis) {
  const float h = 0.70710678f;
  struct Case {
    Float3 axis;
    float angle;
    Quaternion expected;
  };
  const Case cases[] = {
      {Float3(1, 0, 0), 0.f, {0, 0, 0, 1}},
      {Float3(0, 2, 0), pi, {0, 1, 0, 0}},
      {Float3(0, 0, -5), pi / 2.f, {0, 0, -h, h}},
      {Float3(3, 4, 0), pi, {0.6f, 0.8f, 0, 0}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(testing::Message() << "axis " << c.axis << " angle " << c.angle);
    expectNear(quaternionFromAxisAngle(c.axis, c.angle), c.expected);
  }
}

TEST(QuaternionTest, ProductOfUnitAxes) {
  const Quaternion i = {1, 0, 0, 0}, j = {0, 1, 0, 0}, k = {0, 0, 1, 0};
  struct Case {
    Quaternion a, b, expected;
  };
  const Case cases[] = {
      {i, j, {0, 0, 1, 0}},
      {j, i, {0, 0, -1, 0}},
      {j, k, {1, 0, 0, 0}},
      {k, i, {0, 1, 0, 0}},
      {i, i, {0, 0, 0, -1}},
      {quaternionIdentity, k, k},
      {{1, 2, 3, 4}, {5, 6, 7, 8}, {24, 48, 48, -6}},
  };
  for (const Case &c : cases) {
    Quaternion r = quaternionProduct(c.a, c.b);
    EXPECT_FLOAT_EQ(r.x, c.expected.x);
    EXPECT_FLOAT_EQ(r.y, c.expected.y);
    EXPECT_FLOAT_EQ(r.z, c.expected.z);
    EXPECT_FLOAT_EQ(r.w, c.expected.w);
  }
}

TEST(QuaternionTest, MatrixTurnsAxesTheRightWay) {
  struct Case {
    Float3 axis;
    float angle;
    Float3 input, expected;
  };
  const Case cases[] = {
      {Float3(0, 0, 1), pi / 2.f, Float3(1, 0, 0), Float3(0, 1, 0)},
      {Float3(1, 0, 0), pi / 2.f, Float3(0, 1, 0), Float3(0, 0, 1)},
      {Float3(0, 1, 0), pi / 2.f, Float3(0, 0, 1), Float3(1, 0, 0)},
      {Float3(0, 1, 0), pi / 2.f, Float3(0, 0, -1), Float3(-1, 0, 0)},
      {Float3(1, 1, 1), 2.f * pi / 3.f, Float3(1, 0, 0), Float3(0, 1, 0)},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(testing::Message() << "axis " << c.axis << " input " << c.input);
    float m[16];
    quaternionToMatrix(quaternionFromAxisAngle(c.axis, c.angle), m);
    expectNear(applyMatrix(m, c.input), c.expected);
    // Only a rotation: no translation or projection part.
    EXPECT_EQ(m[3], 0.f);
    EXPECT_EQ(m[7], 0.f);
    EXPECT_EQ(m[11], 0.f);
    EXPECT_EQ(m[12], 0.f);
    EXPECT_EQ(m[13], 0.f);
    EXPECT_EQ(m[14], 0.f);
    EXPECT_EQ(m[15], 1.f);
  }
}

// a ⊗ b rotates by b first: the matrix of the product is the product of the
// matrices in the same order.
TEST(QuaternionTest, ProductComposesRightFirst) {
  Quaternion a = quaternionFromAxisAngle(Float3(0, 0, 1), pi / 2.f);
  Quaternion b = quaternionFromAxisAngle(Float3(1, 0, 0), pi / 2.f);
  float m[16];
  quaternionToMatrix(quaternionProduct(a, b), m);
  // b sends y to z, then a leaves z alone.
  expectNear(applyMatrix(m, Float3(0, 1, 0)), Float3(0, 0, 1));
  // b leaves x alone, then a sends x to y.
  expectNear(applyMatrix(m, Float3(1, 0, 0)), Float3(0, 1, 0));
}

TEST(QuaternionTest, ConjugateUndoesTheRotation) {
  Quaternion q = quaternionFromAxisAngle(Float3(1, 2, 3), 0.7f);
  expectNear(quaternionProduct(q, quaternionConjugate(q)), quaternionIdentity);
  Quaternion c = quaternionConjugate(q);
  EXPECT_EQ(c.x, -q.x);
  EXPECT_EQ(c.y, -q.y);
  EXPECT_EQ(c.z, -q.z);
  EXPECT_EQ(c.w, q.w);
}

}  // namespace
