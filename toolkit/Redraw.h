// Repainting whole windows, their frames only, and switching redrawing off and on.
#pragma once
#include <windows.h>

namespace tk {

// Frame, background and client area of h and all its children; painted at once when now.
void RedrawAll(HWND h, bool now);
// The non-client area of h only.
void RedrawFrame(HWND h);
// Stops (lock) or resumes drawing of h. Resuming does not repaint by itself.
void LockRedraw(HWND h, bool lock);
// Makes the system recompute and redraw the frame after a style change.
void ApplyFrameChange(HWND h);

}  // namespace tk
