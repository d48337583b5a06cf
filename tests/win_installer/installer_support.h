// What the tests of the installer's shown window share: the real window made from the built
// installer's description and skin, shown without activation and painted, and readers of its
// pixels.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>

#include "controls/RegisterControls.h"
#include "installer/Unit1.h"
#include "skinframework/sSkinManager.h"

namespace kvinst {

// Runs the thread's messages for `rounds` rounds, `pauseMs` apart (timers and paints arrive).
inline void PumpMessages(int rounds = 20, DWORD pauseMs = 10) {
    MSG msg;
    for (int i = 0; i < rounds; ++i) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (pauseMs) Sleep(pauseMs);
    }
}

// The installer's window, shown without activation with the cursor out of its way and every
// control painted once.
struct ShownInstaller {
    std::unique_ptr<kv::TForm1> form;
    ShownInstaller() {
        sk::RegisterControlClasses();
        form = std::make_unique<kv::TForm1>(nullptr);
        SetCursorPos(1, 1);
        form->ShowNoActivate();
        RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
        PumpMessages(1, 0);
    }
    const sk::TSkinModel& Model() const { return form->sSkinManager1->Model(); }
    const sk::TsGenState& Props(const wchar_t* section, int state) const {
        const int index = Model().GetSkinIndex(section);
        EXPECT_GE(index, 0) << "the installer's skin has the section";
        return Model().gd[static_cast<size_t>(std::max(index, 0))].Props[state];
    }
};

// A pixel of a control's cache as 0x00RRGGBB; 0xFFFFFFFF outside it or without one.
inline uint32_t CachePixel(sk::TsCommonData& data, int x, int y) {
    sk::TacCacheBitmap* cache = data.FCacheBmp.get();
    if (!cache || x < 0 || y < 0 || x >= cache->Width() || y >= cache->Height()) return 0xFFFFFFFF;
    return cache->ScanLine(y)[x] & 0x00FFFFFF;
}

// A pixel of the window's whole area (frame included) on the screen, as 0x00RRGGBB.
inline uint32_t WindowPixel(HWND window, int x, int y) {
    HDC dc = GetWindowDC(window);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

}  // namespace kvinst
