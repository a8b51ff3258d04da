// The 3D scene's OpenGL side, read back from a real context: view and
// projection, orbit placement, lights, fog, and the box and quad primitives
// sampled from renderings.
#include "Scene3D.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include "Camera.h"
#include "GLTestEnvironment.h"

namespace {

// The test window of the shared GL environment, 800 × 600.
const int viewWidth = 800, viewHeight = 600;

struct Rgb {
  int r, g, b;
};

class Scene3DGLTest : public testing::Test {
 protected:
  // The device's state is put back after each test.
  void SetUp() override {
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glDisable(GL_FOG);
    glDisable(GL_LIGHTING);
    glDisable(GL_BLEND);
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_POLYGON_SMOOTH);
    glDisable(GL_LINE_SMOOTH);
    glDisable(GL_MULTISAMPLE);
    glBindTexture(GL_TEXTURE_2D, 0);
    glColor4f(1, 1, 1, 1);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  }
  void TearDown() override {
    if (nbTextures > 0)
      glDeleteTextures(nbTextures, textures);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glPopAttrib();
  }

  // A 1 × 1 texture of one colour.
  unsigned int makeTexture(unsigned char r, unsigned char g, unsigned char b) {
    unsigned char pixel[3] = {r, g, b};
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 1, 1, 0, GL_RGB, GL_UNSIGNED_BYTE, pixel);
    textures[nbTextures++] = name;
    return name;
  }

  static Rgb centrePixel() {
    unsigned char p[4] = {0, 0, 0, 0};
    readBackPixel(viewWidth / 2, viewHeight / 2, p);
    return Rgb{p[0], p[1], p[2]};
  }

  // World point to eye coordinates through the saved view matrix.
  static Float3 toEye(const Scene3D &scene, Float3 p) {
    const float *m = scene.viewMatrix;
    return Float3(m[0] * p.x() + m[4] * p.y() + m[8] * p.z() + m[12],
                  m[1] * p.x() + m[5] * p.y() + m[9] * p.z() + m[13],
                  m[2] * p.x() + m[6] * p.y() + m[10] * p.z() + m[14]);
  }

  static void expectNear(Float3 actual, Float3 expected, float tolerance) {
    EXPECT_NEAR(actual.x(), expected.x(), tolerance);
    EXPECT_NEAR(actual.y(), expected.y(), tolerance);
    EXPECT_NEAR(actual.z(), expected.z(), tolerance);
  }

  Scene3D scene;
  GLuint textures[16] = {};
  int nbTextures = 0;
};

void expectColour(Rgb actual, Rgb expected) {
  EXPECT_EQ(actual.r, expected.r);
  EXPECT_EQ(actual.g, expected.g);
  EXPECT_EQ(actual.b, expected.b);
}

TEST_F(Scene3DGLTest, ApplyFogReadsBack) {
  const unsigned char red[4] = {255, 0, 0, 255};
  scene.applyFog(red, 200.f);
  GLfloat colour[4];
  glGetFloatv(GL_FOG_COLOR, colour);
  EXPECT_EQ(colour[0], 0.99609375f);
  EXPECT_EQ(colour[1], 0.f);
  EXPECT_EQ(colour[2], 0.f);
  EXPECT_EQ(colour[3], 0.99609375f);
  GLfloat start, end, density;
  GLint mode, hint;
  glGetFloatv(GL_FOG_START, &start);
  glGetFloatv(GL_FOG_END, &end);
  glGetFloatv(GL_FOG_DENSITY, &density);
  glGetIntegerv(GL_FOG_MODE, &mode);
  glGetIntegerv(GL_FOG_HINT, &hint);
  EXPECT_EQ(start, 150.f);
  EXPECT_EQ(end, 200.f);
  EXPECT_FLOAT_EQ(density, 0.35f);
  EXPECT_EQ(mode, GL_LINEAR);
  EXPECT_EQ(hint, GL_NICEST);
  EXPECT_TRUE(glIsEnabled(GL_FOG));
  EXPECT_EQ(scene.fogDistance, 200.f);
}

