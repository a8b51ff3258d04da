// The warning box of the fatal report: a modal window on the X display with a
// caption, the text, a warning sign and one OK button (Return presses it too).
// Skipped when no display can be opened or VIVERI_NO_MESSAGE_BOX is set.
#pragma once

#include <string>

// Name of the environment variable that turns the box off for batch runs.
extern const char *const noMessageBoxVariable;

// Shows the box and waits until it is closed. Returns false when it was skipped.
bool showWarningBox(const std::wstring &text, const std::wstring &caption);
