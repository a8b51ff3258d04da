// The figure the user steers in game mode: its animated model, movement type,
// speeds and the options of the third-person camera; keys and mouse in, the
// fixed-step motion against the world (PlayerMotion), sounds, drawing, and
// the player part of a save-game.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>

#include "BasicVector.h"
#include "PlayerMotion.h"

class Animated3DModel;
class Object3D;
class Sound_Abstract;
class SoundManager;
struct MouseEvent;

// The player part of a save-game, as stored.
struct PlayerState {
  Float3 position;
  float heading = 0.f;
  float pitch = 0.f;
  int32_t mvtType = MVT_TYPE_WALK;
};

// The 24 bytes, little-endian; false when a write failed.
bool writePlayerState(FILE *file, const PlayerState &state);
// Reads the fields in order until one is missing; returns how many were read
// (0 to 4: position, heading, pitch, movement type).
int readPlayerState(FILE *file, PlayerState &state);

class Player {
 public:
  // Loads the five frames of "obj_player/" and the walk and jump sounds.
  explicit Player(SoundManager *soundManager);
  // Deletes the model: the player is its only owner.
  ~Player();
  Player(const Player &) = delete;
  Player &operator=(const Player &) = delete;

  // Once per frame in game mode: the fixed steps of the last frame period.
  void update(Object3D *world);
  void draw();
  void onKey(char key);
  void onMouse(const MouseEvent &event);

  // Position, camera heading, camera pitch, movement type: 24 bytes,
  // little-endian.
  void saveState(FILE *file) const;
  // Applies what it reads; the speeds keep their values. A field that cannot
  // be read, a position or angle that is not finite, or a movement type
  // outside 0 to 3 leaves that value as it was. False unless all 24 bytes
  // were read and applied.
  bool loadState(FILE *file);

  // The position is the model's.
  Float3 getPosition() const;
  void setPosition(const Float3 &position);
  // Also stops the player (the three speeds become 0).
  void setMvtType(int type);

  bool isOnGround;
  float cameraDistance;  // 1.0 or less: first-person view, the figure not drawn
  std::unique_ptr<Animated3DModel> model;
  // Distance per 100-microsecond step.
  float forwardSpeed;
  float verticalSpeed;
  float strafeSpeed;
  int mvtType;
  SoundManager *soundManager;  // not owned
  Sound_Abstract *soundWalk;   // owned by the sound manager
  Sound_Abstract *soundJump;
  bool isReverseMouseYCamera;
};