TEST_F(Scene3DGLTest, ApplyViewSetsStateAndProjection) {
  const bool lighting[] = {false, true};
  for (bool isLit : lighting) {
    SCOPED_TRACE(isLit ? "lighting on" : "lighting off");
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glDisable(GL_TEXTURE_2D);
    scene.isLightingEnabled = isLit;
    scene.farPlane = 500.f;
    scene.aspectRatio = 2.f;
    scene.apply3DView();

    EXPECT_EQ(glIsEnabled(GL_LIGHTING), isLit ? GL_TRUE : GL_FALSE);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    GLint depthFunc, cullFace, polygonMode[2];
    glGetIntegerv(GL_DEPTH_FUNC, &depthFunc);
    glGetIntegerv(GL_CULL_FACE_MODE, &cullFace);
    glGetIntegerv(GL_POLYGON_MODE, polygonMode);
    EXPECT_EQ(depthFunc, GL_LEQUAL);
    EXPECT_EQ(cullFace, GL_BACK);
    EXPECT_EQ(polygonMode[0], GL_FILL);  // front
    EXPECT_EQ(polygonMode[1], GL_LINE);  // back

    // A perspective of 110° vertically, near 0.1, far farPlane.
    GLfloat p[16];
    glGetFloatv(GL_PROJECTION_MATRIX, p);
    const float f = 1.f / std::tan(55.f * 0.017453292f);
    const float n = 0.1f, fa = 500.f;
    EXPECT_NEAR(p[5], f, 1e-5f);
    EXPECT_NEAR(p[0], f / 2.f, 1e-5f);
    EXPECT_NEAR(p[10], (fa + n) / (n - fa), 1e-5f);
    EXPECT_NEAR(p[14], 2.f * fa * n / (n - fa), 1e-5f);
    EXPECT_EQ(p[11], -1.f);

    // A new camera: the model-view is the identity, saved in viewMatrix.
    GLfloat mv[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, mv);
    GLint matrixMode;
    glGetIntegerv(GL_MATRIX_MODE, &matrixMode);
    EXPECT_EQ(matrixMode, GL_MODELVIEW);
    for (int i = 0; i < 16; ++i) {
      EXPECT_EQ(mv[i], (i % 5 == 0) ? 1.f : 0.f) << i;
      EXPECT_EQ(scene.viewMatrix[i], mv[i]) << i;
    }
  }
}

// Where world points land in eye space (the camera looks down -z, y up).
TEST_F(Scene3DGLTest, ViewUndoesCameraPlacement) {
  struct Case {
    const char *name;
    Float3 position;
    float pitch, heading;
    Float3 world, eye;
  };
  const Case cases[] = {
      {"moved back", Float3(0, 0, 30), 0, 0, Float3(0, 0, 0), Float3(0, 0, -30)},
      {"moved up", Float3(0, 5, 0), 0, 0, Float3(0, 0, -10), Float3(0, -5, -10)},
      {"turned left", Float3(0, 0, 0), 0, 90, Float3(-10, 0, 0), Float3(0, 0, -10)},
      {"turned left, point on the right", Float3(0, 0, 0), 0, 90, Float3(0, 0, -10),
       Float3(10, 0, 0)},
      {"looking up", Float3(0, 0, 0), 90, 0, Float3(0, 10, 0), Float3(0, 0, -10)},
      {"beside and turned", Float3(30, 0, 0), 0, 90, Float3(0, 0, 0), Float3(0, 0, -30)},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    scene.camera->position = c.position;
    scene.camera->setRotation(Float3(c.pitch, c.heading, 0));
    scene.apply3DView();
    expectNear(toEye(scene, c.world), c.eye, 1e-4f);
  }
}

TEST_F(Scene3DGLTest, OrbitPutsTargetAtCentre) {
  struct Case {
    float pitch, heading;
    Float3 target;
    float distance;
    Float3 position;
  };
  const Case cases[] = {
      {0, 0, Float3(0, 0, 0), 30, Float3(0, 0, 30)},
      {0, 90, Float3(0, 0, 0), 30, Float3(30, 0, 0)},
      {90, 0, Float3(0, 0, 0), 30, Float3(0, -30, 0)},
      {0, 180, Float3(100, 20, -40), 10, Float3(100, 20, -50)},
      {-45, 0, Float3(0, 0, 0), 10, Float3(0, 7.0710678f, 7.0710678f)},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(testing::Message() << "pitch " << c.pitch << " heading " << c.heading);
    scene.camera->setRotation(Float3(c.pitch, c.heading, 0));
    scene.placeCameraOrbit(c.target, c.distance);
    expectNear(scene.camera->position, c.position, 1e-4f);
    // The orbit applies the view, with the target straight ahead.
    expectNear(toEye(scene, c.target), Float3(0, 0, -c.distance), 1e-3f);
  }
}

