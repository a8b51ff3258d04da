// Sound synthesis for the default data: a footstep is a short burst of
// low-passed noise with a fast decay over a soft low thump; the jump is a
// sine sweeping upwards under a rise-and-fall envelope.
#include "GameSounds.h"

#include "DataFileWriter.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

const int sampleRate = 22050;
const double pi = 3.14159265358979;

void put16(std::string &out, int value) {
  out.push_back(static_cast<char>(value & 255));
  out.push_back(static_cast<char>((value >> 8) & 255));
}

void put32(std::string &out, uint32_t value) {
  put16(out, static_cast<int>(value & 0xffff));
  put16(out, static_cast<int>(value >> 16));
}

short toSample(double value) {
  return static_cast<short>(std::lround(std::max(-1.0, std::min(1.0, value)) * 32767.0));
}

std::vector<short> footstep() {
  int count = sampleRate * 120 / 1000;
  std::vector<short> samples(count);
  uint32_t noise = 12345;
  double lowPassed = 0.0;
  for (int i = 0; i < count; ++i) {
    double t = static_cast<double>(i) / sampleRate;
    noise = noise * 1664525u + 1013904223u;
    double white = static_cast<double>(noise >> 8) / (1 << 23) - 1.0;
    lowPassed += 0.18 * (white - lowPassed);
    double attack = std::min(1.0, t / 0.004);
    double crunch = 1.6 * lowPassed * std::exp(-t / 0.025);
    double thump = 0.55 * std::sin(2 * pi * 95 * t) * std::exp(-t / 0.04);
    samples[i] = toSample(attack * (crunch + thump));
  }
  return samples;
}

std::vector<short> jump() {
  int count = sampleRate * 320 / 1000;
  std::vector<short> samples(count);
  double phase = 0.0;
  for (int i = 0; i < count; ++i) {
    double t = static_cast<double>(i) / sampleRate;
    double frequency = 220.0 + 900.0 * t / 0.32;
    phase += 2 * pi * frequency / sampleRate;
    double envelope = std::min(1.0, t / 0.015) * std::exp(-t / 0.12);
    double tone = std::sin(phase) + 0.3 * std::sin(2 * phase);
    samples[i] = toSample(0.55 * envelope * tone);
  }
  return samples;
}

}  // namespace

std::string wavBytes(const std::vector<short> &samples, int rate) {
  uint32_t dataSize = static_cast<uint32_t>(2 * samples.size());
  std::string out = "RIFF";
  put32(out, 36 + dataSize);
  out += "WAVEfmt ";
  put32(out, 16);
  put16(out, 1);  // PCM
  put16(out, 1);  // mono
  put32(out, static_cast<uint32_t>(rate));
  put32(out, static_cast<uint32_t>(rate * 2));
  put16(out, 2);
  put16(out, 16);
  out += "data";
  put32(out, dataSize);
  for (short s : samples)
    put16(out, s);
  return out;
}

bool generateGameSounds(const std::string &gameDir) {
  return writeDataFile(gameDir + "/sound/walk.wav", wavBytes(footstep(), sampleRate)) &&
         writeDataFile(gameDir + "/sound/jump.wav", wavBytes(jump(), sampleRate));
}
