// Input events put into the system's input queue, as a real keyboard and mouse would: the
// one place the test programs and the end-to-end driver build them. Callers wait (pump or
// sleep) as their own thread needs.
#pragma once
#include <windows.h>

#include <cstring>
#include <string>

namespace synthetic {

inline void key(WORD vk, bool down) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    SendInput(1, &in, sizeof in);
}

// A press and release of a key, with a modifier held around it when one is given.
inline void key_stroke(WORD vk, WORD modifier = 0) {
    if (modifier) key(modifier, true);
    key(vk, true);
    key(vk, false);
    if (modifier) key(modifier, false);
}

// Each character as a press and release of a Unicode key (no keyboard layout involved).
inline void unicode_text(const std::wstring& text) {
    for (wchar_t c : text) {
        INPUT in[2]{};
        for (int i = 0; i < 2; ++i) {
            in[i].type = INPUT_KEYBOARD;
            in[i].ki.wScan = c;
            in[i].ki.dwFlags = KEYEVENTF_UNICODE | (i ? KEYEVENTF_KEYUP : 0);
        }
        SendInput(2, in, sizeof in[0]);
    }
}

// A mouse event at the cursor's place: button flags, a wheel turn (data) or a move.
inline void mouse(DWORD flags, DWORD data = 0) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    in.mi.mouseData = data;
    SendInput(1, &in, sizeof in);
}

// A left button press and release queued together, so that a control tracking the press in
// a loop of its own finds the release already there.
inline void queued_left_click() {
    INPUT in[2]{};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, in, sizeof in[0]);
}

inline void move_cursor(POINT screen) {
    SetCursorPos(screen.x, screen.y);
    mouse(MOUSEEVENTF_MOVE);
}

// Puts Unicode text on the clipboard as a copy would; false when the clipboard is busy.
inline bool put_on_clipboard(HWND owner, const std::wstring& text) {
    if (!OpenClipboard(owner)) return false;
    EmptyClipboard();
    const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, bytes);
    bool ok = false;
    if (void* data = mem ? GlobalLock(mem) : nullptr) {
        std::memcpy(data, text.c_str(), bytes);
        GlobalUnlock(mem);
        ok = SetClipboardData(CF_UNICODETEXT, mem) != nullptr;
    }
    if (mem && !ok) GlobalFree(mem);
    CloseClipboard();
    return ok;
}

}  // namespace synthetic
