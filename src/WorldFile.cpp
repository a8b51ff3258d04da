// Byte-order independent field access for the world file.
#include "WorldFile.h"

#include <cmath>
#include <cstring>

#include "FatalReport.h"
#include "LittleEndian.h"
#include "PlatformFile.h"

namespace {

// The world file being loaded: its size, known once, and its read position,
// advanced by every read here (asking the stream would cost a system call).
FILE *sizedFile = NULL;
int64_t sizedFileSize = -1;
int64_t sizedFilePosition = 0;

}  // namespace

void startReadingWorldFile(FILE *fd) {
  sizedFile = fd;
  sizedFileSize = platformFileSize(fd);
  sizedFilePosition = ftell(fd);
}

void stopReadingWorldFile() {
  sizedFile = NULL;
  sizedFileSize = -1;
}

void writeBytes(FILE *fd, const void *data, size_t size) {
  if (size > 0)
    fwrite(data, 1, size, fd);
}

void writeInt32(FILE *fd, int32_t value) {
  uint32_t bits = static_cast<uint32_t>(value);
  unsigned char bytes[4] = {static_cast<unsigned char>(bits), static_cast<unsigned char>(bits >> 8),
                            static_cast<unsigned char>(bits >> 16),
                            static_cast<unsigned char>(bits >> 24)};
  writeBytes(fd, bytes, 4);
}

void writeFloat(FILE *fd, float value) {
  int32_t bits;
  memcpy(&bits, &value, 4);
  writeInt32(fd, bits);
}

void writeInt3(FILE *fd, const Int3 &value) {
  for (unsigned i = 0; i < 3; ++i)
    writeInt32(fd, value[i]);
}

void writeFloat3(FILE *fd, const Float3 &value) {
  for (unsigned i = 0; i < 3; ++i)
    writeFloat(fd, value[i]);
}

void writeByte(FILE *fd, unsigned char value) {
  writeBytes(fd, &value, 1);
}

void readBytes(FILE *fd, void *data, size_t size, const char *what) {
  size_t nbRead = size > 0 ? fread(data, 1, size, fd) : 0;
  if (fd == sizedFile)
    sizedFilePosition += static_cast<int64_t>(nbRead);
  if (nbRead != size) {
    std::string message = std::string("world file truncated or unreadable while reading ") + what;
    ASSERT_MESSAGE(nbRead == size, message.c_str());
  }
}

int32_t readInt32(FILE *fd, const char *what) {
  unsigned char bytes[4];
  readBytes(fd, bytes, 4, what);
  return static_cast<int32_t>(littleEndian32(bytes));
}

float readFloat(FILE *fd, const char *what) {
  int32_t bits = readInt32(fd, what);
  float value;
  memcpy(&value, &bits, 4);
  bool isFinite = std::isfinite(value);
  if (!isFinite) {
    std::string message = std::string("world file damaged: ") + what + " is not a finite number";
    ASSERT_MESSAGE(isFinite, message.c_str());
  }
  return value;
}

Int3 readInt3(FILE *fd, const char *what) {
  Int3 value;
  for (unsigned i = 0; i < 3; ++i)
    value[i] = readInt32(fd, what);
  return value;
}

Float3 readFloat3(FILE *fd, const char *what) {
  Float3 value;
  for (unsigned i = 0; i < 3; ++i)
    value[i] = readFloat(fd, what);
  return value;
}

unsigned char readByte(FILE *fd, const char *what) {
  unsigned char value = 0;
  readBytes(fd, &value, 1, what);
  return value;
}

int64_t bytesLeftInFile(FILE *fd) {
  if (fd == sizedFile)
    return sizedFilePosition < sizedFileSize ? sizedFileSize - sizedFilePosition : 0;
  return bytesLeftBefore(fd, platformFileSize(fd));
}

void checkCountFits(FILE *fd, int64_t count, int64_t itemSize, const char *what) {
  int64_t left = bytesLeftInFile(fd);
  bool isCountPossible = count >= 0 && (itemSize <= 0 ? true : count <= left / itemSize);
  if (!isCountPossible) {
    std::string message = std::string("world file damaged: ") + what + " of " +
                          std::to_string(count) + " does not fit in the " + std::to_string(left) +
                          " bytes left";
    ASSERT_MESSAGE(isCountPossible, message.c_str());
  }
}
