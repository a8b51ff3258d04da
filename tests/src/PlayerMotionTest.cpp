// The player's fixed-step physics against a world of solid boxes: falling
// and landing, jumping, head bumps, walls, the fly step-up, the speed
// saw-tooth, frame periods of 0 and of more than the limit, the animation
// choices, and how often the world is asked.
#include <gtest/gtest.h>

#include <vector>

#include "Object3D.h"
#include "PlayerMotion.h"

namespace {

// Solid boxes with their bounds included; a move ending in one is refused,
// as the game's world does it.
class BoxWorld : public Object3D {
 public:
  struct Box {
    Float3 low, high;
  };

  void add(Float3 low, Float3 high) { boxes.push_back(Box{low, high}); }

  bool isCollidingPoint(const Float3 &p) override {
    for (const Box &b : boxes)
      if (p.x() >= b.low.x() && p.x() <= b.high.x() && p.y() >= b.low.y() && p.y() <= b.high.y() &&
          p.z() >= b.low.z() && p.z() <= b.high.z())
        return true;
    return false;
  }
  bool collideSegment(const Float3 &from, const Float3 &to, Float3 &out) override {
    ++nbQuestions;
    if (!isCollidingPoint(to))
      return false;
    out = from;
    return true;
  }
  void draw() override {}

  std::vector<Box> boxes;
  int nbQuestions = 0;
};

const int64_t tenMs = 10000;

struct Motion : testing::Test {
  // Runs one frame; returns what it asked of camera and sounds.
  PlayerOutcome frame(int mvtType, const PlayerControls &c, int64_t dt = tenMs,
                      float heading = 0.f) {
    return movePlayer(body, figure, mvtType, c, dt, heading, false, world);
  }

