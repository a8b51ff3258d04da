// The player's physics as pure functions: fixed steps of 100 microseconds for
// a frame's period, gravity, jump, fly climb, and the vertical and horizontal
// phases that ask the world only about the end points of the frame's move.
// The animation choices are written into a plain figure record that the
// player copies to its model.
#pragma once

#include <cstdint>

#include "BasicVector.h"

class Object3D;

const int MVT_TYPE_WALK = 0;
const int MVT_TYPE_CAR = 1;
const int MVT_TYPE_FLY = 2;
const int MVT_TYPE_NONE = 3;

struct PlayerTuning {
  float top;       // top speed per step
  float push;      // added per step while a key is held below top speed
  float friction;  // taken per step
};

// Walk, car and fly rows; the movement type must be one of those three.
PlayerTuning playerTuning(int mvtType);

// The controls held during the frame.
struct PlayerControls {
  bool turnLeft = false;
  bool turnRight = false;
  bool forward = false;
  bool backward = false;
  bool strafeRight = false;
  bool strafeLeft = false;
  bool jump = false;  // also climbs in fly mode
  bool descend = false;
};

struct PlayerBody {
  Float3 position;
  float forwardSpeed = 0.f;
  float verticalSpeed = 0.f;
  float strafeSpeed = 0.f;
  bool isOnGround = false;
};

// What the model shows; changing the range moves a frame outside it to the
// range's first frame, as the model does.
struct PlayerFigure {
  int idFrameMin = 0;
  int idFrameMax = 2;
  int currentFrame = 0;
  int framePeriod = 500;
  bool isIncreasing = false;
  bool isAnimating = true;

  void setFrameRange(int min, int max);
  // Animation off, frame 0 shown.
  void stop();
};

// What the frame asks of the camera and the sounds.
struct PlayerOutcome {
  float headingTurn = 0.f;  // degrees to add to the camera heading
  bool isJumpStarted = false;
  bool isWalkStarted = false;
};

const float playerGravity = 0.000003f;
const float playerJumpSpeed = 0.0125f;
const float playerBodyHeight = 10.f;
const float playerFlyClimb = 0.1f;
const float playerTurnPerMicrosecond = 0.00018f;
const int64_t playerLongestPeriod = 100000;

// The frame period as the motion uses it: 0 to 100000 microseconds.
int64_t clampPlayerPeriod(int64_t periodMicroseconds);
// Degrees added to the camera heading by the arrow keys over dt microseconds.
float playerHeadingTurn(const PlayerControls &controls, int64_t dt);

// One frame of motion of the given movement type (walk, car, fly or none;
// any other value fails the check "mvtType == MVT_TYPE_WALK"). cameraHeading
// is in degrees, before this frame's turn by the arrow keys, which the motion
// already follows. isWalkSoundPlaying tells whether the walk sound still plays.
PlayerOutcome movePlayer(PlayerBody &body, PlayerFigure &figure, int mvtType,
                         const PlayerControls &controls, int64_t periodMicroseconds,
                         float cameraHeading, bool isWalkSoundPlaying, Object3D &world);
