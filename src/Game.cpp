// Start-up, frame and shut-down order of the game. Steps whose objects are not
// part of the program yet are marked where they join; until the script host
// draws the frame, the frame draws the world the way the game script does.
#include "Game.h"

#include "DeviceManager.h"
#include "FatalReport.h"
#include "Font.h"
#include "KeyboardManager.h"
#include "Player.h"
#include "Scene2D.h"
#include "Sprite.h"
#include "SoundManager.h"
#include "SpriteManager.h"
#include "World.h"

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
    : world(nullptr),
      isRunning(true),
      isMainMenuShown(false),
      isOptionsMenuShown(false),
      font(nullptr),
      soundManager(nullptr),
      mainMenuSprite(nullptr),
      optionsMenuSprite(nullptr),
      menuMouseSprite(nullptr) {
  std::cout << "================ Initializing ..." << std::endl;
  // The window, the GL state, "extensions.txt" and the extension loader.
  DeviceManager::create(programPath, "", 800, 600, fullscreen);
  // The audio library; without a sound device the sounds stay silent.
  soundManager = new SoundManager(programPath);
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
  // The indexed world with "world.dat", the loading screen, player, skybox.
  world = new World(font, soundManager);
  reloadScript();
  std::cout << "================ Initialized, first draw ..." << std::endl;
}

Game::~Game() {
  shutdownScript();
  spriteManager->removeSprite(mainMenuSprite);
  spriteManager->removeSprite(optionsMenuSprite);
  spriteManager->removeSprite(menuMouseSprite);
  mainMenuSprite = optionsMenuSprite = menuMouseSprite = nullptr;
  // The player, skybox, editor and indexed world; then every sound and the
  // audio library.
  delete world;
  world = nullptr;
  delete soundManager;
  soundManager = nullptr;
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
  return world != nullptr && world->editor.dialogStep > 0;
}

void Game::handleTypedKeys() {
  for (int key : keyboardManager->typedKeys) {
    bool reachesWorld =
        handleMenuKey(key, isEditorDialogOpen(), isRunning, isMainMenuShown, isOptionsMenuShown);
    if (!reachesWorld)
      continue;
    // The low 8 bits of the key, so F1 to F12 arrive as 0 to 11. The number
    // of script object types is asked of the script for each key once the
    // script host exists.
    world->onKey(static_cast<char>(key & 0xff), 0);
  }
}

void Game::handleMouseEvents() {
  for (const MouseEvent &event : mouseEvents) {
    if (isMainMenuShown || isOptionsMenuShown) {
      // The menus' mouse input joins here.
      continue;
    }
    // In editor mode the editor's mouse handler joins here; in game mode the
    // in-game cube creation gets the event before the player.
    if (!world->isEditorMode)
      world->player->onMouse(event);
  }
}

void Game::frame() {
  // Shows the previous frame, holds the budget, polls events, measures the period.
  deviceManager->nextFrame();
  handleTypedKeys();
  handleMouseEvents();
  // The script context's world reference is set again here first, once the
  // script host exists.
  world->update(nullptr);
  // Pending save-game load, then pending save, join with the player and the
  // script's global variables.
  // Water switch and fog colour from the script context join with the world.
  // lua_loop joins with the script host: the script draws the frame. Until
  // then the frame draws the world itself, as the game script would.
  drawWorld();
  // The menu overlay (darkened screen, menu picture, banner, frame rate)
  // joins with the menus.
  // The program's own pointer, over a menu and in editor mode.
  if (isMainMenuShown || isOptionsMenuShown || world->isEditorMode) {
    menuMouseSprite->position = mousePosition2D;
    menuMouseSprite->draw();
  }
  // The script's quit request joins with the script host.
}

void Game::drawWorld() {
  deviceManager->clearScreen(colourBlack);
  world->placeCamera();
  world->draw();
  // The 2D pass: 2D projection, no lighting or depth test, both faces
  // filled, front faces culled (2D quads face away).
  scene2D->applyProjection();
  glDisable(GL_LIGHTING);
  glDisable(GL_DEPTH_TEST);
  glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
  glCullFace(GL_FRONT);
  world->draw2D(0);
}
