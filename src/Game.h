// The one Game: owns the top-level objects (device, sounds, font, menu
// sprites, world, and later the script host) and fixes the order of the work done
// at start, in every frame and at the end. Lives on the run function's stack.
#pragma once

#include <string>

class Font;
class ScriptHost;
class SoundManager;
class Sprite;
class World;

// Pending save-game requests of the script: a file name, "" when none.
extern std::string loadGameFileName;
extern std::string saveGameFileName;

// One typed key against the screen flags (main menu, options menu, running).
// Returns true when the key then goes on to the world: only while playing.
// While the editor has a dialog open, Escape neither shows nor hides a menu.
bool handleMenuKey(int key, bool isEditorDialogOpen, bool &isRunning, bool &isMainMenuShown,
                   bool &isOptionsMenuShown);

class Game {
 public:
  Game(const std::string &programPath, bool fullscreen);
  ~Game();
  Game(const Game &) = delete;
  Game &operator=(const Game &) = delete;

  // One pass of the loop; what it draws is shown by the next pass.
  void frame();
  // Drops the script state, if any, and loads the game script anew.
  void reloadScript();

  World *world;  // owned: indexed world, editor, player
  bool isRunning;
  bool isMainMenuShown;
  bool isOptionsMenuShown;
  Font *font;                  // owned; menus and script text
  SoundManager *soundManager;  // owned; its construction starts the audio library
  ScriptHost *scriptHost;      // owned; null until the first load
  // From the sprite manager, returned to it at the end.
  Sprite *mainMenuSprite;     // "menus/main_menu.png"
  Sprite *optionsMenuSprite;  // "menus/options_menu.png"
  Sprite *menuMouseSprite;    // "menus/menu_mouse.png", the pointer drawn by the program

 private:
  void handleTypedKeys();
  void handleMouseEvents();
  void shutdownScript();
  // The pending save-game load, then the pending save.
  void handleSaveGameRequests();
  void handleSaveRequest();
  // Whether the world's editor has a dialog open (its dialog step above 0).
  bool isEditorDialogOpen() const;
};
