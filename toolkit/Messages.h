// The toolkit's own window messages: notifications between controls and reflected
// notifications that a parent hands back to the child control they concern.
#pragma once
#include <windows.h>

namespace tk {

constexpr UINT CM_BASE = 0xB000;
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

// A parent reflects WM_COMMAND, WM_NOTIFY and WM_CTLCOLOR* to the child as CN_BASE + msg.
constexpr UINT CN_BASE = 0xBC00;
constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;
constexpr UINT CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT;
constexpr UINT CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC;
constexpr UINT CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN;
constexpr UINT CN_CTLCOLORLISTBOX = CN_BASE + WM_CTLCOLORLISTBOX;

struct TMessage {
    UINT Msg;
    WPARAM WParam;
    LPARAM LParam;
    LRESULT Result;
};

}  // namespace tk
