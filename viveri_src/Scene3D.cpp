// 3D view set-up, camera placement and the immediate-mode box and quad.
// Depends on the camera and the vectors; every drawing call needs the GL
// context, construction and the camera operations do not.
#include "Scene3D.h"

#include <GL/glew.h>
#include <GL/glu.h>

#include <cstdlib>

#include "Camera.h"
#include "DeviceManager.h"
#include "FatalReport.h"
#include "Quaternion.h"
#include "RandomGenerator.h"

Scene3D *scene3D = NULL;

namespace {

const GLfloat lightDiffuse[4] = {0.8f, 0.8f, 0.8f, 0.8f};
const GLfloat lightSpecular[4] = {1.f, 1.f, 1.f, 1.f};
const GLfloat lightAmbient[4] = {0.5f, 0.5f, 0.5f, 1.f};

const float nearPlane = 0.1f;
// Periods are microseconds; one of 100 ms moves all the way to the target.
const float easingFullPeriod = 100000.f;

// d brought into [-180, 180] the way the angles are eased: one correction.
float wrapDifference(float d) {
  if (d > 180.f)
    d -= 360.f;
  if (d < -180.f)
    d += 360.f;
  return d;
}

// Texture offset in [0, repeat], from the program's own 15-bit generator.
float randomShift(float repeat) {
  int draw = randomNumber();
  return static_cast<float>(draw) * repeat / static_cast<float>(randomNumberMax);
}

void shiftTexCoords(Float2 *texCoords, int count, float du, float dv) {
  for (int i = 0; i < count; ++i) {
    texCoords[i].x() += du;
    texCoords[i].y() += dv;
  }
}

}  // namespace

Scene3D::Scene3D()
    : fieldOfView(110.f),
      quadric(NULL),
      isLightingEnabled(false),
      lastMousePosition(0, 0),
      aspectRatio(1.3333334f),
      farPlane(10000.f),
      camera(NULL),
      fogDistance(150.f) {
  for (int i = 0; i < 16; ++i)
    viewMatrix[i] = (i % 5 == 0) ? 1.f : 0.f;
  for (int i = 0; i < nbLights; ++i) {
    lightPosition[i][0] = 0.f;
    lightPosition[i][1] = 0.f;
    lightPosition[i][2] = 0.f;
    lightPosition[i][3] = 1.f;
    isLightEnabled[i] = false;
    lightRange[i] = 1.f;
  }
  // The quadric is plain client memory: creating it needs no GL context.
  quadric = gluNewQuadric();
  ASSERT(quadric != NULL);
  gluQuadricTexture(quadric, GL_TRUE);
  gluQuadricDrawStyle(quadric, GLU_FILL);
  gluQuadricOrientation(quadric, GLU_INSIDE);
  camera = new Camera();
}

Scene3D::~Scene3D() {
  gluDeleteQuadric(quadric);
  delete camera;
}

void Scene3D::set3DState() {
  if (isLightingEnabled) {
    glEnable(GL_LIGHTING);
    gluQuadricNormals(quadric, GLU_FLAT);
  } else {
    glDisable(GL_LIGHTING);
    gluQuadricNormals(quadric, GLU_NONE);
  }
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LEQUAL);
  glCullFace(GL_BACK);
  glEnable(GL_TEXTURE_2D);
  glPolygonMode(GL_BACK, GL_LINE);
  glPolygonMode(GL_FRONT, GL_FILL);
  glEnable(GL_CULL_FACE);
}

void Scene3D::apply3DView() {
  set3DState();

  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(fieldOfView, aspectRatio, nearPlane, farPlane);

  // The view is the inverse of the camera's placement: undo its rotation,
  // then its position.
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  float rotation[16];
  quaternionToMatrix(quaternionConjugate(camera->orientation), rotation);
  glMultMatrixf(rotation);
  glTranslatef(-camera->position.x(), -camera->position.y(), -camera->position.z());

  // Drawing that ignores the camera position (the skybox) starts from this.
  glGetFloatv(GL_MODELVIEW_MATRIX, viewMatrix);

  applyLights();
}

void Scene3D::placeCameraOrbit(Float3 target, float distance) {
  camera->position =
      target + fromSpherical(distance, camera->pitch * degreesToRadians + quarterTurnRadians,
                             quarterTurnRadians - camera->heading * degreesToRadians);
  apply3DView();
}

void Scene3D::easeCameraToward(float targetPitch, float targetHeading, float targetRoll,
                               int64_t periodMicroseconds) {
  float k = static_cast<float>(periodMicroseconds) / easingFullPeriod;
  if (k > 1.f)
    k = 1.f;
  float dPitch = wrapDifference(camera->pitch - targetPitch);
  float dHeading = wrapDifference(camera->heading - targetHeading);
  float dRoll = wrapDifference(0.f - targetRoll);
  camera->setRotation(Float3(targetPitch + dPitch * (1.f - k), targetHeading + dHeading * (1.f - k),
                             targetRoll + dRoll * (1.f - k)));
}

