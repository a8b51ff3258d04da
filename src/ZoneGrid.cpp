// The grid covers the bounding box of the solid zones; each cell lists the
// boxes meeting it. A box holding all four probes holds the first one, so
// only the boxes of the first probe's cell (and the few large boxes) are
// asked. Cells are found by one monotonic function of the position, used both
// to place a box (its low and high corners) and to look a probe up, so a box
// holding a probe is always listed in the probe's cell.
#include "ZoneGrid.h"

#include <algorithm>
#include <cmath>

#include "CubeType.h"
#include "CubeTypeManager.h"
#include "CubeZone.h"

namespace {

// One cube; cells grow (doubling) until the grid has at most maxCells.
const double smallestCellSize = 10.0;
const double maxCells = 32768.0;
// A box meeting more cells than this is asked for every face instead.
const int64_t maxCellsPerBox = 1024;
// Coordinates beyond this are left to the list scan.
const float largestCoordinate = 1e30f;

bool isModerate(const Float3 &v) {
  for (unsigned a = 0; a < 3; ++a)
    if (!std::isfinite(v[a]) || std::fabs(v[a]) > largestCoordinate)
      return false;
  return true;
}

}  // namespace

ZoneGrid::ZoneGrid(const std::vector<CubeZone> &zones) : zones(zones) {
  for (const CubeZone &zone : zones) {
    if (!isZoneIndexable(zone)) {
      isUsable = false;
      return;
    }
  }
  // The box exactly as the zone's point test computes it.
  for (size_t i = 0; i < zones.size(); ++i) {
    const CubeZone &zone = zones[i];
    if (!cubeTypeManager->cubeTypes[zone.cubeTypeIndex]->collidable)
      continue;
    Float3 half = zone.size * 0.5f;
    Float3 low = zone.center - half, high = zone.center + half;
    Box box;
    bool isEmpty = false;
    for (unsigned a = 0; a < 3; ++a) {
      box.low[a] = low[a];
      box.high[a] = high[a];
      isEmpty = isEmpty || low[a] > high[a];
    }
    box.zoneIndex = static_cast<uint32_t>(i);
    if (!isEmpty)
      boxes.push_back(box);
  }
  placeBoxes();
}

bool ZoneGrid::isZoneIndexable(const CubeZone &zone) const {
  if (zone.cubeTypeIndex < 0 || zone.cubeTypeIndex >= cubeTypeManager->getNbCubeType())
    return false;
  Float3 half = zone.size * 0.5f;
  return isModerate(zone.center) && isModerate(zone.size) && isModerate(zone.center - half) &&
         isModerate(zone.center + half);
}

