// Display-mode switching of the platform layer, on the X display with XRandR:
// the screen size is changed when the screen offers a mode of that size, then
// the process's window (the drawable of the current GL context) is moved and
// sized, and raised. Console lines go to standard output.
#pragma once

// Full screen at width x height: the window goes to (0, 0) with that size.
void platformSetFullscreenMode(int width, int height);

// Back to the screen size in use before the first full-screen switch: the
// window goes to (10, 10) with size width x height.
void platformSetWindowedMode(int width, int height);
