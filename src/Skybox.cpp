// The six sky pictures drawn on the inside of a box around the camera.
#include "Skybox.h"

#include <GL/glew.h>

#include "Camera.h"
#include "Image.h"
#include "Scene3D.h"
#include "Sprite.h"
#include "SpriteManager.h"

const char *const skyboxFileNames[6] = {"skybox/bottom.png", "skybox/top.png",   "skybox/left.png",
                                        "skybox/right.png",  "skybox/front.png", "skybox/back.png"};

Skybox::Skybox(Float3 size) : size(size) {
  for (int i = 0; i < 6; ++i) {
    faces[i] = spriteManager->createSprite(skyboxFileNames[i], 1);
    faceTextures[i] = faces[i]->images[0]->getTexture();
  }
}

Skybox::~Skybox() {
  for (Sprite *&face : faces) {
    spriteManager->removeSprite(face);
    face = NULL;
  }
}

void Skybox::draw() {
  glColor4ub(255, 255, 255, 255);
  glPushMatrix();
  // The box moves with the camera, so it is never reached.
  glLoadMatrixf(scene3D->viewMatrix);
  const Float3 &eye = scene3D->camera->position;
  glTranslatef(eye.x(), eye.y(), eye.z());
  // Seen from inside: bottom, top, -z, +z, +x, -x.
  scene3D->drawBox(size, Float3(1, 1, 1), faceTextures, true);
  glPopMatrix();
}
