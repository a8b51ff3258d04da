// Colours handed between the drawing services: four bytes red, green, blue, alpha.
#pragma once

#include <cstdint>

struct Colour {
  uint8_t r, g, b, a;
};

inline bool operator==(const Colour &p, const Colour &q) {
  return p.r == q.r && p.g == q.g && p.b == q.b && p.a == q.a;
}

// Clearing the screen, resetting the drawing colour, editor highlights.
const Colour colourBlack = {0, 0, 0, 255};
const Colour colourWhite = {255, 255, 255, 255};
const Colour colourRed = {255, 0, 0, 255};
