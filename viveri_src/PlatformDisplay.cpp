// XRandR and Xlib implementation of the display-mode switch. The window is the
// drawable of the current GLX context (the game's one window); without a
// current context the screen size still changes and no window is touched.
#include "PlatformDisplay.h"

#include <GL/glx.h>
#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

#include <cerrno>
#include <cstdio>
#include <iostream>

namespace {

// The screen size in use before our first change, restored by the windowed mode.
bool isOriginalModeKnown = false;
SizeID originalSize = 0;
Rotation originalRotation = RR_Rotate_0;

// The display of the current GL context, or a connection of our own.
struct DisplayLink {
  Display *display = nullptr;
  Window window = 0;
  bool isOwned = false;

  DisplayLink() {
    display = glXGetCurrentDisplay();
    if (display != nullptr) {
      window = glXGetCurrentDrawable();
    } else {
      display = XOpenDisplay(nullptr);
      isOwned = display != nullptr;
    }
  }
  ~DisplayLink() {
    if (display != nullptr)
      XFlush(display);
    if (isOwned)
      XCloseDisplay(display);
  }
  DisplayLink(const DisplayLink &) = delete;
  DisplayLink &operator=(const DisplayLink &) = delete;
};

XRRScreenConfiguration *queryScreen(Display *display) {
  if (display == nullptr)
    return nullptr;
  int eventBase, errorBase;
  if (!XRRQueryExtension(display, &eventBase, &errorBase))
    return nullptr;
  return XRRGetScreenInfo(display, DefaultRootWindow(display));
}

// Index of the screen size width x height, or -1 when the screen has none.
int findSize(XRRScreenConfiguration *config, int width, int height) {
  int nbSizes = 0;
  XRRScreenSize *sizes = XRRConfigSizes(config, &nbSizes);
  for (int i = 0; i < nbSizes; ++i)
    if (sizes[i].width == width && sizes[i].height == height)
      return i;
  return -1;
}

void setSize(Display *display, XRRScreenConfiguration *config, SizeID size, Rotation rotation) {
  Rotation current;
  if (XRRConfigCurrentConfiguration(config, &current) == size && current == rotation)
    return;
  XRRSetScreenConfig(display, config, DefaultRootWindow(display), size, rotation, CurrentTime);
}

void placeWindow(const DisplayLink &link, int x, int y, int width, int height) {
  if (link.window == 0)
    return;
  std::cout << "Found window handle" << std::endl;
  XMapWindow(link.display, link.window);
  XMoveResizeWindow(link.display, link.window, x, y, static_cast<unsigned>(width),
                    static_cast<unsigned>(height));
  XRaiseWindow(link.display, link.window);
}

}  // namespace

void platformSetFullscreenMode(int width, int height) {
  DisplayLink link;
  XRRScreenConfiguration *config = queryScreen(link.display);
  if (config == nullptr) {
    std::printf("EnumDisplaySettings failed:%d\n", errno);
    std::fflush(stdout);
  }
  std::cout << "Set to fullscreen mode " << width << "x" << height << std::endl;
  if (config != nullptr) {
    int size = findSize(config, width, height);
    if (size >= 0) {
      if (!isOriginalModeKnown) {
        originalSize = XRRConfigCurrentConfiguration(config, &originalRotation);
        isOriginalModeKnown = true;
      }
      setSize(link.display, config, static_cast<SizeID>(size), originalRotation);
    }
    XRRFreeScreenConfigInfo(config);
  }
  placeWindow(link, 0, 0, width, height);
}

void platformSetWindowedMode(int width, int height) {
  DisplayLink link;
  std::cout << "Set to windowed mode " << width << "x" << height << std::endl;
  XRRScreenConfiguration *config = queryScreen(link.display);
  if (config != nullptr) {
    if (isOriginalModeKnown)
      setSize(link.display, config, originalSize, originalRotation);
    XRRFreeScreenConfigInfo(config);
  }
  placeWindow(link, 10, 10, width, height);
}