TEST_F(Scene3DGLTest, LightsOfEnabledSlots) {
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  // Slot 6 stays disabled: its light keeps what it had.
  glLightf(GL_LIGHT6, GL_LINEAR_ATTENUATION, 0.25f);
  scene.isLightEnabled[2] = true;
  scene.lightRange[2] = 200.f;
  scene.lightPosition[2][0] = 1.f;
  scene.lightPosition[2][1] = 2.f;
  scene.lightPosition[2][2] = 3.f;
  scene.lightPosition[2][3] = 1.f;
  scene.isLightEnabled[5] = true;
  scene.lightRange[5] = 0.f;
  scene.applyLights();

  struct Case {
    GLenum light;
    float constant, linear, quadratic;
  };
  const Case cases[] = {
      {GL_LIGHT2, 1.f, 0.005f, 0.00005f},
      {GL_LIGHT5, 1.f, 0.f, 0.f},
      {GL_LIGHT6, 1.f, 0.25f, 0.f},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(testing::Message() << "light " << c.light - GL_LIGHT0);
    GLfloat value;
    glGetLightfv(c.light, GL_CONSTANT_ATTENUATION, &value);
    EXPECT_FLOAT_EQ(value, c.constant);
    glGetLightfv(c.light, GL_LINEAR_ATTENUATION, &value);
    EXPECT_FLOAT_EQ(value, c.linear);
    glGetLightfv(c.light, GL_QUADRATIC_ATTENUATION, &value);
    EXPECT_FLOAT_EQ(value, c.quadratic);
  }
  GLfloat colour[4];
  glGetLightfv(GL_LIGHT2, GL_DIFFUSE, colour);
  EXPECT_FLOAT_EQ(colour[0], 0.8f);
  EXPECT_FLOAT_EQ(colour[3], 0.8f);
  glGetLightfv(GL_LIGHT2, GL_AMBIENT, colour);
  EXPECT_FLOAT_EQ(colour[2], 0.5f);
  EXPECT_FLOAT_EQ(colour[3], 1.f);
  glGetLightfv(GL_LIGHT5, GL_SPECULAR, colour);
  EXPECT_FLOAT_EQ(colour[1], 1.f);
  // Enabling the GL light is left to the caller.
  EXPECT_FALSE(glIsEnabled(GL_LIGHT2));

  // The position is taken through the camera transform: a camera moved to
  // (0, 0, 10) sees the light 10 units further away.
  scene.camera->position = Float3(0, 0, 10);
  scene.apply3DView();
  GLfloat position[4];
  glGetLightfv(GL_LIGHT2, GL_POSITION, position);
  EXPECT_FLOAT_EQ(position[0], 1.f);
  EXPECT_FLOAT_EQ(position[1], 2.f);
  EXPECT_FLOAT_EQ(position[2], -7.f);
  EXPECT_FLOAT_EQ(position[3], 1.f);
}

TEST_F(Scene3DGLTest, RotateXYZOrder) {
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  scene.rotateXYZ(90, 90, 0);
  GLfloat m[16];
  glGetFloatv(GL_MODELVIEW_MATRIX, m);
  // Rx(90)·Ry(90) sends x to y: the y rotation acts first on the vertex.
  EXPECT_NEAR(m[0], 0.f, 1e-6f);
  EXPECT_NEAR(m[1], 1.f, 1e-6f);
  EXPECT_NEAR(m[2], 0.f, 1e-6f);
}

