// The one entry of every picture: reads a PNG, JPEG or TGA file from the file
// system or the data pack and returns 8-bit RGB or RGBA pixels whose width
// and height are powers of two (stretching needs the GL context).
#pragma once

#include <string>

// Returns a new[] buffer the caller owns: width × height pixels, 3 bytes each,
// or 4 when isAlpha, rows back to back (PNG: top row first; JPEG: bottom row
// first; TGA: the file's rows reversed). Never returns without an image: a
// missing file, an unknown extension or an undecodable file ends the program.
unsigned char *loadImage(const std::string &path, int &height, int &width, bool &isAlpha,
                         bool verbose);

// The smallest power of two that is at least size, never less than 2.
int powerOfTwoAtLeast(int size);
