// The font's glyph scan (bounded by the picture: glyphs the picture does not
// hold stay without one) and its text drawing and measuring.
#include "Font.h"

#include "DeviceManager.h"
#include "FatalReport.h"
#include "Image.h"
#include "Scene2D.h"

#include <algorithm>
#include <cstring>

namespace {

// Walks the picture's columns left to right; columns past the right edge
// count as empty and are never read.
class ColumnScanner {
 public:
  explicit ColumnScanner(const Image *image)
      : pixels(image->getPixels()), width(image->getWidth()), height(image->getHeight()) {}

  bool isOccupied(int column) const {
    if (column < 0 || column >= width)
      return false;
    for (int row = 0; row < height; row++)
      if (pixels[(size_t(row) * width + column) * 4 + 3] != 0)
        return true;
    return false;
  }

  // Tests columns until an occupied one was tested; false when the picture ends first.
  bool skipToOccupied(int &col) const {
    while (col < width) {
      bool occupied = isOccupied(col);
      col++;
      if (occupied)
        return true;
    }
    return false;
  }

  // Tests columns until an empty one was tested (at the latest the one past the edge).
  void skipToEmpty(int &col) const {
    while (true) {
      bool occupied = isOccupied(col);
      col++;
      if (!occupied)
        return;
    }
  }

 private:
  const unsigned char *pixels;
  int width;
  int height;
};

}  // namespace

Font::Font(const std::string &fileName) : image(nullptr), spaceWidth(16) {
  for (int i = 0; i < 256; i++) {
    glyphOffset[i] = -1;
    glyphWidth[i] = -1;
  }
  image = new Image(deviceManager, fileName, Image::quiet);
  ASSERT(image->getIsAlpha());

  ColumnScanner scanner(image);
  int col = 0;
  if (scanner.skipToOccupied(col)) {
    for (int c = 33; c <= 126; c++) {
      glyphOffset[c] = col - 2;
      scanner.skipToEmpty(col);
      glyphWidth[c] = col - glyphOffset[c] + 2;
      if (c < 126 && !scanner.skipToOccupied(col))
        break;
    }
  }
  image->freePixels();
}

Font::~Font() {
  delete image;
}

bool Font::hasGlyph(int c) const {
  if (c == ' ' || c == '\n')
    return true;
  return c >= 0 && c < 256 && glyphWidth[c] != -1;
}

Int2 Font::printText(const Float2 &scale, const char *text, int x, int y) {
  ASSERT(text != NULL);
  const float pictureWidth = (float)image->getWidth();
  const int lineHeight = (int)((float)image->getHeight() * scale.y());
  Int2 pen(x, y);
  for (const char *p = text; *p != '\0'; p++) {
    int ch = (unsigned char)*p;
    int advance = 0;
    if (ch == ' ') {
      advance = spaceWidth;
    } else if (ch == '\n') {
      pen.x() = x;
      pen.y() += lineHeight;
      continue;
    } else if (glyphWidth[ch] == -1) {
      continue;
    } else {
      float s0 = (float)glyphOffset[ch] / pictureWidth;
      float s1 = (float)(glyphOffset[ch] + glyphWidth[ch]) / pictureWidth;
      scene2D->drawTexturedQuad(image->getTexture(), (float)pen.x(), (float)pen.y(), s0, 0.0f, s1,
                                1.0f, (float)(int)((float)glyphWidth[ch] * scale.x()),
                                (float)lineHeight);
      advance = glyphWidth[ch];
    }
    pen.x() += (int)(scale.x() * (float)advance);
  }
  return pen;
}

int Font::measureText(int length, const char *text, float scaleX) {
  ASSERT(text != NULL);
  int count = length == -1 ? (int)strlen(text) : length;
  int widest = 0;
  int line = 0;
  for (int i = 0; i < count && text[i] != '\0'; i++) {
    int ch = (unsigned char)text[i];
    if (ch == '\n') {
      widest = std::max(widest, line);
      line = 0;
    } else if (ch == ' ') {
      line += (int)(scaleX * 16.0f);
    } else if (glyphWidth[ch] != -1) {
      line += (int)(scaleX * (float)glyphWidth[ch]);
    }
  }
  return std::max(widest, line);
}
