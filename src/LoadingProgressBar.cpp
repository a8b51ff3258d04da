// Draws the progress bar in 2D scene coordinates and presents the frame.
#include "LoadingProgressBar.h"

#include <GL/gl.h>

#include "Colour.h"
#include "DeviceManager.h"
#include "PlatformTime.h"
#include "Scene2D.h"

LoadingProgressBar::LoadingProgressBar(bool isFreeing)
    : isFreeing(isFreeing), lastDisplay(platformMicroseconds()) {}

void LoadingProgressBar::regionDone(int64_t n, int64_t nbRegions) {
  int64_t now = platformMicroseconds();
  if (now - lastDisplay <= 100000 || nbRegions <= 0)
    return;
  int width = scene2D->sceneSize.x();
  int height = scene2D->sceneSize.y();
  int64_t progress = n * (width - 20) / nbRegions;
  int x = static_cast<int>(isFreeing ? width - progress - 10 : progress + 10);
  deviceManager->clearScreen(colourBlack);
  scene2D->drawRect(Int2(10, height - 50), Int2(width - 10, height - 30), Scene2D::outlined);
  scene2D->drawRect(Int2(10, height - 50), Int2(x, height - 30), Scene2D::filled);
  deviceManager->nextFrame();
  lastDisplay = platformMicroseconds();
}
