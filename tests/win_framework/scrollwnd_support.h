// What the scroll-window and memo tests share: the test skin with scroll sections of plain,
// distinct colours, a memo that records the scroll codes its window receives, and pixels of a
// window's frame on the screen.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "controls/sMemo.h"
#include "tests/win_framework/button_support.h"
#include "toolkit/DescriptionReader.h"

namespace kvfw {

// Colours of the scroll sections (0x00BBGGRR); "pressed" and "hot" are the HOTCOLOR.
inline constexpr rd::TColor kTrackBefore = 0x00603010;
inline constexpr rd::TColor kTrackBeforePressed = 0x00A05020;
inline constexpr rd::TColor kTrackAfter = 0x00104060;
inline constexpr rd::TColor kThumbColor = 0x0020A0E0;
inline constexpr rd::TColor kThumbHotColor = 0x0060C0F0;
inline constexpr rd::TColor kArrowFace = 0x00707070;
inline constexpr rd::TColor kArrowFaceHot = 0x00909090;

inline std::string ScrollSections() {
    auto plain = [](const char* name, rd::TColor color, rd::TColor hot) {
        return std::string("[") + name + "]\nSTATES=3\nCOLOR=" + std::to_string(color) +
               "\nHOTCOLOR=" + std::to_string(hot) + "\nFONTCOLOR=16777215\nHOTFONTCOLOR=16777215\n";
    };
    std::string s;
    for (const char* n : {"SCROLLBAR1V", "SCROLLBAR1H"}) s += plain(n, kTrackBefore, kTrackBeforePressed);
    for (const char* n : {"SCROLLBAR2V", "SCROLLBAR2H"}) s += plain(n, kTrackAfter, kTrackBeforePressed);
    for (const char* n : {"SCROLLSLIDERV", "SCROLLSLIDERH"}) s += plain(n, kThumbColor, kThumbHotColor);
    for (const char* n : {"SCROLLBTNLEFT", "SCROLLBTNTOP", "SCROLLBTNRIGHT", "SCROLLBTNBOTTOM"})
        s += plain(n, kArrowFace, kArrowFaceHot);
    return s;
}

inline std::string ScrollSkinOptions() { return TestSkinOptions() + ScrollSections(); }

// A memo on parent at bounds, loaded as a description would load it, with the scroll bars
// asked for; it records the scroll codes of WM_VSCROLL and WM_HSCROLL.
class TRecordingMemo : public sk::TsMemo {
public:
    TRecordingMemo(tk::TWinControl* parent, RECT bounds, const char* scrollBars = "ssVertical",
                   const std::wstring& section = L"EDIT")
        : sk::TsMemo(nullptr) {
        BeginLoading();
        tk::TReader reader(nullptr, 0);
        tk::TValue value;
        value.Kind = tk::TValueKind::Ident;
        value.Ident = scrollBars;
        SetProperty(reader, "ScrollBars", value);
        SkinData().SetSkinSection(section);
        SetBounds(bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top);
        SetParent(parent);
        Loaded();
    }
    std::vector<int> Codes;  // scroll codes in arrival order
    void WndProc(tk::TMessage& m) override {
        if (m.Msg == WM_VSCROLL || m.Msg == WM_HSCROLL) Codes.push_back(LOWORD(m.WParam));
        sk::TsMemo::WndProc(m);
    }
    int Count(int code) const {
        int n = 0;
        for (int c : Codes) n += c == code;
        return n;
    }
};

// A press and release on one part of a bar (`press` puts the button down over it): the part's
// scroll code arrives once, then the end of the scroll, the position moves in `direction`
// (-1, 0, 1) and the bar keeps no pressed part.
inline void ExpectOneScrollPerClick(TRecordingMemo& memo, sk::TacEditWnd& sw, const std::function<void()>& press,
                                    const std::function<int()>& position, const char* name, int expectedCode,
                                    int direction) {
    const int before = position();
    memo.Codes.clear();
    press();
    ReleaseLeft();
    PumpFor(40);
    ASSERT_EQ(memo.Codes.size(), 2u) << name;
    EXPECT_EQ(memo.Codes[0], expectedCode) << name;
    EXPECT_EQ(memo.Codes[1], SB_ENDSCROLL) << name;
    const int moved = position() - before;
    EXPECT_EQ((moved > 0) - (moved < 0), direction) << name;
    EXPECT_EQ(sw.PressedPart(), sk::spNone) << name;
}

// n numbered lines.
inline std::wstring NumberedLines(int n) {
    std::wstring text;
    for (int i = 0; i < n; ++i) text += L"line " + std::to_wstring(i) + L"\r\n";
    return text;
}

// A pixel of a window's whole area (frame included) on the screen, as 0x00RRGGBB.
inline uint32_t FramePixel(HWND window, int x, int y) {
    HDC dc = GetWindowDC(window);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

// Moves the real cursor to a point of a window given in window coordinates.
inline void MoveToWindowPoint(HWND window, int x, int y) {
    RECT wr{};
    GetWindowRect(window, &wr);
    synthetic::move_cursor({wr.left + x, wr.top + y});
    PumpFor(40);
}

// The bar's colour blended toward a plain background the way an unavailable bar is.
inline uint32_t BlendedOverColor(rd::TColor bar, rd::TColor background) {
    const uint32_t d = AsRgb(bar), t = AsRgb(rd::ColorToRGB(background));
    uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int dc = int((d >> shift) & 0xFF), tc = int((t >> shift) & 0xFF);
        out |= uint32_t((((dc - tc) * 153 + tc * 256) >> 8) & 0xFF) << shift;
    }
    return out;
}

}  // namespace kvfw
