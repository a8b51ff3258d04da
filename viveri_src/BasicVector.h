// Small fixed-size value vectors used for all geometry: positions, sizes,
// cube and region indices, texture coordinates. Components are stored back to
// back with no other member, so arrays of vectors are packed arrays of T.
// Comparisons are componentwise containment tests, not an ordering.
#pragma once

#include <cmath>
#include <cstdint>
#include <ostream>

template <unsigned N, typename T>
class BasicVector {
 public:
  BasicVector() {
    for (unsigned i = 0; i < N; ++i)
      v[i] = T(0);
  }
  BasicVector(T a, T b) {
    static_assert(N == 2, "two components");
    v[0] = a;
    v[1] = b;
  }
  BasicVector(T a, T b, T c) {
    static_assert(N == 3, "three components");
    v[0] = a;
    v[1] = b;
    v[2] = c;
  }

  T &x() { return v[0]; }
  T x() const { return v[0]; }
  T &y() { return v[1]; }
  T y() const { return v[1]; }
  T &z() {
    static_assert(N >= 3, "no z component");
    return v[2];
  }
  T z() const {
    static_assert(N >= 3, "no z component");
    return v[2];
  }
  T &width() { return v[0]; }
  T width() const { return v[0]; }
  T &height() { return v[1]; }
  T height() const { return v[1]; }

  T &operator[](unsigned i) { return v[i]; }
  T operator[](unsigned i) const { return v[i]; }

  BasicVector &operator+=(const BasicVector &o) {
    for (unsigned i = 0; i < N; ++i)
      v[i] += o.v[i];
    return *this;
  }
  BasicVector &operator-=(const BasicVector &o) {
    for (unsigned i = 0; i < N; ++i)
      v[i] -= o.v[i];
    return *this;
  }
  BasicVector &operator*=(T s) {
    for (unsigned i = 0; i < N; ++i)
      v[i] *= s;
    return *this;
  }
  BasicVector &operator/=(T s) {
    for (unsigned i = 0; i < N; ++i)
      v[i] /= s;
    return *this;
  }
  BasicVector operator+(const BasicVector &o) const { return BasicVector(*this) += o; }
  BasicVector operator-(const BasicVector &o) const { return BasicVector(*this) -= o; }
  BasicVector operator*(T s) const { return BasicVector(*this) *= s; }
  BasicVector operator/(T s) const { return BasicVector(*this) /= s; }
  BasicVector operator-() const {
    BasicVector r;
    for (unsigned i = 0; i < N; ++i)
      r.v[i] = -v[i];
    return r;
  }

  bool operator==(const BasicVector &o) const {
    for (unsigned i = 0; i < N; ++i)
      if (!(v[i] == o.v[i]))
        return false;
    return true;
  }
  bool operator!=(const BasicVector &o) const { return !(*this == o); }
  bool operator<(const BasicVector &o) const {
    for (unsigned i = 0; i < N; ++i)
      if (!(v[i] < o.v[i]))
        return false;
    return true;
  }
  bool operator<=(const BasicVector &o) const {
    for (unsigned i = 0; i < N; ++i)
      if (!(v[i] <= o.v[i]))
        return false;
    return true;
  }
  bool operator>(const BasicVector &o) const {
    for (unsigned i = 0; i < N; ++i)
      if (!(v[i] > o.v[i]))
        return false;
    return true;
  }
  bool operator>=(const BasicVector &o) const {
    for (unsigned i = 0; i < N; ++i)
      if (!(v[i] >= o.v[i]))
        return false;
    return true;
  }

  // Square root of the sum of squares, summed in component order in T.
  T length() const {
    T sum = T(0);
    for (unsigned i = 0; i < N; ++i)
      sum = T(sum + v[i] * v[i]);
    return T(std::sqrt(sum));
  }

  // Divides component 0, then 1, then 2 by the length. The zero vector gives
  // non-finite components.
  void normalize() {
    T len = length();
    for (unsigned i = 0; i < N; ++i)
      v[i] = v[i] / len;
  }

  T v[N];
};

typedef BasicVector<3, int32_t> Int3;
typedef BasicVector<3, float> Float3;
typedef BasicVector<2, float> Float2;
typedef BasicVector<2, int32_t> Int2;

static_assert(sizeof(Float3) == 12, "Float3 is three packed floats");
static_assert(sizeof(Float2) == 8, "Float2 is two packed floats");
static_assert(sizeof(Int3) == 12, "Int3 is three packed ints");

// Single-precision square root.
inline float squareRoot(float value) {
  return std::sqrt(value);
}

// Degrees to radians, in single precision as everywhere in the program.
const float degreesToRadians = 0.017453292f;
const float quarterTurnRadians = 1.5707964f;

// (r·sin(polar)·cos(azimuth), r·cos(polar), r·sin(polar)·sin(azimuth)),
// the polar angle measured from +y, angles in radians.
inline Float3 fromSpherical(float radius, float polar, float azimuth) {
  float rs = radius * std::sin(polar);
  return Float3(rs * std::cos(azimuth), radius * std::cos(polar), rs * std::sin(azimuth));
}

// Writes "BasicVector<N,?(sizeof=S)> (c0;c1;...;)", components as integers.
template <unsigned N, typename T>
std::ostream &operator<<(std::ostream &out, const BasicVector<N, T> &vec) {
  out << "BasicVector<" << N << ",?(sizeof=" << sizeof(T) << ")> (";
  for (unsigned i = 0; i < N; ++i)
    out << static_cast<long long>(vec.v[i]) << ";";
  out << ")";
  return out;
}
