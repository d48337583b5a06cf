// The installer's effect labels and web labels as they appear on the screen: painted from the
// skin with a soft shadow in the system highlight colour rather than in their stored colours,
// with room for their captions, and the web labels changing colour under the mouse.
#pragma once
#include <windows.h>

#include "CheckLog.h"
#include "InstallerWindow.h"

// Checks the five effect labels and the two web labels of the ready window. Moves the mouse
// over the first web label (no click) and away again.
void check_label_looks(CheckLog& log, const InstallerControls& controls);
