// The proportional bitmap font: one picture holding the glyphs '!' to '~' side
// by side, separated by fully transparent columns, scanned once for each
// glyph's columns; text is drawn as one textured quad per glyph in the 2D scene.
#pragma once

#include "BasicVector.h"

#include <string>

class Image;

class Font {
 public:
  // Loads the picture (RGBA required) and scans its alpha channel.
  explicit Font(const std::string &fileName = "default_font.png");
  ~Font();
  Font(const Font &) = delete;
  Font &operator=(const Font &) = delete;

  // Draws text with its top-left at (x, y); returns the pen after the last character.
  Int2 printText(const Float2 &scale, const char *text, int x, int y);
  // Width of the widest line of the first length characters (-1: all).
  int measureText(int length, const char *text, float scaleX);
  // Space, line feed, and every character with a glyph.
  bool hasGlyph(int c) const;

  Image *image;
  int glyphOffset[256];
  int glyphWidth[256];
  int spaceWidth;
};
