// Paints the menu screens. The game draws a menu picture at the window's
// top-left corner at its own size and reacts to presses strictly inside fixed
// rectangles of window pixels, so every button here is painted on exactly the
// pixels of its rectangle. The pictures are 1024 × 1024 (a power of two, which
// the image loader keeps as it is) with the screen in the top-left 800 × 600
// and the rest transparent.
#include "MenuPictures.h"

#include "Picture.h"
#include "PngWriter.h"
#include "TextRenderer.h"

#include <string>
#include <vector>

namespace {

const int pictureSize = 1024;
const int screenWidth = 800;
const int screenHeight = 600;

const Rgba panelTop{22, 32, 56, 235};
const Rgba panelBottom{8, 12, 26, 235};
const Rgba titleColour{255, 214, 120, 255};
const Rgba labelColour{235, 240, 250, 255};
const Rgba hintColour{150, 165, 190, 255};
const Rgba ruleColour{90, 110, 150, 255};

struct ButtonStyle {
  Rgba top;
  Rgba bottom;
  Rgba border;
};
const ButtonStyle plainButton{{78, 110, 165, 255}, {44, 66, 112, 255}, {160, 195, 245, 255}};
const ButtonStyle offButton{{150, 64, 64, 255}, {98, 36, 36, 255}, {235, 160, 160, 255}};
const ButtonStyle onButton{{60, 145, 82, 255}, {32, 94, 50, 255}, {160, 230, 175, 255}};

Picture makeScreen() {
  Picture picture(pictureSize, pictureSize, Rgba{0, 0, 0, 0});
  picture.fillGradient(0, 0, screenWidth, screenHeight, panelTop, panelBottom);
  picture.outlineRect(0, 0, screenWidth, screenHeight, 2, ruleColour);
  return picture;
}

// Paints a button over the pixels x0..x1, y0..y1 (inclusive) with its label
// lines centred, one above the other.
void drawButton(Picture &picture, TextRenderer &text, int x0, int y0, int x1, int y1,
                const ButtonStyle &style, const std::vector<std::string> &lines, int size) {
  int w = x1 - x0 + 1;
  int h = y1 - y0 + 1;
  picture.fillGradient(x0, y0, w, h, style.top, style.bottom);
  picture.outlineRect(x0, y0, w, h, 2, style.border);
  if (!text.setPixelSize(size))
    return;
  int lineStep = size + 2;
  int firstY = y0 + (h - lineStep * int(lines.size())) / 2;
  for (size_t i = 0; i < lines.size(); ++i)
    text.drawCentred(picture, x0, firstY + int(i) * lineStep, w, lineStep, lines[i], labelColour);
}

// A button on the open rectangle lo < x < hi, lo < y < hi: it covers exactly
// the pixels a press can hit.
void drawRectButton(Picture &picture, TextRenderer &text, int left, int top, int right, int bottom,
                    const ButtonStyle &style, const std::vector<std::string> &lines, int size) {
  drawButton(picture, text, left + 1, top + 1, right - 1, bottom - 1, style, lines, size);
}

// A button on one cell of a grid whose cells start at (left, top) and share
// their borders: two pixels of gutter on each side keep neighbours apart.
void drawCellButton(Picture &picture, TextRenderer &text, int left, int top, int cellWidth,
                    int cellHeight, const ButtonStyle &style, const std::vector<std::string> &lines,
                    int size) {
  drawButton(picture, text, left + 2, top + 2, left + cellWidth - 3, top + cellHeight - 3, style,
             lines, size);
}

void drawText(Picture &picture, TextRenderer &text, int x, int baseline, int size,
              const std::string &line, Rgba colour) {
  if (text.setPixelSize(size))
    text.draw(picture, x, baseline, line, colour);
}

}  // namespace

