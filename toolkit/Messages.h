// The toolkit's own window messages: notifications between controls and reflected
// notifications that a parent hands back to the child control they concern.
#pragma once
#include <windows.h>

namespace tk {

// Both ranges lie in the WM_APP range, clear of the numbers the skin engine fixes for itself.
constexpr UINT CM_BASE = 0xB100;
constexpr UINT CM_ENABLEDCHANGED = CM_BASE + 0x01;
constexpr UINT CM_FONTCHANGED = CM_BASE + 0x02;
constexpr UINT CM_TEXTCHANGED = CM_BASE + 0x03;
constexpr UINT CM_VISIBLECHANGED = CM_BASE + 0x04;
constexpr UINT CM_SHOWINGCHANGED = CM_BASE + 0x05;
constexpr UINT CM_MOUSEENTER = CM_BASE + 0x06;
constexpr UINT CM_MOUSELEAVE = CM_BASE + 0x07;
constexpr UINT CM_ENTER = CM_BASE + 0x08;  // focus entered the control
constexpr UINT CM_EXIT = CM_BASE + 0x09;   // focus left the control
constexpr UINT CM_COLORCHANGED = CM_BASE + 0x0A;
constexpr UINT CM_MENUCHANGED = CM_BASE + 0x0B;
// Sent to every control of a top-level window when a control of it took the focus (lParam:
// that TWinControl*), or when the focus left the window's controls (lParam 0).
constexpr UINT CM_FOCUSCHANGED = CM_BASE + 0x0C;
// Enter or Escape (wParam: the key) offered to the controls of the focused window's top-level
// window before the dialog manager sees it; a control that acts on it answers 1.
constexpr UINT CM_DIALOGKEY = CM_BASE + 0x0D;
// Messages of the hidden application window.
constexpr UINT CM_RELEASE = CM_BASE + 0x20;      // frees the forms waiting to be released
constexpr UINT CM_SYNCHRONIZE = CM_BASE + 0x21;  // runs the calls worker threads queued
constexpr UINT CM_LAST = CM_BASE + 0xFF;

// A parent reflects WM_COMMAND, WM_NOTIFY, WM_DRAWITEM and WM_CTLCOLOR* to the child as CN_BASE + msg.
constexpr UINT CN_BASE = 0xBD00;
constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;
constexpr UINT CN_DRAWITEM = CN_BASE + WM_DRAWITEM;  // owner-drawn controls other than menus
constexpr UINT CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT;
constexpr UINT CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC;
constexpr UINT CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN;
constexpr UINT CN_CTLCOLORLISTBOX = CN_BASE + WM_CTLCOLORLISTBOX;
constexpr UINT CN_LAST = CN_BASE + WM_CTLCOLORSTATIC;  // the highest message a parent reflects

// A toolkit notification or reflected message: never meant for a system window procedure.
constexpr bool IsToolkitMessage(UINT msg) {
    return (msg >= CM_BASE && msg <= CM_LAST) || (msg >= CN_BASE && msg <= CN_LAST);
}

struct TMessage {
    UINT Msg;
    WPARAM WParam;
    LPARAM LParam;
    LRESULT Result;
};

}  // namespace tk
