// The player: model, sounds, controls read from the keyboard and mouse,
// camera distance and mouse look, drawing, and the save-game block. The
// motion itself is PlayerMotion's.
#include "Player.h"

#include <GL/glew.h>
#include <GL/freeglut.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "Animated3DModel.h"
#include "Camera.h"
#include "DeviceManager.h"
#include "FatalReport.h"
#include "KeyboardManager.h"
#include "Scene3D.h"
#include "SoundManager.h"
#include "Sound_Abstract.h"
#include "WorldFile.h"

namespace {

const float modelScale = 0.3f;
const float cameraDistanceStep = 5.f;
const float cameraDistanceMax = 90.f;
const float mouseLookDegreesPerPixel = 0.5f;
const int wheelUpButton = 3;
const int wheelDownButton = 4;
const int rightButton = 2;

std::vector<std::string> playerFrameFiles() {
  std::vector<std::string> files;
  for (int i = 1; i <= 5; ++i)
    files.push_back("obj_player/player_frame" + std::to_string(i) + ".obj");
  return files;
}

bool isHeld(int code) {
  return keyboardManager->isKeyDown[code] != 0;
}

bool isLetterHeld(char lower) {
  return isHeld(static_cast<unsigned char>(lower)) ||
         isHeld(static_cast<unsigned char>(lower - 'a' + 'A'));
}

PlayerControls readControls() {
  PlayerControls c;
  c.turnLeft = isHeld(keyCodeLeft);
  c.turnRight = isHeld(keyCodeRight);
  c.forward = isHeld(keyCodeUp) || isLetterHeld('e');
  c.backward = isHeld(keyCodeDown) || isLetterHeld('d');
  c.strafeRight = isLetterHeld('f');
  c.strafeLeft = isLetterHeld('s');
  c.jump = isHeld(' ') || isMouseButtonDown[rightButton];
  c.descend = isLetterHeld('c');
  return c;
}

// One little-endian 32-bit field; false at the end of the file.
bool readField(FILE *file, uint32_t &bits) {
  unsigned char b[4];
  if (fread(b, 1, 4, file) != 4)
    return false;
  bits = static_cast<uint32_t>(b[0]) | (static_cast<uint32_t>(b[1]) << 8) |
         (static_cast<uint32_t>(b[2]) << 16) | (static_cast<uint32_t>(b[3]) << 24);
  return true;
}

bool readFloatField(FILE *file, float &value) {
  uint32_t bits;
  if (!readField(file, bits))
    return false;
  memcpy(&value, &bits, sizeof value);
  return true;
}

Int2 windowCentre() {
  return Int2(windowSize.x() / 2, windowSize.y() / 2);
}

}  // namespace

bool writePlayerState(FILE *file, const PlayerState &state) {
  writeFloat3(file, state.position);
  writeFloat(file, state.heading);
  writeFloat(file, state.pitch);
  writeInt32(file, state.mvtType);
  return ferror(file) == 0;
}

int readPlayerState(FILE *file, PlayerState &state) {
  float xyz[3];
  for (float &v : xyz)
    if (!readFloatField(file, v))
      return 0;
  state.position = Float3(xyz[0], xyz[1], xyz[2]);
  if (!readFloatField(file, state.heading))
    return 1;
  if (!readFloatField(file, state.pitch))
    return 2;
  uint32_t type;
  if (!readField(file, type))
    return 3;
  state.mvtType = static_cast<int32_t>(type);
  return 4;
}

Player::Player(SoundManager *soundManager)
    : isOnGround(false),
      cameraDistance(30.f),
      forwardSpeed(0.f),
      verticalSpeed(0.f),
      strafeSpeed(0.f),
      mvtType(MVT_TYPE_WALK),
      soundManager(soundManager),
      soundWalk(NULL),
      soundJump(NULL),
      isReverseMouseYCamera(false) {
  model.reset(new Animated3DModel(playerFrameFiles(), modelScale));
  soundWalk = soundManager->getSound("sound/walk.wav");
  ASSERT(soundWalk != NULL);
  soundJump = soundManager->getSound("sound/jump.wav");
  ASSERT(soundJump != NULL);
  Int2 centre = windowCentre();
  glutWarpPointer(centre.x(), centre.y());
}

Player::~Player() = default;

Float3 Player::getPosition() const {
  return model->position;
}

void Player::setPosition(const Float3 &position) {
  model->position = position;
}

void Player::setMvtType(int type) {
  mvtType = type;
  forwardSpeed = 0.f;
  verticalSpeed = 0.f;
  strafeSpeed = 0.f;
}

