// Texture creation parameters, colour read-back, clearing and the start-up
// state, on the real device's context.
#include "GLManager.h"

#include "DeviceManager.h"
#include "GLTestEnvironment.h"
#include "Scene2D.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

TEST(GLManagerTest, TextureIsMipmappedAndRepeats) {
  const unsigned char rgb[2 * 2 * 3] = {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255};
  const unsigned char rgba[4 * 2 * 4] = {};
  for (bool hasAlpha : {false, true}) {
    GLuint texture =
        deviceManager->createTexture(hasAlpha ? rgba : rgb, hasAlpha ? 4 : 2, 2, hasAlpha);
    ASSERT_NE(texture, 0u);
    GLint bound = 0, minFilter = 0, magFilter = 0, wrapS = 0, wrapT = 0, width = 0, format = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<GLuint>(bound), texture);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &magFilter);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrapS);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &wrapT);
    EXPECT_EQ(minFilter, GL_LINEAR_MIPMAP_NEAREST);
    EXPECT_EQ(magFilter, GL_LINEAR);
    EXPECT_EQ(wrapS, GL_REPEAT);
    EXPECT_EQ(wrapT, GL_REPEAT);
    // The whole chain down to 1 x 1 exists: 2 x 2 has one level below, 4 x 2 two.
    int lastLevel = hasAlpha ? 2 : 1;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, lastLevel, GL_TEXTURE_WIDTH, &width);
    EXPECT_EQ(width, 1);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &format);
    EXPECT_EQ(format, hasAlpha ? GL_RGBA : GL_RGB);
    glDeleteTextures(1, &texture);
  }
}

TEST(GLManagerDeathTest, NullPixelsAreFatal) {
  EXPECT_EXIT(deviceManager->createTexture(nullptr, 2, 2, false), testing::ExitedWithCode(1),
              "Condition: data != NULL\n");
}

TEST(GLManagerTest, CurrentColourTruncates) {
  const struct {
    float r, g, b, a;
    Colour expected;
  } cases[] = {{1.0f, 0.5f, 0.0f, 1.0f, {255, 127, 0, 255}},
               {0.999f, 0.25f, 0.1f, 0.0f, {254, 63, 25, 0}}};
  for (const auto &c : cases) {
    glColor4f(c.r, c.g, c.b, c.a);
    Colour got = deviceManager->getCurrentColour();
    EXPECT_EQ(got.r, c.expected.r);
    EXPECT_EQ(got.g, c.expected.g);
    EXPECT_EQ(got.b, c.expected.b);
    EXPECT_EQ(got.a, c.expected.a);
  }
  glColor4f(1, 1, 1, 1);
}

TEST(GLManagerTest, ClearScreenFillsColourAndResetsDepth) {
  glDepthMask(GL_TRUE);
  glClearDepth(1.0);
  deviceManager->clearScreen(colourRed);
  unsigned char pixel[4];
  readBackPixel(400, 300, pixel);
  EXPECT_EQ(pixel[0], 255);
  EXPECT_EQ(pixel[1], 0);
  EXPECT_EQ(pixel[2], 0);
  float depth = 0;
  glReadPixels(10, 10, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
  EXPECT_EQ(depth, 1.0f);
  deviceManager->clearScreen(colourBlack);
  readBackPixel(10, 590, pixel);
  EXPECT_EQ(pixel[0], 0);
  EXPECT_EQ(pixel[3], 255);
}

TEST(GLManagerTest, StartupStateAndExtensionList) {
  EXPECT_TRUE(glIsEnabled(GL_BLEND));
  EXPECT_TRUE(glIsEnabled(GL_ALPHA_TEST));
  EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
  EXPECT_TRUE(glIsEnabled(GL_MULTISAMPLE));
  EXPECT_FALSE(glIsEnabled(GL_FOG));
  GLint blendSrc = 0, blendDst = 0, alphaFunc = 0;
  GLfloat alphaRef = 0;
  glGetIntegerv(GL_BLEND_SRC, &blendSrc);
  glGetIntegerv(GL_BLEND_DST, &blendDst);
  glGetIntegerv(GL_ALPHA_TEST_FUNC, &alphaFunc);
  glGetFloatv(GL_ALPHA_TEST_REF, &alphaRef);
  EXPECT_EQ(blendSrc, GL_SRC_ALPHA);
  EXPECT_EQ(blendDst, GL_ONE_MINUS_SRC_ALPHA);
  EXPECT_EQ(alphaFunc, GL_GREATER);
  EXPECT_FLOAT_EQ(alphaRef, 0.1f);

  std::ifstream file(extensionsFileName);
  std::stringstream content;
  content << file.rdbuf();
  std::string text = content.str();
  std::string extensions = reinterpret_cast<const char *>(glGetString(GL_EXTENSIONS));
  EXPECT_EQ(text, "supported:" + extensions + " :");
}

TEST(GLManagerTest, DeviceStateAfterCreation) {
  EXPECT_EQ(windowSize, Int2(800, 600));
  EXPECT_EQ(scene2D->windowSize, Int2(800, 600));
  EXPECT_EQ(scene2D->sceneSize, Int2(800, 600));
  EXPECT_FALSE(everFullscreen);
}

TEST(GLManagerDeathTest, SecondDeviceIsFatal) {
  EXPECT_EXIT(DeviceManager::create("again", "", 800, 600, false), testing::ExitedWithCode(1),
              "Condition: deviceManager == NULL\n");
}

}  // namespace