TEST_F(Scene3DGLTest, WireBoxRestoresThe3DState) {
  scene.set3DState();
  scene.drawBox(Float3(10, 10, 10), Float3(1, 1, 1), NULL, false);
  EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
  EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
  GLint polygonMode[2];
  glGetIntegerv(GL_POLYGON_MODE, polygonMode);
  EXPECT_EQ(polygonMode[0], GL_FILL);
  EXPECT_EQ(polygonMode[1], GL_LINE);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(Scene3DGLTest, TexturedBoxLeavesLastTextureBound) {
  const unsigned int a = makeTexture(1, 0, 0), b = makeTexture(2, 0, 0), c = makeTexture(3, 0, 0);
  const unsigned int faces[6] = {a, a, b, b, a, c};
  scene.set3DState();
  scene.drawBox(Float3(10, 10, 10), Float3(1, 1, 1), faces, true);
  GLint bound;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  EXPECT_EQ(static_cast<unsigned int>(bound), c);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// Six coloured faces; the camera at the centre of the view tells which face
// is where, from outside and (inverted, as the skybox) from inside.
TEST_F(Scene3DGLTest, BoxFacesSeenFromOutsideAndInside) {
  const Rgb colours[6] = {{255, 0, 0},   {0, 255, 0},   {0, 0, 255},
                          {255, 255, 0}, {0, 255, 255}, {255, 0, 255}};
  unsigned int faces[6];
  for (int i = 0; i < 6; ++i)
    faces[i] = makeTexture(colours[i].r, colours[i].g, colours[i].b);
  struct Case {
    const char *name;
    bool isInverted;
    Float3 position;
    float pitch, heading;
    int face;
  };
  const Case cases[] = {
      {"outside, in front", false, Float3(0, 0, 30), 0, 0, 2},
      {"outside, behind", false, Float3(0, 0, -30), 0, 180, 3},
      {"outside, above", false, Float3(0, 30, 0), -90, 0, 0},
      {"outside, below", false, Float3(0, -30, 0), 90, 0, 1},
      {"outside, left", false, Float3(-30, 0, 0), 0, -90, 4},
      {"outside, right", false, Float3(30, 0, 0), 0, 90, 5},
      {"inside, looking ahead", true, Float3(0, 0, 0), 0, 0, 2},
      {"inside, looking back", true, Float3(0, 0, 0), 0, 180, 3},
      {"inside, looking down", true, Float3(0, 0, 0), -90, 0, 0},
      {"inside, looking up", true, Float3(0, 0, 0), 90, 0, 1},
      {"inside, looking toward -x", true, Float3(0, 0, 0), 0, 90, 5},
      {"inside, looking toward +x", true, Float3(0, 0, 0), 0, -90, 4},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    scene.aspectRatio = 800.f / 600.f;
    scene.camera->position = c.position;
    scene.camera->setRotation(Float3(c.pitch, c.heading, 0));
    scene.apply3DView();
    scene.drawBox(Float3(10, 10, 10), Float3(1, 1, 1), faces, c.isInverted);
    expectColour(centrePixel(), colours[c.face]);
  }
}

TEST_F(Scene3DGLTest, WireBoxDrawsInCurrentColourWithoutTexture) {
  // Modulated by this bound texture the green lines would come out black.
  makeTexture(0, 0, 255);
  scene.aspectRatio = 800.f / 600.f;
  scene.camera->position = Float3(0, 0, 30);
  scene.apply3DView();
  glColor4f(0, 1, 0, 1);
  glLineWidth(3.f);
  scene.drawBox(Float3(10, 10, 10), Float3(1, 1, 1), NULL, false);
  glFinish();
  static unsigned char pixels[viewWidth * viewHeight * 4];
  glReadBuffer(GL_BACK);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, viewWidth, viewHeight, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
  int nbGreen = 0, nbOther = 0;
  for (int i = 0; i < viewWidth * viewHeight; ++i) {
    const unsigned char *p = pixels + i * 4;
    if (p[0] == 0 && p[1] == 0 && p[2] == 0)
      continue;
    if (p[1] > 0 && p[2] == 0)
      ++nbGreen;
    else
      ++nbOther;
  }
  EXPECT_GT(nbGreen, 0);
  EXPECT_EQ(nbOther, 0);
  // Lines only: the centre of the front face stays empty.
  expectColour(centrePixel(), Rgb{0, 0, 0});
}

TEST_F(Scene3DGLTest, FlatQuadFacesUpOrDown) {
  const Rgb blue{0, 0, 255}, black{0, 0, 0};
  struct Case {
    const char *name;
    bool isFacingDown;
    float y, pitch;
    Rgb expected;
  };
  const Case cases[] = {
      {"facing up, seen from above", false, 10, -90, blue},
      {"facing up, seen from below", false, -10, 90, black},
      {"facing down, seen from below", true, -10, 90, blue},
      {"facing down, seen from above", true, 10, -90, black},
  };
  const int texture = static_cast<int>(makeTexture(0, 0, 255));
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glBindTexture(GL_TEXTURE_2D, 0);
    scene.aspectRatio = 800.f / 600.f;
    scene.camera->position = Float3(0, c.y, 0);
    scene.camera->setRotation(Float3(c.pitch, 0, 0));
    scene.apply3DView();
    scene.drawFlatQuad(Float2(40, 40), texture, Float2(1, 1), c.isFacingDown);
    expectColour(centrePixel(), c.expected);
  }
}

// Texture -1 leaves the bound texture in place.
TEST_F(Scene3DGLTest, FlatQuadWithoutTexture) {
  const unsigned int green = makeTexture(0, 255, 0);
  scene.aspectRatio = 800.f / 600.f;
  scene.camera->position = Float3(0, 10, 0);
  scene.camera->setRotation(Float3(-90, 0, 0));
  scene.apply3DView();
  glBindTexture(GL_TEXTURE_2D, green);
  scene.drawFlatQuad(Float2(40, 40), -1, Float2(1, 1), false);
  expectColour(centrePixel(), Rgb{0, 255, 0});
}

}  // namespace
