// Cube face textures: each one is written to "cube_textures/" and, darkened as
// a face turned away from the light looks, under the same name to
// "cube_shadowed_textures/". Also "black_semi_transparent.png", the overlay of
// the shadowed parts of lit faces; both darkenings are the same, so a face in
// shadow and a shadow laid over a lit face match.
#pragma once

#include <string>

// Each writes under gameDir (the folders must exist); false after a message on failure.
bool generateShadowOverlay(const std::string &gameDir);
bool generateCubeTextures(const std::string &gameDir);
