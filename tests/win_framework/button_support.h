// What the push-button and speed-button tests share: real mouse input at screen points, a
// message pump that waits for a condition, skins with and without the button sections, and
// the face a section paints for a size and state, to compare caches against.
#pragma once
#include <windows.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "controls/sButton.h"
#include "controls/sSpeedButton.h"
#include "render/sAlphaGraph.h"
#include "skinframework/sControlPaint.h"
#include "tests/common/SyntheticInput.h"
#include "tests/win_framework/FrameworkFixture.h"
#include "tests/win_framework/TestControls.h"
#include "toolkit/Controls.h"

namespace kvfw {

// Runs messages until done() or about two seconds have passed; done()'s last answer.
inline bool PumpUntil(const std::function<bool()>& done, int ms = 2000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        PumpMessages();
        Sleep(5);
    }
    return true;
}

// Runs messages for a while (fades end, paints arrive).
inline void PumpFor(int ms) {
    PumpUntil([] { return false; }, ms);
}

inline void MouseButton(DWORD flag) { synthetic::mouse(flag); }

// Moves the real cursor to a client point of a window and lets the moves arrive.
inline void MoveMouseTo(HWND window, int x, int y) {
    POINT p{x, y};
    ClientToScreen(window, &p);
    synthetic::move_cursor(p);
    PumpFor(60);
}

inline void PressLeft() { MouseButton(MOUSEEVENTF_LEFTDOWN); }
inline void ReleaseLeft() { MouseButton(MOUSEEVENTF_LEFTUP); }

// A speed-button section for the test skin: three states, its own colours and a 3-pixel border.
inline const std::string kSpeedSection =
    "[SPEEDBUTTON]\nSTATES=3\nCOLOR=2117760\nHOTCOLOR=3187952\nFONTCOLOR=14474978\nHOTFONTCOLOR=16777215\n"
    "BORDERSMASK=^0000^0000^0030^0010^0003^0003^0003^0003^3^0^0^0\n";

// The test skin with a section added at the end of its options.
inline std::string SkinWith(const std::string& extra) { return TestSkinOptions() + extra; }

// The test skin without the named section (its header and keys up to the next one).
inline std::string SkinWithout(const std::string& section) {
    std::string s = TestSkinOptions();
    const std::string header = "[" + section + "]\n";
    const size_t at = s.find(header);
    if (at == std::string::npos) return s;
    const size_t next = s.find("\n[", at + header.size());
    s.erase(at, next == std::string::npos ? std::string::npos : next + 1 - at);
    return s;
}

// PaintControlFace of the control's section over what lies behind it, for its size and state.
inline rd::TMemBitmap32 ReferenceFace(sk::TsCommonData& data, int width, int height, int state) {
    rd::TMemBitmap32 face(width, height);
    rd::TCacheInfo bg;
    data.GetParentCache(bg);
    sk::PaintControlFace(data, bg, true, &face, {0, 0}, {0, 0, width, height}, state);
    return face;
}

// A push button (or one derived from it) bound to section, loaded on parent and shown.
template <class TButton = sk::TsButton>
std::unique_ptr<TButton> MakeButton(tk::TWinControl* parent, sk::TsSkinManager* manager, RECT b,
                                    const std::wstring& caption, const std::wstring& section = L"BUTTON") {
    auto button = std::make_unique<TButton>(nullptr);
    button->BeginLoading();
    button->SkinData().SetSkinSection(section);
    button->SkinData().SetSkinManager(manager);
    button->SetBounds(b.left, b.top, b.right - b.left, b.bottom - b.top);
    button->SetCaption(caption);
    button->SetParent(parent);
    button->Loaded();
    button->HandleNeeded();
    ShowWindow(button->Handle(), SW_SHOWNA);
    return button;
}

// A speed button bound to "SPEEDBUTTON", loaded on parent.
inline std::unique_ptr<sk::TsSpeedButton> MakeSpeedButton(tk::TWinControl* parent, sk::TsSkinManager* manager, RECT b,
                                                   const std::wstring& caption) {
    auto button = std::make_unique<sk::TsSpeedButton>(nullptr);
    button->BeginLoading();
    button->SkinData().SetSkinSection(L"SPEEDBUTTON");
    button->SkinData().SetSkinManager(manager);
    button->SetBounds(b.left, b.top, b.right - b.left, b.bottom - b.top);
    button->SetCaption(caption);
    button->SetParent(parent);
    button->Loaded();
    return button;
}

// Pixels of the cache that differ from face (alpha ignored) inside rect.
inline int DifferingPixels(sk::TsCommonData& data, const rd::TBitmap32& face, RECT rect) {
    int n = 0;
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x)
            if (CachePixel(data, x, y) != (rd::ReadPixel32(face, x, y) & 0x00FFFFFFu)) ++n;
    return n;
}

}  // namespace kvfw
