// The menu pictures: "menus/main_menu.png" and "menus/options_menu.png", whose
// painted buttons lie on the fixed click rectangles the game tests, and the
// pointer "menus/menu_mouse.png" with its tip on the top-left pixel.
#pragma once

#include <string>

class TextRenderer;

// Each writes into gameDir + "/menus" (which must exist); false after a message on failure.
bool generateMainMenu(TextRenderer &text, const std::string &gameDir);
bool generateOptionsMenu(TextRenderer &text, const std::string &gameDir);
bool generateMenuPointer(const std::string &gameDir);
