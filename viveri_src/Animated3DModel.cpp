// Frames stepped on the millisecond clock while the model is drawn; by
// default downwards (2, 1, 0, 2, ...) inside the frame range.
#include "Animated3DModel.h"

#include "DeviceManager.h"
#include "FatalReport.h"
#include "ObjModel.h"

#include <cmath>
#include <limits>

namespace {

int32_t clampToInt32(int64_t value) {
  if (value > std::numeric_limits<int32_t>::max())
    return std::numeric_limits<int32_t>::max();
  if (value < std::numeric_limits<int32_t>::min())
    return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(value);
}

}  // namespace

Animated3DModel::Animated3DModel(const std::vector<std::string> &fileNames, float scale)
    : currentFrame(0),
      framePeriod(500),
      isIncreasing(false),
      isAnimating(true),
      nextFrameTime(0),
      idFrameMin(0),
      idFrameMax(static_cast<int>(fileNames.size()) - 1) {
  ASSERT(fileNames.size() > 0);
  for (const std::string &fileName : fileNames)
    frames.push_back(std::make_unique<ObjModel>(fileName, scale, 0.0f));
}

Animated3DModel::~Animated3DModel() = default;

void Animated3DModel::advanceAnimation(int32_t nowMs) {
  if (!(nowMs > nextFrameTime && isAnimating))
    return;
  // A huge or negative period never wraps the clock sum around.
  nextFrameTime = clampToInt32(static_cast<int64_t>(nowMs) + framePeriod);
  if (isIncreasing) {
    ++currentFrame;
    if (currentFrame > idFrameMax)
      currentFrame = idFrameMin;
  } else {
    --currentFrame;
    if (currentFrame < idFrameMin)
      currentFrame = idFrameMax;
  }
}

void Animated3DModel::draw() {
  advanceAnimation(getTimeMs());
  ASSERT(currentFrame >= 0 && currentFrame < getNbFrames());
  frames[currentFrame]->draw();
}

bool Animated3DModel::collideSegment(const Float3 &from, const Float3 &to, Float3 &out) {
  ASSERT(currentFrame >= 0 && currentFrame < getNbFrames());
  return frames[currentFrame]->collideSegment(from, to, out);
}

void Animated3DModel::setFrameRange(int idFrameMin, int idFrameMax) {
  ASSERT(idFrameMin < idFrameMax && idFrameMin >= 0);
  // The check above makes idFrameMax positive, so the mixed-sign comparison
  // is exact.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wsign-compare"
  ASSERT(idFrameMax < frames.size());
#pragma GCC diagnostic pop
  this->idFrameMin = idFrameMin;
  this->idFrameMax = idFrameMax;
  if (currentFrame > idFrameMax || currentFrame < idFrameMin)
    currentFrame = idFrameMin;
}

int Animated3DModel::framePeriodFromSpeed(float speed) {
  if (std::isnan(speed) || speed == 0.0f)
    return std::numeric_limits<int>::max();
  double period = std::trunc(100000.0 / speed);
  if (period > std::numeric_limits<int>::max())
    return std::numeric_limits<int>::max();
  if (period < std::numeric_limits<int>::min())
    return std::numeric_limits<int>::min();
  return static_cast<int>(period);
}
