// A sound played through OpenAL: the WAV file decoded by ALUT into one
// buffer (from the data pack when one is open), one source at the listener.
#include "Sound_OpenAL.h"

#include "DataPack.h"
#include "FatalReport.h"
#include "PlatformTime.h"

#include <AL/al.h>
#include <AL/alut.h>
#include <cstdio>
#include <vector>

Sound_OpenAL::Sound_OpenAL(unsigned int bufferId, unsigned int sourceId)
    : bufferId(bufferId), sourceId(sourceId) {}

Sound_OpenAL *Sound_OpenAL::load(const std::string &fileName) {
  ALuint sourceId = 0;
  alGetError();
  alGenSources(1, &sourceId);
  bool isSourceMade = alGetError() == AL_NO_ERROR && sourceId != 0;
  std::string sourceMessage = fileName + ": no sound source could be made";
  ASSERT_MESSAGE(isSourceMade, sourceMessage.c_str());
  alListener3f(AL_POSITION, 0.0f, 0.0f, 0.0f);
  alSource3f(sourceId, AL_POSITION, 0.0f, 0.0f, 0.0f);

  ALuint buffer = 0;
  if (dataPack != nullptr) {
    int size = 0;
    FILE *fileDesc = dataPack->openEntry(fileName, size);
    ASSERT_MESSAGE(fileDesc != NULL, "Sound missing in datapack");
    std::vector<unsigned char> block(size > 0 ? size : 0);
    bool isRead = fread(block.data(), 1, block.size(), fileDesc) == block.size();
    std::string readMessage = fileName + ": the data pack entry could not be read";
    ASSERT_MESSAGE(isRead, readMessage.c_str());
    buffer = alutCreateBufferFromFileImage(block.data(), static_cast<ALsizei>(block.size()));
  } else {
    buffer = alutCreateBufferFromFile(fileName.c_str());
  }
  if (buffer == 0) {
    std::string message = fileName + ": " + alutGetErrorString(alutGetError());
    ASSERT_MESSAGE(false, message.c_str());
  }
  alSourcei(sourceId, AL_BUFFER, static_cast<ALint>(buffer));
  return new Sound_OpenAL(buffer, sourceId);
}

Sound_OpenAL::~Sound_OpenAL() {
  // The source first: a buffer still attached to a source cannot be deleted.
  alDeleteSources(1, &sourceId);
  alDeleteBuffers(1, &bufferId);
}

void Sound_OpenAL::play(bool waitUntilDone) {
  alSourcePlay(sourceId);
  if (!waitUntilDone)
    return;
  ALint state = AL_PLAYING;
  do {
    alGetSourcei(sourceId, AL_SOURCE_STATE, &state);
    platformSleepMs(10);
  } while (state != AL_STOPPED);
}

void Sound_OpenAL::setSourceDistance(uint8_t value) {
  alSource3f(sourceId, AL_POSITION, 2025500.0f - 100.0f * value, 0.0f, 0.0f);
}

bool Sound_OpenAL::isPlaying() {
  ALint state = AL_STOPPED;
  alGetSourcei(sourceId, AL_SOURCE_STATE, &state);
  return state != AL_STOPPED && state != AL_INITIAL;
}
