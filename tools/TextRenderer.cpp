// FreeType glyph rendering: hinted outlines rasterised to 8-bit coverage.
#include "TextRenderer.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdio>

TextRenderer::TextRenderer() {}

TextRenderer::~TextRenderer() {
  if (face)
    FT_Done_Face(face);
  if (library)
    FT_Done_FreeType(library);
}

bool TextRenderer::open(const std::string &fontPath) {
  if (FT_Init_FreeType(&library) != 0) {
    library = nullptr;
    std::fprintf(stderr, "generate_game_data: FreeType did not start\n");
    return false;
  }
  if (FT_New_Face(library, fontPath.c_str(), 0, &face) != 0) {
    face = nullptr;
    std::fprintf(stderr, "generate_game_data: cannot read the font '%s'\n", fontPath.c_str());
    return false;
  }
  return true;
}

bool TextRenderer::setPixelSize(int pixels) {
  if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixels)) != 0) {
    std::fprintf(stderr, "generate_game_data: the font has no size %d\n", pixels);
    return false;
  }
  return true;
}

bool TextRenderer::renderGlyph(char c, GlyphImage &glyph) {
  FT_UInt index = FT_Get_Char_Index(face, static_cast<unsigned char>(c));
  if (index == 0 || FT_Load_Glyph(face, index, FT_LOAD_DEFAULT) != 0 ||
      FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL) != 0) {
    std::fprintf(stderr, "generate_game_data: the font cannot draw '%c'\n", c);
    return false;
  }
  const FT_Bitmap &bitmap = face->glyph->bitmap;
  glyph.width = static_cast<int>(bitmap.width);
  glyph.height = static_cast<int>(bitmap.rows);
  glyph.left = face->glyph->bitmap_left;
  glyph.top = face->glyph->bitmap_top;
  glyph.advance = static_cast<int>(face->glyph->advance.x >> 6);
  glyph.coverage.assign(static_cast<size_t>(glyph.width) * glyph.height, 0);
  for (int y = 0; y < glyph.height; ++y)
    for (int x = 0; x < glyph.width; ++x)
      glyph.coverage[static_cast<size_t>(y) * glyph.width + x] =
          bitmap.buffer[y * bitmap.pitch + x];
  return true;
}

int TextRenderer::getAscender() const {
  return static_cast<int>((face->size->metrics.ascender + 63) >> 6);
}

int TextRenderer::getDescender() const {
  return static_cast<int>((-face->size->metrics.descender + 63) >> 6);
}

int TextRenderer::measure(const std::string &text) {
  int width = 0;
  for (char c : text) {
    GlyphImage glyph;
    if (renderGlyph(c, glyph))
      width += glyph.advance;
  }
  return width;
}

void TextRenderer::draw(Picture &picture, int x, int baselineY, const std::string &text,
                        Rgba colour) {
  int pen = x;
  for (char c : text) {
    GlyphImage glyph;
    if (!renderGlyph(c, glyph))
      continue;
    picture.blendMask(pen + glyph.left, baselineY - glyph.top, glyph.coverage, glyph.width,
                      glyph.height, colour);
    pen += glyph.advance;
  }
}

void TextRenderer::drawCentred(Picture &picture, int x, int y, int w, int h,
                               const std::string &text, Rgba colour) {
  // Capital height sets the vertical centre so that labels with and without
  // descenders line up.
  GlyphImage capital;
  int capHeight = renderGlyph('H', capital) ? capital.top : getAscender();
  int width = measure(text);
  int baseline = y + (h + capHeight) / 2;
  draw(picture, x + (w - width) / 2, baseline, text, colour);
}
