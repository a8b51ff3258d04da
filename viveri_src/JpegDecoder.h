// JPEG decoding through libjpeg (6.2 interface). Colour and grey JPEGs come
// out as 8-bit RGB (grey through the library's own colour conversion).
// Not reentrant: the last decoded size and buffer live in process-wide variables.
#pragma once

#include <cstdio>

// Decodes the JPEG at the stream's position into a new[] buffer of width ×
// height × 3 bytes, the picture's bottom row first. A library error ends in
// the fatal report after the library's own message.
unsigned char *loadJpeg(FILE *file, int &width, int &height, bool verbose);
