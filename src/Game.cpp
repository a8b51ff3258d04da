// Start-up, frame and shut-down order of the game. Steps whose objects are not
// part of the program yet are marked where they join; nothing stands in for them.
#include "Game.h"

#include "DeviceManager.h"
#include "FatalReport.h"
#include "Font.h"
#include "KeyboardManager.h"
#include "Scene2D.h"
#include "Sprite.h"
#include "SpriteManager.h"

#include <GL/freeglut.h>

#include <iostream>

std::string loadGameFileName = "";
std::string saveGameFileName = "";

bool handleMenuKey(int key, bool isEditorDialogOpen, bool &isRunning, bool &isMainMenuShown,
                   bool &isOptionsMenuShown) {
  if (isMainMenuShown) {
    if (key == keyCodeEscape && !isEditorDialogOpen) {
      isMainMenuShown = false;
      isOptionsMenuShown = false;
    }
    if (key == 'q' || key == 'Q')
      isRunning = false;
    return false;
  }
  if (isOptionsMenuShown) {
    isOptionsMenuShown = false;
    isMainMenuShown = true;
    return false;
  }
  if (key == keyCodeEscape && !isEditorDialogOpen) {
    isMainMenuShown = true;
    isOptionsMenuShown = false;
  }
  return true;
}

Game::Game(const std::string &programPath, bool fullscreen)
    : isRunning(true),
      isMainMenuShown(false),
      isOptionsMenuShown(false),
      font(nullptr),
      mainMenuSprite(nullptr),
      optionsMenuSprite(nullptr),
      menuMouseSprite(nullptr) {
  std::cout << "================ Initializing ..." << std::endl;
  // The window, the GL state, "extensions.txt" and the extension loader.
  DeviceManager::create(programPath, "", 800, 600, fullscreen);
  // The sound manager (programPath) joins here: it starts the audio library.
  font = new Font("default_font.png");
  scene2D->isSceneSizeFollowingWindow = true;
  // The program draws its own pointer in the menus and the editor.
  glutSetCursor(GLUT_CURSOR_NONE);
  // The menu screens and the pointer, anchored at their top-left corner.
  mainMenuSprite = spriteManager->createSprite("menus/main_menu.png", 1);
  optionsMenuSprite = spriteManager->createSprite("menus/options_menu.png", 1);
  menuMouseSprite = spriteManager->createSprite("menus/menu_mouse.png", 1);
  mainMenuSprite->position = Int2(0, 0);
  optionsMenuSprite->position = Int2(0, 0);
  // The world joins here, with the font and the sound manager.
  reloadScript();
  std::cout << "================ Initialized, first draw ..." << std::endl;
}

Game::~Game() {
  shutdownScript();
  spriteManager->removeSprite(mainMenuSprite);
  spriteManager->removeSprite(optionsMenuSprite);
  spriteManager->removeSprite(menuMouseSprite);
  mainMenuSprite = optionsMenuSprite = menuMouseSprite = nullptr;
  // The world is deleted here, then the sound manager.
  delete font;
  font = nullptr;
  ASSERT(deviceManager != NULL);
  delete deviceManager;
  deviceManager = NULL;
}

void Game::reloadScript() {
  std::cout << "==== Reload script file" << std::endl;
  shutdownScript();
  // The script host joins here: a new one from loadScript (sound manager,
  // font) runs "world.lua"; the script context's world reference is set and
  // lua_onInitGame is called.
  std::cout << "==== Script file reloaded" << std::endl;
}

void Game::shutdownScript() {
  // With the script host: unloadScript (lua_onUninitGame, object types,
  // global variables), then the host is deleted and the pointer cleared.
}

bool Game::isEditorDialogOpen() const {
  // Joins with the editor: its dialog step above 0. No editor, no dialog.
  return false;
}

void Game::handleTypedKeys() {
  for (int key : keyboardManager->typedKeys) {
    bool reachesWorld =
        handleMenuKey(key, isEditorDialogOpen(), isRunning, isMainMenuShown, isOptionsMenuShown);
    if (!reachesWorld)
      continue;
    // The world's key handler joins here: the low 8 bits of the key, with the
    // number of script object types asked of the script for each key.
  }
}

void Game::handleMouseEvents() {
  for (const MouseEvent &event : mouseEvents) {
    (void)event;
    if (isMainMenuShown || isOptionsMenuShown) {
      // The menus' mouse input joins here.
      continue;
    }
    // The editor (in editor mode) or the in-game cube creation and then the
    // player join here, with the number of script object types.
  }
}

void Game::frame() {
  // Shows the previous frame, holds the budget, polls events, measures the period.
  deviceManager->nextFrame();
  handleTypedKeys();
  handleMouseEvents();
  // The world's per-frame step joins here (script context's world reference
  // set again first).
  // Pending save-game load, then pending save, join with the player and the
  // script's global variables.
  // Water switch and fog colour from the script context join with the world.
  // lua_loop joins with the script host: the script draws the frame.
  // The menu overlay (darkened screen, menu picture, banner, frame rate)
  // joins with the menus.
  // The program's own pointer, over a menu (and, once the world lands, in
  // editor mode).
  if (isMainMenuShown || isOptionsMenuShown) {
    // The pointer is drawn in 2D whatever the frame left: the 2D projection
    // (y downwards, so both windings are kept), filled, over everything,
    // blended by the picture's alpha. The state stays so for the next frame.
    scene2D->applyProjection();
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(1, 1, 1, 1);
    menuMouseSprite->position = mousePosition2D;
    menuMouseSprite->draw();
  }
  // The script's quit request joins with the script host.
}