void Scene3D::easeCameraToward(float targetPitch, float targetHeading, float targetRoll) {
  easeCameraToward(targetPitch, targetHeading, targetRoll, periodDuration);
}

void Scene3D::mouseLook(Int2 position, bool isTurning) {
  if (isTurning) {
    camera->rotatePitch(static_cast<float>(lastMousePosition.y() - position.y()));
    camera->rotateHeading(static_cast<float>(lastMousePosition.x() - position.x()));
  }
  lastMousePosition = position;
}

void Scene3D::applyLights() {
  for (int i = 0; i < nbLights; ++i) {
    if (!isLightEnabled[i])
      continue;
    GLenum light = GL_LIGHT0 + i;
    bool hasRange = lightRange[i] > 0.f;
    glLightf(light, GL_CONSTANT_ATTENUATION, 1.f);
    glLightf(light, GL_LINEAR_ATTENUATION, hasRange ? 1.f / lightRange[i] : 0.f);
    glLightf(light, GL_QUADRATIC_ATTENUATION, hasRange ? 0.00005f : 0.f);
    glLightfv(light, GL_DIFFUSE, lightDiffuse);
    glLightfv(light, GL_SPECULAR, lightSpecular);
    glLightfv(light, GL_AMBIENT, lightAmbient);
  }
  // Positions are taken in the eye coordinates of the current model-view.
  for (int i = 0; i < nbLights; ++i) {
    if (isLightEnabled[i])
      glLightfv(GL_LIGHT0 + i, GL_POSITION, lightPosition[i]);
  }
}

void Scene3D::applyFog(const unsigned char colour[4], float distance) {
  fogDistance = distance;
  glEnable(GL_FOG);
  glHint(GL_FOG_HINT, GL_NICEST);
  glFogi(GL_FOG_MODE, GL_LINEAR);
  glFogf(GL_FOG_START, distance * 3.f * 0.25f);
  glFogf(GL_FOG_END, distance);
  glFogf(GL_FOG_DENSITY, 0.35f);
  GLfloat fogColour[4];
  for (int i = 0; i < 4; ++i)
    fogColour[i] = colour[i] / 256.f;
  glFogfv(GL_FOG_COLOR, fogColour);
}

void Scene3D::buildBoxGeometry(Float3 halfSize, Float3 repeat, bool isRandomOffset,
                               Float3 positions[24], Float2 texCoords[24]) {
  const float hx = halfSize.x(), hy = halfSize.y(), hz = halfSize.z();
  const float rx = repeat.x(), ry = repeat.y(), rz = repeat.z();
  const Float3 corners[24] = {
      // top
      Float3(-hx, hy, -hz),
      Float3(-hx, hy, hz),
      Float3(hx, hy, hz),
      Float3(hx, hy, -hz),
      // bottom
      Float3(-hx, -hy, -hz),
      Float3(hx, -hy, -hz),
      Float3(hx, -hy, hz),
      Float3(-hx, -hy, hz),
      // +z
      Float3(-hx, -hy, hz),
      Float3(hx, -hy, hz),
      Float3(hx, hy, hz),
      Float3(-hx, hy, hz),
      // -z
      Float3(-hx, hy, -hz),
      Float3(hx, hy, -hz),
      Float3(hx, -hy, -hz),
      Float3(-hx, -hy, -hz),
      // -x
      Float3(-hx, -hy, -hz),
      Float3(-hx, -hy, hz),
      Float3(-hx, hy, hz),
      Float3(-hx, hy, -hz),
      // +x
      Float3(hx, -hy, -hz),
      Float3(hx, hy, -hz),
      Float3(hx, hy, hz),
      Float3(hx, -hy, hz),
  };
  const Float2 coords[24] = {
      Float2(0, rz),  Float2(0, 0),  Float2(rx, 0), Float2(rx, rz), Float2(0, 0),   Float2(rx, 0),
      Float2(rx, rz), Float2(0, rz), Float2(0, 0),  Float2(rx, 0),  Float2(rx, ry), Float2(0, ry),
      Float2(rx, ry), Float2(0, ry), Float2(0, 0),  Float2(rx, 0),  Float2(0, 0),   Float2(rz, 0),
      Float2(rz, ry), Float2(0, ry), Float2(rz, 0), Float2(rz, ry), Float2(0, ry),  Float2(0, 0),
  };
  for (int i = 0; i < 24; ++i) {
    positions[i] = corners[i];
    texCoords[i] = coords[i];
  }
  if (!isRandomOffset)
    return;
  // One shift per pair of opposite faces, the v draw first.
  float dv = randomShift(rz);
  float du = randomShift(rx);
  shiftTexCoords(texCoords + 0, 8, du, dv);
  dv = randomShift(ry);
  du = randomShift(rx);
  shiftTexCoords(texCoords + 8, 8, du, dv);
  dv = randomShift(ry);
  du = randomShift(rz);
  shiftTexCoords(texCoords + 16, 8, du, dv);
}

