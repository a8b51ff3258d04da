// The running world's pictures: the loading screen, the water surface and
// its layers (tiling, partly transparent), and the six sky pictures.
#pragma once

#include <string>

class TextRenderer;

// Each writes under gameDir (its folders must exist); false after a message on failure.
bool generateLoadingScreen(TextRenderer &text, const std::string &gameDir);
bool generateWaterPictures(const std::string &gameDir);
// "skybox/bottom.png", "top", "left", "right", "front", "back": one sky seen
// from the inside of a box, the same colour on both sides of every edge.
bool generateSkybox(const std::string &gameDir);
