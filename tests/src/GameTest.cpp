// Screen states driven by typed keys: which keys open and close the menus,
// which end the game, and which go on to the world.
#include <gtest/gtest.h>

#include "Game.h"
#include "KeyboardManager.h"

namespace {

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

const Screen playing = {true, false, false};
const Screen mainMenu = {true, true, false};
const Screen optionsMenu = {true, false, true};
const Screen ended = {false, true, false};

struct KeyCase {
  const char *name;
  Screen before;
  std::vector<int> keys;
  bool isEditorDialogOpen;
  Screen after;
  // Which of the keys went on to the world, in order.
  std::vector<int> keysToWorld;
};

TEST(GameTest, TypedKeysMoveBetweenScreens) {
  const KeyCase cases[] = {
      {"Escape while playing shows the main menu and still reaches the world",
       playing,
       {keyCodeEscape},
       false,
       mainMenu,
       {keyCodeEscape}},
      {"Escape then q in one poll ends",
       playing,
       {keyCodeEscape, 'q'},
       false,
       ended,
       {keyCodeEscape}},
      {"Q ends as q does", mainMenu, {'Q'}, false, ended, {}},
      {"Escape in the main menu resumes", mainMenu, {keyCodeEscape}, false, playing, {}},
      {"in the main menu keys never reach the world",
       mainMenu,
       {'a', 'w', ' '},
       false,
       mainMenu,
       {}},
      {"any key in the options menu goes back to the main menu",
       optionsMenu,
       {'x'},
       false,
       mainMenu,
       {}},
      {"Escape in the options menu goes back to the main menu, not further",
       optionsMenu,
       {keyCodeEscape},
       false,
       mainMenu,
       {}},
      {"options, then Escape twice: main menu, then playing",
       optionsMenu,
       {keyCodeEscape, keyCodeEscape},
       false,
       playing,
       {}},
      {"keys while playing reach the world",
       playing,
       {'a', 'q', 256},
       false,
       playing,
       {'a', 'q', 256}},
      {"with an editor dialog open Escape shows no menu",
       playing,
       {keyCodeEscape},
       true,
       playing,
       {keyCodeEscape}},
      {"with an editor dialog open Escape does not leave the main menu",
       mainMenu,
       {keyCodeEscape},
       true,
       mainMenu,
       {}},
      {"with an editor dialog open q still ends from the main menu",
       mainMenu,
       {'q'},
       true,
       ended,
       {}},
  };
  for (const KeyCase &c : cases) {
    Screen s = c.before;
    std::vector<int> toWorld;
    for (int key : c.keys)
      if (handleMenuKey(key, c.isEditorDialogOpen, s.isRunning, s.isMainMenuShown,
                        s.isOptionsMenuShown))
        toWorld.push_back(key);
    EXPECT_EQ(s, c.after) << c.name;
    EXPECT_EQ(toWorld, c.keysToWorld) << c.name;
    EXPECT_FALSE(s.isMainMenuShown && s.isOptionsMenuShown) << c.name;
  }
}

}  // namespace
