// The player's figure as boxes: shoes and trouser legs swinging at the hips,
// a torso wider at the shoulders, sleeves and hands swinging at the
// shoulders, neck, head and hair. Every box face has its own four corners (so
// the reader's smoothing keeps the faces flat) and its own part of one
// 128 x 128 picture: face, hair, skin, shirt, sleeves, trousers, shoes.
#include "PlayerModel.h"

#include "DataFileWriter.h"
#include "Picture.h"
#include "PngWriter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

const int pictureSize = 128;
// Built in world units; the files hold them divided by the player's scale.
const float playerScale = 0.3f;

struct V3 {
  float x, y, z;
};

// A part of the picture, in pixels.
struct Region {
  int x0, y0, x1, y1;
};

const Region faceRegion = {0, 0, 32, 32};
const Region hairRegion = {32, 0, 64, 32};
const Region skinRegion = {64, 0, 96, 32};
const Region headSideRegion = {96, 0, 128, 32};
const Region shirtFrontRegion = {0, 32, 32, 64};
const Region shirtRegion = {32, 32, 64, 64};
const Region sleeveRegion = {64, 32, 96, 64};
const Region trousersRegion = {0, 64, 32, 96};
const Region shoeRegion = {32, 64, 64, 96};

enum { FRONT, BACK, LEFT, RIGHT, TOP, BOTTOM };

// A box from (x0, y0, z0) to (x1, y1, z1), its top face narrowed along x by
// topInset on each side (negative: wider), and the picture part of each face.
struct Box {
  float x0, y0, z0, x1, y1, z1;
  float topInset;
  Region faces[6];
};

Box plainBox(float x0, float y0, float z0, float x1, float y1, float z1, Region all) {
  return {x0, y0, z0, x1, y1, z1, 0.0f, {all, all, all, all, all, all}};
}

struct Quad {
  V3 corners[4];  // bottom-left, bottom-right, top-right, top-left seen from outside
  Region region;
};

// The quads of a box, wound counter-clockwise seen from outside.
void addBox(const Box &b, std::vector<Quad> &quads) {
  auto corner = [&b](int ix, int iy, int iz) {
    float inset = iy == 1 ? b.topInset : 0.0f;
    return V3{ix == 0 ? b.x0 + inset : b.x1 - inset, iy == 0 ? b.y0 : b.y1, iz == 0 ? b.z0 : b.z1};
  };
  quads.push_back(
      {{corner(0, 0, 1), corner(1, 0, 1), corner(1, 1, 1), corner(0, 1, 1)}, b.faces[FRONT]});
  quads.push_back(
      {{corner(1, 0, 0), corner(0, 0, 0), corner(0, 1, 0), corner(1, 1, 0)}, b.faces[BACK]});
  quads.push_back(
      {{corner(0, 0, 0), corner(0, 0, 1), corner(0, 1, 1), corner(0, 1, 0)}, b.faces[LEFT]});
  quads.push_back(
      {{corner(1, 0, 1), corner(1, 0, 0), corner(1, 1, 0), corner(1, 1, 1)}, b.faces[RIGHT]});
  quads.push_back(
      {{corner(0, 1, 1), corner(1, 1, 1), corner(1, 1, 0), corner(0, 1, 0)}, b.faces[TOP]});
  quads.push_back(
      {{corner(0, 0, 0), corner(1, 0, 0), corner(1, 0, 1), corner(0, 0, 1)}, b.faces[BOTTOM]});
}

// Turns the quads forward (towards +z) by degrees about the x axis through
// the pivot, then moves them by the pivot.
void swingAndPlace(std::vector<Quad> &quads, float degrees, V3 pivot) {
  float a = -degrees * 3.14159265f / 180.0f;
  float c = std::cos(a), s = std::sin(a);
  for (Quad &q : quads)
    for (V3 &v : q.corners) {
      float y = v.y * c - v.z * s;
      float z = v.y * s + v.z * c;
      v = {v.x + pivot.x, y + pivot.y, z + pivot.z};
    }
}

// Swing angles in degrees, forward positive.
struct Pose {
  float leftLeg, rightLeg, leftArm, rightArm;
};

// Standing; the two strides of the walk; flying with the arms raised.
const Pose poses[5] = {
    {0, 0, 0, 0},         {28, -28, -24, 24},   {-28, 28, 24, -24},
    {-16, -34, 165, 165}, {-34, -16, 140, 140},
};

