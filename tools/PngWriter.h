// Writes pictures as 8-bit PNG files (RGBA, or RGB when the alpha channel is
// dropped) through libpng. A file is written beside its final name and then
// renamed, so a failed run never leaves a half-written picture.
#pragma once

#include <string>

class Picture;

// Returns false, after a message on the error stream, when the file could not be written.
// writePng's last argument.
constexpr bool keepAlpha = true;
constexpr bool dropAlpha = false;

bool writePng(const std::string &path, const Picture &picture, bool withAlpha);
