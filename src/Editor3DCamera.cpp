// The editor camera: an orbit around the cursor at orbitDistance (wheel, 0 to
// 300), turned by dragging with the left button; on release the view eases
// back to the nearest of four quadrant views, which steer the arrow keys.
#include <cmath>

#include "Camera.h"
#include "DeviceManager.h"
#include "Editor3D.h"
#include "Scene3D.h"

namespace {

const int32_t buttonWheelUp = 3;
const int32_t buttonWheelDown = 4;
const float orbitStep = 15.f;
const float orbitMax = 300.f;

}  // namespace

void Editor3D::placeCamera() {
  if (isMouseButtonDown[0]) {
    // The camera stays as the mouse turned it; the quadrant follows it.
    float a = (45.f - (scene3D->camera->heading + 180.f)) / 90.f;
    float quadrant = std::fmod(std::floor(a), 4.f);
    if (quadrant < 0.f)
      quadrant += 4.f;
    viewQuadrant = static_cast<int>(quadrant);
    viewYaw = static_cast<float>(viewQuadrant) * 90.f + 180.f;
  } else {
    scene3D->easeCameraToward(-viewPitch, -viewYaw, -viewRoll);
  }
  scene3D->placeCameraOrbit(cursorWorldPosition(), orbitDistance);
}

void Editor3D::onMouse(const MouseEvent &event, int nbObjectTypes) {
  if (event.state == mouseStatePressed) {
    if (event.button == buttonWheelUp && orbitDistance > 0.f)
      orbitDistance -= orbitStep;
    if (event.button == buttonWheelDown && orbitDistance < orbitMax)
      orbitDistance += orbitStep;
  }
  if (event.state == mouseStateDragged || event.state == mouseStateMoved)
    scene3D->mouseLook(Int2(event.x, event.y), isMouseButtonDown[0]);
  // A press in the top-right 100 x 30 pixels opens the root "Menu", and every
  // event then goes to the open menus: both join with the editor's menus.
  (void)nbObjectTypes;
}
