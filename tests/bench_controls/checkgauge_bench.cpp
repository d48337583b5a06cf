// Check box and gauge benchmark, sizes of the installer's controls: a check box repainted from
// its valid cache (the copy WM_ERASEBKGND makes) against a plain BitBlt of its area, and its
// full face rebuild; the gauge (465 x 25 at 100 %) painted with its filled-part picture rebuilt
// and reused, and one tick of its light, which reuses the filled-part picture.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "tests/bench_framework/BenchTiming.h"
#include "controls/sCheckBox.h"
#include "controls/sGauge.h"
#include "skinframework/sSkinCmd.h"
#include "tests/win_framework/FrameworkFixture.h"
#include "toolkit/Application.h"

namespace {

using kvbench::MicrosPerCall;

// Check glyphs and gauge sections shaped like the installer's: 15 x 15 glyphs are not in the
// test skin's small master bitmap, so the button frames serve; a gradient progress bar.
std::string BenchOptions() {
    std::string options = kvfw::TestSkinOptions();
    const std::string anchor = "FONTCOLOR=14474978\n";
    options.insert(options.find(anchor) + anchor.size(),
                   "BOXCHECKED=@0000@0000@0030@0010@3@0\nBOXUNCHECKED=@0000@0010@0020@0020@2@0\n");
    return options + "[GAUGE]\nSTATES=1\nCOLOR=1579292\nFONTCOLOR=14474978\n"
                     "[PROGRESSH]\nSTATES=1\nCOLOR=4084950\nGRADIENTPERCENT=100\nGRADIENTDATA=6322416;4084950;100;0;0\n";
}

void CheckBox(tk::TForm& form, HDC memoryDC) {
    auto* box = new sk::TsCheckBox(&form);
    box->BeginLoading();
    box->SkinData().SetSkinSection(L"CHECKBOX");
    box->SetBounds(10, 10, 200, 19);
    box->SetCaption(L"Create a desktop shortcut");
    box->SetChecked(true);
    box->SetParent(&form);
    box->Loaded();
    box->HandleNeeded();
    box->PrepareCache();
    const int w = box->Width(), h = box->Height();
    HDC cacheDC = box->SkinData().FCacheBmp->Canvas().Handle();
    // Through the control's handler, as the window procedure hands it on.
    const double fromCache = MicrosPerCall(1000, [&] { box->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(memoryDC)); });
    const double skinnedQuery = MicrosPerCall(1000, [&] { box->SkinData().Skinned(); });
    printf("check box: the skinned query alone %.2f us\n", skinnedQuery);
    const double blt = MicrosPerCall(1000, [&] { BitBlt(memoryDC, 0, 0, w, h, cacheDC, 0, 0, SRCCOPY); });
    printf("check box %dx%d repaint from a valid cache: %.2f us, plain BitBlt %.2f us, ratio %.2f (goal <= 1.5)\n", w, h,
           fromCache, blt, fromCache / blt);
    const double rebuild = MicrosPerCall(200, [&] { box->PrepareCache(); });
    printf("check box %dx%d full face rebuild (face, caption, glyph): %.2f us\n", w, h, rebuild);
    tk::TComponent::Free(box);
}

void Gauge(tk::TForm& form, HDC memoryDC) {
    auto* gauge = new sk::TsGauge(&form);
    gauge->BeginLoading();
    gauge->SkinData().SetSkinSection(L"GAUGE");
    gauge->SetBounds(10, 40, 465, 25);
    gauge->SetMaxValue(4);
    gauge->SetProgress(4);
    gauge->SetParent(&form);
    gauge->Loaded();
    gauge->LightTimer().SetEnabled(false);  // ticks are driven below
    tk::TCanvas canvas(memoryDC);
    const int w = gauge->Width(), h = gauge->Height();
    tk::TBitmap face(w, h);
    HDC faceDC = face.Canvas().Handle();
    const double blt = MicrosPerCall(500, [&] { BitBlt(memoryDC, 0, 0, w, h, faceDC, 0, 0, SRCCOPY); });
    gauge->SetAnimated(false);
    const double rebuild = MicrosPerCall(200, [&] {
        gauge->Perform(sk::SM_SKINCMD, sk::SkinCmdWParam(sk::SC_FREECACHE));  // drops the filled-part picture
        gauge->Paint(canvas);
    });
    const double reused = MicrosPerCall(200, [&] { gauge->Paint(canvas); });
    printf("gauge %dx%d at 100%%: paint with the filled part rebuilt %.2f us, with it reused %.2f us; a plain BitBlt of "
           "its area %.2f us (the gauge keeps no cache between paints)\n",
           w, h, rebuild, reused, blt);
    gauge->SetAnimated(true);
    gauge->LightTimer().SetEnabled(false);
    const double tick = MicrosPerCall(200, [&] {
        gauge->LightStep();
        if (gauge->AnimPos() >= w) {
            gauge->LightStep();  // restart the run so every tick draws
            while (gauge->AnimPos() >= w) gauge->LightStep();
        }
    });
    printf("gauge light tick (%u ms timer) on %dx%d: %.2f us (the filled-part picture is reused; only the light is "
           "blended)\n",
           sk::kGaugeLightIntervalMs, w, h, tick);
    tk::TComponent::Free(gauge);
}

}  // namespace

int main() {
    tk::TApplication app;
    app.Initialize();
    printf("build: %s\n", sizeof(void*) == 8 ? "x86_64" : "i686");
    auto manager = kvfw::MakeManager(nullptr, BenchOptions());
    kvfw::TTestForm form(500, 100);
    for (int i = 0; i < 20; ++i) {
        kvfw::PumpMessages();
        Sleep(25);
    }
    tk::TBitmap screenStandIn(500, 100);
    HDC memoryDC = screenStandIn.Canvas().Handle();
    CheckBox(form, memoryDC);
    Gauge(form, memoryDC);
    return 0;
}
