// What the edit and combo box tests share: real keyboard input, the clipboard, pixels of a
// window's frame on the screen, and the test skin with a combo box section.
#pragma once
#include <windows.h>

#include <string>

#include "tests/win_framework/button_support.h"

namespace kvfw {

inline void Key(WORD vk, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &in, sizeof in);
}

// Presses and releases a key, with the modifiers held around it, and lets the input arrive.
inline void Press(WORD vk, std::initializer_list<WORD> modifiers = {}) {
    for (WORD m : modifiers) Key(m, false);
    Key(vk, false);
    Key(vk, true);
    for (WORD m : modifiers) Key(m, true);
    PumpFor(80);
}

// Types characters as the keyboard would (Unicode input events).
inline void TypeText(const std::wstring& text) {
    for (wchar_t c : text) {
        INPUT in[2]{};
        for (int i = 0; i < 2; ++i) {
            in[i].type = INPUT_KEYBOARD;
            in[i].ki.wScan = c;
            in[i].ki.dwFlags = KEYEVENTF_UNICODE | (i ? KEYEVENTF_KEYUP : 0);
        }
        SendInput(2, in, sizeof in[0]);
    }
    PumpFor(150);
}

inline bool PutOnClipboard(HWND owner, const std::wstring& text) {
    if (!OpenClipboard(owner)) return false;
    EmptyClipboard();
    const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, bytes);
    memcpy(GlobalLock(mem), text.c_str(), bytes);
    GlobalUnlock(mem);
    const bool ok = SetClipboardData(CF_UNICODETEXT, mem) != nullptr;
    CloseClipboard();
    return ok;
}

// A pixel of the window's whole area (frame included) on the screen, as 0x00RRGGBB.
inline uint32_t WindowPixel(HWND window, int x, int y) {
    HDC dc = GetWindowDC(window);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

inline uint32_t SysRgb(int index) {
    const COLORREF c = GetSysColor(index);
    return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

// Colours of the combo box section added to the test skin (0x00BBGGRR).
inline constexpr rd::TColor kComboColor = 0x00201810;
inline constexpr rd::TColor kComboHotColor = 0x00302820;
inline constexpr rd::TColor kComboFontColor = 0x00C0D0E0;
inline constexpr rd::TColor kComboHotFontColor = 0x00F0F8FF;

// The test skin with a two-state "COMBOBOX" section whose border is the edit's mask.
inline std::string ComboSkin() {
    return SkinWith("[COMBOBOX]\nSTATES=2\nCOLOR=" + std::to_string(kComboColor) +
                    "\nHOTCOLOR=" + std::to_string(kComboHotColor) + "\nFONTCOLOR=" + std::to_string(kComboFontColor) +
                    "\nHOTFONTCOLOR=" + std::to_string(kComboHotFontColor) +
                    "\nBORDERSMASK=^0000^0010^0020^0020^0002^0002^0002^0002^2^0^0^0\n");
}

}  // namespace kvfw