std::vector<Quad> buildFigure(const Pose &pose) {
  std::vector<Quad> all;
  // Legs: trousers and a shoe reaching forward, hanging from the hips.
  for (int side = 0; side < 2; ++side) {
    std::vector<Quad> leg;
    addBox(plainBox(-0.45f, -4.2f, -0.45f, 0.45f, 0.0f, 0.45f, trousersRegion), leg);
    addBox(plainBox(-0.5f, -4.7f, -0.5f, 0.5f, -4.2f, 1.0f, shoeRegion), leg);
    float x = side == 0 ? 0.55f : -0.55f;
    swingAndPlace(leg, side == 0 ? pose.leftLeg : pose.rightLeg, {x, 4.7f, 0.0f});
    all.insert(all.end(), leg.begin(), leg.end());
  }
  // Torso, wider at the shoulders; the shirt's front carries the emblem.
  Box torso = {
      -1.05f, 4.5f,
      -0.6f,  1.05f,
      8.1f,   0.6f,
      -0.25f, {shirtFrontRegion, shirtRegion, shirtRegion, shirtRegion, shirtRegion, shirtRegion}};
  addBox(torso, all);
  // Arms: a sleeve and a hand, hanging from the shoulders.
  for (int side = 0; side < 2; ++side) {
    std::vector<Quad> arm;
    addBox(plainBox(-0.35f, -3.0f, -0.35f, 0.35f, 0.2f, 0.35f, sleeveRegion), arm);
    addBox(plainBox(-0.3f, -3.6f, -0.3f, 0.3f, -3.0f, 0.3f, skinRegion), arm);
    float x = side == 0 ? 1.62f : -1.62f;
    swingAndPlace(arm, side == 0 ? pose.leftArm : pose.rightArm, {x, 7.85f, 0.0f});
    all.insert(all.end(), arm.begin(), arm.end());
  }
  addBox(plainBox(-0.35f, 8.1f, -0.35f, 0.35f, 8.4f, 0.35f, skinRegion), all);
  Box head = {
      -0.85f, 8.4f,
      -0.8f,  0.85f,
      10.0f,  0.8f,
      0.0f,   {faceRegion, hairRegion, headSideRegion, headSideRegion, hairRegion, skinRegion}};
  addBox(head, all);
  // Hair: a cap over the top and the back of the head.
  addBox(plainBox(-0.9f, 9.75f, -0.85f, 0.9f, 10.15f, 0.6f, hairRegion), all);
  addBox(plainBox(-0.9f, 8.9f, -0.85f, 0.9f, 9.75f, -0.6f, hairRegion), all);

  // Stand on y = 0 whatever the pose.
  float lowest = 1e9f;
  for (const Quad &q : all)
    for (const V3 &v : q.corners)
      lowest = std::min(lowest, v.y);
  for (Quad &q : all)
    for (V3 &v : q.corners)
      v.y -= lowest;
  return all;
}

std::string objText(const std::vector<Quad> &quads, int frame) {
  std::string text = "# The player's figure, frame " + std::to_string(frame) +
                     " (generated). Faces +z, stands on y = 0.\nmtllib player.mtl\n";
  char line[128];
  for (const Quad &q : quads)
    for (const V3 &v : q.corners) {
      std::snprintf(line, sizeof line, "v %.4f %.4f %.4f\n", v.x / playerScale, v.y / playerScale,
                    v.z / playerScale);
      text += line;
    }
  // Half a pixel inside each part, so filtering never picks up a neighbour.
  for (const Quad &q : quads) {
    float u0 = (q.region.x0 + 0.5f) / pictureSize, u1 = (q.region.x1 - 0.5f) / pictureSize;
    float vBottom = 1.0f - (q.region.y1 - 0.5f) / pictureSize;
    float vTop = 1.0f - (q.region.y0 + 0.5f) / pictureSize;
    std::snprintf(line, sizeof line, "vt %.5f %.5f\nvt %.5f %.5f\nvt %.5f %.5f\nvt %.5f %.5f\n", u0,
                  vBottom, u1, vBottom, u1, vTop, u0, vTop);
    text += line;
  }
  text += "g figure\nusemtl player\n";
  for (size_t i = 0; i < quads.size(); ++i) {
    int base = static_cast<int>(4 * i) + 1;
    std::snprintf(line, sizeof line, "f %d/%d %d/%d %d/%d %d/%d\n", base, base, base + 1, base + 1,
                  base + 2, base + 2, base + 3, base + 3);
    text += line;
  }
  return text;
}

// A little grain so the flat colours read as cloth and skin.
Rgba grain(Rgba c, int x, int y, int amount) {
  unsigned int h =
      static_cast<unsigned int>(x) * 374761393u + static_cast<unsigned int>(y) * 668265263u;
  h = (h ^ (h >> 13)) * 1274126177u;
  int d = static_cast<int>((h >> 16) % (2 * amount + 1)) - amount;
  auto clamp = [](int v) { return static_cast<uint8_t>(std::max(0, std::min(255, v))); };
  return {clamp(c.r + d), clamp(c.g + d), clamp(c.b + d), 255};
}

