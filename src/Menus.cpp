// Mouse presses on the main and options menus and the overlay that shows
// them. Rectangles are open: a press on a border is outside. Depends on the
// device (display modes, period), the world (view distance, shadows, mouse,
// water, region loading) and the 2D scene with its sprites and font.
#include "Menus.h"

#include "DeviceManager.h"
#include "Font.h"
#include "Game.h"
#include "Image.h"
#include "Scene2D.h"
#include "Sprite.h"
#include "Water.h"
#include "World.h"
#include "WorldIndexator.h"

#include <GL/freeglut.h>

#include <sstream>

namespace {

bool isInside(const MouseEvent &event, int left, int top, int right, int bottom) {
  return event.x > left && event.x < right && event.y > top && event.y < bottom;
}

void showMainMenu(bool &isMainMenuShown, bool &isOptionsMenuShown) {
  isOptionsMenuShown = false;
  isMainMenuShown = true;
}

void handleMainMenuPress(const MouseEvent &event, bool &isRunning, bool &isMainMenuShown,
                         bool &isOptionsMenuShown) {
  if (isInside(event, 50, 150, 150, 215)) {
    isMainMenuShown = false;
  } else if (isInside(event, 50, 250, 150, 315)) {
    isMainMenuShown = false;
    isOptionsMenuShown = true;
  } else if (isInside(event, 50, 350, 150, 415)) {
    isRunning = false;
  }
}

// Columns of 100 pixels from x = 50; the first row from y = 100, the second
// from y = 150.
void chooseDisplayMode(int row, int column) {
  struct Size {
    int width, height;
  };
  // Row 0 column 0 (windowed) and column 1 (desktop) are handled apart.
  const Size fullscreenSizes[2][4] = {
      {{0, 0}, {0, 0}, {640, 480}, {800, 600}},
      {{1024, 768}, {1280, 1024}, {1280, 800}, {1920, 1200}},
  };
  if (row == 0 && column == 0) {
    // Back to a window only before the first full-screen choice.
    if (!everFullscreen)
      deviceManager->setWindowedMode(800, 600);
    return;
  }
  everFullscreen = true;
  if (row == 0 && column == 1) {
    // Covers the screen at the mode it has.
    glutFullScreen();
    return;
  }
  const Size &size = fullscreenSizes[row][column];
  deviceManager->setFullscreenMode(size.width, size.height);
}

// Rows of 50 pixels from y = 250; the left half turns a setting off (or
// lowers the view distance), the right half turns it on (or raises it).
void chooseSetting(World &world, int row, bool on) {
  switch (row) {
    case 0:
      world.viewDistance =
          on ? raisedViewDistance(world.viewDistance) : loweredViewDistance(world.viewDistance);
      break;
    case 1:
      shadowsEnabled = on;
      // Every region is rebuilt with the new setting when next drawn.
      worldIndexator->dropAllGeometry();
      break;
    case 2:
      world.setReverseMouseY(on);
      break;
    case 3:
      if (world.indexedWorld.water != NULL)
        world.indexedWorld.water->drawLayers = on;
      break;
    case 4:
      worldIndexator->loadNewRegions = on;
      break;
    default:
      break;
  }
}

void handleOptionsMenuPress(const MouseEvent &event, World &world, bool &isMainMenuShown,
                            bool &isOptionsMenuShown) {
  if (isInside(event, 200, 10, 270, 50)) {
    showMainMenu(isMainMenuShown, isOptionsMenuShown);
    return;
  }
  if (isInside(event, 50, 100, 450, 200)) {
    chooseDisplayMode((event.y - 100) / 50, (event.x - 50) / 100);
    return;
  }
  if (isInside(event, 250, 250, 450, 500))
    chooseSetting(world, (event.y - 250) / 50, (event.x - 250) / 100 == 1);
}

}  // namespace

float raisedViewDistance(float viewDistance) {
  float beyond = viewDistance - viewDistanceBase;
  if (!(beyond < viewDistanceRaiseLimit))
    return viewDistance;
  beyond = beyond * 1.2f;
  return viewDistanceBase + beyond;
}

float loweredViewDistance(float viewDistance) {
  float beyond = viewDistance - viewDistanceBase;
  if (!(beyond > viewDistanceLowerLimit))
    return viewDistance;
  beyond = beyond / 1.2f;
  return viewDistanceBase + beyond;
}

std::string frameRateText(int64_t periodUs) {
  std::ostringstream text;
  text << "FPS: ";
  if (periodUs > 0)
    text << static_cast<float>(1000000.0 / static_cast<double>(periodUs));
  else
    text << "-";
  text << "\n";
  return text.str();
}

void handleMenuMouse(Game &game, const MouseEvent &event) {
  handleMenuMouse(event, *game.world, game.isRunning, game.isMainMenuShown,
                  game.isOptionsMenuShown);
}

void handleMenuMouse(const MouseEvent &event, World &world, bool &isRunning, bool &isMainMenuShown,
                     bool &isOptionsMenuShown) {
  if (event.state != mouseStatePressed)
    return;
  if (isMainMenuShown)
    handleMainMenuPress(event, isRunning, isMainMenuShown, isOptionsMenuShown);
  else if (isOptionsMenuShown)
    handleOptionsMenuPress(event, world, isMainMenuShown, isOptionsMenuShown);
}

void applyMenuDrawingState() {
  // The 2D projection has y downwards, so both windings are kept.
  scene2D->applyProjection();
  glDisable(GL_LIGHTING);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_CULL_FACE);
  glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

void drawMenuOverlay(Game &game) {
  drawMenuOverlay(game.isMainMenuShown, game.isOptionsMenuShown, *game.mainMenuSprite,
                  *game.optionsMenuSprite, *game.font);
}

void drawMenuOverlay(bool isMainMenuShown, bool isOptionsMenuShown, Sprite &mainMenuSprite,
                     Sprite &optionsMenuSprite, Font &font) {
  if (!isMainMenuShown && !isOptionsMenuShown)
    return;
  applyMenuDrawingState();
  // The running world stays visible, darkened, under the menu.
  glColor4ub(0, 0, 0, 128);
  glDisable(GL_TEXTURE_2D);
  glMatrixMode(GL_MODELVIEW);
  int w = scene2D->sceneSize.x();
  int h = scene2D->sceneSize.y();
  glBegin(GL_QUADS);
  glVertex2i(0, 0);
  glVertex2i(w, 0);
  glVertex2i(w, h);
  glVertex2i(0, h);
  glEnd();
  glColor4ub(255, 255, 255, 255);

  if (isMainMenuShown) {
    mainMenuSprite.draw();
    Colour saved = deviceManager->getCurrentColour();
    glColor4ub(255, 255, 255, 255);
    std::string fps = frameRateText(periodDuration);
    int lineHeight = font.image->getHeight();
    font.printText(Float2(1.f, 1.f), fps.c_str(), 155, 100 + lineHeight);
    glColor4ub(saved.r, saved.g, saved.b, saved.a);
  } else {
    optionsMenuSprite.draw();
  }
}
