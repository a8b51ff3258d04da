// The silent sound: the WAV file is decoded so a broken file is still
// reported, then the samples are dropped.
#include "Sound_Silent.h"

#include "DataPack.h"
#include "FatalReport.h"

#include <AL/alut.h>
#include <cstdio>
#include <cstdlib>
#include <vector>

Sound_Silent *Sound_Silent::load(const std::string &fileName, bool isChecked) {
  if (!isChecked)
    return new Sound_Silent();
  ALenum format = 0;
  ALsizei size = 0;
  ALfloat frequency = 0.0f;
  void *samples = nullptr;
  if (dataPack != nullptr) {
    int entrySize = 0;
    FILE *fileDesc = dataPack->openEntry(fileName, entrySize);
    ASSERT_MESSAGE(fileDesc != NULL, "Sound missing in datapack");
    std::vector<unsigned char> block(entrySize > 0 ? entrySize : 0);
    bool isRead = fread(block.data(), 1, block.size(), fileDesc) == block.size();
    std::string readMessage = fileName + ": the data pack entry could not be read";
    ASSERT_MESSAGE(isRead, readMessage.c_str());
    samples = alutLoadMemoryFromFileImage(block.data(), static_cast<ALsizei>(block.size()), &format,
                                          &size, &frequency);
  } else {
    samples = alutLoadMemoryFromFile(fileName.c_str(), &format, &size, &frequency);
  }
  if (samples == nullptr) {
    std::string message = fileName + ": " + alutGetErrorString(alutGetError());
    ASSERT_MESSAGE(false, message.c_str());
  }
  free(samples);
  return new Sound_Silent();
}

void Sound_Silent::play(bool waitUntilDone) {
  (void)waitUntilDone;
}

void Sound_Silent::setSourceDistance(uint8_t value) {
  (void)value;
}

bool Sound_Silent::isPlaying() {
  return false;
}