void ZoneGrid::placeBoxes() {
  if (boxes.empty())
    return;
  for (unsigned a = 0; a < 3; ++a) {
    gridLow[a] = boxes[0].low[a];
    gridHigh[a] = boxes[0].high[a];
  }
  for (const Box &box : boxes)
    for (unsigned a = 0; a < 3; ++a) {
      gridLow[a] = std::min(gridLow[a], box.low[a]);
      gridHigh[a] = std::max(gridHigh[a], box.high[a]);
    }

  double extent[3];
  for (unsigned a = 0; a < 3; ++a)
    extent[a] = static_cast<double>(gridHigh[a]) - static_cast<double>(gridLow[a]);
  double cellSize = smallestCellSize;
  double counts[3];
  for (;;) {
    for (unsigned a = 0; a < 3; ++a)
      counts[a] = std::max(1.0, std::ceil(extent[a] / cellSize));
    if (counts[0] * counts[1] * counts[2] <= maxCells)
      break;
    cellSize *= 2.0;
  }
  for (unsigned a = 0; a < 3; ++a) {
    nbCells[a] = static_cast<int32_t>(counts[a]);
    // One cell along an axis: every position maps to it.
    cellsPerUnit[a] = nbCells[a] == 1 ? 0.f : static_cast<float>(counts[a] / extent[a]);
  }

  size_t totalCells = static_cast<size_t>(nbCells[0]) * nbCells[1] * nbCells[2];
  std::vector<int32_t> first(boxes.size() * 3), last(boxes.size() * 3);
  std::vector<uint32_t> nbInCell(totalCells + 1, 0);
  for (size_t b = 0; b < boxes.size(); ++b) {
    int64_t nbMet = 1;
    for (unsigned a = 0; a < 3; ++a) {
      first[3 * b + a] = cellAlong(a, boxes[b].low[a]);
      last[3 * b + a] = cellAlong(a, boxes[b].high[a]);
      nbMet *= last[3 * b + a] - first[3 * b + a] + 1;
    }
    if (nbMet > maxCellsPerBox) {
      largeBoxes.push_back(static_cast<uint32_t>(b));
      first[3 * b] = 1;  // placed nowhere
      last[3 * b] = 0;
      continue;
    }
    for (int32_t z = first[3 * b + 2]; z <= last[3 * b + 2]; ++z)
      for (int32_t y = first[3 * b + 1]; y <= last[3 * b + 1]; ++y)
        for (int32_t x = first[3 * b]; x <= last[3 * b]; ++x)
          ++nbInCell[x + nbCells[0] * (y + static_cast<size_t>(nbCells[1]) * z)];
  }

  cellStart.assign(totalCells + 1, 0);
  for (size_t c = 0; c < totalCells; ++c)
    cellStart[c + 1] = cellStart[c] + nbInCell[c];
  cellBoxes.resize(cellStart[totalCells]);
  std::vector<uint32_t> next(cellStart.begin(), cellStart.end() - 1);
  for (size_t b = 0; b < boxes.size(); ++b)
    for (int32_t z = first[3 * b + 2]; z <= last[3 * b + 2]; ++z)
      for (int32_t y = first[3 * b + 1]; y <= last[3 * b + 1]; ++y)
        for (int32_t x = first[3 * b]; x <= last[3 * b]; ++x)
          cellBoxes[next[x + nbCells[0] * (y + static_cast<size_t>(nbCells[1]) * z)]++] =
              static_cast<uint32_t>(b);
}

int32_t ZoneGrid::cellAlong(unsigned a, float p) const {
  float cell = (p - gridLow[a]) * cellsPerUnit[a];
  if (!(cell > 0.f))
    return 0;
  if (cell >= static_cast<float>(nbCells[a]))
    return nbCells[a] - 1;
  return static_cast<int32_t>(cell);
}

bool ZoneGrid::holdsAll(const Box &box, size_t selfIndex, const Float3 probes[4]) const {
  if (box.zoneIndex == selfIndex)
    return false;
  for (int k = 0; k < 4; ++k)
    for (unsigned a = 0; a < 3; ++a)
      if (box.low[a] > probes[k][a] || box.high[a] < probes[k][a])
        return false;
  return true;
}

bool ZoneGrid::isFaceHidden(size_t selfIndex, const Float3 probes[4]) const {
  if (!isUsable) {
    for (size_t i = 0; i < zones.size(); ++i)
      if (i != selfIndex && zones[i].isSolidBoxHolding(probes))
        return true;
    return false;
  }
  if (boxes.empty())
    return false;
  const Float3 &p = probes[0];
  if (!isModerate(p)) {
    // Not from a zone of the list; every box is asked.
    for (const Box &box : boxes)
      if (holdsAll(box, selfIndex, probes))
        return true;
    return false;
  }
  for (unsigned a = 0; a < 3; ++a)
    if (gridLow[a] > p[a] || gridHigh[a] < p[a])
      return false;
  size_t cell =
      cellAlong(0, p[0]) +
      nbCells[0] * (cellAlong(1, p[1]) + static_cast<size_t>(nbCells[1]) * cellAlong(2, p[2]));
  for (uint32_t k = cellStart[cell]; k < cellStart[cell + 1]; ++k)
    if (holdsAll(boxes[cellBoxes[k]], selfIndex, probes))
      return true;
  for (uint32_t b : largeBoxes)
    if (holdsAll(boxes[b], selfIndex, probes))
      return true;
  return false;
}
