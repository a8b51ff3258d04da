#include "Editor3DWorldGeneration.h"

#include <iostream>

#include "Editor3D.h"
#include "FatalReport.h"
#include "HeightMap.h"
#include "RandomGenerator.h"

namespace {

const char *const heightmapFileName = "world_heightmap.png";

bool allLess(const Int3 &a, const Int3 &b) {
  return a.x() < b.x() && a.y() < b.y() && a.z() < b.z();
}

bool allLessOrEqual(const Int3 &a, const Int3 &b) {
  return a.x() <= b.x() && a.y() <= b.y() && a.z() <= b.z();
}

// Draws one number modulo m.
int draw(int m) {
  return randomNumber() % m;
}

// One run of equal heights along an axis, as it is built.
struct Run {
  Int3 begin;
  Int3 end;
  int value;
};

}  // namespace

Editor3DWorldGeneration::Editor3DWorldGeneration(Editor3D *editor) : editor(editor) {}

void Editor3DWorldGeneration::record(const Int3 &first, const Int3 &second) {
  cubesPosBeg.push_back(first);
  cubesPosEnd.push_back(second);
  ASSERT(cubesPosBeg.size() == cubesPosEnd.size());
}

void Editor3DWorldGeneration::addTop(const Int3 &first, const Int3 &second) {
  editor->addBoxAcrossRegions(first, second, topType);
}

void Editor3DWorldGeneration::addColumn(const Int3 &lower, const Int3 &upper) {
  // A run of height 0 (only a hand-made grid has one) adds nothing.
  if (upper.y() <= lower.y())
    return;
  if (upper.y() > lower.y() + 1) {
    editor->addBoxAcrossRegions(lower, Int3(upper.x(), upper.y() - 1, upper.z()), bodyType);
    editor->addBoxAcrossRegions(Int3(lower.x(), upper.y() - 1, lower.z()), upper, topType);
  } else {
    editor->addBoxAcrossRegions(lower, upper, topType);
  }
}

bool Editor3DWorldGeneration::generateRegion(const Int3 &center, int hillside,
                                             const unsigned char *heights, int rangeGeneration,
                                             int bodyType, int topType, int width, int height) {
  Int2 sizeHeightmap(width, height);
  ASSERT(sizeHeightmap.width() <= rangeGeneration && sizeHeightmap.height() <= rangeGeneration);
  ASSERT(sizeHeightmap.width() >= 0 && sizeHeightmap.height() >= 0);
  std::cout << "=" << std::flush;
  this->bodyType = bodyType;
  this->topType = topType;
  cubesPosBeg.clear();
  cubesPosEnd.clear();
  generateTerrain(center, hillside, heights, rangeGeneration, width, height);
  addRandomBoxes(center, hillside, rangeGeneration);
  return true;
}

void Editor3DWorldGeneration::generateTerrain(const Int3 &center, int hillside,
                                              const unsigned char *heights, int rangeGeneration,
                                              int width, int height) {
  const int a = center.x(), b = center.y(), c = center.z();
  const int v = rangeGeneration / 2;
  if (hillside == 0) {
    if (heights == NULL || width == 0 || height == 0) {
      Int3 first(a - v, b, c - v), second(a + v, b + 1, c + v);
      addTop(first, second);
      record(first, second);
      return;
    }
    bool isFlat = true;
    for (int s = 1; s < width * height; ++s)
      isFlat = isFlat && heights[s] == heights[0];
    if (isFlat) {
      Int3 lower(a - v, b, c - v), upper(a + v, b + heights[0], c + v);
      addColumn(lower, upper);
      record(lower, upper);
      return;
    }
    mergeRuns(center, heights, rangeGeneration, width, height);
    return;
  }
  for (int i = -v; i < v; ++i) {
    Int3 first, second;
    switch (hillside) {
      case 1:
        first = Int3(a + i, b + i, c - v);
        second = Int3(a + i + 1, b + i + 1, c + v + 1);
        break;
      case 2:
        first = Int3(a + i, b - i, c - v);
        second = Int3(a + i + 1, b - i - 1, c + v + 1);
        break;
      case 3:
        first = Int3(a - v, b + i, c + i);
        second = Int3(a + v + 1, b + i + 1, c + i + 1);
        break;
      case 4:
        first = Int3(a - v, b - i, c + i);
        second = Int3(a + v + 1, b - i - 1, c + i + 1);
        break;
      default:
        ASSERT(hillside >= 0 && hillside <= 4);
    }
    addTop(first, second);
    record(first, second);
  }
}

