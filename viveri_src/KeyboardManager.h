// Keys held right now and keys typed during the last event poll. Ordinary
// keys are the character freeglut delivers (0-255); function keys F1-F12 map
// to 256-267, arrows to 28-31, Page Up/Down to 33/34.
#pragma once

#include <cstdint>
#include <vector>

const int nbKeyCodes = 268;
const int keyCodeF1 = 256;
const int keyCodeRight = 28;
const int keyCodeLeft = 29;
const int keyCodeUp = 30;
const int keyCodeDown = 31;
const int keyCodePageUp = 33;
const int keyCodePageDown = 34;
const int keyCodeEscape = 27;

class KeyboardManager {
 public:
  KeyboardManager();

  // Registers the four freeglut keyboard callbacks (character down, up,
  // special down, up) for the given instance; a missing instance is fatal.
  static void registerCallbacks(KeyboardManager *instance);

  // The callbacks' work, reachable without freeglut for tests.
  void onCharacterDown(unsigned char c);
  void onCharacterUp(unsigned char c);
  void onSpecialDown(int glutKey);
  void onSpecialUp(int glutKey);

  // Code of a freeglut special key, or -1 for keys the program ignores.
  static int mapSpecialKey(int glutKey);

  uint8_t isKeyDown[nbKeyCodes];
  std::vector<int32_t> typedKeys;
};

extern KeyboardManager *keyboardManager;
