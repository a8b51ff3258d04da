// Title picture, coin icon, coin and lantern models, coin sound of the
// default game script. Text files and sounds are written beside their final
// name and renamed, like the pictures.
#include "ScriptGameData.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "Picture.h"
#include "PngWriter.h"
#include "TextRenderer.h"

namespace {

const float pi = 3.14159265f;

bool writeFile(const std::string &path, const std::string &bytes) {
  std::string temp = path + ".tmp";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
      std::fprintf(stderr, "generate_game_data: cannot write '%s'\n", temp.c_str());
      return false;
    }
  }
  if (std::rename(temp.c_str(), path.c_str()) != 0) {
    std::fprintf(stderr, "generate_game_data: cannot rename '%s'\n", temp.c_str());
    std::remove(temp.c_str());
    return false;
  }
  return true;
}

// An OBJ under construction: vertices, normals and faces by material.
struct ObjBuilder {
  std::ostringstream text;
  int nbVertices = 0;
  int nbNormals = 0;

  int vertex(float x, float y, float z) {
    text << "v " << x << ' ' << y << ' ' << z << '\n';
    return ++nbVertices;
  }
  int normal(float x, float y, float z) {
    text << "vn " << x << ' ' << y << ' ' << z << '\n';
    return ++nbNormals;
  }
  // A face with one normal for all its corners (v//n).
  void face(const std::vector<int> &corners, int n) {
    text << 'f';
    for (int v : corners)
      text << ' ' << v << "//" << n;
    text << '\n';
  }
  void material(const char *name) { text << "usemtl " << name << '\n'; }

  // Axis-aligned box from (x0, y0, z0) to (x1, y1, z1), faces turned outwards.
  void box(float x0, float y0, float z0, float x1, float y1, float z1) {
    int v[8];
    for (int i = 0; i < 8; ++i)
      v[i] = vertex(i & 1 ? x1 : x0, i & 2 ? y1 : y0, i & 4 ? z1 : z0);
    face({v[0], v[4], v[6], v[2]}, normal(-1, 0, 0));
    face({v[1], v[3], v[7], v[5]}, normal(1, 0, 0));
    face({v[0], v[1], v[5], v[4]}, normal(0, -1, 0));
    face({v[2], v[6], v[7], v[3]}, normal(0, 1, 0));
    face({v[0], v[2], v[3], v[1]}, normal(0, 0, -1));
    face({v[4], v[5], v[7], v[6]}, normal(0, 0, 1));
  }
};

std::string material(const char *name, float r, float g, float b) {
  std::ostringstream text;
  text << "newmtl " << name << "\nKa " << r * 0.4f << ' ' << g * 0.4f << ' ' << b * 0.4f << "\nKd "
       << r << ' ' << g << ' ' << b << "\nKs 0.3 0.3 0.3\nNs 40\n";
  return text.str();
}

// A coin standing upright in the x-y plane: a 16-sided disc of radius 3,
// 0.6 thick, its centre 4 units above the object's position.
std::string coinModel() {
  ObjBuilder obj;
  obj.text << "mtllib coin.mtl\ng coin\nusemtl gold\n";
  const int sides = 16;
  int front[sides], back[sides];
  for (int i = 0; i < sides; ++i) {
    float a = 2 * pi * static_cast<float>(i) / sides;
    front[i] = obj.vertex(3 * std::cos(a), 4 + 3 * std::sin(a), 0.3f);
    back[i] = obj.vertex(3 * std::cos(a), 4 + 3 * std::sin(a), -0.3f);
  }
  std::vector<int> frontFace(front, front + sides);
  obj.face(frontFace, obj.normal(0, 0, 1));
  std::vector<int> backFace(back, back + sides);
  std::reverse(backFace.begin(), backFace.end());
  obj.face(backFace, obj.normal(0, 0, -1));
  for (int i = 0; i < sides; ++i) {
    int j = (i + 1) % sides;
    float a = 2 * pi * (static_cast<float>(i) + 0.5f) / sides;
    obj.face({front[i], back[i], back[j], front[j]}, obj.normal(std::cos(a), std::sin(a), 0));
  }
  return obj.text.str();
}

// A lantern post: a dark post, a glowing box whose flame height differs by
// frame, and a roof.
std::string lanternModel(float flameHeight) {
  ObjBuilder obj;
  obj.text << "mtllib lantern.mtl\ng post\n";
  obj.material("iron");
  obj.box(-0.6f, 0, -0.6f, 0.6f, 14, 0.6f);
  obj.box(-2.2f, 20, -2.2f, 2.2f, 21, 2.2f);
  obj.text << "g light\n";
  obj.material("glow");
  obj.box(-1.6f, 14, -1.6f, 1.6f, 14 + flameHeight, 1.6f);
  return obj.text.str();
}

