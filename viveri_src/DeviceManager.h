// The process's single link to the window system: opens the freeglut window,
// sets up OpenGL and the extension loader, registers the input callbacks,
// paces and polls each frame, and keeps the mouse and timing state beside the
// singleton (one window per process).
#pragma once

#include "BasicVector.h"
#include "GLManager.h"

#include <cstdint>
#include <string>
#include <vector>

struct MouseEvent {
  int32_t x, y;
  int32_t button;  // 0 left, 1 middle, 2 right, 3/4 wheel, -1 motion
  int32_t state;   // 0 pressed, 1 released, 2 moved with a button held, 3 moved
};

const int32_t mouseStatePressed = 0;
const int32_t mouseStateReleased = 1;
const int32_t mouseStateDragged = 2;
const int32_t mouseStateMoved = 3;

class DeviceManager : public GLManager {
 public:
  static void create(const std::string &programPath, const std::string &title, int width,
                     int height, bool fullscreen);
  ~DeviceManager() override;

  void nextFrame();
  void onWindowResized(int width, int height);
  void setFullscreenMode(int width, int height);
  void setWindowedMode(int width, int height);

 private:
  DeviceManager() = default;
};

extern DeviceManager *deviceManager;

// Device state, process-wide. Times in microseconds.
extern Int2 windowSize;
extern int64_t periodDuration;
extern int64_t lastFrameTime;
extern int64_t frameStartTime;
extern Int2 mousePosition;
extern Int2 mousePosition2D;
extern bool isMouseButtonDown[3];
extern std::vector<MouseEvent> mouseEvents;
extern bool everFullscreen;

// Frame budget of 10 ms: how long to sleep after `elapsed` µs of work.
int frameSleepMs(int64_t elapsedUs);
// A frame period is reported as at most 200 ms.
int64_t clampPeriod(int64_t periodUs);

// Milliseconds of wall-clock time since the whole second of the first call.
int32_t getTimeMs();

// Input callbacks; freeglut calls them during the event poll.
void onMouseButton(int button, int state, int x, int y);
void onMouseMotion(int x, int y, int32_t state);
