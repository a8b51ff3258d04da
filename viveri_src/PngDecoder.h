// PNG decoding through libpng. 8-bit RGB, 8-bit RGBA and 16-bit RGBA are read
// as stored; every other layout (grey, grey with alpha, palette, 16-bit RGB,
// low bit depths) is converted to 8-bit RGB or RGBA by libpng itself.
// Not reentrant: the library handles live in process-wide variables.
#pragma once

#include <cstdio>

// Decodes the PNG at the stream's position into a new[] buffer of width ×
// height pixels, rows in file order (top row first), 3 or 4 bytes per pixel.
// A file that is not a PNG or that libpng cannot read aborts the program after
// a line on the error stream.
unsigned char *loadPng(FILE *file, int &width, int &height, bool &isAlpha, bool verbose);
