// 2D projection and primitives. None of them touches colour, blending, depth
// or culling: callers set what they need.
#include "Scene2D.h"

#include "FatalReport.h"

#include <GL/gl.h>
#include <GL/glu.h>

Scene2D *scene2D = nullptr;

Scene2D::Scene2D()
    : windowSize(640, 480),
      sceneSize(640, 480),
      sceneScale(1.0f, 1.0f),
      isSceneSizeFollowingWindow(true) {}

void Scene2D::applyProjection() {
  ASSERT(windowSize.x() != 0 && windowSize.y() != 0);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluOrtho2D(0, sceneSize.x(), sceneSize.y(), 0);
  sceneScale = Float2(static_cast<float>(sceneSize.x()) / static_cast<float>(windowSize.x()),
                      static_cast<float>(sceneSize.y()) / static_cast<float>(windowSize.y()));
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

Int2 Scene2D::toScene(const Int2 &point) const {
  if (isSceneSizeFollowingWindow)
    return point;
  return Int2(static_cast<int32_t>(static_cast<float>(point.x()) * sceneScale.x()),
              static_cast<int32_t>(static_cast<float>(point.y()) * sceneScale.y()));
}

void Scene2D::drawTexturedQuad(unsigned int texture, float x, float y, float s0, float t0, float s1,
                               float t1, float width, float height) {
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, texture);
  glMatrixMode(GL_MODELVIEW);
  glBegin(GL_POLYGON);
  glTexCoord2f(s1, t1);
  glVertex2f(x + width, y + height);
  glTexCoord2f(s0, t1);
  glVertex2f(x, y + height);
  glTexCoord2f(s0, t0);
  glVertex2f(x, y);
  glTexCoord2f(s1, t0);
  glVertex2f(x + width, y);
  glEnd();
}

void Scene2D::drawTexturedPolygon(const Int2 corners[4], unsigned int texture) {
  static const float texCoords[4][2] = {{1, 1}, {0, 1}, {0, 0}, {1, 0}};
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, texture);
  glMatrixMode(GL_MODELVIEW);
  glBegin(GL_POLYGON);
  for (int i = 0; i < 4; ++i) {
    glTexCoord2f(texCoords[i][0], texCoords[i][1]);
    glVertex2i(corners[i].x(), corners[i].y());
  }
  glEnd();
}

void Scene2D::drawRect(const Int2 &a, const Int2 &b, bool filled) {
  glDisable(GL_TEXTURE_2D);
  glMatrixMode(GL_MODELVIEW);
  glBegin(filled ? GL_QUADS : GL_LINE_LOOP);
  glVertex2i(a.x(), a.y());
  glVertex2i(b.x(), a.y());
  glVertex2i(b.x(), b.y());
  glVertex2i(a.x(), b.y());
  glEnd();
}
