// Window creation, the per-frame pacing and poll, resize and mouse input.
#include "DeviceManager.h"

#include "FatalReport.h"
#include "KeyboardManager.h"
#include "PlatformDisplay.h"
#include "PlatformTime.h"
#include "Scene2D.h"
#include "Scene3D.h"

#include <GL/glew.h>
#include <GL/freeglut.h>

#include <cstring>
#include <iostream>

DeviceManager *deviceManager = nullptr;

Int2 windowSize;
int64_t periodDuration = 0;
int64_t lastFrameTime = 0;
int64_t frameStartTime = 0;
Int2 mousePosition;
Int2 mousePosition2D;
bool isMouseButtonDown[3] = {false, false, false};
std::vector<MouseEvent> mouseEvents;
bool everFullscreen = false;

namespace {

const int64_t frameBudgetUs = 10000;
const int64_t maxPeriodUs = 200000;

// freeglut keeps pointers into its argument list: the copy lives for the run.
char programPathCopy[4096];
char *glutArguments[2] = {programPathCopy, nullptr};

// Nothing is drawn here: the game draws in its own frame. freeglut insists on
// having a display callback all the same.
void onDisplay() {}

void onButton(int button, int state, int x, int y) {
  onMouseButton(button, state, x, y);
}
void onDrag(int x, int y) {
  onMouseMotion(x, y, mouseStateDragged);
}
void onMove(int x, int y) {
  onMouseMotion(x, y, mouseStateMoved);
}

}  // namespace

int frameSleepMs(int64_t elapsedUs) {
  if (elapsedUs >= frameBudgetUs)
    return 0;
  return static_cast<int>(10 - elapsedUs / 1000);
}

int64_t clampPeriod(int64_t periodUs) {
  return periodUs > maxPeriodUs ? maxPeriodUs : periodUs;
}

int32_t getTimeMs() {
  static bool isStarted = false;
  static int64_t startSeconds = 0;
  int64_t seconds, microseconds;
  platformWallClock(seconds, microseconds);
  if (!isStarted) {
    isStarted = true;
    startSeconds = seconds;
  }
  return static_cast<int32_t>((seconds - startSeconds) * 1000 + microseconds / 1000);
}

void onMouseButton(int button, int state, int x, int y) {
  bool isPressed = state == GLUT_DOWN;
  mouseEvents.push_back(
      MouseEvent{x, y, button, isPressed ? mouseStatePressed : mouseStateReleased});
  if (button >= 0 && button <= 2)
    isMouseButtonDown[button] = isPressed;
}

void onMouseMotion(int x, int y, int32_t state) {
  mousePosition = Int2(x, y);
  mouseEvents.push_back(MouseEvent{x, y, -1, state});
  mousePosition2D = scene2D->toScene(mousePosition);
}

void DeviceManager::create(const std::string &programPath, const std::string &title, int width,
                           int height, bool fullscreen) {
  ASSERT(deviceManager == NULL);
  DeviceManager *device = new DeviceManager();

  std::strncpy(programPathCopy, programPath.c_str(), sizeof(programPathCopy) - 1);
  int argc = 1;
  glutInit(&argc, glutArguments);

  glutInitDisplayMode(GLUT_DOUBLE | GLUT_ALPHA | GLUT_DEPTH | GLUT_MULTISAMPLE);
  glutInitWindowSize(width, height);
  windowSize = Int2(width, height);
  glutCreateWindow(title.c_str());
  glutDisplayFunc(onDisplay);
  glutMouseFunc(onButton);
  glutMotionFunc(onDrag);
  glutPassiveMotionFunc(onMove);
  device->applyStartupState(width, height);

  KeyboardManager::registerCallbacks(keyboardManager);

  scene2D->windowSize = windowSize;
  scene2D->sceneSize = windowSize;
  scene2D->applyProjection();

  if (fullscreen) {
    // freeglut applies window requests at the next event poll, and the size
    // request of the start-up state would undo the full-screen size (without
    // a window manager). Let it apply first.
    glutMainLoopEvent();
    glutFullScreen();
    everFullscreen = true;
  }

  GLenum glewResult = glewInit();
  if (glewResult != GLEW_OK)
    FATAL(reinterpret_cast<const char *>(glewGetErrorString(glewResult)));

  deviceManager = device;
}

DeviceManager::~DeviceManager() {}

void DeviceManager::nextFrame() {
  int width = glutGet(GLUT_WINDOW_WIDTH);
  int height = glutGet(GLUT_WINDOW_HEIGHT);
  if (width != windowSize.x() || height != windowSize.y())
    onWindowResized(width, height);

  keyboardManager->typedKeys.clear();
  mouseEvents.clear();

  platformSleepMs(frameSleepMs(platformMicroseconds() - frameStartTime));

  glutSwapBuffers();
  glutMainLoopEvent();

  int64_t now = platformMicroseconds();
  periodDuration = clampPeriod(now - lastFrameTime);
  frameStartTime = now;
  lastFrameTime = now;

  glColor3f(1, 1, 1);
  glRasterPos2i(0, windowSize.y());
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
}

void DeviceManager::onWindowResized(int width, int height) {
  std::cout << "Rescaling to (" << width << "," << height << ")" << std::endl;
  windowSize = Int2(width, height);
  glViewport(0, 0, width, height);
  glClear(GL_COLOR_BUFFER_BIT);
  glFlush();
  glutPostRedisplay();
  scene2D->windowSize = windowSize;
  if (scene2D->isSceneSizeFollowingWindow)
    scene2D->sceneSize = windowSize;
  scene2D->applyProjection();
  scene3D->aspectRatio = static_cast<float>(width) / static_cast<float>(height);
}

void DeviceManager::setFullscreenMode(int width, int height) {
  everFullscreen = true;
  platformSetFullscreenMode(width, height);
}

void DeviceManager::setWindowedMode(int width, int height) {
  platformSetWindowedMode(width, height);
}