void Player::update(Object3D *world) {
  PlayerBody body;
  body.position = model->position;
  body.forwardSpeed = forwardSpeed;
  body.verticalSpeed = verticalSpeed;
  body.strafeSpeed = strafeSpeed;
  body.isOnGround = isOnGround;
  PlayerFigure figure;
  figure.idFrameMin = model->getIdFrameMin();
  figure.idFrameMax = model->getIdFrameMax();
  figure.currentFrame = model->currentFrame;
  figure.framePeriod = model->framePeriod;
  figure.isIncreasing = model->isIncreasing;
  figure.isAnimating = model->isAnimating;

  bool isWalkSoundPlaying = soundWalk->isPlaying();
  PlayerOutcome outcome = movePlayer(body, figure, mvtType, readControls(), periodDuration,
                                     scene3D->camera->heading, isWalkSoundPlaying, *world);

  if (outcome.headingTurn != 0.f)
    scene3D->camera->rotateHeading(outcome.headingTurn);
  model->position = body.position;
  forwardSpeed = body.forwardSpeed;
  verticalSpeed = body.verticalSpeed;
  strafeSpeed = body.strafeSpeed;
  isOnGround = body.isOnGround;
  model->setFrameRange(figure.idFrameMin, figure.idFrameMax);
  model->currentFrame = figure.currentFrame;
  model->framePeriod = figure.framePeriod;
  model->isIncreasing = figure.isIncreasing;
  model->isAnimating = figure.isAnimating;
  if (outcome.isJumpStarted)
    soundJump->play(false);
  if (outcome.isWalkStarted)
    soundWalk->play(false);
}

void Player::draw() {
  if (cameraDistance <= 1.f)
    return;
  glEnable(GL_TEXTURE_2D);
  glPolygonMode(GL_BACK, GL_LINE);
  glPolygonMode(GL_FRONT, GL_FILL);
  glEnable(GL_CULL_FACE);
  glPushMatrix();
  glTranslatef(model->position.x(), model->position.y(), model->position.z());
  glRotatef(scene3D->camera->heading + 180.f, 0.f, 1.f, 0.f);
  model->draw();
  glPopMatrix();
}

void Player::onKey(char key) {
  // No clamping here: a distance of 3 set by a script goes to -2.
  if (key == 'o' || key == 'O') {
    if (cameraDistance > 0.f)
      cameraDistance -= cameraDistanceStep;
  } else if (key == 'p' || key == 'P') {
    if (cameraDistance < cameraDistanceMax)
      cameraDistance += cameraDistanceStep;
  }
}

void Player::onMouse(const MouseEvent &event) {
  if (event.state == mouseStatePressed) {
    if (event.button == wheelUpButton && cameraDistance > 0.f)
      cameraDistance = std::fmax(0.f, cameraDistance - cameraDistanceStep);
    else if (event.button == wheelDownButton && cameraDistance < cameraDistanceMax)
      cameraDistance = std::fmin(cameraDistanceMax, cameraDistance + cameraDistanceStep);
    return;
  }
  if (event.state != mouseStateDragged && event.state != mouseStateMoved)
    return;
  Int2 centre = windowCentre();
  Camera *camera = scene3D->camera;
  float direction = isReverseMouseYCamera ? 1.f : -1.f;
  camera->rotatePitch(static_cast<float>(event.y - centre.y()) * direction *
                      mouseLookDegreesPerPixel);
  camera->rotateHeading(static_cast<float>(centre.x() - event.x) * mouseLookDegreesPerPixel);
  if (camera->pitch > 90.f)
    camera->setPitch(90.f);
  else if (camera->pitch < -90.f)
    camera->setPitch(-90.f);
  glutWarpPointer(centre.x(), centre.y());
}

void Player::saveState(FILE *file) const {
  PlayerState state;
  state.position = model->position;
  state.heading = scene3D->camera->heading;
  state.pitch = scene3D->camera->pitch;
  state.mvtType = mvtType;
  writePlayerState(file, state);
}

bool Player::loadState(FILE *file) {
  PlayerState state;
  int nbRead = readPlayerState(file, state);
  bool isPositionValid = std::isfinite(state.position.x()) && std::isfinite(state.position.y()) &&
                         std::isfinite(state.position.z());
  int nbApplied = 0;
  if (nbRead >= 1 && isPositionValid) {
    model->position = state.position;
    ++nbApplied;
  }
  if (nbRead >= 2 && std::isfinite(state.heading)) {
    scene3D->camera->setHeading(state.heading);
    ++nbApplied;
  }
  if (nbRead >= 3 && std::isfinite(state.pitch)) {
    scene3D->camera->setPitch(state.pitch);
    ++nbApplied;
  }
  if (nbRead >= 4 && state.mvtType >= MVT_TYPE_WALK && state.mvtType <= MVT_TYPE_NONE) {
    mvtType = state.mvtType;
    ++nbApplied;
  }
  return nbApplied == 4;
}
