// Sounds: the cache hands out one object per file name and never reloads it;
// isPlaying before, during and after a play; a sound's source is deleted
// before its buffer so both go; broken and missing files end in the fatal
// report naming them; sounds from the data pack; without a sound device one
// console line and silent sounds (files still checked); and, with the
// library's file backend, a played sound leaves non-silent samples.
#include "SoundManager.h"

#include "DataPack.h"
#include "DataPackBuilder.h"
#include "ImageFixtures.h"
#include "Sound_OpenAL.h"

#include <AL/al.h>
#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

void put16(Bytes &out, int value) {
  out.push_back(static_cast<unsigned char>(value & 255));
  out.push_back(static_cast<unsigned char>((value >> 8) & 255));
}

void put32(Bytes &out, unsigned int value) {
  put16(out, static_cast<int>(value & 0xffff));
  put16(out, static_cast<int>(value >> 16));
}

// A mono 16-bit PCM WAV file: a 440 Hz tone of the given length.
Bytes toneWav(int milliseconds) {
  const int rate = 22050;
  int nbSamples = rate * milliseconds / 1000;
  Bytes out = {'R', 'I', 'F', 'F'};
  put32(out, 36 + 2 * nbSamples);
  for (char c : std::string("WAVEfmt "))
    out.push_back(static_cast<unsigned char>(c));
  put32(out, 16);
  put16(out, 1);  // PCM
  put16(out, 1);  // mono
  put32(out, rate);
  put32(out, rate * 2);
  put16(out, 2);
  put16(out, 16);
  for (char c : std::string("data"))
    out.push_back(static_cast<unsigned char>(c));
  put32(out, 2 * nbSamples);
  for (int i = 0; i < nbSamples; ++i)
    put16(out, static_cast<int>(12000 * std::sin(2 * M_PI * 440 * i / rate)));
  return out;
}

// The audio library picks its output once per process, at its first start.
void useAudioOutput(const char *drivers) {
  setenv("ALSOFT_DRIVERS", drivers, 1);
}

TEST(SoundManagerTest, CacheHandsOutOneObjectPerFile) {
  useAudioOutput("null");
  SoundManager manager("program");
  ASSERT_FALSE(manager.isSilent());
  std::string path = writeTempFile("walk.wav", toneWav(50));
  Sound_Abstract *first = manager.getSound(path);
  ASSERT_NE(first, nullptr);
  // Gone from the disk: a second load would fail, the cache answers instead.
  unlink(path.c_str());
  EXPECT_EQ(manager.getSound(path), first);
  std::string other = writeTempFile("jump.wav", toneWav(50));
  EXPECT_NE(manager.getSound(other), first);
}

TEST(SoundManagerTest, IsPlayingBeforeDuringAndAfter) {
  useAudioOutput("null");
  SoundManager manager("program");
  Sound_Abstract *sound = manager.getSound(writeTempFile("short.wav", toneWav(300)));
  EXPECT_FALSE(sound->isPlaying());
  sound->play(false);
  EXPECT_TRUE(sound->isPlaying());
  sound->play(true);  // restarts, then waits for the end
  EXPECT_FALSE(sound->isPlaying());
  sound->setSourceDistance(255);  // no caller uses it; must not disturb the source
  EXPECT_FALSE(sound->isPlaying());
}

TEST(SoundManagerTest, DeletingASoundFreesSourceAndBuffer) {
  useAudioOutput("null");
  SoundManager manager("program");
  Sound_OpenAL *sound = Sound_OpenAL::load(writeTempFile("freed.wav", toneWav(50)));
  unsigned int source = sound->sourceId, buffer = sound->bufferId;
  EXPECT_TRUE(alIsSource(source));
  EXPECT_TRUE(alIsBuffer(buffer));
  sound->play(false);
  delete sound;
  EXPECT_FALSE(alIsSource(source));
  EXPECT_FALSE(alIsBuffer(buffer));
  EXPECT_EQ(alGetError(), AL_NO_ERROR);
}

