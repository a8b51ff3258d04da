// The main and options menus: what a mouse press does while one of them is
// shown (fixed rectangles in window pixels, borders outside) and the overlay
// drawn over the frame (darkened screen, menu picture, frame rate). The
// screen flags are Game's; the options act on the world and the display.
#pragma once

#include <cstdint>
#include <string>

class Font;
class Game;
class Sprite;
class World;
struct MouseEvent;

// The view distance never falls below 400; a press on the left half lowers
// it only while it is more than 410, one on the right half raises it only
// while it is less than 4,400: from 1500 it stops after eight presses at
// about 5,130 (16 regions around the camera), which keeps the per-frame
// region walks short.
const float viewDistanceBase = 400.f;
const float viewDistanceLowerLimit = 10.f;
const float viewDistanceRaiseLimit = 4000.f;

// One press of the view distance row: v - 400 scaled by 1.2 (single precision).
float raisedViewDistance(float viewDistance);
float loweredViewDistance(float viewDistance);

// "FPS: " and 1,000,000 / periodUs with six significant digits, then a line
// feed; "FPS: -" while no period has been measured (0 or less).
std::string frameRateText(int64_t periodUs);

// One mouse event while a menu is shown; only presses act.
void handleMenuMouse(Game &game, const MouseEvent &event);
void handleMenuMouse(const MouseEvent &event, World &world, bool &isRunning, bool &isMainMenuShown,
                     bool &isOptionsMenuShown);

// Sets the 2D drawing state of the menu overlay and the pointer: the 2D
// projection, no lighting, depth test or culling, filled polygons, alpha
// blending. The state stays so afterwards.
void applyMenuDrawingState();

// The overlay after the script's frame, when a menu is shown.
void drawMenuOverlay(Game &game);
void drawMenuOverlay(bool isMainMenuShown, bool isOptionsMenuShown, Sprite &mainMenuSprite,
                     Sprite &optionsMenuSprite, Font &font);
