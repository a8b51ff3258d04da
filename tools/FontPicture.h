// The bitmap font picture "default_font.png": the 94 printable characters from
// '!' to '~' in one row, each glyph a run of columns that all hold ink,
// separated by fully transparent columns.
#pragma once

#include <string>

class TextRenderer;

// Writes gameDir + "/default_font.png"; false after a message on failure.
bool generateFontPicture(TextRenderer &text, const std::string &gameDir);
