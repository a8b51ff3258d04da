// Our own decoder for the TGA subset the engine reads: colour-mapped (3-byte
// map entries, 8-bit indices), true colour at 16, 24 and 32 bits and grey at
// 8 bits or 8 bits with alpha, each raw or run-length. Reads from an open stream.
#pragma once

#include <cstdio>

// Decodes the TGA image at the stream's position into a new[] buffer of
// width × height pixels in the file's row order: R, G, B (isAlpha false) or
// R, G, B, A (isAlpha true). Grey pixels come out as equal R, G and B.
// Returns nullptr when the file holds no image the decoder knows (type 0, an
// empty picture, an unknown type or an unsupported depth, said on the error
// stream). A damaged file (truncated, indices past the colour map, packets past
// the image end) ends in the fatal report; nothing is read or written outside
// a buffer.
unsigned char *loadTga(FILE *file, int &width, int &height, bool &isAlpha);
