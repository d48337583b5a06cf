// What the edit and combo box tests share: real keyboard input, the clipboard, pixels of a
// window's frame on the screen, and the test skin with a combo box section.
#pragma once
#include <windows.h>

#include <string>

#include "tests/common/SyntheticInput.h"
#include "tests/win_framework/button_support.h"

namespace kvfw {

inline void Key(WORD vk, bool up) { synthetic::key(vk, !up); }

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
    synthetic::unicode_text(text);
    PumpFor(150);
}

inline bool PutOnClipboard(HWND owner, const std::wstring& text) { return synthetic::put_on_clipboard(owner, text); }

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
