// The JPEG decoder: the standard error manager extended with a jump back to
// the decoder, a decompressor created for the installed interface version and
// structure size, scanlines read one at a time, rows handed on reversed.
#include "JpegDecoder.h"

#include "FatalReport.h"

#include <jpeglib.h>

#include <csetjmp>
#include <cstring>
#include <new>

namespace {

struct JpegErrorManager {
  jpeg_error_mgr pub;
  jmp_buf jumpBuffer;
};

// The last decode: its size and its rows in decoding order.
int jpegWidth = 0;
int jpegHeight = 0;
unsigned char *jpegDecoded = nullptr;

void jpegErrorExit(j_common_ptr cinfo) {
  (*cinfo->err->output_message)(cinfo);
  longjmp(reinterpret_cast<JpegErrorManager *>(cinfo->err)->jumpBuffer, 1);
}

// Fills jpegWidth, jpegHeight and jpegDecoded; false after a library error.
// No object with a destructor lives here: the library leaves through longjmp.
bool decodeJpeg(FILE *file) {
  jpeg_decompress_struct cinfo;
  JpegErrorManager jerr;
  printf("chmu1\n");
  fflush(stdout);
  cinfo.err = jpeg_std_error(&jerr.pub);
  jerr.pub.error_exit = jpegErrorExit;
  printf("chmu2\n");
  fflush(stdout);
  jpegDecoded = nullptr;
  if (setjmp(jerr.jumpBuffer)) {
    jpeg_destroy_decompress(&cinfo);
    delete[] jpegDecoded;
    jpegDecoded = nullptr;
    return false;
  }
  jpeg_CreateDecompress(&cinfo, JPEG_LIB_VERSION, sizeof(jpeg_decompress_struct));
  jpeg_stdio_src(&cinfo, file);
  jpeg_read_header(&cinfo, TRUE);
  cinfo.out_color_space = JCS_RGB;
  jpeg_start_decompress(&cinfo);
  if (cinfo.output_components != 3)
    FATAL("loadJpeg : the decoder did not give RGB samples");

  size_t rowStride = size_t(cinfo.output_width) * cinfo.output_components;
  JSAMPARRAY sampleRow = (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo),
                                                    JPOOL_IMAGE, (JDIMENSION)rowStride, 1);
  jpegWidth = (int)cinfo.output_width;
  jpegHeight = (int)cinfo.output_height;
  jpegDecoded = new (std::nothrow) unsigned char[size_t(jpegWidth) * jpegHeight * 3];
  if (jpegDecoded == nullptr)
    FATAL("loadJpeg : not enough memory for the image");
  while (cinfo.output_scanline < cinfo.output_height) {
    size_t row = cinfo.output_scanline;
    if (jpeg_read_scanlines(&cinfo, sampleRow, 1) != 1)
      FATAL("loadJpeg : the decoder gave no scanline");
    memcpy(jpegDecoded + row * rowStride, sampleRow[0], rowStride);
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  return true;
}

}  // namespace

unsigned char *loadJpeg(FILE *file, int &width, int &height, bool verbose) {
  if (verbose) {
    printf("(jpeg)");
    fflush(stdout);
  }
  if (!decodeJpeg(file))
    FATAL("loadJpeg : cannot load jpeg file ");
  size_t rowStride = size_t(jpegWidth) * 3;
  unsigned char *pixels = new (std::nothrow) unsigned char[rowStride * jpegHeight];
  if (pixels == nullptr)
    FATAL("loadJpeg : not enough memory for the image");
  for (int i = 0; i < jpegHeight; i++)
    memcpy(pixels + size_t(i) * rowStride, jpegDecoded + size_t(jpegHeight - 1 - i) * rowStride,
           rowStride);
  delete[] jpegDecoded;
  jpegDecoded = nullptr;
  width = jpegWidth;
  height = jpegHeight;
  return pixels;
}
