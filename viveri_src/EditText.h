// A one-line text input drawn with the bitmap font: the text, an insertion
// point moved and edited by typed keys, and a bar cursor blinking about every
// half second. The owner reads and sets text, cursorPos and position directly.
#pragma once

#include "BasicVector.h"

#include <string>

class Font;

class EditText {
 public:
  // The device must exist (the blink reads its clock); font is not owned.
  EditText(const Int2 &position, Font *font);

  // One typed character: 8 Backspace, 11 to the start, 28 Right, 29 Left,
  // 127 Delete; anything the font can draw is inserted (up to maxLength).
  void handleKey(unsigned char key);
  void draw(float scale);

  std::string text;
  int cursorPos;
  Int2 position;
  int maxLength;      // -1: no limit
  int lastBlinkTime;  // ms of getTimeMs
  bool isCursorShown;
  Font *font;
};
