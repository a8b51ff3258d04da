// Whole-file writes through a ".part" file and a rename.
#include "DataFileWriter.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

bool writeDataFile(const std::string &path, const std::string &bytes) {
  const std::string partial = path + ".part";
  FILE *file = std::fopen(partial.c_str(), "wb");
  if (file == nullptr) {
    std::fprintf(stderr, "generate_game_data: cannot write '%s': %s\n", partial.c_str(),
                 std::strerror(errno));
    return false;
  }
  bool isWritten = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  isWritten = std::fclose(file) == 0 && isWritten;
  if (!isWritten || std::rename(partial.c_str(), path.c_str()) != 0) {
    std::fprintf(stderr, "generate_game_data: cannot write '%s': %s\n", path.c_str(),
                 std::strerror(errno));
    std::remove(partial.c_str());
    return false;
  }
  return true;
}
