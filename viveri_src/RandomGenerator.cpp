#include "RandomGenerator.h"

#include <cstdint>

namespace {

const uint32_t firstState = 1;
uint32_t state = firstState;

}  // namespace

int randomNumber() {
  // A linear congruential step modulo 2^32; the upper bits are the better ones.
  state = state * 1103515245u + 12345u;
  return static_cast<int>((state >> 16) & 0x7fffu);
}

void resetRandomNumbers() {
  state = firstState;
}
