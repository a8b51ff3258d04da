// The audio library's start and stop and the cache of sounds by file name.
// Without a sound device (no card, or a machine run headless) the game must
// still start: one console line, then every sound is a silent one whose file
// was still decoded and checked, through a context on a device that renders
// nowhere (the WAV decoder refuses to work without a current context).
#include "SoundManager.h"

#include "FatalReport.h"
#include "Sound_OpenAL.h"
#include "Sound_Silent.h"

#include <AL/alc.h>
#include <AL/alext.h>
#include <AL/alut.h>
#include <cstdio>
#include <vector>

SoundManager::SoundManager(const std::string &programPath)
    : isAudioDeviceOpen(false), decoderDevice(nullptr), decoderContext(nullptr) {
  std::vector<char> programName(programPath.begin(), programPath.end());
  programName.push_back('\0');
  char *argv[] = {programName.data(), nullptr};
  int argc = 1;
  isAudioDeviceOpen = alutInit(&argc, argv) == AL_TRUE;
  if (isAudioDeviceOpen)
    return;
  printf("No sound device (%s): the game runs without sound\n", alutGetErrorString(alutGetError()));
  fflush(stdout);
  if (openDecoderContext() && alutInitWithoutContext(&argc, argv) != AL_TRUE)
    closeDecoderContext();
}

void SoundManager::closeDecoderContext() {
  if (decoderContext == nullptr)
    return;
  alcMakeContextCurrent(nullptr);
  alcDestroyContext(static_cast<ALCcontext *>(decoderContext));
  alcCloseDevice(static_cast<ALCdevice *>(decoderDevice));
  decoderContext = nullptr;
  decoderDevice = nullptr;
}

bool SoundManager::openDecoderContext() {
  if (alcIsExtensionPresent(nullptr, "ALC_SOFT_loopback") != ALC_TRUE)
    return false;
  auto openLoopback = reinterpret_cast<LPALCLOOPBACKOPENDEVICESOFT>(
      alcGetProcAddress(nullptr, "alcLoopbackOpenDeviceSOFT"));
  if (openLoopback == nullptr)
    return false;
  ALCdevice *device = openLoopback(nullptr);
  if (device == nullptr)
    return false;
  const ALCint attributes[] = {ALC_FORMAT_CHANNELS_SOFT,
                               ALC_MONO_SOFT,
                               ALC_FORMAT_TYPE_SOFT,
                               ALC_SHORT_SOFT,
                               ALC_FREQUENCY,
                               22050,
                               0};
  ALCcontext *context = alcCreateContext(device, attributes);
  if (context == nullptr || alcMakeContextCurrent(context) != ALC_TRUE) {
    if (context != nullptr)
      alcDestroyContext(context);
    alcCloseDevice(device);
    return false;
  }
  decoderDevice = device;
  decoderContext = context;
  return true;
}

SoundManager::~SoundManager() {
  for (auto &entry : sounds)
    entry.second.reset();
  sounds.clear();
  alutExit();
  closeDecoderContext();
}

Sound_Abstract *SoundManager::getSound(const std::string &fileName) {
  auto found = sounds.find(fileName);
  if (found != sounds.end())
    return found->second.get();
  Sound_Abstract *sound = nullptr;
  if (isAudioDeviceOpen)
    sound = Sound_OpenAL::load(fileName);
  else
    sound = Sound_Silent::load(fileName, decoderContext != nullptr);
  sounds[fileName].reset(sound);
  return sound;
}