void Editor3DWorldGeneration::mergeRuns(const Int3 &center, const unsigned char *heights,
                                        int rangeGeneration, int width, int height) {
  const int b = center.y();
  const int x0 = center.x() - rangeGeneration / 2, z0 = center.z() - rangeGeneration / 2;
  auto sampleLow = [&](int i, int k) {
    return Int3(x0 + rangeGeneration * i / width, b, z0 + rangeGeneration * k / height);
  };
  auto sampleHigh = [&](int i, int k) {
    return Int3(x0 + rangeGeneration * (i + 1) / width, b + heights[i + k * width],
                z0 + rangeGeneration * (k + 1) / height);
  };
  std::vector<Int3> posBegCubesVert, posEndCubesVert, posBegCubesHoriz, posEndCubesHoriz;
  // Walks one line of samples (a column along z or a row along x).
  auto walk = [&](int count, auto sampleAt, std::vector<Int3> &begins, std::vector<Int3> &ends,
                  bool isAlongZ) {
    Run run{};
    for (int s = 0; s < count; ++s) {
      int i = 0, k = 0;
      sampleAt(s, i, k);
      int value = heights[i + k * width];
      Int3 posEnd = sampleHigh(i, k);
      if (s > 0 && value == run.value) {
        if (isAlongZ) {
          int shouldBeX = run.end.x();
          ASSERT(shouldBeX == posEnd.x());
          run.end.z() = posEnd.z();
        } else {
          run.end.x() = posEnd.x();
        }
        continue;
      }
      if (s > 0) {
        if (isAlongZ) {
          Int3 previousPosEnd = run.end;
          ASSERT(previousPosEnd.x() == posEnd.x());
        }
        begins.push_back(run.begin);
        ends.push_back(run.end);
        record(run.begin, run.end);
      }
      run = Run{sampleLow(i, k), posEnd, value};
    }
    begins.push_back(run.begin);
    ends.push_back(run.end);
  };
  for (int i = 0; i < width; ++i)
    walk(
        height,
        [i](int s, int &si, int &sk) {
          si = i;
          sk = s;
        },
        posBegCubesVert, posEndCubesVert, true);
  for (int k = 0; k < height; ++k)
    walk(
        width,
        [k](int s, int &si, int &sk) {
          si = s;
          sk = k;
        },
        posBegCubesHoriz, posEndCubesHoriz, false);
  ASSERT(posBegCubesVert.size() == posEndCubesVert.size());
  ASSERT(posBegCubesHoriz.size() == posEndCubesHoriz.size());
  bool isVertical = posBegCubesVert.size() < posBegCubesHoriz.size();
  const std::vector<Int3> &begins = isVertical ? posBegCubesVert : posBegCubesHoriz;
  const std::vector<Int3> &ends = isVertical ? posEndCubesVert : posEndCubesHoriz;
  for (size_t r = 0; r < begins.size(); ++r) {
    addColumn(begins[r], ends[r]);
    record(begins[r], ends[r]);
  }
}

void Editor3DWorldGeneration::addRandomBoxes(const Int3 &center, int hillside,
                                             int rangeGeneration) {
  const int a = center.x(), b = center.y(), c = center.z();
  const int v = rangeGeneration / 2;
  int f = nbRandomCubes > 0 ? draw(nbRandomCubes) : 0;
  int nbBig = 0, nbMedium = 0, nbSmall = 0;
  for (int m = 0; m < f; ++m) {
    int d = draw(100);
    if (d < 5)
      ++nbBig;
    else if (d < 25)
      ++nbMedium;
    else if (d < 62)
      ++nbSmall;
  }
  for (int m = 0; m < f; ++m) {
    int p = draw(rangeGeneration) - v;
    int q = draw(rangeGeneration) - v;
    int x = a + p, z = c + q;
    const int baseHeights[5] = {b, b + p, b - p, b + q, b - q};
    int y = baseHeights[hillside];
    Int3 lower(x, y, z), upper(x + 1, y + 1, z + 1);
    if (m < nbBig) {
      int r[7], s[7];
      for (int n = 1; n <= 6; ++n)
        r[n] = draw(3);
      lower = Int3(x - (r[5] + 1) * (r[6] + 1), y - (r[4] + 1) * (r[3] + 1),
                   z - (r[2] + 1) * (r[1] + 1));
      for (int n = 1; n <= 6; ++n)
        s[n] = draw(3);
      upper = Int3(x + (s[6] + 1) * (s[5] + 1), y + (s[4] + 1) * (s[3] + 1),
                   z + (s[2] + 1) * (s[1] + 1));
    } else if (m < nbBig + nbMedium) {
      int r1 = draw(3), r2 = draw(3), r3 = draw(3);
      lower = Int3(x - r3 - 1, y - r2 - 1, z - r1 - 1);
      int s1 = draw(3), s2 = draw(3), s3 = draw(3);
      upper = Int3(x + s3 + 1, y + s2 + 1, z + s1 + 1);
    } else if (m < nbBig + nbMedium + nbSmall) {
      int r1 = draw(2), r2 = draw(2), r3 = draw(2);
      lower = Int3(x - r3, y - r2, z - r1);
      int s1 = draw(2), s2 = draw(2), s3 = draw(2);
      upper = Int3(x + s3 + 1, y + s2 + 1, z + s1 + 1);
    }
    // Settling on what this region's generation already built.
    bool isDropped = false;
    for (size_t n = 0; n < cubesPosBeg.size();) {
      const Int3 &B = cubesPosBeg[n];
      const Int3 &E = cubesPosEnd[n];
      if (allLessOrEqual(B, upper) && allLess(lower, E)) {
        int boxHeight = upper.y() - lower.y();
        lower.y() = E.y();
        upper.y() = E.y() + boxHeight;
        n = 0;
      } else if (allLess(B, upper) && allLessOrEqual(upper, E)) {
        isDropped = true;
        break;
      } else {
        ++n;
      }
    }
    if (!isDropped && allLess(lower, upper)) {
      record(lower, upper);
      addColumn(lower, upper);
    }
  }
}

