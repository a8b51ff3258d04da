// The player's fixed steps: each frame period is cut into steps of 100
// microseconds; speeds are distances per step. The world is asked only about
// the end points of the frame's vertical and horizontal moves.
#include "PlayerMotion.h"

#include <algorithm>
#include <cmath>

#include "FatalReport.h"
#include "Object3D.h"

namespace {

const float stepMicroseconds = 100.f;
const Float3 headOffset(0.f, playerBodyHeight, 0.f);
// The fly step-up looks for free space one and two body heights up.
const Float3 stepUpOffset(0.f, 2.f * playerBodyHeight, 0.f);

float applyFriction(float speed, float friction) {
  if (speed > friction)
    return speed - friction;
  if (speed < -friction)
    return speed + friction;
  return 0.f;
}

// Steps of the period, 0 to 1000.
int stepCount(int64_t dt) {
  return static_cast<int>(std::ceil(static_cast<float>(dt) / stepMicroseconds));
}

void verticalPhase(PlayerBody &body, int nbSteps, Object3D &world) {
  Float3 newPos = body.position;
  for (int i = 0; i < nbSteps; ++i) {
    body.verticalSpeed -= playerGravity;
    newPos.y() += body.verticalSpeed;
  }
  Float3 feetOut, headOut;
  bool isFeetColliding = world.collideSegment(body.position, newPos, feetOut);
  if (world.collideSegment(body.position + headOffset, newPos + headOffset, headOut)) {
    body.position = headOut - headOffset;
    body.verticalSpeed = 0.f;
    body.isOnGround = false;
  } else if (isFeetColliding) {
    body.position = feetOut;
    body.verticalSpeed = 0.f;
    body.isOnGround = true;
  } else {
    body.position = newPos;
  }
}

Float3 horizontalSteps(PlayerBody &body, int mvtType, const PlayerTuning &tuning,
                       const PlayerControls &controls, int nbSteps, float heading) {
  // Heading 0 walks towards -z and strafes ("f") towards +x.
  const float h = (90.f - heading) * degreesToRadians;
  const float forwardX = std::cos(h), forwardZ = std::sin(h);
  const float strafeX = std::cos(h + quarterTurnRadians);
  const float strafeZ = std::sin(h + quarterTurnRadians);
  Float3 newPos = body.position;
  for (int i = 0; i < nbSteps; ++i) {
    if (mvtType != MVT_TYPE_CAR) {
      if (controls.strafeRight && body.strafeSpeed < tuning.top)
        body.strafeSpeed += tuning.push;
      if (controls.strafeLeft && body.strafeSpeed > -tuning.top)
        body.strafeSpeed -= tuning.push;
    }
    if (controls.forward && body.forwardSpeed < tuning.top)
      body.forwardSpeed += tuning.push;
    if (controls.backward && mvtType != MVT_TYPE_FLY && body.forwardSpeed > -tuning.top)
      body.forwardSpeed -= tuning.push;
    if (mvtType == MVT_TYPE_FLY) {
      if (controls.jump) {
        newPos.y() += playerFlyClimb;
        body.verticalSpeed = 0.f;
      }
      if (controls.descend) {
        newPos.y() -= playerFlyClimb;
        body.verticalSpeed = 0.f;
      }
    }
    body.strafeSpeed = applyFriction(body.strafeSpeed, tuning.friction);
    body.forwardSpeed = applyFriction(body.forwardSpeed, tuning.friction);
    newPos.x() -= forwardX * body.forwardSpeed;
    newPos.z() -= forwardZ * body.forwardSpeed;
    newPos.x() -= strafeX * body.strafeSpeed;
    newPos.z() -= strafeZ * body.strafeSpeed;
  }
  return newPos;
}

void animate(const PlayerBody &body, PlayerFigure &figure, int mvtType, const PlayerTuning &tuning,
             bool isWalkSoundPlaying, PlayerOutcome &outcome) {
  if (mvtType == MVT_TYPE_FLY) {
    figure.setFrameRange(3, 4);
    figure.isAnimating = true;
    return;
  }
  figure.setFrameRange(0, 2);
  if (mvtType == MVT_TYPE_CAR || !body.isOnGround) {
    figure.stop();
    return;
  }
  float s = 200.f *
            std::sqrt(body.forwardSpeed * body.forwardSpeed + body.strafeSpeed * body.strafeSpeed);
  if (s > tuning.top / 2.f && figure.isAnimating && !isWalkSoundPlaying)
    outcome.isWalkStarted = true;
  if (s > 0.1f) {
    // Frames step downwards: 2, 1, 0, 2, ...; the period stays below 500 ms.
    figure.isAnimating = true;
    figure.isIncreasing = false;
    figure.framePeriod = static_cast<int>(50.f / s);
  } else {
    figure.stop();
  }
}

void horizontalCollision(PlayerBody &body, PlayerFigure &figure, int mvtType, const Float3 &newPos,
                         Object3D &world) {
  Float3 out;
  if (mvtType != MVT_TYPE_FLY) {
    if (world.collideSegment(body.position + headOffset, newPos + headOffset, out)) {
      figure.stop();
    } else if (world.collideSegment(body.position, newPos, out)) {
      figure.stop();
      body.forwardSpeed = 0.f;
      body.strafeSpeed = 0.f;
      body.position = out;
    } else {
      body.position = newPos;
    }
    return;
  }
  Float3 feetOut;
  if (!world.collideSegment(body.position, newPos, feetOut)) {
    body.position = newPos;
    return;
  }
  figure.stop();
  body.forwardSpeed = 0.f;
  body.strafeSpeed = 0.f;
  if (world.collideSegment(body.position + stepUpOffset, newPos + stepUpOffset, out) ||
      world.collideSegment(body.position + headOffset, newPos + headOffset, out)) {
    body.position = feetOut;
    return;
  }
  // Free above the obstacle: climb one body height and go on.
  body.verticalSpeed = std::min(body.verticalSpeed, 0.f);
  body.position = newPos + headOffset + (newPos - body.position);
}

}  // namespace

