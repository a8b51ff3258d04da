// The main and options menus against a real world: presses inside, on and
// outside every rectangle and what each one changes, the view distance's
// stops on both sides, and the frame rate text.
#include <gtest/gtest.h>

#include <sstream>

#include "CubeZone.h"
#include "DeviceManager.h"
#include "Menus.h"
#include "Player.h"
#include "Water.h"
#include "World.h"
#include "WorldFixture.h"
#include "WorldIndexator.h"
#include "WorldRegion.h"

namespace {

MouseEvent press(int x, int y, int button = 0) {
  return MouseEvent{x, y, button, mouseStatePressed};
}

// The screen flags the menus switch between.
struct Screen {
  bool isRunning, isMainMenuShown, isOptionsMenuShown;
  bool operator==(const Screen &o) const {
    return isRunning == o.isRunning && isMainMenuShown == o.isMainMenuShown &&
           isOptionsMenuShown == o.isOptionsMenuShown;
  }
};

std::ostream &operator<<(std::ostream &out, const Screen &s) {
  return out << "{running " << s.isRunning << ", main " << s.isMainMenuShown << ", options "
             << s.isOptionsMenuShown << "}";
}

const Screen mainMenu = {true, true, false};
const Screen optionsMenu = {true, false, true};
const Screen playing = {true, false, false};
const Screen ended = {false, true, false};

// Everything the setting rows act on.
struct Settings {
  float viewDistance;
  bool shadows, reverseMouse, waterLayers, loadRegions;
  bool operator==(const Settings &o) const {
    return viewDistance == o.viewDistance && shadows == o.shadows &&
           reverseMouse == o.reverseMouse && waterLayers == o.waterLayers &&
           loadRegions == o.loadRegions;
  }
};

std::ostream &operator<<(std::ostream &out, const Settings &s) {
  return out << "{view " << s.viewDistance << ", shadows " << s.shadows << ", reverse mouse "
             << s.reverseMouse << ", water layers " << s.waterLayers << ", load regions "
             << s.loadRegions << "}";
}

class MenusTest : public WorldFixture {
 protected:
  void SetUp() override { createWorld(); }
  void TearDown() override {
    shadowsEnabled = true;
    everFullscreen = false;
  }

  Screen handle(Screen screen, const MouseEvent &event) {
    World &w = *world;
    handleMenuMouse(event, w, screen.isRunning, screen.isMainMenuShown, screen.isOptionsMenuShown);
    return screen;
  }

  void apply(const Settings &s) {
    world->viewDistance = s.viewDistance;
    shadowsEnabled = s.shadows;
    world->player->isReverseMouseYCamera = s.reverseMouse;
    world->indexedWorld.water->drawLayers = s.waterLayers;
    worldIndexator->loadNewRegions = s.loadRegions;
  }
  Settings current() const {
    return {world->viewDistance, shadowsEnabled, world->player->isReverseMouseYCamera,
            world->indexedWorld.water->drawLayers, worldIndexator->loadNewRegions};
  }

