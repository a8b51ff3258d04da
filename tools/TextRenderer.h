// Renders text of one TrueType font with FreeType into coverage masks and onto
// pictures: single glyphs for the bitmap font, whole labels for the menus.
#pragma once

#include "Picture.h"

#include <string>
#include <vector>

struct FT_LibraryRec_;
struct FT_FaceRec_;

// One rendered glyph: coverage rows top first, placed relative to the pen on
// the baseline (left columns right of the pen, top rows above the baseline).
struct GlyphImage {
  int width = 0;
  int height = 0;
  int left = 0;
  int top = 0;
  int advance = 0;
  std::vector<uint8_t> coverage;
};

class TextRenderer {
 public:
  TextRenderer();
  ~TextRenderer();
  TextRenderer(const TextRenderer &) = delete;
  TextRenderer &operator=(const TextRenderer &) = delete;

  // Each returns false after a message on the error stream.
  bool open(const std::string &fontPath);
  bool setPixelSize(int pixels);
  bool renderGlyph(char c, GlyphImage &glyph);

  // Height above and depth below the baseline of the current size, in pixels.
  int getAscender() const;
  int getDescender() const;

  // Width of a one-line text at the current size, from the pen at its start to the last advance.
  int measure(const std::string &text);
  // Draws one line with its baseline at y.
  void draw(Picture &picture, int x, int baselineY, const std::string &text, Rgba colour);
  // Draws one line centred in the rectangle (x, y, w, h), the ink centred vertically.
  void drawCentred(Picture &picture, int x, int y, int w, int h, const std::string &text,
                   Rgba colour);

 private:
  FT_LibraryRec_ *library = nullptr;
  FT_FaceRec_ *face = nullptr;
};
