// The world object's start (loading screen, player, skybox), its per-frame
// update, the 3D and 2D passes the game script asks for, key dispatch between
// the editor and the player, and the collision answers.
#include "World.h"

#include "CustomObjectTypeManager.h"
#include "ScriptContext.h"

#include <GL/glew.h>
#include <GL/freeglut.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <iostream>

#include "Camera.h"
#include "CubeTypeManager.h"
#include "DeviceManager.h"
#include "Player.h"
#include "Scene2D.h"
#include "Scene3D.h"
#include "Skybox.h"
#include "Sprite.h"
#include "SpriteManager.h"
#include "Water.h"
#include "WorldIndexator.h"
#include "WorldRegion.h"

namespace {

const Float3 lightOffset(-3000.f, 10000.f, -3000.f);
const float fogShortening = 400.f;

// "loading.png" centred on a black-bordered screen, shown at once.
void showLoadingScreen() {
  scene2D->applyProjection();
  glDisable(GL_LIGHTING);
  glDisable(GL_DEPTH_TEST);
  glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
  glCullFace(GL_FRONT);
  glColor4ub(255, 255, 255, 255);
  Sprite *loading = spriteManager->createSprite("loading.png", 2);
  loading->position = Int2(windowSize.x() / 2, windowSize.y() / 2);
  loading->draw();
  glutSwapBuffers();
  spriteManager->removeSprite(loading);
}

// How many regions around the camera's region the view reaches; the float
// is bounded before it becomes an integer.
int32_t regionsInView(float viewDistance, float regionSize) {
  float n = viewDistance / regionSize;
  if (!(n >= 0.f))
    return 0;
  return static_cast<int32_t>(std::min(n, 1048576.f));
}

}  // namespace

World::World(Font *font, SoundManager *soundManager)
    : isEditorMode(false),
      indexedWorld(),
      editor(font, &indexedWorld),
      font(font),
      player(NULL),
      isHidden(false),
      skybox(NULL),
      fogColor{255, 255, 255, 255},
      viewDistance(1500.f) {
  position = Float3(0.f, 0.f, 0.f);
  showLoadingScreen();

  scene3D->fieldOfView = 90.f;
  scene3D->isLightingEnabled = true;
  glEnable(GL_LIGHTING);
  gluQuadricNormals(scene3D->quadric, GLU_FLAT);

  std::cout << "==== Loading player" << std::endl;
  player = new Player(soundManager);
  std::cout << "==== Player loaded" << std::endl;

  std::cout << "==== Loading skybox" << std::endl;
  float side = scene3D->farPlane - 1.f;
  skybox = new Skybox(Float3(side, side, side));
  std::cout << "==== Skybox loaded" << std::endl;
}

World::~World() {
  // The player deletes its model.
  delete player;
  player = NULL;
  delete skybox;
  skybox = NULL;
  // Then the editor and the indexed world, as members, in that order.
}

bool World::isCollidingPoint(const Float3 &point) {
  return worldIndexator->isCollidingPoint(point);
}

bool World::collideSegment(const Float3 &from, const Float3 &to, Float3 &out) {
  if (!isCollidingPoint(to))
    return false;
  out = from;
  return true;
}

bool World::intersectSegment(const Float3 &from, const Float3 &to, Float3 &out) {
  const WorldIndexator &table = *worldIndexator;
  Int3 c = table.regionIndexOf(scene3D->camera->position);
  int32_t n = regionsInView(table.viewDistance, table.regionSize);
  Int3 low(std::max<int64_t>(0, int64_t(c.x()) - n), std::max<int64_t>(0, int64_t(c.y()) - n),
           std::max<int64_t>(0, int64_t(c.z()) - n));
  Int3 high(std::min<int64_t>(table.tableRegionSize.x() - 1, int64_t(c.x()) + n),
            std::min<int64_t>(table.tableRegionSize.y() - 1, int64_t(c.y()) + n),
            std::min<int64_t>(table.tableRegionSize.z() - 1, int64_t(c.z()) + n));
  for (int32_t x = low.x(); x <= high.x(); ++x)
    for (int32_t y = low.y(); y <= high.y(); ++y)
      for (int32_t z = low.z(); z <= high.z(); ++z)
        if (table.getRegion(Int3(x, y, z))->intersectSegment(from, to, out))
          return true;
  return false;
}

void World::placeCamera() {
  if (isEditorMode)
    editor.placeCamera();
  else
    scene3D->placeCameraOrbit(player->getPosition() + Float3(0.f, 10.f, 0.f),
                              player->cameraDistance);
}

void World::draw() {
  glDisable(GL_FOG);
  if (isHidden)
    return;

  float side = scene3D->farPlane - 1.f;
  skybox->size = Float3(side, side, side);
  skybox->draw();

  glColor4ub(255, 255, 255, 255);
  scene3D->isLightingEnabled = true;
  glEnable(GL_LIGHTING);
  gluQuadricNormals(scene3D->quadric, GLU_FLAT);
  player->draw();
  scene3D->isLightingEnabled = false;
  glDisable(GL_LIGHTING);
  gluQuadricNormals(scene3D->quadric, GLU_NONE);

  scene3D->applyFog(fogColor, viewDistance - fogShortening);

  worldIndexator->viewDistance = viewDistance;
  // Script objects show their wireframe box in editor mode.
  cotm->isEditorMode = isEditorMode;
  worldIndexator->draw(isEditorMode);

  if (isEditorMode)
    editor.draw3D();
  else
    editor.drawBuild();

  indexedWorld.drawWater(0.f, 2.f * viewDistance);
  glDisable(GL_FOG);
}

void World::draw2D(int nbObjectTypes) {
  // A full-screen sprite drawn this frame hides the 3D world.
  isHidden = scriptContext.fullscreenSpriteDrawn;
  if (!isHidden && indexedWorld.waterEnabled && indexedWorld.water != NULL)
    indexedWorld.water->drawUnderwater(*scene3D->camera);
  glColor4ub(255, 255, 255, 255);
  if (isEditorMode)
    editor.draw2D(font, nbObjectTypes);
}

void World::update(lua_State *luaState) {
  scene3D->farPlane = 2.f * viewDistance;

  Float3 lit =
      isEditorMode ? editor.cursorWorldPosition() : player->getPosition() + Float3(0.f, 20.f, 0.f);
  Float3 light = lightOffset + lit;
  scene3D->lightPosition[0][0] = light.x();
  scene3D->lightPosition[0][1] = light.y();
  scene3D->lightPosition[0][2] = light.z();
  scene3D->lightRange[0] = -1.f;
  glEnable(GL_LIGHT0);
  scene3D->isLightEnabled[0] = true;

  scriptContext.currentState = luaState;

  cubeTypeManager->clearUsedFlags();
  cotm->endFrameMarks();
  worldIndexator->update();
  cubeTypeManager->freeIdleTextures();
  cotm->unloadIdleTypes();

  if (!isEditorMode && !isHidden && !editor.isBuilding())
    player->update(this);
}

void World::onKey(char key, int nbObjectTypes) {
  if ((key == 'a' || key == 'A') && editor.dialogStep < 1)
    isEditorMode = !isEditorMode;
  if (isEditorMode) {
    editor.onKey(key, nbObjectTypes);
    return;
  }
  if (!editor.onBuildKey(key))
    player->onKey(key);
}

void World::setReverseMouseY(bool isReverse) {
  player->isReverseMouseYCamera = isReverse;
  std::cout << "isReverseMouseYCamera: " << (isReverse ? 1 : 0) << std::endl;
}
