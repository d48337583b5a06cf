// Process-wide marks of the skinning engine, read by painting code on the user-interface
// thread.
#pragma once
#include <windows.h>

namespace sk {

extern bool acSkinLoading;      // a skin is being loaded
extern bool acSkinChanging;     // the manager is announcing a new skin to every window
extern HWND acObserverWindow;   // mirrors skinned controls' screen content; null when none

}  // namespace sk
