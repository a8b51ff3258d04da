// The TGA decoder: an 18-byte little-endian header, the image ID, an optional
// colour map, then the pixels, raw or in run-length packets that may cross
// rows. Every read is checked; counts from the header are checked against
// what the stream still holds before anything is allocated.
#include "TgaDecoder.h"

#include "FatalReport.h"
#include "LittleEndian.h"
#include "PlatformFile.h"

#include <cstring>
#include <new>
#include <vector>

namespace {

// What one stored pixel is, and how it becomes R, G, B(, A).
enum class PixelKind { colourIndex, trueColour16, trueColour24, trueColour32, grey, greyAlpha };

struct TgaHeader {
  int idLength;
  int colourMapType;
  int imageType;
  int colourMapLength;
  int colourMapEntrySize;
  int width;
  int height;
  int pixelDepth;
};

class TgaReader {
 public:
  // The file's size is read once: the checks then only ask the position.
  explicit TgaReader(FILE *file) : file(file), fileSize(platformFileSize(file)) {}

  int readByte() {
    int c = fgetc(file);
    if (c == EOF)
      FATAL("loadTga : unexpected end of file");
    return c;
  }

  int readShort() {
    unsigned char bytes[2];
    bytes[0] = static_cast<unsigned char>(readByte());
    bytes[1] = static_cast<unsigned char>(readByte());
    return littleEndian16(bytes);
  }

  void readBytes(unsigned char *destination, size_t count) {
    if (count != 0 && fread(destination, 1, count, file) != count)
      FATAL("loadTga : unexpected end of file");
  }

  void skip(size_t count) {
    for (size_t i = 0; i < count; i++)
      readByte();
  }

  // Bytes left from the current position, or -1 when the stream cannot tell.
  long remainingBytes() {
    if (fileSize < 0 || ftell(file) < 0)
      return -1;
    return static_cast<long>(bytesLeftBefore(file, fileSize));
  }

 private:
  FILE *file;
  int64_t fileSize;
};

TgaHeader readHeader(TgaReader &reader) {
  TgaHeader header;
  header.idLength = reader.readByte();
  header.colourMapType = reader.readByte();
  header.imageType = reader.readByte();
  reader.readShort();  // first colour map entry, not used
  header.colourMapLength = reader.readShort();
  header.colourMapEntrySize = reader.readByte();
  reader.readShort();  // x origin
  reader.readShort();  // y origin
  header.width = reader.readShort();
  header.height = reader.readShort();
  header.pixelDepth = reader.readByte();
  reader.readByte();  // image descriptor: origin and alpha bits are not used
  return header;
}

// The kind of stored pixel for a type and depth; false when not supported.
bool choosePixelKind(const TgaHeader &header, PixelKind &kind) {
  switch (header.imageType) {
    case 1:
    case 9:
      kind = PixelKind::colourIndex;
      return header.pixelDepth == 8;
    case 2:
    case 10:
      if (header.pixelDepth == 16)
        kind = PixelKind::trueColour16;
      else if (header.pixelDepth == 24)
        kind = PixelKind::trueColour24;
      else if (header.pixelDepth == 32)
        kind = PixelKind::trueColour32;
      else
        return false;
      return true;
    case 3:
    case 11:
      if (header.pixelDepth == 8)
        kind = PixelKind::grey;
      else if (header.pixelDepth == 16)
        kind = PixelKind::greyAlpha;
      else
        return false;
      return true;
    default:
      return false;
  }
}

int storedBytes(PixelKind kind) {
  switch (kind) {
    case PixelKind::colourIndex:
    case PixelKind::grey:
      return 1;
    case PixelKind::trueColour16:
    case PixelKind::greyAlpha:
      return 2;
    case PixelKind::trueColour24:
      return 3;
    case PixelKind::trueColour32:
      return 4;
  }
  FATAL("loadTga : unknown pixel kind");
}

bool hasAlpha(PixelKind kind) {
  return kind == PixelKind::trueColour32 || kind == PixelKind::greyAlpha;
}

// Turns one stored pixel into R, G, B(, A). The colour map holds B, G, R entries.
void convertPixel(PixelKind kind, const unsigned char *stored,
                  const std::vector<unsigned char> &colourMap, unsigned char *out) {
  switch (kind) {
    case PixelKind::colourIndex: {
      size_t entry = stored[0] * size_t(3);
      if (entry + 3 > colourMap.size())
        FATAL("loadTga : colour index beyond the colour map");
      out[0] = colourMap[entry + 2];
      out[1] = colourMap[entry + 1];
      out[2] = colourMap[entry];
      break;
    }
    case PixelKind::trueColour16: {
      int v = stored[0] + 256 * stored[1];
      out[0] = (unsigned char)(((v >> 10) & 31) << 3);
      out[1] = (unsigned char)(((v >> 5) & 31) << 3);
      out[2] = (unsigned char)((v & 31) << 3);
      break;
    }
    case PixelKind::trueColour24:
      out[0] = stored[2];
      out[1] = stored[1];
      out[2] = stored[0];
      break;
    case PixelKind::trueColour32:
      out[0] = stored[2];
      out[1] = stored[1];
      out[2] = stored[0];
      out[3] = stored[3];
      break;
    case PixelKind::grey:
      out[0] = out[1] = out[2] = stored[0];
      break;
    case PixelKind::greyAlpha:
      out[0] = out[1] = out[2] = stored[0];
      out[3] = stored[1];
      break;
  }
}

}  // namespace

