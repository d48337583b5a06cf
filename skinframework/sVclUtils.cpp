// Sending the skin message. Every send stays on the thread that owns the receiving window:
// the message carries pointers into this process's user-interface objects.
#include "skinframework/sVclUtils.h"

#include "toolkit/Forms.h"

namespace sk {

std::function<bool(tk::TWinControl* child)> BroadcastChildVeto;

namespace {

bool OwnedByThisThread(HWND handle) { return GetWindowThreadProcessId(handle, nullptr) == GetCurrentThreadId(); }

void SendToWindowedChild(tk::TWinControl* child, tk::TMessage& message);

// One child of a broadcast: the direct call for window-less children and children without a
// window, a plain send for engine windows, and the grandchildren of other windows.
void PassToChild(tk::TControl* child, tk::TMessage& message) {
    auto* win = dynamic_cast<tk::TWinControl*>(child);
    if (!win || !win->HandleAllocated()) {
        child->Perform(message.Msg, message.WParam, message.LParam);
        return;
    }
    SendToWindowedChild(win, message);
}

void SendToWindowedChild(tk::TWinControl* child, tk::TMessage& message) {
    HWND handle = child->Handle();
    if (IsSkinnedWindow(handle)) {
        if (OwnedByThisThread(handle)) SendMessageW(handle, message.Msg, message.WParam, message.LParam);
        return;
    }
    if (BroadcastChildVeto && BroadcastChildVeto(child)) return;
    BroadcastToChildren(child, message);
}

}  // namespace

LRESULT SendSkinCmd(HWND handle, WORD cmd, LPARAM lParam, WORD arg) {
    if (!handle || !OwnedByThisThread(handle)) return 0;
    return SendMessageW(handle, SM_SKINCMD, SkinCmdWParam(cmd, arg), lParam);
}

LRESULT PerformSkinCmd(tk::TControl* control, WORD cmd, LPARAM lParam, WORD arg) {
    if (!control || control->Destroying()) return 0;
    if (auto* win = dynamic_cast<tk::TWinControl*>(control))
        return win->HandleAllocated() ? SendSkinCmd(win->Handle(), cmd, lParam, arg) : 0;
    return control->Perform(SM_SKINCMD, SkinCmdWParam(cmd, arg), lParam);
}

bool IsSkinnedWindow(HWND handle) { return SendSkinCmd(handle, SC_ISHANDLED) == 1; }

void BroadcastToChildren(tk::TWinControl* container, tk::TMessage& message) {
    if (!container) return;
    // A handler may free children while the broadcast runs: walk by index, re-reading the count.
    for (int i = 0; i < container->ControlCount(); ++i) {
        tk::TControl* child = container->Controls(i);
        if (!child || child->Destroying()) continue;
        PassToChild(child, message);
    }
}

void BroadcastToForms(WORD cmd, LPARAM lParam, WORD arg) {
    if (!tk::Screen) return;
    for (int i = 0; i < tk::Screen->FormCount(); ++i) {
        tk::TForm* form = tk::Screen->Forms(i);
        if (!form || form->Destroying()) continue;
        PerformSkinCmd(form, cmd, lParam, arg);
        tk::TMessage m{SM_SKINCMD, SkinCmdWParam(cmd, arg), lParam, 0};
        BroadcastToChildren(form, m);
    }
}

}  // namespace sk
