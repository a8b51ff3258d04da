// The player's sounds, synthesised: "sound/walk.wav" (one footstep) and
// "sound/jump.wav" (a rising whoop), 16-bit mono PCM at 22050 Hz.
#pragma once

#include <string>
#include <vector>

bool generateGameSounds(const std::string &gameDir);

// The bytes of a mono 16-bit PCM WAV file holding these samples.
std::string wavBytes(const std::vector<short> &samples, int sampleRate);