unsigned char *loadTga(FILE *file, int &width, int &height, bool &isAlpha) {
  TgaReader reader(file);
  TgaHeader header = readHeader(reader);
  if (header.imageType == 0)
    return nullptr;
  bool isRunLength = header.imageType >= 9;
  PixelKind kind;
  if (!choosePixelKind(header, kind)) {
    if (header.imageType == 1 || header.imageType == 2 || header.imageType == 3 ||
        header.imageType == 9 || header.imageType == 10 || header.imageType == 11)
      fprintf(stderr, "error: unsupported TGA pixel depth %i for image type %i!\n",
              header.pixelDepth, header.imageType);
    else
      fprintf(stderr, "error: unknown TGA image type %i!\n", header.imageType);
    return nullptr;
  }
  if (header.width == 0 || header.height == 0)
    return nullptr;

  reader.skip(header.idLength);
  std::vector<unsigned char> colourMap;
  if (header.colourMapType != 0) {
    bool isMapped = kind == PixelKind::colourIndex;
    if (isMapped && header.colourMapEntrySize != 24)
      FATAL("loadTga : colour map entries must be 3 bytes");
    size_t mapBytes = size_t(header.colourMapLength) * (header.colourMapEntrySize / 8);
    if (isMapped) {
      colourMap.resize(mapBytes);
      reader.readBytes(colourMap.data(), mapBytes);
    } else {
      reader.skip(mapBytes);
    }
  }

  const size_t pixelCount = size_t(header.width) * header.height;
  const int inBytes = storedBytes(kind);
  const int outBytes = hasAlpha(kind) ? 4 : 3;
  // A raw image needs all its bytes; a packet covers at most 128 pixels.
  long remaining = reader.remainingBytes();
  if (remaining >= 0) {
    size_t needed = isRunLength ? (pixelCount + 127) / 128 * (1 + inBytes) : pixelCount * inBytes;
    if (needed > size_t(remaining))
      FATAL("loadTga : unexpected end of file");
  }

  unsigned char *pixels = new (std::nothrow) unsigned char[pixelCount * outBytes];
  if (pixels == nullptr)
    FATAL("loadTga : not enough memory for the image");
  unsigned char stored[4];
  size_t written = 0;
  while (written < pixelCount) {
    size_t count = pixelCount;
    bool isRepeated = false;
    if (isRunLength) {
      int packetHeader = reader.readByte();
      count = size_t(packetHeader & 127) + 1;
      isRepeated = (packetHeader & 128) != 0;
      if (written + count > pixelCount)
        FATAL("loadTga : run-length packet beyond the image end");
    }
    if (isRepeated) {
      reader.readBytes(stored, inBytes);
      unsigned char *first = pixels + written * outBytes;
      convertPixel(kind, stored, colourMap, first);
      for (size_t i = 1; i < count; i++)
        memcpy(first + i * outBytes, first, outBytes);
    } else {
      for (size_t i = 0; i < count; i++) {
        reader.readBytes(stored, inBytes);
        convertPixel(kind, stored, colourMap, pixels + (written + i) * outBytes);
      }
    }
    written += count;
  }
  width = header.width;
  height = header.height;
  isAlpha = outBytes == 4;
  return pixels;
}
