// Push-button and speed-button benchmark: a paint from a valid cache (the install button's
// 75 x 25 face and the browse button's 23 x 22 face, into a memory DC) against a plain BitBlt of
// the same area, and a full rebuild of the install button's face (background, border, caption)
// and of the browse button's.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "tests/bench_framework/BenchTiming.h"
#include "controls/sButton.h"
#include "controls/sSpeedButton.h"
#include "tests/win_framework/FrameworkFixture.h"

namespace {

using kvbench::MicrosPerCall;

const char kSpeedSection[] =
    "[SPEEDBUTTON]\nSTATES=3\nCOLOR=2117760\nHOTCOLOR=3187952\nFONTCOLOR=14474978\nHOTFONTCOLOR=16777215\n"
    "BORDERSMASK=^0000^0000^0030^0010^0003^0003^0003^0003^3^0^0^0\n";

// A memory DC with a bitmap of the given size selected, and a source of the same size and kind
// as a control's cache (a 32-bit device-independent bitmap).
struct TMemoryTarget {
    TMemoryTarget(int w, int h) : W(w), H(h), Source(w, h) {
        HDC screen = GetDC(nullptr);
        DC = CreateCompatibleDC(screen);
        Bitmap = CreateCompatibleBitmap(screen, w, h);
        ReleaseDC(nullptr, screen);
        OldBitmap = SelectObject(DC, Bitmap);
    }
    ~TMemoryTarget() {
        SelectObject(DC, OldBitmap);
        DeleteObject(Bitmap);
        DeleteDC(DC);
    }
    double PlainCopy() {
        HDC source = Source.Canvas().Handle();
        return MicrosPerCall(2000, [&] { BitBlt(DC, 0, 0, W, H, source, 0, 0, SRCCOPY); });
    }
    int W, H;
    tk::TBitmap Source;
    HDC DC;
    HBITMAP Bitmap;
    HGDIOBJ OldBitmap;
};

void Report(const char* what, double micros, double floor) {
    std::printf("%-48s %8.2f us", what, micros);
    if (floor > 0) std::printf("   %.2fx of a plain copy (%.2f us)", micros / floor, floor);
    std::printf("\n");
}

}  // namespace

int main() {
    auto manager = kvfw::MakeManager(nullptr, kvfw::TestSkinOptions() + kSpeedSection);
    kvfw::TTestForm form(320, 200);

    sk::TsButton button(nullptr);
    button.BeginLoading();
    button.SkinData().SetSkinSection(L"BUTTON");
    button.SetBounds(20, 20, 75, 25);
    button.SetCaption(L"Установить");
    button.SetParent(&form);
    button.Loaded();
    button.HandleNeeded();

    sk::TsSpeedButton speed(nullptr);
    speed.BeginLoading();
    speed.SkinData().SetSkinSection(L"SPEEDBUTTON");
    speed.SetBounds(120, 20, 23, 22);
    speed.SetCaption(L"...");
    speed.SetParent(&form);
    speed.Loaded();
    kvfw::PumpMessages();
    if (!button.SkinData().Skinned() || !speed.SkinData().Skinned() || !button.PrepareCache() || !speed.PrepareCache()) {
        std::printf("buttons are not skinned: nothing measured\n");
        return 1;
    }

    TMemoryTarget buttonTarget(75, 25);
    Report("install button: paint from a valid cache", MicrosPerCall(2000, [&] { button.PaintToDC(buttonTarget.DC); }),
           buttonTarget.PlainCopy());
    TMemoryTarget speedTarget(23, 22);
    tk::TCanvas speedCanvas(speedTarget.DC);
    Report("browse button: paint from a valid cache", MicrosPerCall(2000, [&] { speed.Paint(speedCanvas); }),
           speedTarget.PlainCopy());
    Report("install button: full face rebuild", MicrosPerCall(200, [&] { button.PrepareCache(); }), 0);
    Report("browse button: full face rebuild", MicrosPerCall(200, [&] { speed.PrepareCache(); }), 0);
    return 0;
}
