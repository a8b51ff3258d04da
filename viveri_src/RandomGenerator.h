// The program's own small random generator: numbers 0 to 32767 from one
// process-wide sequence that is never seeded, so a fresh process always
// draws the same numbers on every machine. Shared by the random texture
// offsets of boxes and the editor's landscape generation.
#pragma once

// The next number of the sequence, 0 to 32767.
int randomNumber();
// Back to the start of the sequence (for tests and build tools).
void resetRandomNumbers();

// The largest number randomNumber returns.
const int randomNumberMax = 32767;
