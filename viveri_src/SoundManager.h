// Starts and stops the audio library and caches every loaded sound by file
// name for the whole run, so a file is loaded once however often it is asked
// for. Without a sound device it says so once and hands out silent sounds.
#pragma once

#include <map>
#include <memory>
#include <string>

class Sound_Abstract;

class SoundManager {
 public:
  // Starts the audio library; programPath is handed to it as the only argument.
  explicit SoundManager(const std::string &programPath);
  // Deletes every sound (map order), then stops the audio library.
  ~SoundManager();
  SoundManager(const SoundManager &) = delete;
  SoundManager &operator=(const SoundManager &) = delete;

  // The cached sound of that name, or a new one loaded from the file. The
  // pointer stays valid until the manager is destroyed.
  Sound_Abstract *getSound(const std::string &fileName);

  // True when the audio library could not start and every sound is silent.
  bool isSilent() const { return !isAudioDeviceOpen; }

 private:
  // Without a device: a context on a device that renders nowhere, which the
  // WAV decoder needs; null when even that could not be made.
  bool openDecoderContext();
  void closeDecoderContext();

  std::map<std::string, std::unique_ptr<Sound_Abstract>> sounds;
  bool isAudioDeviceOpen;
  void *decoderDevice;   // ALCdevice, owned
  void *decoderContext;  // ALCcontext, owned
};