  // Every region of the table gets its (empty) geometry built.
  void buildAllGeometry() {
    for (WorldRegion *region : regions())
      region->buildGeometry();
  }
  int nbRegionsWithGeometry() {
    int count = 0;
    for (WorldRegion *region : regions())
      count += region->hasGeometry() ? 1 : 0;
    return count;
  }
  std::vector<WorldRegion *> regions() {
    const Int3 &size = worldIndexator->tableRegionSize;
    std::vector<WorldRegion *> all;
    for (int x = 0; x < size.x(); ++x)
      for (int y = 0; y < size.y(); ++y)
        for (int z = 0; z < size.z(); ++z)
          all.push_back(worldIndexator->getRegion(Int3(x, y, z)));
    return all;
  }
};

struct MainMenuCase {
  const char *name;
  MouseEvent event;
  Screen after;
};

TEST_F(MenusTest, MainMenuButtonsActOnlyStrictlyInsideTheirRectangles) {
  const MainMenuCase cases[] = {
      {"resume", press(100, 180), playing},
      {"resume, any button", press(100, 180, 2), playing},
      {"resume, just inside the top-left corner", press(51, 151), playing},
      {"resume, just inside the bottom-right corner", press(149, 214), playing},
      {"resume's bottom border", press(100, 215), mainMenu},
      {"resume's top border", press(100, 150), mainMenu},
      {"resume's left border", press(50, 180), mainMenu},
      {"resume's right border", press(150, 180), mainMenu},
      {"a release", {100, 180, 0, mouseStateReleased}, mainMenu},
      {"a drag", {100, 180, 0, mouseStateDragged}, mainMenu},
      {"a move", {100, 180, -1, mouseStateMoved}, mainMenu},
      {"options", press(100, 280), optionsMenu},
      {"options, just inside", press(51, 251), optionsMenu},
      {"options, just inside below", press(149, 314), optionsMenu},
      {"options' top border", press(100, 250), mainMenu},
      {"options' bottom border", press(100, 315), mainMenu},
      {"quit", press(100, 380), ended},
      {"quit, just inside", press(51, 414), ended},
      {"quit's top border", press(100, 350), mainMenu},
      {"quit's bottom border", press(100, 415), mainMenu},
      {"between the buttons", press(100, 230), mainMenu},
      {"right of the buttons", press(300, 180), mainMenu},
  };
  Settings before = current();
  for (const MainMenuCase &c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(handle(mainMenu, c.event), c.after);
  }
  EXPECT_EQ(current(), before) << "the main menu changes no setting";
}

TEST_F(MenusTest, BackButtonReturnsToTheMainMenuAndDoesNothingElse) {
  const MainMenuCase cases[] = {
      {"back", press(210, 20), mainMenu},
      {"back, just inside", press(201, 11), mainMenu},
      {"back, just inside the other corner", press(269, 49), mainMenu},
      {"back's left border", press(200, 20), optionsMenu},
      {"back's right border", press(270, 20), optionsMenu},
      {"back's top border", press(235, 10), optionsMenu},
      {"back's bottom border", press(235, 50), optionsMenu},
      {"a release on back", {210, 20, 0, mouseStateReleased}, optionsMenu},
      {"nothing there", press(600, 30), optionsMenu},
  };
  Settings before = current();
  for (const MainMenuCase &c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(handle(optionsMenu, c.event), c.after);
  }
  EXPECT_EQ(current(), before);
  EXPECT_FALSE(everFullscreen);
}

struct SettingCase {
  const char *name;
  MouseEvent event;
  Settings before;
  Settings after;
  const char *console;
  bool isGeometryDropped;
};

const Settings allOff = {1500.f, false, false, false, false};
const Settings allOn = {1500.f, true, true, true, true};

Settings with(Settings s, float viewDistance) {
  s.viewDistance = viewDistance;
  return s;
}

TEST_F(MenusTest, SettingRowsTurnTheirOptionOffOnTheLeftAndOnOnTheRight) {
  const float lowered = 400.f + 1100.f / 1.2f;
  const SettingCase cases[] = {
      {"view distance raised", press(380, 270), allOn, with(allOn, 1720.f), "", false},
      {"view distance raised, left edge of the right half", press(350, 270), allOn,
       with(allOn, 1720.f), "", false},
      {"view distance lowered", press(260, 270), allOn, with(allOn, lowered), "", false},
      {"view distance lowered, right edge of the left half", press(349, 299), allOn,
       with(allOn, lowered), "", false},
      {"view distance row's top border", press(380, 250), allOn, allOn, "", false},
      {"left border of the settings", press(250, 270), allOn, allOn, "", false},
      {"right border of the settings", press(450, 270), allOn, allOn, "", false},
      {"shadows off", press(300, 310), allOn, {1500.f, false, true, true, true}, "", true},
      {"shadows on", press(400, 300), allOff, {1500.f, true, false, false, false}, "", true},
      {"reverse mouse off",
       press(300, 360),
       allOn,
       {1500.f, true, false, true, true},
       "isReverseMouseYCamera: 0\n",
       false},
      {"reverse mouse on",
       press(400, 350),
       allOff,
       {1500.f, false, true, false, false},
       "isReverseMouseYCamera: 1\n",
       false},
      {"water layers off", press(300, 410), allOn, {1500.f, true, true, false, true}, "", false},
      {"water layers on", press(400, 449), allOff, {1500.f, false, false, true, false}, "", false},
      {"region loading off", press(300, 460), allOn, {1500.f, true, true, true, false}, "", false},
      {"region loading on",
       press(449, 499),
       allOff,
       {1500.f, false, false, false, true},
       "",
       false},
      {"below the last row", press(400, 500), allOff, allOff, "", false},
      {"a release on shadows", {300, 310, 0, mouseStateReleased}, allOn, allOn, "", false},
      {"between the display rows and the settings", press(300, 225), allOn, allOn, "", false},
  };
  for (const SettingCase &c : cases) {
    SCOPED_TRACE(c.name);
    apply(c.before);
    buildAllGeometry();
    int nbRegions = nbRegionsWithGeometry();
    ASSERT_GT(nbRegions, 0);
    testing::internal::CaptureStdout();
    Screen screen = handle(optionsMenu, c.event);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), c.console);
    EXPECT_EQ(screen, optionsMenu);
    EXPECT_EQ(current(), c.after);
    EXPECT_EQ(nbRegionsWithGeometry(), c.isGeometryDropped ? 0 : nbRegions);
    EXPECT_FALSE(everFullscreen);
  }
}