TEST(SoundManagerTest, BrokenAndMissingFilesAreFatal) {
  // The same with a device and without one: the file is always read.
  for (const char *drivers : {"null", "no-such-output"}) {
    std::string broken = writeTempFile("broken.wav", Bytes{'R', 'I', 'F', 'F', 1, 2, 3});
    EXPECT_EXIT(
        {
          useAudioOutput(drivers);
          SoundManager manager("program");
          manager.getSound(broken);
        },
        testing::ExitedWithCode(1), "\nCondition: false\nMessage: .*/broken.wav: .+\n")
        << drivers;
    EXPECT_EXIT(
        {
          useAudioOutput(drivers);
          SoundManager manager("program");
          manager.getSound("/nonexistent/jump.wav");
        },
        testing::ExitedWithCode(1), "\nMessage: /nonexistent/jump.wav: .+\n")
        << drivers;
  }
}

TEST(SoundManagerTest, SoundsFromTheDataPack) {
  useAudioOutput("null");
  DataPackBuilder builder;
  builder.add("sound/walk.wav", toneWav(40));
  std::string packPath = writeTempFile("sounds.pack", builder.build());
  SoundManager manager("program");
  dataPack = new DataPack(packPath);
  Sound_Abstract *sound = manager.getSound("sound/walk.wav");
  EXPECT_NE(sound, nullptr);
  EXPECT_EXIT(manager.getSound("sound/jump.wav"), testing::ExitedWithCode(1),
              "\nCondition: fileDesc != NULL\nMessage: Sound missing in datapack\n");
  delete dataPack;
  dataPack = nullptr;
}

TEST(SoundManagerTest, WithoutADeviceOneLineAndSilentSounds) {
  std::string path = writeTempFile("silent.wav", toneWav(50));
  // Run in a child whose standard output goes to the error stream, so the
  // death test's pattern sees the console line.
  EXPECT_EXIT(
      {
        dup2(STDERR_FILENO, STDOUT_FILENO);
        useAudioOutput("no-such-output");
        bool isSilentAsExpected = false;
        {
          SoundManager manager("program");
          Sound_Abstract *sound = manager.getSound(path);
          sound->play(false);
          isSilentAsExpected =
              manager.isSilent() && manager.getSound(path) == sound && !sound->isPlaying();
        }
        fprintf(stderr, "silent sounds: %s\n", isSilentAsExpected ? "yes" : "no");
        exit(0);
      },
      testing::ExitedWithCode(0),
      "^No sound device \\([^)]+\\): the game runs without sound\nsilent sounds: yes\n$");
}

// 16-bit samples of a WAV file's data chunk.
std::vector<int> wavSamples(const Bytes &file) {
  std::vector<int> samples;
  for (size_t i = 12; i + 8 <= file.size();) {
    std::string id(file.begin() + i, file.begin() + i + 4);
    size_t size = file[i + 4] | file[i + 5] << 8 | file[i + 6] << 16 | file[i + 7] << 24;
    size_t begin = i + 8, end = std::min(file.size(), begin + size);
    if (id == "data")
      for (size_t k = begin; k + 1 < end; k += 2)
        samples.push_back(static_cast<int16_t>(file[k] | file[k + 1] << 8));
    i = begin + size + (size & 1);
  }
  return samples;
}

TEST(SoundManagerTest, PlayedSoundReachesTheOutput) {
  // The file backend records what is played, in real time; its file is
  // complete once the library is shut down with the manager.
  const char *buildFolder = getenv("CUBEWORLD_BUILD_DIR");
  std::string folder = buildFolder != nullptr ? buildFolder : ".";
  std::string capture = folder + "/sound_capture.wav";
  std::string config = folder + "/sound_capture.conf";
  std::string tone = writeTempFile("tone.wav", toneWav(200));
  std::string settings =
      "[general]\nsample-type=int16\nchannels=mono\n[wave]\nfile=" + capture + "\n";
  FILE *file = fopen(config.c_str(), "w");
  ASSERT_NE(file, nullptr);
  fputs(settings.c_str(), file);
  fclose(file);
  unlink(capture.c_str());
  EXPECT_EXIT(
      {
        useAudioOutput("wave");
        setenv("ALSOFT_CONF", config.c_str(), 1);
        {
          SoundManager manager("program");
          if (manager.isSilent())
            exit(2);
          manager.getSound(tone)->play(true);
        }
        exit(0);
      },
      testing::ExitedWithCode(0), "");
  std::vector<int> samples = wavSamples(readFileBytes(capture));
  ASSERT_GT(samples.size(), 0u);
  int loudest = 0;
  for (int sample : samples)
    loudest = std::max(loudest, std::abs(sample));
  EXPECT_GT(loudest, 3000);
  unlink(capture.c_str());
  unlink(config.c_str());
}

}  // namespace
