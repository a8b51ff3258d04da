// Display-mode switching on the test X server: the window of the current GL
// context is moved and sized, the console lines are exact, and without a
// current context no window is touched.
// GoogleTest comes before Xlib, whose None and Bool macros clash with it.
#include <gtest/gtest.h>

#include "PlatformDisplay.h"

#include <GL/glx.h>
#include <X11/Xlib.h>

#include <functional>
#include <string>

namespace {

// A plain X window with a GLX context made current for the test; the
// previous context (if a test environment holds one) is restored afterwards.
class PlatformDisplayTest : public testing::Test {
 protected:
  void SetUp() override {
    previousDisplay = glXGetCurrentDisplay();
    previousDrawable = glXGetCurrentDrawable();
    previousContext = glXGetCurrentContext();
    // One connection for the whole run: closing it would unload the GL driver,
    // and the leak checker could then no longer name the driver's own leaks.
    static Display *const sharedDisplay = XOpenDisplay(nullptr);
    display = sharedDisplay;
    ASSERT_NE(display, nullptr) << "the tests need an X display";
    int attributes[] = {GLX_RGBA, GLX_DEPTH_SIZE, 16, GLX_DOUBLEBUFFER, None};
    visual = glXChooseVisual(display, DefaultScreen(display), attributes);
    ASSERT_NE(visual, nullptr);
    XSetWindowAttributes windowAttributes = {};
    windowAttributes.colormap =
        XCreateColormap(display, DefaultRootWindow(display), visual->visual, AllocNone);
    window =
        XCreateWindow(display, DefaultRootWindow(display), 100, 120, 300, 200, 0, visual->depth,
                      InputOutput, visual->visual, CWColormap, &windowAttributes);
    XMapWindow(display, window);
    XSync(display, False);
    context = glXCreateContext(display, visual, nullptr, True);
    ASSERT_NE(context, nullptr);
    ASSERT_TRUE(glXMakeCurrent(display, window, context));
  }

  void TearDown() override {
    if (display == nullptr)
      return;
    glXMakeCurrent(display, None, nullptr);
    if (context != nullptr)
      glXDestroyContext(display, context);
    if (window != 0)
      XDestroyWindow(display, window);
    if (visual != nullptr)
      XFree(visual);
    XSync(display, False);
    if (previousDisplay != nullptr)
      glXMakeCurrent(previousDisplay, previousDrawable, previousContext);
  }

  struct Geometry {
    int x, y;
    unsigned width, height;
  };

  Geometry geometry() {
    XSync(display, False);
    Window root;
    Geometry g = {};
    unsigned border, depth;
    XGetGeometry(display, window, &root, &g.x, &g.y, &g.width, &g.height, &border, &depth);
    return g;
  }

  static std::string consoleOf(const std::function<void()> &action) {
    testing::internal::CaptureStdout();
    action();
    return testing::internal::GetCapturedStdout();
  }

  Display *display = nullptr;
  XVisualInfo *visual = nullptr;
  Window window = 0;
  GLXContext context = nullptr;
  Display *previousDisplay = nullptr;
  GLXDrawable previousDrawable = 0;
  GLXContext previousContext = nullptr;
};

struct SwitchCase {
  bool isFullscreen;
  int width, height;
  const char *console;
  int x, y;
};

TEST_F(PlatformDisplayTest, SwitchPlacesTheContextWindowAndPrintsItsLines) {
  const SwitchCase cases[] = {
      {true, 640, 480, "Set to fullscreen mode 640x480\nFound window handle\n", 0, 0},
      {false, 800, 600, "Set to windowed mode 800x600\nFound window handle\n", 10, 10},
      // The size the test server offers: the screen keeps it.
      {true, 1280, 1024, "Set to fullscreen mode 1280x1024\nFound window handle\n", 0, 0},
      {false, 320, 240, "Set to windowed mode 320x240\nFound window handle\n", 10, 10},
  };
  int screenWidth = DisplayWidth(display, DefaultScreen(display));
  int screenHeight = DisplayHeight(display, DefaultScreen(display));
  for (const SwitchCase &c : cases) {
    SCOPED_TRACE(c.console);
    std::string console = consoleOf([&] {
      if (c.isFullscreen)
        platformSetFullscreenMode(c.width, c.height);
      else
        platformSetWindowedMode(c.width, c.height);
    });
    EXPECT_EQ(console, c.console);
    Geometry g = geometry();
    EXPECT_EQ(g.x, c.x);
    EXPECT_EQ(g.y, c.y);
    EXPECT_EQ(g.width, static_cast<unsigned>(c.width));
    EXPECT_EQ(g.height, static_cast<unsigned>(c.height));
    // A size the screen does not offer leaves the screen as it was.
    EXPECT_EQ(DisplayWidth(display, DefaultScreen(display)), screenWidth);
    EXPECT_EQ(DisplayHeight(display, DefaultScreen(display)), screenHeight);
  }
}

TEST_F(PlatformDisplayTest, WithoutCurrentContextNoWindowIsTouched) {
  glXMakeCurrent(display, None, nullptr);
  Geometry before = geometry();
  EXPECT_EQ(consoleOf([] { platformSetFullscreenMode(640, 480); }),
            "Set to fullscreen mode 640x480\n");
  EXPECT_EQ(consoleOf([] { platformSetWindowedMode(800, 600); }), "Set to windowed mode 800x600\n");
  Geometry after = geometry();
  EXPECT_EQ(after.x, before.x);
  EXPECT_EQ(after.y, before.y);
  EXPECT_EQ(after.width, before.width);
  EXPECT_EQ(after.height, before.height);
}

}  // namespace
