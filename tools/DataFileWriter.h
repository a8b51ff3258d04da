// Writes one generated data file beside its final name and renames it into
// place, so a failed run never leaves a half-written file.
#pragma once

#include <string>

// Returns false, after a message on the error stream, when the file could not be written.
bool writeDataFile(const std::string &path, const std::string &bytes);