void Editor3DWorldGeneration::generateOneRegion(const Int3 &cursor, int regionCubes, int bodyType,
                                                int topType, int hillside) {
  std::cout << "Generate random at " << cursor << " (type " << hillside << ")" << std::flush;
  generateRegion(cursor, hillside, NULL, regionCubes, bodyType, topType, 0, 0);
  std::cout << std::endl;
}

bool Editor3DWorldGeneration::generateFromHeightmap(const Int3 &cursor, int regionCubes,
                                                    int bodyType, int topType, int n) {
  std::cout << "Generate random full world ..." << std::endl;
  if (!fileExists(heightmapFileName))
    return false;
  HeightMap image;
  if (!image.load(heightmapFileName))
    return false;
  const int l = regionCubes / heightmapAccuracy;
  const int64_t W = image.getWidth(), H = image.getHeight();
  std::vector<unsigned char> grid(static_cast<size_t>(l) * static_cast<size_t>(l));
  for (int rx = -n / 2; rx <= n / 2 - 1; ++rx)
    for (int rz = -n / 2; rz <= n / 2 - 1; ++rz) {
      const float fn = static_cast<float>(n);
      Int2 imagePosExtremity1(
          static_cast<int>(static_cast<float>(W) * static_cast<float>(rx + n / 2) / fn),
          static_cast<int>(static_cast<float>(H) * static_cast<float>(rz + n / 2) / fn));
      Int2 imagePosExtremity2(
          static_cast<int>(static_cast<float>(W) * static_cast<float>(rx + n / 2 + 1) / fn),
          static_cast<int>(static_cast<float>(H) * static_cast<float>(rz + n / 2 + 1) / fn));
      for (int i = 0; i < l; ++i)
        for (int k = 0; k < l; ++k) {
          Int2 coordinatesInHeightmapImage(
              imagePosExtremity1.x() + i * (imagePosExtremity2.x() - imagePosExtremity1.x()) / l,
              imagePosExtremity1.y() + k * (imagePosExtremity2.y() - imagePosExtremity1.y()) / l);
          ASSERT(coordinatesInHeightmapImage.x() >= imagePosExtremity1.x());
          ASSERT(coordinatesInHeightmapImage.y() >= imagePosExtremity1.y());
          ASSERT(coordinatesInHeightmapImage.x() <= imagePosExtremity2.x());
          ASSERT(coordinatesInHeightmapImage.y() <= imagePosExtremity2.y());
          int red = image.red(coordinatesInHeightmapImage.x(), coordinatesInHeightmapImage.y());
          grid[static_cast<size_t>(i) + static_cast<size_t>(k) * static_cast<size_t>(l)] =
              static_cast<unsigned char>(red * heightFactor / 10 + 1);
        }
      Int3 center(cursor.x() + regionCubes / 2 + regionCubes * rx, cursor.y(),
                  cursor.z() + regionCubes / 2 + regionCubes * rz);
      generateRegion(center, 0, grid.data(), regionCubes, bodyType, topType, l, l);
    }
  std::cout << "... Generate random full world done." << std::endl;
  return true;
}
