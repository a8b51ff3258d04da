// The player's figure: five OBJ frames (1 standing, 2 and 3 the strides of a
// walk, 4 and 5 a flying pose), their material library and their picture,
// written into the game folder's "obj_player/".
#pragma once

#include <string>

// The figure is built about 10 world units tall once loaded at the player's
// 0.3 scale, standing on y = 0 and facing +z (the player's draw turns it by
// the camera heading + 180 degrees, so it faces away from the camera).
bool generatePlayerModel(const std::string &gameDir);
