// A sound played through the audio library: one buffer holding the decoded
// WAV file and one source at the listener's position. Loaded from the data
// pack when one is open, else from the file system.
#pragma once

#include "Sound_Abstract.h"

#include <string>

class Sound_OpenAL : public Sound_Abstract {
 public:
  // Loads the WAV file; a file that cannot be loaded is fatal, naming it.
  static Sound_OpenAL *load(const std::string &fileName);
  ~Sound_OpenAL() override;

  void play(bool waitUntilDone) override;
  void setSourceDistance(uint8_t value) override;
  bool isPlaying() override;

  unsigned int bufferId;  // owned buffer name
  unsigned int sourceId;  // owned source name

 private:
  Sound_OpenAL(unsigned int bufferId, unsigned int sourceId);
};
