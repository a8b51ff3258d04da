// glXGetProcAddressARB behind the platform entry-point lookup.
#include "PlatformGL.h"

#include <GL/glx.h>

// The GLX counterpart of the pixel-format choice entry point.
const char *const pixelFormatEntryPoint = "glXChooseFBConfig";

void *platformGetProcAddress(const char *name) {
  return reinterpret_cast<void *>(glXGetProcAddressARB(reinterpret_cast<const GLubyte *>(name)));
}
