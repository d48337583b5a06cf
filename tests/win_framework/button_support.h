// What the push-button and speed-button tests share: real mouse input at screen points, a
// message pump that waits for a condition, skins with and without the button sections, and
// the face a section paints for a size and state, to compare caches against.
#pragma once
#include <windows.h>

#include <chrono>
#include <functional>
#include <string>

#include "render/sAlphaGraph.h"
#include "skinframework/sControlPaint.h"
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

inline void MouseButton(DWORD flag) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flag;
    SendInput(1, &input, sizeof input);
}

// Moves the real cursor to a client point of a window and lets the moves arrive.
inline void MoveMouseTo(HWND window, int x, int y) {
    POINT p{x, y};
    ClientToScreen(window, &p);
    SetCursorPos(p.x, p.y);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = MOUSEEVENTF_MOVE;
    SendInput(1, &input, sizeof input);
    PumpFor(60);
}

inline void PressLeft() { MouseButton(MOUSEEVENTF_LEFTDOWN); }
inline void ReleaseLeft() { MouseButton(MOUSEEVENTF_LEFTUP); }

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

// Pixels of the cache that differ from face (alpha ignored) inside rect.
inline int DifferingPixels(sk::TsCommonData& data, const rd::TBitmap32& face, RECT rect) {
    int n = 0;
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x)
            if (CachePixel(data, x, y) != (rd::ReadPixel32(face, x, y) & 0x00FFFFFFu)) ++n;
    return n;
}

}  // namespace kvfw
