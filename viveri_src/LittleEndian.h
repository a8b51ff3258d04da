// Little-endian integers from file bytes, whatever the machine's byte order:
// the one decoding used by every binary reader (world file, data pack, TGA).
#pragma once

#include <cstdint>

inline uint16_t littleEndian16(const unsigned char *bytes) {
  return static_cast<uint16_t>(bytes[0] | (bytes[1] << 8));
}

inline uint32_t littleEndian32(const unsigned char *bytes) {
  return static_cast<uint32_t>(bytes[0]) | (static_cast<uint32_t>(bytes[1]) << 8) |
         (static_cast<uint32_t>(bytes[2]) << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
}
