// Framework benchmark: the costs of painting a skinned control, measured in one run against the
// platform's floor where there is one. Repainting from a valid cache (CopyCacheToDC of a 75 x 25
// and a 300 x 200 cache into a window DC) against a plain BitBlt of the same size; one fade tick
// of the install button's size (the old face copied, blended with the new one, copied to the
// window); a full rebuild of a 75 x 25 "BUTTON" face with PaintControlFace, from the test skin
// and from a variant shaped like the installer's (gradient, stretched border that fills its
// centre).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "tests/bench_framework/BenchTiming.h"
#include "skinframework/sCommonData.h"
#include "skinframework/sControlPaint.h"
#include "skinframework/sFade.h"
#include "skinpaint/sMaskPaint.h"
#include "tests/win_framework/FrameworkFixture.h"

namespace {

using kvbench::MicrosPerCall;

// A window-less skinned control of the given size on the form, bound by hand to a section.
struct TBenchControl {
    TBenchControl(tk::TWinControl* parent, sk::TsSkinManager* manager, const wchar_t* section, int w, int h)
        : Owner(nullptr) {
        Owner.SetParent(parent);
        Owner.SetBounds(0, 0, w, h);
        Data.FSkinManager = manager;
        Data.SkinIndex = manager ? manager->Model().GetSkinIndex(section) : -1;
        Data.BorderIndex = Data.SkinIndex >= 0 ? manager->Model().gd[static_cast<size_t>(Data.SkinIndex)].BorderIndex : -1;
        Data.Loading = false;
        Data.InitCacheBmp();
    }
    tk::TWinControl Owner;
    sk::TsCtrlSkinData Data{&Owner, true, 93};
};

// The test skin's BUTTON made like the installer's: a vertical gradient and a border stretched
// over the whole face, centre filled.
std::string InstallerLikeOptions() {
    std::string options = kvfw::TestSkinOptions();
    const std::string from = "BORDERSMASK=^0000^0000^0030^0010^0003^0003^0003^0003^3^0^0^0\n";
    const std::string to = "GRADIENTPERCENT=100\nGRADIENTDATA=4079688;3290170;100;0;0\n"
                           "HOTGRADIENTPERCENT=100\nHOTGRADIENTDATA=6322416;4084950;100;0;0\n"
                           "BORDERSMASK=^0000^0000^0030^0010^0003^0003^0003^0003^3^0^5^0\n";
    const size_t at = options.find(from);
    if (at != std::string::npos) options.replace(at, from.size(), to);
    return options;
}

// Into the window's DC and into a memory DC of the window's size (under Wine on a virtual
// display the window DC may take blits without copying anything; the memory DC always copies).
void RepaintFromCache(tk::TWinControl* form, sk::TsSkinManager* manager, HDC windowDC, HDC memoryDC, int w, int h) {
    TBenchControl control(form, manager, L"BUTTON", w, h);
    sk::TacCacheBitmap& cache = *control.Data.FCacheBmp;
    sk::PaintControlFace(control.Data, rd::TCacheInfo{}, true, cache.View(), {0, 0}, {0, 0, w, h}, 0);
    const RECT all{0, 0, w, h};
    HDC cacheDC = cache.Canvas().Handle();
    const int calls = w * h > 10000 ? 200 : 1000;
    const struct {
        const char* name;
        HDC dc;
    } targets[] = {{"window DC", windowDC}, {"memory DC", memoryDC}};
    for (const auto& t : targets) {
        const double copy = MicrosPerCall(calls, [&] { sk::CopyCacheToDC(control.Data, t.dc, 0, 0, all); });
        const double blt = MicrosPerCall(calls, [&] { BitBlt(t.dc, 0, 0, w, h, cacheDC, 0, 0, SRCCOPY); });
        // What keeping the DC's state around the copy costs by itself.
        const double state = MicrosPerCall(calls, [&] { RestoreDC(t.dc, SaveDC(t.dc)); });
        printf("repaint from a valid cache %dx%d into a %s: CopyCacheToDC %.2f us, plain BitBlt %.2f us, ratio %.2f "
               "(goal <= 1.5); SaveDC + RestoreDC alone %.2f us\n",
               w, h, t.name, copy, blt, copy / blt, state);
    }
}

void FadeTick(HDC windowDC) {
    const int w = 75, h = 25;
    tk::TBitmap oldFace(w, h), newFace(w, h), frame(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            oldFace.ScanLine(y)[x] = 0xFF204080u + static_cast<uint32_t>(x);
            newFace.ScanLine(y)[x] = 0xFF80A0C0u - static_cast<uint32_t>(y);
        }
    auto view = [](tk::TBitmap& b) { return rd::TBitmap32{b.Row0(), b.Stride(), b.Width(), b.Height()}; };
    rd::TBitmap32 from = view(oldFace), to = view(newFace), out = view(frame);
    HDC frameDC = frame.Canvas().Handle();
    int level = 0;
    const double tick = MicrosPerCall(1000, [&] {
        level = level % 11 + 1;
        sk::BlendFadeFrame(&out, &from, &to, level, 11);
        BitBlt(windowDC, 0, 0, w, h, frameDC, 0, 0, SRCCOPY);
    });
    const double blt = MicrosPerCall(1000, [&] { BitBlt(windowDC, 0, 0, w, h, frameDC, 0, 0, SRCCOPY); });
    printf("fade tick 75x25 (old face copied, blended, copied to the window): %.2f us (goal < 1000 us); of which the "
           "copy to the window %.2f us\n",
           tick, blt);
}

void Rebuild(tk::TWinControl* form, const char* name, const std::string& options) {
    auto manager = kvfw::MakeManager(nullptr, options);
    TBenchControl control(form, manager.get(), L"BUTTON", 75, 25);
    if (control.Data.SkinIndex < 0) {
        printf("cache rebuild 75x25 BUTTON (%s): the skin has no BUTTON section\n", name);
        return;
    }
    rd::TMemBitmap32 parent(300, 200);
    rd::FillPixels32(&parent, {0, 0, 300, 200}, 0x00404040, 255);
    const rd::TCacheInfo behind = rd::CacheInfoForBitmap(&parent, 0, 0);
    sk::TacCacheBitmap& cache = *control.Data.FCacheBmp;
    int state = 0;
    const double us = MicrosPerCall(500, [&] {
        state = (state + 1) % 3;
        sk::PaintControlFace(control.Data, behind, true, cache.View(), {20, 30}, {0, 0, 75, 25}, state);
    });
    printf("cache rebuild 75x25 BUTTON (%s): %.2f us per PaintControlFace\n", name, us);
}

}  // namespace

int main() {
    tk::TApplication app;
    app.Initialize();
    printf("build: %s\n", sizeof(void*) == 8 ? "x86_64" : "i686");
    auto manager = kvfw::MakeManager();
    kvfw::TTestForm form(400, 300);
    // Let the window reach the screen before drawing into it.
    for (int i = 0; i < 20; ++i) {
        kvfw::PumpMessages();
        Sleep(25);
    }
    HDC windowDC = GetDC(form.Handle());
    {
        tk::TBitmap screenStandIn(400, 300);
        HDC memoryDC = screenStandIn.Canvas().Handle();
        RepaintFromCache(&form, manager.get(), windowDC, memoryDC, 75, 25);
        RepaintFromCache(&form, manager.get(), windowDC, memoryDC, 300, 200);
    }
    FadeTick(windowDC);
    ReleaseDC(form.Handle(), windowDC);
    Rebuild(&form, "test skin: tiled border", kvfw::TestSkinOptions());
    Rebuild(&form, "installer-like: gradient, stretched border filling its centre", InstallerLikeOptions());
    return 0;
}
