// A model made of a sequence of OBJ files, one per animation frame, shown one
// at a time and stepped on a millisecond timer while it is drawn. Frames go
// through the model cache, so models made from the same files share them.
#pragma once

#include "Object3D.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class ObjModel;

class Animated3DModel : public Object3D {
 public:
  // One ObjModel per file name, in order, with this scale and no welding.
  Animated3DModel(const std::vector<std::string> &fileNames, float scale);
  ~Animated3DModel() override;

  // Advances the animation by the clock, then draws the current frame.
  void draw() override;
  // Forwarded to the current frame.
  bool collideSegment(const Float3 &from, const Float3 &to, Float3 &out) override;

  // Requires 0 <= idFrameMin < idFrameMax < number of frames; a current frame
  // outside the new range moves to idFrameMin.
  void setFrameRange(int idFrameMin, int idFrameMax);

  // The animation step of draw at the clock time nowMs (milliseconds).
  void advanceAnimation(int32_t nowMs);

  // The frame period for an animation speed: trunc(100000 / speed), kept
  // inside the int range (a speed of 0 or below, or not a number, never
  // overflows: 0 gives the largest period).
  static int framePeriodFromSpeed(float speed);

  int getNbFrames() const { return static_cast<int>(frames.size()); }
  int getIdFrameMin() const { return idFrameMin; }
  int getIdFrameMax() const { return idFrameMax; }

  // Read and written directly by the player and the script functions.
  int currentFrame;       // 0 at start
  int framePeriod;        // milliseconds, 500 at start
  bool isIncreasing;      // frames step upwards when true, downwards when false
  bool isAnimating;       // true at start
  int32_t nextFrameTime;  // clock time of the next frame change, 0 at start

 private:
  std::vector<std::unique_ptr<ObjModel>> frames;
  int idFrameMin;
  int idFrameMax;
};