void PlayerFigure::setFrameRange(int min, int max) {
  idFrameMin = min;
  idFrameMax = max;
  if (currentFrame > max || currentFrame < min)
    currentFrame = min;
}

void PlayerFigure::stop() {
  isAnimating = false;
  currentFrame = 0;
}

PlayerTuning playerTuning(int mvtType) {
  if (mvtType == MVT_TYPE_CAR)
    return PlayerTuning{0.0016f, 0.024f, 0.001f};
  if (mvtType == MVT_TYPE_FLY)
    return PlayerTuning{0.0008f, 0.024f, 0.002f};
  ASSERT(mvtType == MVT_TYPE_WALK);
  return PlayerTuning{0.0008f, 0.012f, 0.002f};
}

int64_t clampPlayerPeriod(int64_t periodMicroseconds) {
  return std::max<int64_t>(0, std::min(periodMicroseconds, playerLongestPeriod));
}

float playerHeadingTurn(const PlayerControls &controls, int64_t dt) {
  float turn = playerTurnPerMicrosecond * static_cast<float>(clampPlayerPeriod(dt));
  if (controls.turnLeft)
    return turn;
  if (controls.turnRight)
    return -turn;
  return 0.f;
}

PlayerOutcome movePlayer(PlayerBody &body, PlayerFigure &figure, int mvtType,
                         const PlayerControls &controls, int64_t periodMicroseconds,
                         float cameraHeading, bool isWalkSoundPlaying, Object3D &world) {
  PlayerOutcome outcome;
  if (mvtType == MVT_TYPE_NONE) {
    figure.setFrameRange(0, 2);
    figure.stop();
    return outcome;
  }
  const PlayerTuning tuning = playerTuning(mvtType);
  const int64_t dt = clampPlayerPeriod(periodMicroseconds);
  const int nbSteps = stepCount(dt);

  outcome.headingTurn = playerHeadingTurn(controls, dt);
  const float heading = cameraHeading + outcome.headingTurn;

  if (mvtType == MVT_TYPE_WALK && controls.jump && body.isOnGround) {
    body.verticalSpeed = playerJumpSpeed;
    body.isOnGround = false;
    outcome.isJumpStarted = true;
  }
  if (mvtType != MVT_TYPE_FLY)
    verticalPhase(body, nbSteps, world);

  Float3 newPos = horizontalSteps(body, mvtType, tuning, controls, std::max(1, nbSteps), heading);
  animate(body, figure, mvtType, tuning, isWalkSoundPlaying, outcome);
  horizontalCollision(body, figure, mvtType, newPos, world);
  return outcome;
}
