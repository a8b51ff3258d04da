// Editing keys, the insertion limit, the blink and the cursor bar.
#include "EditText.h"

#include "DeviceManager.h"
#include "FatalReport.h"
#include "Font.h"

#include <algorithm>

// The cursor starts hidden: the first draw after half a second of process
// time turns it on at once, so the bar shows as soon as the field appears.
EditText::EditText(const Int2 &position, Font *font)
    : cursorPos(0),
      position(position),
      maxLength(255),
      lastBlinkTime(0),
      isCursorShown(false),
      font(font) {
  ASSERT(deviceManager);
}

void EditText::handleKey(unsigned char key) {
  int length = (int)text.size();
  // The owner may have shortened the text under the cursor.
  cursorPos = std::clamp(cursorPos, 0, length);
  switch (key) {
    case 8:
      if (cursorPos > 0) {
        text.erase(size_t(cursorPos) - 1, 1);
        cursorPos--;
      }
      break;
    case 11:
      cursorPos = 0;
      break;
    case 28:
      if (cursorPos < length)
        cursorPos++;
      break;
    case 29:
      if (cursorPos > 0)
        cursorPos--;
      break;
    case 127:
      if (cursorPos < length)
        text.erase(size_t(cursorPos), 1);
      break;
    default:
      if (font->hasGlyph(key) && (maxLength == -1 || length + 1 <= maxLength)) {
        text.insert(size_t(cursorPos), 1, (char)key);
        cursorPos++;
      }
      break;
  }
}

void EditText::draw(float scale) {
  font->printText(Float2(scale, scale), text.c_str(), position.x(), position.y());
  int now = getTimeMs();
  if (lastBlinkTime + 500 < now) {
    lastBlinkTime = now;
    isCursorShown = !isCursorShown;
  }
  if (isCursorShown) {
    cursorPos = std::clamp(cursorPos, 0, (int)text.size());
    int x = position.x() + font->measureText(cursorPos, text.c_str(), scale) - 3;
    font->printText(Float2(scale, scale), "|", x, position.y());
  }
}
