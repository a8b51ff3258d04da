// The audio library's start and stop and the cache of sounds by file name.
// Without a sound device (no card, or a machine run headless) the game must
// still start: one console line, then every sound is a checked silent one.
#include "SoundManager.h"

#include "FatalReport.h"
#include "Sound_OpenAL.h"
#include "Sound_Silent.h"

#include <AL/alut.h>
#include <cstdio>
#include <vector>

SoundManager::SoundManager(const std::string &programPath) : isAudioDeviceOpen(false) {
  std::vector<char> programName(programPath.begin(), programPath.end());
  programName.push_back('\0');
  char *argv[] = {programName.data(), nullptr};
  int argc = 1;
  isAudioDeviceOpen = alutInit(&argc, argv) == AL_TRUE;
  if (!isAudioDeviceOpen) {
    printf("No sound device (%s): the game runs without sound\n",
           alutGetErrorString(alutGetError()));
    fflush(stdout);
    // Decoding needs no device, so every sound file is still read and checked.
    bool isDecoderStarted = alutInitWithoutContext(&argc, argv) == AL_TRUE;
    ASSERT(isDecoderStarted);
  }
}

SoundManager::~SoundManager() {
  for (auto &entry : sounds)
    entry.second.reset();
  sounds.clear();
  alutExit();
}

Sound_Abstract *SoundManager::getSound(const std::string &fileName) {
  auto found = sounds.find(fileName);
  if (found != sounds.end())
    return found->second.get();
  Sound_Abstract *sound = isAudioDeviceOpen
                              ? static_cast<Sound_Abstract *>(Sound_OpenAL::load(fileName))
                              : Sound_Silent::load(fileName);
  sounds[fileName].reset(sound);
  return sound;
}
