// GL entry points looked up by name through the window system.
#pragma once

// The address of an OpenGL or GLX function, or null when the driver lacks it.
void *platformGetProcAddress(const char *name);

// Name of the window system's pixel-format entry point whose presence the
// start-up state checks.
extern const char *const pixelFormatEntryPoint;