bool generateMainMenu(TextRenderer &text, const std::string &gameDir) {
  Picture picture = makeScreen();
  drawText(picture, text, 50, 70, 44, "Cube World", titleColour);
  picture.fillRect(50, 84, 700, 2, ruleColour);
  // The frame rate is printed by the game at (155, 116); that corner stays empty.

  struct Entry {
    int top;
    const char *label;
    const char *hint;
  };
  const Entry entries[] = {
      {150, "Resume", "Back to the game"},
      {250, "Options", "Display mode, view distance, shadows, mouse, water, regions"},
      {350, "Quit", "Leave the game"},
  };
  for (const Entry &e : entries) {
    drawRectButton(picture, text, 50, e.top, 150, e.top + 65, plainButton, {e.label}, 18);
    drawText(picture, text, 170, e.top + 38, 15, e.hint, hintColour);
  }
  drawText(picture, text, 50, 560, 14, "Escape: back to the game     Q: quit", hintColour);
  return writePng(gameDir + "/menus/main_menu.png", picture, keepAlpha);
}

bool generateOptionsMenu(TextRenderer &text, const std::string &gameDir) {
  Picture picture = makeScreen();
  drawText(picture, text, 50, 42, 28, "Options", titleColour);
  drawRectButton(picture, text, 200, 10, 270, 50, plainButton, {"Back"}, 16);

  drawText(picture, text, 50, 92, 15, "Display mode", hintColour);
  const char *displayModes[8][2] = {
      {"Window", "800 x 600"},       {"Full screen", "desktop"},     {"Full screen", "640 x 480"},
      {"Full screen", "800 x 600"},  {"Full screen", "1024 x 768"},  {"Full screen", "1280 x 1024"},
      {"Full screen", "1280 x 800"}, {"Full screen", "1920 x 1200"},
  };
  for (int i = 0; i < 8; ++i)
    drawCellButton(picture, text, 50 + 100 * (i % 4), 100 + 50 * (i / 4), 100, 50, plainButton,
                   {displayModes[i][0], displayModes[i][1]}, 12);

  drawText(picture, text, 50, 238, 15, "Settings", hintColour);
  struct Row {
    const char *label;
    const char *left;
    const char *right;
  };
  const Row rows[5] = {
      {"View distance", "Nearer", "Further"}, {"Shadows", "Off", "On"},
      {"Reverse mouse Y", "Off", "On"},       {"Water layers", "Off", "On"},
      {"Load new regions", "Off", "On"},
  };
  for (int r = 0; r < 5; ++r) {
    int top = 250 + 50 * r;
    drawText(picture, text, 60, top + 31, 16, rows[r].label, labelColour);
    bool isSwitch = r > 0;
    drawCellButton(picture, text, 250, top, 100, 50, isSwitch ? offButton : plainButton,
                   {rows[r].left}, 15);
    drawCellButton(picture, text, 350, top, 100, 50, isSwitch ? onButton : plainButton,
                   {rows[r].right}, 15);
  }
  drawText(picture, text, 470, 122, 13, "Back to a window works only", hintColour);
  drawText(picture, text, 470, 138, 13, "before the first full-screen choice.", hintColour);
  drawText(picture, text, 470, 281, 13, "Each press moves the view", hintColour);
  drawText(picture, text, 470, 297, 13, "distance one step.", hintColour);
  drawText(picture, text, 50, 560, 14,
           "Any key: back to the main menu     Settings last until the game ends", hintColour);
  return writePng(gameDir + "/menus/options_menu.png", picture, keepAlpha);
}

bool generateMenuPointer(const std::string &gameDir) {
  Picture picture(32, 32, Rgba{255, 255, 255, 0});
  // An arrow pointing up and left; the black outline surrounds a white body.
  const std::vector<float> outline = {0.0f,  0.0f,  0.0f,  23.0f, 5.6f,  18.0f, 9.6f,
                                      27.0f, 13.6f, 25.2f, 9.7f,  16.6f, 17.0f, 16.6f};
  const std::vector<float> body = {1.4f,  3.4f,  1.4f,  19.8f, 6.1f,  15.6f, 10.3f,
                                   25.0f, 11.8f, 24.4f, 7.6f,  15.2f, 13.6f, 15.2f};
  picture.fillPolygon(outline, Rgba{0, 0, 0, 255});
  picture.fillPolygon(body, Rgba{255, 255, 255, 255});
  // The tip is the pointer's position: its pixel must be solid.
  picture.set(0, 0, Rgba{0, 0, 0, 255});
  return writePng(gameDir + "/menus/menu_mouse.png", picture, keepAlpha);
}