  BoxWorld world;
  PlayerBody body;
  PlayerFigure figure;
  PlayerControls none;
};

TEST_F(Motion, FreeFallAddsOneGravityStepPerHundredMicroseconds) {
  body.position = Float3(0, 100, 0);
  frame(MVT_TYPE_WALK, none);
  // 100 steps: the speed grows by g each step and moves the body each step.
  float speed = 0.f, y = 100.f;
  for (int i = 0; i < 100; ++i) {
    speed -= playerGravity;
    y += speed;
  }
  EXPECT_FLOAT_EQ(body.verticalSpeed, speed);
  EXPECT_FLOAT_EQ(body.position.y(), y);
  EXPECT_FALSE(body.isOnGround);
}

TEST_F(Motion, FallsAndLandsOnTheFloor) {
  world.add(Float3(-100, -10, -100), Float3(100, 0, 100));
  body.position = Float3(0, 5, 0);
  int frames = 0;
  while (!body.isOnGround && frames < 100) {
    frame(MVT_TYPE_WALK, none);
    ++frames;
  }
  ASSERT_TRUE(body.isOnGround);
  // 5 units take about 1,830 steps of gravity: 19 frames of 10 ms.
  EXPECT_GE(frames, 18);
  EXPECT_LE(frames, 20);
  EXPECT_GT(body.position.y(), 0.f);
  EXPECT_LT(body.position.y(), 0.5f);
  EXPECT_EQ(body.verticalSpeed, 0.f);
  // Standing, it settles within one frame's fall of the floor, never into it.
  for (int i = 0; i < 50; ++i) {
    frame(MVT_TYPE_WALK, none);
    EXPECT_GT(body.position.y(), 0.f);
    EXPECT_TRUE(body.isOnGround);
  }
  EXPECT_LT(body.position.y(), 0.02f);
}

TEST_F(Motion, JumpUnderACeilingBumpsTheHeadThenLands) {
  world.add(Float3(-100, -10, -100), Float3(100, 0, 100));
  world.add(Float3(-100, 15, -100), Float3(100, 25, 100));
  body.position = Float3(0, 0.01f, 0);
  body.isOnGround = true;
  PlayerControls jump;
  jump.jump = true;

  PlayerOutcome first = frame(MVT_TYPE_WALK, jump);
  EXPECT_TRUE(first.isJumpStarted);
  EXPECT_FALSE(body.isOnGround);
  EXPECT_GT(body.position.y(), 1.f);
  // Held in the air, the jump does not start again.
  bool isBumped = false;
  for (int i = 0; i < 100 && !isBumped; ++i) {
    float before = body.position.y();
    PlayerOutcome o = frame(MVT_TYPE_WALK, jump);
    EXPECT_FALSE(o.isJumpStarted);
    if (body.verticalSpeed == 0.f) {
      isBumped = true;
      // The head test refused the move: the body stays below the ceiling
      // (back from the head by the body height, to the rounding).
      EXPECT_NEAR(body.position.y(), before, 1e-5f);
      EXPECT_LT(body.position.y() + playerBodyHeight, 15.f);
      EXPECT_FALSE(body.isOnGround);
    }
  }
  ASSERT_TRUE(isBumped);
  for (int i = 0; i < 100 && !body.isOnGround; ++i)
    frame(MVT_TYPE_WALK, none);
  EXPECT_TRUE(body.isOnGround);
  EXPECT_LT(body.position.y(), 0.5f);
}

TEST_F(Motion, JumpRisesAboutTwentySixUnits) {
  world.add(Float3(-100, -10, -100), Float3(100, 0, 100));
  body.position = Float3(0, 0.01f, 0);
  body.isOnGround = true;
  PlayerControls jump;
  jump.jump = true;
  frame(MVT_TYPE_WALK, jump);
  float highest = body.position.y();
  for (int i = 0; i < 200 && !body.isOnGround; ++i) {
    frame(MVT_TYPE_WALK, none);
    highest = std::max(highest, body.position.y());
  }
  // v^2 / 2g = 0.0125^2 / 0.000006
  EXPECT_NEAR(highest, 26.f, 0.2f);
}

TEST_F(Motion, WalkingIntoAWallStopsBothSpeedsAndKeepsTheOldPosition) {
  world.add(Float3(-100, -10, -100), Float3(100, 0, 100));
  world.add(Float3(-100, 0, -12), Float3(100, 30, -10));
  body.position = Float3(0, 0.01f, 0);
  body.isOnGround = true;
  PlayerControls walk;
  walk.forward = true;
  walk.strafeRight = true;
  bool isStopped = false;
  for (int i = 0; i < 100 && !isStopped; ++i) {
    Float3 before = body.position;
    frame(MVT_TYPE_WALK, walk);
    bool isKeptInPlace = body.position.x() == before.x() && body.position.z() == before.z();
    if (body.forwardSpeed == 0.f && body.strafeSpeed == 0.f && isKeptInPlace) {
      isStopped = true;
      EXPECT_FALSE(figure.isAnimating);
      EXPECT_EQ(figure.currentFrame, 0);
    }
    EXPECT_GT(body.position.z(), -10.f);
  }
  EXPECT_TRUE(isStopped);
  // Backing away starts a new push at once.
  PlayerControls back;
  back.backward = true;
  frame(MVT_TYPE_WALK, back, 100);
  EXPECT_FLOAT_EQ(body.forwardSpeed, -0.010f);
}

TEST_F(Motion, DirectionsFollowTheCameraHeading) {
  struct Case {
    float heading;
    bool isStrafe;
    Float3 direction;
  } cases[] = {
      {0, false, Float3(0, 0, -1)},
      {0, true, Float3(1, 0, 0)},
      {90, false, Float3(-1, 0, 0)},
      {180, false, Float3(0, 0, 1)},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(testing::Message() << "heading " << c.heading << (c.isStrafe ? " strafe" : ""));
    body = PlayerBody();
    body.position = Float3(0, 0.01f, 0);
    world.add(Float3(-100, -10, -100), Float3(100, 0, 100));
    PlayerControls keys;
    keys.forward = !c.isStrafe;
    keys.strafeRight = c.isStrafe;
    frame(MVT_TYPE_WALK, keys, tenMs, c.heading);
    Float3 moved = body.position - Float3(0, 0.01f, 0);
    moved.y() = 0;
    float length = moved.length();
    ASSERT_GT(length, 0.1f);
    EXPECT_NEAR(moved.x() / length, c.direction.x(), 1e-4f);
    EXPECT_NEAR(moved.z() / length, c.direction.z(), 1e-4f);
  }
}

TEST_F(Motion, HeldKeyGivesTheSpeedSawTooth) {
  world.add(Float3(-100, -10, -100), Float3(100, 0, 100));
  body.position = Float3(0, 0.01f, 0);
  PlayerControls walk;
  walk.forward = true;
  const float expected[] = {0.010f, 0.008f, 0.006f, 0.004f, 0.002f, 0.f, 0.010f};
  for (float speed : expected) {
    frame(MVT_TYPE_WALK, walk, 100);
    EXPECT_NEAR(body.forwardSpeed, speed, 1e-6f);
  }
}

TEST_F(Motion, ZeroPeriodAddsNoGravityButMovesOneStep) {
  body.position = Float3(0, 50, 0);
  body.verticalSpeed = -0.001f;
  PlayerControls walk;
  walk.forward = true;
  frame(MVT_TYPE_WALK, walk, 0);
  EXPECT_EQ(body.verticalSpeed, -0.001f);
  EXPECT_EQ(body.position.y(), 50.f);
  EXPECT_FLOAT_EQ(body.forwardSpeed, 0.010f);
  EXPECT_NEAR(body.position.z(), -0.010f, 1e-6f);
}

TEST_F(Motion, LongPeriodsAreCutToAThousandSteps) {
  body.position = Float3(0, 1000, 0);
  frame(MVT_TYPE_WALK, none, 5000000);
  EXPECT_NEAR(body.verticalSpeed, -1000 * playerGravity, 1e-7f);
  PlayerControls left;
  left.turnLeft = true;
  EXPECT_FLOAT_EQ(playerHeadingTurn(left, 5000000), 18.f);
  EXPECT_EQ(clampPlayerPeriod(-5), 0);
}

TEST_F(Motion, ArrowKeysTurnTheHeadingLeftBeforeRight) {
  PlayerControls left, right, both;
  left.turnLeft = true;
  right.turnRight = true;
  both.turnLeft = both.turnRight = true;
  EXPECT_FLOAT_EQ(frame(MVT_TYPE_WALK, left).headingTurn, 1.8f);
  EXPECT_FLOAT_EQ(frame(MVT_TYPE_WALK, right).headingTurn, -1.8f);
  EXPECT_FLOAT_EQ(frame(MVT_TYPE_WALK, both).headingTurn, 1.8f);
  // The motion already follows this frame's turn: left by 90 degrees in one
  // long frame makes forward point towards -x.
  body = PlayerBody();
  body.position = Float3(0, 100, 0);
  PlayerControls turnAndWalk;
  turnAndWalk.forward = true;
  frame(MVT_TYPE_WALK, turnAndWalk, tenMs, 90.f - 1.8f);
  body = PlayerBody();
  body.position = Float3(0, 100, 0);
  turnAndWalk.turnLeft = true;
  frame(MVT_TYPE_WALK, turnAndWalk, tenMs, 90.f - 1.8f);
  EXPECT_LT(body.position.x(), -0.1f);
  EXPECT_NEAR(body.position.z(), 0.f, 1e-5f);
}

TEST_F(Motion, FlyingIgnoresBackwardClimbsAndDescends) {
  body.position = Float3(0, 50, 0);
  body.verticalSpeed = -0.5f;
  PlayerControls back;
  back.backward = true;
  frame(MVT_TYPE_FLY, back);
  EXPECT_EQ(body.forwardSpeed, 0.f);
  EXPECT_EQ(body.position, Float3(0, 50, 0));
  // No gravity in fly mode: the vertical speed is left alone until a climb.
  EXPECT_EQ(body.verticalSpeed, -0.5f);

  PlayerControls climb;
  climb.jump = true;
  frame(MVT_TYPE_FLY, climb);
  EXPECT_NEAR(body.position.y(), 60.f, 1e-3f);
  EXPECT_EQ(body.verticalSpeed, 0.f);
  EXPECT_FALSE(body.isOnGround);
  PlayerControls descend;
  descend.descend = true;
  frame(MVT_TYPE_FLY, descend, 5000);
  EXPECT_NEAR(body.position.y(), 55.f, 1e-3f);
  EXPECT_EQ(figure.idFrameMin, 3);
  EXPECT_EQ(figure.idFrameMax, 4);
  EXPECT_TRUE(figure.isAnimating);
}

TEST_F(Motion, FlyingIntoAOneCubeStepLiftsByTenAndGoesOn) {
  world.add(Float3(-100, 0, -20), Float3(100, 10, -10));
  body.position = Float3(0, 5, -9.99f);
  body.verticalSpeed = 0.3f;
  PlayerControls forward;
  forward.forward = true;
  frame(MVT_TYPE_FLY, forward, 100);
  // One step of 0.022 forward: blocked at the feet, free at 10 and 20.
  Float3 newPos(0, 5, -9.99f - 0.022f);
  Float3 expected = newPos + Float3(0, 10, 0) + (newPos - Float3(0, 5, -9.99f));
  EXPECT_NEAR(body.position.y(), expected.y(), 1e-4f);
  EXPECT_NEAR(body.position.z(), expected.z(), 1e-4f);
  EXPECT_EQ(body.forwardSpeed, 0.f);
  EXPECT_EQ(body.verticalSpeed, 0.f);
  EXPECT_FALSE(figure.isAnimating);
}

TEST_F(Motion, FlyingIntoAHighWallStops) {
  world.add(Float3(-100, 0, -20), Float3(100, 40, -10));
  Float3 start(0, 5, -9.99f);
  body.position = start;
  PlayerControls forward;
  forward.forward = true;
  frame(MVT_TYPE_FLY, forward, 100);
  EXPECT_EQ(body.position, start);
  EXPECT_EQ(body.forwardSpeed, 0.f);
}

TEST_F(Motion, NoneMovementOnlyResetsTheFigure) {
  body.position = Float3(1, 50, 2);
  body.forwardSpeed = 0.005f;
  figure.setFrameRange(3, 4);
  figure.currentFrame = 4;
  PlayerControls all;
  all.forward = all.jump = all.turnLeft = true;
  PlayerOutcome o = frame(MVT_TYPE_NONE, all);
  EXPECT_EQ(body.position, Float3(1, 50, 2));
  EXPECT_EQ(body.forwardSpeed, 0.005f);
  EXPECT_EQ(o.headingTurn, 0.f);
  EXPECT_EQ(figure.idFrameMin, 0);
  EXPECT_EQ(figure.idFrameMax, 2);
  EXPECT_EQ(figure.currentFrame, 0);
  EXPECT_FALSE(figure.isAnimating);
  EXPECT_EQ(world.nbQuestions, 0);
}

TEST_F(Motion, WalkingAnimatesDownwardsAndAsksForTheWalkSound) {
  world.add(Float3(-100, -10, -100), Float3(100, 0, 100));
  body.position = Float3(0, 0.01f, 0);
  body.isOnGround = true;
  PlayerControls walk;
  walk.forward = true;
  // One step: speed 0.010, s = 2, period trunc(50 / 2).
  PlayerOutcome o = movePlayer(body, figure, MVT_TYPE_WALK, walk, 100, 0.f, false, world);
  EXPECT_TRUE(o.isWalkStarted);
  EXPECT_TRUE(figure.isAnimating);
  EXPECT_FALSE(figure.isIncreasing);
  EXPECT_EQ(figure.framePeriod, 25);
  // Still playing: not started again.
  o = movePlayer(body, figure, MVT_TYPE_WALK, walk, 100, 0.f, true, world);
  EXPECT_FALSE(o.isWalkStarted);
  // In the air: frame 0, no sound.
  body.isOnGround = false;
  body.position = Float3(0, 50, 0);
  o = movePlayer(body, figure, MVT_TYPE_WALK, walk, 100, 0.f, false, world);
  EXPECT_FALSE(o.isWalkStarted);
  EXPECT_FALSE(figure.isAnimating);
  EXPECT_EQ(figure.currentFrame, 0);
}

TEST_F(Motion, CarHasNoStrafeAndShowsFrameZero) {
  body.position = Float3(0, 100, 0);
  PlayerControls keys;
  keys.strafeRight = true;
  keys.forward = true;
  figure.currentFrame = 2;
  frame(MVT_TYPE_CAR, keys, 100);
  EXPECT_EQ(body.strafeSpeed, 0.f);
  EXPECT_FLOAT_EQ(body.forwardSpeed, 0.024f - 0.001f);
  EXPECT_FALSE(figure.isAnimating);
  EXPECT_EQ(figure.currentFrame, 0);
}

TEST_F(Motion, TheWorldIsAskedAFixedNumberOfTimesPerFrame) {
  world.add(Float3(-100, -10, -100), Float3(100, 0, 100));
  world.add(Float3(-100, 0, -12), Float3(100, 30, -10));
  body.position = Float3(0, 0.01f, -9.99f);
  PlayerControls walk;
  walk.forward = true;
  frame(MVT_TYPE_WALK, walk, 100000);
  // Feet and head for the fall, head and feet for the blocked move.
  EXPECT_EQ(world.nbQuestions, 4);
}

TEST(MotionDeathTest, UnknownMovementTypeIsFatal) {
  BoxWorld world;
  PlayerBody body;
  PlayerFigure figure;
  EXPECT_DEATH(movePlayer(body, figure, 7, PlayerControls(), 100, 0.f, false, world),
               "mvtType == MVT_TYPE_WALK");
}

}  // namespace
