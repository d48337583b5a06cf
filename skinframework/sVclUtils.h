// Sending the skin message: to a window handle, to a control (windowed or not), and to every
// child of a container.
#pragma once
#include <functional>

#include "skinframework/sSkinCmd.h"
#include "toolkit/Controls.h"

namespace sk {

// Sends SM_SKINCMD to a window and returns the reply (0 for no window).
LRESULT SendSkinCmd(HWND handle, WORD cmd, LPARAM lParam = 0, WORD arg = 0);

// Sends SM_SKINCMD to a control: through its window when it is a windowed control whose
// window exists and that is not being destroyed (0 otherwise), by a direct call of its
// window procedure when it has no window of its own.
LRESULT PerformSkinCmd(tk::TControl* control, WORD cmd, LPARAM lParam = 0, WORD arg = 0);
inline bool PerformSkinCmdBool(tk::TControl* control, WORD cmd, LPARAM lParam = 0, WORD arg = 0) {
    return PerformSkinCmd(control, cmd, lParam, arg) == 1;
}

// A window of the engine answers SC_ISHANDLED with 1.
bool IsSkinnedWindow(HWND handle);

// May veto a windowed child that does not answer SC_ISHANDLED before its own children are
// visited (other parts of the engine set it); true = skip the child.
extern std::function<bool(tk::TWinControl* child)> BroadcastChildVeto;

// Passes a message to every child of container in index order. Children that are being
// destroyed are skipped. Window-less children and children without a window get the direct
// call; windowed children that answer SC_ISHANDLED get a plain send (they pass it on
// themselves); the children of other windowed children are visited instead.
void BroadcastToChildren(tk::TWinControl* container, tk::TMessage& message);

// Sends the skin message to every form of the program and to all of their controls (a form
// first, then its children).
void BroadcastToForms(WORD cmd, LPARAM lParam = 0, WORD arg = 0);

}  // namespace sk