// A short rising two-note chime, 16-bit mono at 22050 Hz.
std::string coinSound() {
  const int rate = 22050;
  const int nbSamples = rate * 3 / 10;
  std::string data;
  for (int i = 0; i < nbSamples; ++i) {
    float t = static_cast<float>(i) / rate;
    float frequency = t < 0.08f ? 988.f : 1319.f;
    float envelope = std::exp(-t * 12.f) * std::fmin(1.f, t * 400.f);
    float s =
        envelope * (std::sin(2 * pi * frequency * t) + 0.3f * std::sin(4 * pi * frequency * t));
    int16_t sample =
        static_cast<int16_t>(std::lround(std::fmax(-1.f, std::fmin(1.f, s * 0.6f)) * 32767));
    data.push_back(static_cast<char>(sample & 0xFF));
    data.push_back(static_cast<char>((sample >> 8) & 0xFF));
  }
  auto u32 = [](uint32_t v) {
    std::string b;
    for (int i = 0; i < 4; ++i)
      b.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    return b;
  };
  auto u16 = [](uint16_t v) {
    return std::string{static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)};
  };
  return "RIFF" + u32(36 + static_cast<uint32_t>(data.size())) + "WAVEfmt " + u32(16) + u16(1) +
         u16(1) + u32(rate) + u32(rate * 2) + u16(2) + u16(16) + "data" +
         u32(static_cast<uint32_t>(data.size())) + data;
}

}  // namespace

bool generateScriptPictures(TextRenderer &text, const std::string &gameDir) {
  // 1024 x 512: the loader keeps power-of-two sides unstretched.
  Picture title(1024, 512, Rgba{20, 30, 60, 255});
  title.fillGradient(0, 0, 1024, 512, Rgba{40, 90, 160, 255}, Rgba{10, 20, 40, 255});
  title.fillRect(0, 380, 1024, 132, Rgba{40, 110, 40, 255});
  title.fillRect(0, 380, 1024, 8, Rgba{90, 170, 70, 255});
  for (int i = 0; i < 7; ++i) {
    float cx = 140.f + 125.f * static_cast<float>(i), cy = 330.f - 20.f * static_cast<float>(i % 2);
    std::vector<float> disc;
    for (int k = 0; k < 24; ++k) {
      float a = 2 * pi * static_cast<float>(k) / 24;
      disc.push_back(cx + 26 * std::cos(a));
      disc.push_back(cy + 26 * std::sin(a));
    }
    title.fillPolygon(disc, Rgba{240, 200, 40, 255});
  }
  if (!text.setPixelSize(96))
    return false;
  text.drawCentred(title, 0, 60, 1024, 140, "Cube Coins", Rgba{255, 230, 120, 255});
  if (!text.setPixelSize(36))
    return false;
  text.drawCentred(title, 0, 220, 1024, 60, "Press the space bar to start",
                   Rgba{255, 255, 255, 255});
  Picture icon(32, 32, Rgba{0, 0, 0, 0});
  std::vector<float> disc;
  for (int k = 0; k < 24; ++k) {
    float a = 2 * pi * static_cast<float>(k) / 24;
    disc.push_back(16 + 14 * std::cos(a));
    disc.push_back(16 + 14 * std::sin(a));
  }
  icon.fillPolygon(disc, Rgba{240, 200, 40, 255});
  icon.fillRect(13, 8, 6, 16, Rgba{200, 150, 20, 255});
  return writePng(gameDir + "/sprites/title.png", title, false) &&
         writePng(gameDir + "/sprites/coin_icon.png", icon, true);
}

bool generateScriptModels(const std::string &gameDir) {
  std::string models = gameDir + "/models/";
  return writeFile(models + "coin.obj", coinModel()) &&
         writeFile(models + "coin.mtl", material("gold", 1.f, 0.8f, 0.15f)) &&
         writeFile(models + "lantern_frame1.obj", lanternModel(4.f)) &&
         writeFile(models + "lantern_frame2.obj", lanternModel(5.5f)) &&
         writeFile(models + "lantern.mtl",
                   material("iron", 0.25f, 0.25f, 0.3f) + material("glow", 1.f, 0.9f, 0.4f));
}

bool generateScriptSounds(const std::string &gameDir) {
  return writeFile(gameDir + "/sound/coin.wav", coinSound());
}
