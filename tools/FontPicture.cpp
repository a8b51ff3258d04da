// Lays out the font picture. The game finds glyphs by scanning alpha columns:
// a glyph is a run of columns with some non-zero alpha, and it draws each one
// from one column before the run to three columns after it. So every column
// inside a glyph must hold ink (gaps such as the middle of '"' get one pixel of
// alpha 1, which the alpha test hides), and four empty columns separate glyphs
// so that no quad shows a piece of its neighbour.
#include "FontPicture.h"

#include "Picture.h"
#include "PngWriter.h"
#include "TextRenderer.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// One line of text is the picture's height, a power of two.
const int lineHeight = 16;
const int leftMargin = 2;
const int glyphGap = 4;
const char firstChar = '!';
const char lastChar = '~';

// A rendered glyph cut down to the columns and rows that hold ink.
struct InkGlyph {
  GlyphImage image;
  int firstColumn = 0;
  int lastColumn = -1;
  int firstRow = 0;
  int lastRow = -1;
  int above() const { return image.top - firstRow; }
  int below() const { return lastRow - image.top + 1; }
  int inkWidth() const { return lastColumn - firstColumn + 1; }
};

bool findInk(InkGlyph &g) {
  const GlyphImage &im = g.image;
  g.firstColumn = im.width;
  g.firstRow = im.height;
  for (int y = 0; y < im.height; ++y)
    for (int x = 0; x < im.width; ++x)
      if (im.coverage[static_cast<size_t>(y) * im.width + x] != 0) {
        g.firstColumn = std::min(g.firstColumn, x);
        g.lastColumn = std::max(g.lastColumn, x);
        g.firstRow = std::min(g.firstRow, y);
        g.lastRow = std::max(g.lastRow, y);
      }
  return g.lastColumn >= 0;
}

bool renderAll(TextRenderer &text, int pixelSize, std::vector<InkGlyph> &glyphs) {
  if (!text.setPixelSize(pixelSize))
    return false;
  glyphs.clear();
  for (char c = firstChar; c <= lastChar; ++c) {
    InkGlyph g;
    if (!text.renderGlyph(c, g.image))
      return false;
    if (!findInk(g)) {
      std::fprintf(stderr, "generate_game_data: the glyph '%c' is empty\n", c);
      return false;
    }
    glyphs.push_back(g);
  }
  return true;
}

int nextPowerOfTwo(int n) {
  int p = 2;
  while (p < n)
    p *= 2;
  return p;
}

}  // namespace

bool generateFontPicture(TextRenderer &text, const std::string &gameDir) {
  // The largest size whose glyphs all fit in one line, from the highest
  // accent to the lowest descender.
  std::vector<InkGlyph> glyphs;
  int above = 0;
  int below = 0;
  int size = lineHeight;
  for (; size >= 6; --size) {
    if (!renderAll(text, size, glyphs))
      return false;
    above = 0;
    below = 0;
    for (const InkGlyph &g : glyphs) {
      above = std::max(above, g.above());
      below = std::max(below, g.below());
    }
    if (above + below <= lineHeight)
      break;
  }
  if (size < 6) {
    std::fprintf(stderr, "generate_game_data: no font size fits %d rows\n", lineHeight);
    return false;
  }
  const int baseline = above + (lineHeight - above - below) / 2;

  int width = leftMargin;
  for (const InkGlyph &g : glyphs)
    width += g.inkWidth() + glyphGap;
  // White everywhere, so that filtering at glyph edges never darkens the tint.
  Picture picture(nextPowerOfTwo(width), lineHeight, Rgba{255, 255, 255, 0});

  int x = leftMargin;
  for (const InkGlyph &g : glyphs) {
    const GlyphImage &im = g.image;
    for (int column = g.firstColumn; column <= g.lastColumn; ++column) {
      bool hasInk = false;
      for (int row = g.firstRow; row <= g.lastRow; ++row) {
        uint8_t a = im.coverage[static_cast<size_t>(row) * im.width + column];
        if (a == 0)
          continue;
        hasInk = true;
        picture.set(x + column - g.firstColumn, baseline - im.top + row, Rgba{255, 255, 255, a});
      }
      if (!hasInk)
        picture.set(x + column - g.firstColumn, baseline - 1, Rgba{255, 255, 255, 1});
    }
    x += g.inkWidth() + glyphGap;
  }
  return writePng(gameDir + "/default_font.png", picture, keepAlpha);
}
