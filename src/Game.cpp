// Start-up, frame and shut-down order of the game. Steps whose objects are not
// part of the program yet are marked where they join; the game script draws
// every frame.
#include "Game.h"

#include "DeviceManager.h"
#include "FatalReport.h"
#include "Font.h"
#include "KeyboardManager.h"
#include "Menus.h"
#include "Player.h"
#include "SaveGame.h"
#include "Scene2D.h"
#include "ScriptContext.h"
#include "ScriptHost.h"
#include "SoundManager.h"
#include "Sprite.h"
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
      scriptHost(nullptr),
      mainMenuSprite(nullptr),
      optionsMenuSprite(nullptr),
      menuMouseSprite(nullptr) {
  std::cout << "================ Initializing ..." << std::endl;
  // The window, the GL state, "extensions.txt" and the extension loader.
  DeviceManager::create(programPath, "", 800, 600, fullscreen);
  // The audio library starts with the sound manager.
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
  world = new World(font, soundManager);
  reloadScript();
  std::cout << "================ Initialized, first draw ..." << std::endl;
}

Game::~Game() {
  shutdownScript();
  // A save asked for in the last frame or by lua_onUninitGame is still written.
  handleSaveRequest();
  spriteManager->removeSprite(mainMenuSprite);
  spriteManager->removeSprite(optionsMenuSprite);
  spriteManager->removeSprite(menuMouseSprite);
  mainMenuSprite = optionsMenuSprite = menuMouseSprite = nullptr;
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
  // The world is known before the script's main chunk runs, so top-level
  // calls may already use it.
  scriptContext.world = world;
  scriptHost = ScriptHost::loadScript(soundManager, font);
  scriptContext.world = world;
  scriptHost->callScriptFunction("lua_onInitGame");
  std::cout << "==== Script file reloaded" << std::endl;
}

void Game::shutdownScript() {
  if (scriptHost == nullptr)
    return;
  scriptHost->unloadScript();
  delete scriptHost;
  scriptHost = nullptr;
}

void Game::handleSaveGameRequests() {
  std::string loadName = loadGameFileName;
  loadGameFileName = "";
  if (!loadName.empty())
    loadGameFile(loadName, world);
  handleSaveRequest();
}

void Game::handleSaveRequest() {
  std::string saveName = saveGameFileName;
  saveGameFileName = "";
  if (!saveName.empty())
    saveGameFile(saveName, world);
}

bool Game::isEditorDialogOpen() const {
  return world->editor.dialogStep > 0;
}

void Game::handleTypedKeys() {
  for (int key : keyboardManager->typedKeys) {
    bool reachesWorld =
        handleMenuKey(key, isEditorDialogOpen(), isRunning, isMainMenuShown, isOptionsMenuShown);
    if (!reachesWorld)
      continue;
    int nbObjectTypes = scriptHost->getNbObjectTypes();
    world->onKey(static_cast<char>(key & 0xFF), nbObjectTypes);
  }
}

void Game::handleMouseEvents() {
  for (const MouseEvent &event : mouseEvents) {
    if (isMainMenuShown || isOptionsMenuShown) {
      handleMenuMouse(*this, event);
      continue;
    }
    int nbObjectTypes = scriptHost->getNbObjectTypes();
    if (world->isEditorMode) {
      world->editor.onMouse(event, nbObjectTypes);
    } else if (!world->editor.onBuildMouse(event)) {
      world->player->onMouse(event);
    }
  }
}

void Game::frame() {
  // Shows the previous frame, holds the budget, polls events, measures the period.
  deviceManager->nextFrame();
  handleTypedKeys();
  handleMouseEvents();
  scriptContext.world = world;
  world->update(scriptHost->lua);
  handleSaveGameRequests();
  world->indexedWorld.waterEnabled = scriptContext.isWaterEnabled;
  const Colour &fog = scriptContext.fogColor;
  world->fogColor[0] = fog.r;
  world->fogColor[1] = fog.g;
  world->fogColor[2] = fog.b;
  world->fogColor[3] = fog.a;
  // The script draws the frame.
  scriptHost->callScriptFunction("lua_loop");
  // Darkened screen, menu picture and frame rate, when a menu is shown.
  drawMenuOverlay(*this);
  // The program's own pointer, over a menu or in editor mode.
  if (isMainMenuShown || isOptionsMenuShown || world->isEditorMode) {
    // The pointer is drawn in 2D whatever the frame left; the state stays
    // so for the next frame.
    applyMenuDrawingState();
    glColor4f(1, 1, 1, 1);
    menuMouseSprite->position = mousePosition2D;
    menuMouseSprite->draw();
  }
  if (scriptContext.quitRequested)
    isRunning = false;
}
