// The data of the default game script: its title picture and coin icon, the
// coin and lantern models (OBJ with their materials) and the coin sound (WAV).
#pragma once

#include <string>

class TextRenderer;

// Each writes into the game folder (whose "sprites", "models" and "sound"
// folders must exist); false after a message on failure.
bool generateScriptPictures(TextRenderer &text, const std::string &gameDir);
bool generateScriptModels(const std::string &gameDir);
bool generateScriptSounds(const std::string &gameDir);
