// A loaded sound as the game sees it: play, poll, and the unused source
// distance. Sounds are made and owned by the SoundManager's cache.
#pragma once

#include <cstdint>

class Sound_Abstract {
 public:
  // Starts (or restarts) the sound; with waitUntilDone, returns once it ended.
  virtual void play(bool waitUntilDone) = 0;
  // Moves the source along x: 2025500 - 100 * value.
  virtual void setSourceDistance(uint8_t value) = 0;
  // Playing or paused; false before the first play and after the end.
  virtual bool isPlaying() = 0;
  virtual ~Sound_Abstract() = default;

 protected:
  Sound_Abstract() = default;
  Sound_Abstract(const Sound_Abstract &) = delete;
  Sound_Abstract &operator=(const Sound_Abstract &) = delete;
};
