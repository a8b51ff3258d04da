// Builders of the synthetic font pictures.
#include "FontPicture.h"

#include <png.h>

std::string writeFontPicture(const std::string &name, int width, int height,
                             const std::vector<GlyphColumns> &glyphs) {
  std::vector<int> samples(size_t(width) * height * 4, 0);
  for (const GlyphColumns &g : glyphs) {
    for (int x = g.first; x < g.end; x++) {
      for (int y = 0; y < height; y++) {
        if (g.row != -1 && y != g.row)
          continue;
        int *p = &samples[(size_t(y) * width + x) * 4];
        p[0] = p[1] = p[2] = p[3] = 255;
      }
    }
  }
  return writeTempFile(name, pngBytes({width, height, PNG_COLOR_TYPE_RGBA, 8, samples}));
}

std::vector<GlyphColumns> fullFontLayout() {
  std::vector<GlyphColumns> layout;
  int column = 3;
  for (int i = 0; i < 94; i++) {
    int glyphWidth = 1 + i % 3;
    // The first two glyphs: columns 3-4, then a start at column 8.
    if (i == 0)
      glyphWidth = 2;
    layout.push_back({column, column + glyphWidth, i % 8});
    column += glyphWidth + 2 + (i + 1) % 3;
  }
  return layout;
}
