// Xlib implementation of the warning box. Uses its own display connection, so
// it works before the game window exists and from inside window callbacks.
#include "PlatformMessageBox.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

const char *const noMessageBoxVariable = "VIVERI_NO_MESSAGE_BOX";

namespace {

const int margin = 16;
const int signSize = 40;
const int buttonWidth = 80;
const int buttonHeight = 26;

// Latin-1 bytes for the core X font: each code unit keeps its low 8 bits.
std::vector<std::string> splitLines(const std::wstring &text) {
  std::vector<std::string> lines(1);
  for (wchar_t c : text) {
    if (c == L'\n') {
      lines.emplace_back();
    } else {
      lines.back() += static_cast<char>(c & 0xff);
    }
  }
  return lines;
}

unsigned long namedColour(Display *display, int screen, const char *name, unsigned long fallback) {
  XColor exact, near;
  if (XAllocNamedColor(display, DefaultColormap(display, screen), name, &near, &exact))
    return near.pixel;
  return fallback;
}

struct BoxLayout {
  int width, height, lineHeight, ascent;
  int buttonX, buttonY;
};

void drawBox(Display *display, Window window, GC gc, XFontStruct *font,
             const std::vector<std::string> &lines, const BoxLayout &layout, unsigned long black,
             unsigned long white, unsigned long yellow, unsigned long grey) {
  XSetForeground(display, gc, white);
  XFillRectangle(display, window, gc, 0, 0, layout.width, layout.height);

  // Warning sign: a yellow triangle with an exclamation mark.
  XPoint triangle[3] = {
      {static_cast<short>(margin + signSize / 2), static_cast<short>(margin)},
      {static_cast<short>(margin), static_cast<short>(margin + signSize)},
      {static_cast<short>(margin + signSize), static_cast<short>(margin + signSize)}};
  XSetForeground(display, gc, yellow);
  XFillPolygon(display, window, gc, triangle, 3, Convex, CoordModeOrigin);
  XSetForeground(display, gc, black);
  XPoint outline[4] = {triangle[0], triangle[1], triangle[2], triangle[0]};
  XDrawLines(display, window, gc, outline, 4, CoordModeOrigin);
  XFillRectangle(display, window, gc, margin + signSize / 2 - 2, margin + 12, 4, 16);
  XFillRectangle(display, window, gc, margin + signSize / 2 - 2, margin + 31, 4, 4);

  int textX = margin * 2 + signSize;
  int y = margin + layout.ascent;
  for (const std::string &line : lines) {
    XDrawString(display, window, gc, textX, y, line.c_str(), static_cast<int>(line.size()));
    y += layout.lineHeight;
  }

  XSetForeground(display, gc, grey);
  XFillRectangle(display, window, gc, layout.buttonX, layout.buttonY, buttonWidth, buttonHeight);
  XSetForeground(display, gc, black);
  XDrawRectangle(display, window, gc, layout.buttonX, layout.buttonY, buttonWidth, buttonHeight);
  int okWidth = font ? XTextWidth(font, "OK", 2) : 12;
  XDrawString(display, window, gc, layout.buttonX + (buttonWidth - okWidth) / 2,
              layout.buttonY + buttonHeight / 2 + layout.ascent / 2, "OK", 2);
  XFlush(display);
}

}  // namespace

bool showWarningBox(const std::wstring &text, const std::wstring &caption) {
  if (std::getenv(noMessageBoxVariable) != nullptr)
    return false;
  Display *display = XOpenDisplay(nullptr);
  if (display == nullptr)
    return false;

  int screen = DefaultScreen(display);
  unsigned long black = BlackPixel(display, screen);
  unsigned long white = WhitePixel(display, screen);
  unsigned long yellow = namedColour(display, screen, "gold", white);
  unsigned long grey = namedColour(display, screen, "light grey", white);

  XFontStruct *font = XLoadQueryFont(display, "fixed");
  std::vector<std::string> lines = splitLines(text);

  BoxLayout layout;
  layout.ascent = font ? font->ascent : 10;
  layout.lineHeight = font ? font->ascent + font->descent + 1 : 14;
  int textWidth = 0;
  for (const std::string &line : lines)
    textWidth =
        std::max(textWidth, font ? XTextWidth(font, line.c_str(), static_cast<int>(line.size()))
                                 : static_cast<int>(line.size()) * 6);
  int textHeight = static_cast<int>(lines.size()) * layout.lineHeight;
  int screenWidth = DisplayWidth(display, screen);
  int screenHeight = DisplayHeight(display, screen);
  layout.width = std::min(screenWidth, margin * 3 + signSize + textWidth);
  layout.height =
      std::min(screenHeight, margin * 3 + std::max(signSize, textHeight) + buttonHeight);
  layout.buttonX = (layout.width - buttonWidth) / 2;
  layout.buttonY = layout.height - margin - buttonHeight;

  Window window = XCreateSimpleWindow(
      display, RootWindow(display, screen), (screenWidth - layout.width) / 2,
      (screenHeight - layout.height) / 2, layout.width, layout.height, 1, black, white);
  std::string captionBytes;
  for (wchar_t c : caption)
    captionBytes += static_cast<char>(c & 0xff);
  XStoreName(display, window, captionBytes.c_str());
  XClassHint classHint;
  char resName[] = "problem", resClass[] = "Problem";
  classHint.res_name = resName;
  classHint.res_class = resClass;
  XSetClassHint(display, window, &classHint);
  Atom deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
  XSetWMProtocols(display, window, &deleteWindow, 1);
  XSelectInput(
      display, window,
      ExposureMask | KeyPressMask | ButtonPressMask | ButtonReleaseMask | StructureNotifyMask);
  GC gc = XCreateGC(display, window, 0, nullptr);
  if (font)
    XSetFont(display, gc, font->fid);
  XMapRaised(display, window);
  XFlush(display);

  bool isOpen = true;
  while (isOpen) {
    XEvent event;
    XNextEvent(display, &event);
    switch (event.type) {
      case Expose:
        if (event.xexpose.count == 0)
          drawBox(display, window, gc, font, lines, layout, black, white, yellow, grey);
        break;
      case MapNotify:
        // Without a window manager nobody gives us the focus: take it.
        XSetInputFocus(display, window, RevertToParent, CurrentTime);
        break;
      case KeyPress: {
        KeySym key = XLookupKeysym(&event.xkey, 0);
        if (key == XK_Return || key == XK_KP_Enter || key == XK_Escape || key == XK_space)
          isOpen = false;
        break;
      }
      case ButtonRelease:
        if (event.xbutton.x >= layout.buttonX && event.xbutton.x < layout.buttonX + buttonWidth &&
            event.xbutton.y >= layout.buttonY && event.xbutton.y < layout.buttonY + buttonHeight)
          isOpen = false;
        break;
      case ClientMessage:
        if (static_cast<Atom>(event.xclient.data.l[0]) == deleteWindow)
          isOpen = false;
        break;
      case DestroyNotify:
        isOpen = false;
        break;
      default:
        break;
    }
  }

  XFreeGC(display, gc);
  if (font)
    XFreeFont(display, font);
  XDestroyWindow(display, window);
  XCloseDisplay(display);
  return true;
}
