// The geometry of a skinned window's frame: frame width, caption height, where the client
// area lies inside the window, the caption's centre line and the title icon's place. Pure
// arithmetic over what the window reports, so every rule can be checked without a window.
#pragma once
#include "render/sGraphUtils.h"

namespace sk {

// What the frame geometry is computed from (pixels and style facts of one window).
struct TFrameInput {
    int WindowWidth = 0, WindowHeight = 0;
    int ClientWidth = 0, ClientHeight = 0;
    bool ThickFrame = false;     // sizing border
    bool BorderStyle = false;    // any border at all (WS_BORDER or WS_DLGFRAME)
    bool FullCaption = false;    // both caption bits
    bool ToolWindow = false;     // small caption
    bool Iconic = false;
    bool Maximized = false;
    bool NoBorderStyle = false;  // the form's border style is none
    bool ChildWindow = false;
    int SizingFrame = 4;         // the platform's metrics
    int DialogFrame = 3;
    int CaptionMetric = 19;
    int SmallCaptionMetric = 15;
    int FormBorderWidth = 0;     // the form's own BorderWidth property
    int VScrollWidth = 0, HScrollHeight = 0;
    int LeftMargin = 0;          // the skin's "BILEFT"
    int IconWidth = 16, IconHeight = 16;
    bool IconShown = true;
};

struct TFrameGeometry {
    int FrameWidth = 0;     // the system frame alone
    int BorderWidth = 0;    // frame plus the form's BorderWidth
    int CaptionHeight = 0;
    int HeaderHeight = 0;   // everything above the client area
    int OffsetX = 0, OffsetY = 0;
    int VCenter = 0;        // the caption's centre line, window coordinates
    rd::TRect IconRect;     // empty (Right = Left) when no icon is drawn
};

TFrameGeometry ComputeFrameGeometry(const TFrameInput& in);

}  // namespace sk