void Scene3D::drawBox(Float3 size, Float3 repeat, const unsigned int *faceTextures,
                      bool isInverted) {
  const float hx = size.x() * 0.5f, hy = size.y() * 0.5f, hz = size.z() * 0.5f;
  const float s = isInverted ? -1.f : 1.f;
  const float rx = repeat.x(), ry = repeat.y(), rz = repeat.z();
  struct Corner {
    float x, y, z, u, v;
  };
  struct Face {
    float nx, ny, nz;
    Corner corners[4];
  };
  // Face i uses texture i. Inverted, the box is seen from inside: face 0 is
  // then the bottom, face 1 the top.
  const Face faces[6] = {
      {0,
       1,
       0,
       {{-hx, s * hy, -hz, rx, rz},
        {-hx, s * hy, hz, rx, 0},
        {hx, s * hy, hz, 0, 0},
        {hx, s * hy, -hz, 0, rz}}},
      {0,
       -1,
       0,
       {{-hx, -s * hy, -hz, rx, rz},
        {hx, -s * hy, -hz, 0, rz},
        {hx, -s * hy, hz, 0, 0},
        {-hx, -s * hy, hz, rx, 0}}},
      {0,
       0,
       1,
       {{-hx, -hy, s * hz, 0, ry},
        {hx, -hy, s * hz, rx, ry},
        {hx, hy, s * hz, rx, 0},
        {-hx, hy, s * hz, 0, 0}}},
      {0,
       0,
       -1,
       {{-hx, hy, -s * hz, rx, 0},
        {hx, hy, -s * hz, 0, 0},
        {hx, -hy, -s * hz, 0, ry},
        {-hx, -hy, -s * hz, rx, ry}}},
      {-1,
       0,
       0,
       {{-s * hx, -hy, -hz, 0, ry},
        {-s * hx, -hy, hz, rz, ry},
        {-s * hx, hy, hz, rz, 0},
        {-s * hx, hy, -hz, 0, 0}}},
      {1,
       0,
       0,
       {{s * hx, -hy, -hz, rz, ry},
        {s * hx, hy, -hz, rz, 0},
        {s * hx, hy, hz, 0, 0},
        {s * hx, -hy, hz, 0, ry}}},
  };

  const bool isWire = faceTextures == NULL;
  if (isWire) {
    glDisable(GL_TEXTURE_2D);
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    glDisable(GL_CULL_FACE);
  } else {
    glBindTexture(GL_TEXTURE_2D, faceTextures[0]);
  }
  unsigned int bound = isWire ? 0 : faceTextures[0];
  glBegin(GL_QUADS);
  for (int f = 0; f < 6; ++f) {
    if (!isWire && faceTextures[f] != bound) {
      glEnd();
      bound = faceTextures[f];
      glBindTexture(GL_TEXTURE_2D, bound);
      glBegin(GL_QUADS);
    }
    const Face &face = faces[f];
    glNormal3f(face.nx, face.ny, face.nz);
    for (int c = 0; c < 4; ++c) {
      glTexCoord2f(face.corners[c].u, face.corners[c].v);
      glVertex3f(face.corners[c].x, face.corners[c].y, face.corners[c].z);
    }
  }
  glEnd();
  if (isWire) {
    glEnable(GL_TEXTURE_2D);
    glPolygonMode(GL_BACK, GL_LINE);
    glPolygonMode(GL_FRONT, GL_FILL);
    glEnable(GL_CULL_FACE);
  }
  // With textures the last face's texture stays bound.
}

void Scene3D::drawFlatQuad(Float2 size, int texture, Float2 repeat, bool isFacingDown) {
  if (texture != -1)
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(texture));
  const float bx = size.x() * 0.5f, bz = size.y() * 0.5f;
  const float ru = repeat.x(), rv = repeat.y();
  glBegin(GL_QUADS);
  if (isFacingDown) {
    glNormal3f(0.f, -1.f, 0.f);
    glTexCoord2f(ru, rv);
    glVertex3f(-bx, 0.f, -bz);
    glTexCoord2f(0.f, rv);
    glVertex3f(bx, 0.f, -bz);
    glTexCoord2f(0.f, 0.f);
    glVertex3f(bx, 0.f, bz);
    glTexCoord2f(ru, 0.f);
    glVertex3f(-bx, 0.f, bz);
  } else {
    glNormal3f(0.f, 1.f, 0.f);
    glTexCoord2f(ru, rv);
    glVertex3f(-bx, 0.f, -bz);
    glTexCoord2f(ru, 0.f);
    glVertex3f(-bx, 0.f, bz);
    glTexCoord2f(0.f, 0.f);
    glVertex3f(bx, 0.f, bz);
    glTexCoord2f(0.f, rv);
    glVertex3f(bx, 0.f, -bz);
  }
  glEnd();
}

void Scene3D::rotateXYZ(float ax, float ay, float az) {
  glRotatef(ax, 1.f, 0.f, 0.f);
  glRotatef(ay, 0.f, 1.f, 0.f);
  glRotatef(az, 0.f, 0.f, 1.f);
}
