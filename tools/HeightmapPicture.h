// The landscape height map "world_heightmap.png": 256 x 256 pixels, the
// height in the red channel (grey picture), with rolling hills, a valley
// running across, a lake bed, and a flat plateau in the middle where the
// player starts. Written only when the game folder has none, so a user's own
// height map stays.
#pragma once

#include <string>

// The red value of the plateau in the middle of the map.
const int heightmapPlateauRed = 60;

// False after a message on failure.
bool generateHeightmap(const std::string &gameDir);
