// Synthetic font pictures for the font and text field tests: RGBA PNGs whose
// glyphs are opaque white columns at chosen places on a transparent ground.
#pragma once

#include "ImageFixtures.h"

#include <string>
#include <vector>

// Columns first to end - 1 of a glyph; its opaque pixels sit in row `row`
// only (the scan must look at every row), or in every row when row is -1.
struct GlyphColumns {
  int first;
  int end;
  int row;
};

std::string writeFontPicture(const std::string &name, int width, int height,
                             const std::vector<GlyphColumns> &glyphs);

// 94 glyphs of 1 to 3 columns with gaps of 2 to 4, the first at column 3,
// each opaque in one row that varies, in a 512 × 8 picture.
std::vector<GlyphColumns> fullFontLayout();