void paint(Picture &p, const Region &r, Rgba colour, int amount) {
  for (int y = r.y0; y < r.y1; ++y)
    for (int x = r.x0; x < r.x1; ++x)
      p.set(x, y, grain(colour, x, y, amount));
}

Picture playerPicture() {
  const Rgba skin = {232, 184, 146, 255}, hair = {84, 52, 30, 255}, shirt = {196, 38, 40, 255};
  const Rgba dark = {30, 22, 20, 255}, belt = {70, 44, 24, 255}, gold = {232, 190, 60, 255};
  Picture p(pictureSize, pictureSize, {255, 255, 255, 255});
  paint(p, faceRegion, skin, 4);
  paint(p, skinRegion, skin, 4);
  paint(p, hairRegion, hair, 10);
  for (int x = hairRegion.x0; x < hairRegion.x1; x += 3)
    p.fillRect(x, hairRegion.y0, 1, 32, {70, 42, 24, 255});
  // The face: fringe, eyebrows, eyes with pupils, nose, mouth.
  paint(p, {0, 0, 32, 6}, hair, 10);
  p.fillRect(7, 10, 7, 2, hair);
  p.fillRect(18, 10, 7, 2, hair);
  p.fillRect(7, 13, 7, 5, {250, 250, 250, 255});
  p.fillRect(18, 13, 7, 5, {250, 250, 250, 255});
  p.fillRect(10, 14, 3, 4, {40, 90, 170, 255});
  p.fillRect(21, 14, 3, 4, {40, 90, 170, 255});
  p.fillRect(11, 15, 1, 2, dark);
  p.fillRect(22, 15, 1, 2, dark);
  p.fillRect(15, 16, 2, 6, {205, 150, 115, 255});
  p.fillRect(11, 24, 10, 2, {150, 50, 50, 255});
  p.fillRect(12, 26, 8, 1, {190, 100, 90, 255});
  // Sides of the head: hair above, skin with an ear below.
  paint(p, headSideRegion, skin, 4);
  paint(p, {96, 0, 128, 11}, hair, 10);
  p.fillRect(108, 13, 6, 9, {214, 160, 124, 255});
  // Shirt: plain sides and back with the belt; the front adds a buckle and
  // a white star; sleeves with a cuff.
  paint(p, shirtFrontRegion, shirt, 6);
  paint(p, shirtRegion, shirt, 6);
  paint(p, sleeveRegion, shirt, 6);
  p.fillRect(0, 58, 64, 6, belt);
  p.fillRect(13, 57, 6, 7, gold);
  p.fillRect(15, 59, 2, 3, belt);
  std::vector<float> star;
  for (int i = 0; i < 10; ++i) {
    float a = -3.14159265f / 2 + i * 3.14159265f / 5;
    float radius = i % 2 == 0 ? 9.0f : 3.8f;
    star.push_back(16.0f + 1.3f * radius * std::cos(a));
    star.push_back(45.0f + radius * std::sin(a));
  }
  p.fillPolygon(star, {250, 245, 230, 255});
  p.fillRect(64, 60, 32, 4, {150, 25, 28, 255});
  // Trousers with a seam; shoes with a light sole.
  paint(p, trousersRegion, {44, 64, 140, 255}, 8);
  p.fillRect(15, 64, 2, 32, {32, 48, 110, 255});
  paint(p, shoeRegion, {60, 36, 22, 255}, 6);
  p.fillRect(32, 90, 32, 6, {200, 190, 170, 255});
  return p;
}

const char *const materialText =
    "# The player's material (generated)\n"
    "newmtl player\n"
    "Ka 0.4 0.4 0.4\n"
    "Kd 1.0 1.0 1.0\n"
    "Ks 0.1 0.1 0.1\n"
    "Ns 80\n"
    "map_Kd player.png\n";

}  // namespace

bool generatePlayerModel(const std::string &gameDir) {
  std::string folder = gameDir + "/obj_player/";
  if (!writePng(folder + "player.png", playerPicture(), false) ||
      !writeDataFile(folder + "player.mtl", materialText))
    return false;
  for (int frame = 1; frame <= 5; ++frame)
    if (!writeDataFile(folder + "player_frame" + std::to_string(frame) + ".obj",
                       objText(buildFigure(poses[frame - 1]), frame)))
      return false;
  return true;
}
