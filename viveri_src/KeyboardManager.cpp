// Keyboard state fed by the freeglut callbacks during the event poll.
#include "KeyboardManager.h"

#include "FatalReport.h"

#include <GL/freeglut.h>

#include <cstring>

KeyboardManager *keyboardManager = nullptr;

namespace {

// The instance the static freeglut callbacks forward to.
KeyboardManager *callbackTarget = nullptr;

void keyDown(unsigned char c, int, int) {
  callbackTarget->onCharacterDown(c);
}
void keyUp(unsigned char c, int, int) {
  callbackTarget->onCharacterUp(c);
}
void specialDown(int key, int, int) {
  callbackTarget->onSpecialDown(key);
}
void specialUp(int key, int, int) {
  callbackTarget->onSpecialUp(key);
}

}  // namespace

KeyboardManager::KeyboardManager() {
  std::memset(isKeyDown, 0, sizeof(isKeyDown));
}

void KeyboardManager::registerCallbacks(KeyboardManager *instance) {
  // The check reads as it would inside a member called on a missing instance.
  if (instance == nullptr)
    reportFatal(__DATE__, __FILE__, "this != NULL", __LINE__, __TIME__, nullptr);
  callbackTarget = instance;
  glutKeyboardFunc(keyDown);
  glutKeyboardUpFunc(keyUp);
  glutSpecialFunc(specialDown);
  glutSpecialUpFunc(specialUp);
}

int KeyboardManager::mapSpecialKey(int glutKey) {
  switch (glutKey) {
    case GLUT_KEY_F1:
      return 256;
    case GLUT_KEY_F2:
      return 257;
    case GLUT_KEY_F3:
      return 258;
    case GLUT_KEY_F4:
      return 259;
    case GLUT_KEY_F5:
      return 260;
    case GLUT_KEY_F6:
      return 261;
    case GLUT_KEY_F7:
      return 262;
    case GLUT_KEY_F8:
      return 263;
    case GLUT_KEY_F9:
      return 264;
    case GLUT_KEY_F10:
      return 265;
    case GLUT_KEY_F11:
      return 266;
    case GLUT_KEY_F12:
      return 267;
    case GLUT_KEY_RIGHT:
      return keyCodeRight;
    case GLUT_KEY_LEFT:
      return keyCodeLeft;
    case GLUT_KEY_UP:
      return keyCodeUp;
    case GLUT_KEY_DOWN:
      return keyCodeDown;
    case GLUT_KEY_PAGE_UP:
      return keyCodePageUp;
    case GLUT_KEY_PAGE_DOWN:
      return keyCodePageDown;
    default:
      return -1;
  }
}

void KeyboardManager::onCharacterDown(unsigned char c) {
  typedKeys.push_back(c);
  isKeyDown[c] = 1;
}

void KeyboardManager::onCharacterUp(unsigned char c) {
  isKeyDown[c] = 0;
}

void KeyboardManager::onSpecialDown(int glutKey) {
  int code = mapSpecialKey(glutKey);
  if (code < 0)
    return;
  typedKeys.push_back(code);
  isKeyDown[code] = 1;
}

void KeyboardManager::onSpecialUp(int glutKey) {
  int code = mapSpecialKey(glutKey);
  if (code >= 0)
    isKeyDown[code] = 0;
}
