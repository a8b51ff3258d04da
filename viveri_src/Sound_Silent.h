// The sound used when the audio library could not start (no sound device):
// the WAV file was still read and checked, but nothing is ever heard.
#pragma once

#include "Sound_Abstract.h"

#include <string>

class Sound_Silent : public Sound_Abstract {
 public:
  // Decodes the WAV file (when isChecked: the decoder could start) and drops
  // the samples; a file that cannot be decoded is fatal, naming it.
  static Sound_Silent *load(const std::string &fileName, bool isChecked);

  void play(bool waitUntilDone) override;
  void setSourceDistance(uint8_t value) override;
  bool isPlaying() override;  // always false

 private:
  Sound_Silent() = default;
};