TEST_F(MenusTest, ViewDistanceStopsAtBothEnds) {
  // Lowering: geometric toward 400, no change once within 10 of it.
  world->viewDistance = 1500.f;
  int nbPresses = 0;
  for (float previous = 0.f; previous != world->viewDistance && nbPresses < 100; ++nbPresses) {
    previous = world->viewDistance;
    handle(optionsMenu, press(260, 270));
  }
  EXPECT_LT(nbPresses, 100);
  EXPECT_LE(world->viewDistance - 400.f, 10.f);
  EXPECT_GT(world->viewDistance - 400.f, 10.f / 1.2f) << "the last press went below 410";

  // Raising: the mirror image, no change once 4000 or more beyond 400.
  world->viewDistance = 1500.f;
  for (nbPresses = 0; nbPresses < 100; ++nbPresses) {
    float previous = world->viewDistance;
    handle(optionsMenu, press(380, 270));
    if (world->viewDistance == previous)
      break;
    EXPECT_GT(world->viewDistance, previous);
  }
  EXPECT_EQ(nbPresses, 8);
  EXPECT_GE(world->viewDistance - 400.f, 4000.f);
  EXPECT_LT(world->viewDistance, 5200.f);
  // And back down from the top.
  handle(optionsMenu, press(260, 270));
  EXPECT_LT(world->viewDistance - 400.f, 4000.f);
}

struct DisplayCase {
  const char *name;
  MouseEvent event;
  bool isEverFullscreenBefore;
  const char *console;
  bool isEverFullscreenAfter;
};

// Display rows: a full-screen choice names its size on the console and sets
// everFullscreen; the windowed choice acts only before any of them.
TEST_F(MenusTest, DisplayRowsChooseTheirModes) {
  // Only the test screen's own size is chosen here: the X server is shared
  // with other tests. The other sizes and the desktop mode are chosen in
  // the end-to-end tests, each on its own server.
  const DisplayCase cases[] = {
      {"windowed", press(120, 125), false, "Set to windowed mode 800x600\n", false},
      {"windowed, just inside", press(51, 101), false, "Set to windowed mode 800x600\n", false},
      {"windowed after a full-screen choice", press(120, 125), true, "", true},
      {"1280 x 1024", press(150, 199), false, "Set to fullscreen mode 1280x1024\n", true},
      {"1280 x 1024, just inside", press(249, 151), false, "Set to fullscreen mode 1280x1024\n",
       true},
      {"top border", press(120, 100), false, "", false},
      {"bottom border", press(120, 200), false, "", false},
      {"right border", press(450, 175), false, "", false},
      {"left border", press(50, 175), false, "", false},
  };
  for (const DisplayCase &c : cases) {
    SCOPED_TRACE(c.name);
    everFullscreen = c.isEverFullscreenBefore;
    testing::internal::CaptureStdout();
    Screen screen = handle(optionsMenu, c.event);
    std::string console = testing::internal::GetCapturedStdout();
    // The mode's own line comes first; the window placement's lines follow.
    if (*c.console == '\0')
      EXPECT_EQ(console, "");
    else
      EXPECT_EQ(console.rfind(c.console, 0), 0u) << console;
    EXPECT_EQ(screen, optionsMenu);
    EXPECT_EQ(everFullscreen, c.isEverFullscreenAfter);
  }
  // Back to the test window's own size for the tests that follow.
  deviceManager->setWindowedMode(800, 600);
}

TEST(MenusFrameRateTest, SixSignificantDigitsAndNoDivisionByZero) {
  const struct {
    int64_t periodUs;
    const char *text;
  } cases[] = {
      {10100, "FPS: 99.0099\n"}, {10000, "FPS: 100\n"}, {200000, "FPS: 5\n"}, {3, "FPS: 333333\n"},
      {7, "FPS: 142857\n"},      {1, "FPS: 1e+06\n"},   {0, "FPS: -\n"},      {-5, "FPS: -\n"},
  };
  for (const auto &c : cases)
    EXPECT_EQ(frameRateText(c.periodUs), c.text) << c.periodUs;
}

}  // namespace
