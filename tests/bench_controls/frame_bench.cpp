// Frame benchmark: what the skin provider adds to a window. From creating a dialog-style form
// of the installer's size to its first fully painted window, with the hook's provider and
// without it, in the same run (median of several windows each); and one repaint of the frame
// from a valid form cache against a plain copy of the whole window area.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "tests/bench_framework/BenchTiming.h"
#include "forms/acDials.h"
#include "forms/sSkinProvider.h"
#include "skinframework/sVclUtils.h"
#include "tests/win_framework/FrameworkFixture.h"

namespace {

using kvbench::MicrosPerCall;
using kvbench::Median;
using kvbench::Now;

constexpr int kClientWidth = 680, kClientHeight = 495;  // the installer's window
constexpr int kWindowsEach = 3;  // a top-level window takes about 2 s to go away under Xvfb

// The test skin with a frame shaped like the installer's: two-state "FORM" with a border mask,
// two-state "FORMTITLE" with a gradient and a glow, a small close button.
std::string FrameOptions() {
    std::string options = kvfw::TestSkinOptions();
    auto replace = [&](const std::string& what, const std::string& with) {
        options.replace(options.find(what), what.size(), with);
    };
    replace("[GLOBALINFO]\n", "[GLOBALINFO]\nBIRIGHT=1\nSICONCLOSE=@0000@0010@0020@0020@2@0\n");
    replace("[FORM]\nSTATES=1\nCOLOR=4210752\nFONTCOLOR=14474978\n",
            "[FORM]\nSTATES=2\nCOLOR=4210752\nHOTCOLOR=4210752\nFONTCOLOR=14474978\nHOTFONTCOLOR=14474978\n"
            "BORDERSMASK=^0000^0000^0020^0010^0003^0003^0003^0003^2^0^0^0\n"
            "[FORMTITLE]\nSTATES=2\nCOLOR=2763568\nHOTCOLOR=3158584\nFONTCOLOR=9211542\nHOTFONTCOLOR=14474978\n"
            "HGSIZE=4\nHGCOL=263329\nGRADIENTPERCENT=100\nGRADIENTDATA=3290170;3290170;100;0;0\n"
            "HOTGRADIENTPERCENT=100\nHOTGRADIENTDATA=4079688;3290170;100;0;0\n");
    return options;
}

class TBenchForm : public tk::TForm {
public:
    TBenchForm() : tk::TForm(nullptr) {
        SetBorderStyle(tk::TFormBorderStyle::bsDialog);
        SetCaption(L"Kalvetra setup");
        SetBounds(40, 40, kClientWidth + 6, kClientHeight + 25);
        SetClientSize(kClientWidth, kClientHeight);
        Loaded();
    }
};

sk::TsSkinProvider* ProviderOf(HWND h) {
    return reinterpret_cast<sk::TsSkinProvider*>(sk::SendSkinCmd(h, sk::SC_GETPROVIDER));
}

// Milliseconds from creating the form to its window painted (frame and client).
double TimeToFirstPaint(bool skinned, std::unique_ptr<TBenchForm>& keep) {
    sk::TsSkinManager::SetProviderFactory(skinned ? sk::TProviderFactory(sk::MakeRunTimeProvider) : nullptr);
    const double start = Now();
    keep = std::make_unique<TBenchForm>();
    keep->Show();
    RedrawWindow(keep->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    GdiFlush();
    const double ms = (Now() - start) * 1e3;
    if (skinned && !ProviderOf(keep->Handle())) std::printf("warning: no provider was attached\n");
    return ms;
}

}  // namespace

int main() {
    tk::TApplication app;
    app.Initialize();
    auto manager = kvfw::MakeManager(nullptr, FrameOptions());

    std::vector<double> skinned, plain;
    for (int i = 0; i < kWindowsEach; ++i) {
        std::unique_ptr<TBenchForm> a, b;
        skinned.push_back(TimeToFirstPaint(true, a));
        a.reset();
        plain.push_back(TimeToFirstPaint(false, b));
        b.reset();
    }
    const double s = Median(skinned), p = Median(plain);
    std::printf("first painted window, %dx%d client: skinned %.2f ms, unskinned %.2f ms, ratio %.2f\n", kClientWidth,
                kClientHeight, s, p, p > 0 ? s / p : 0.0);

    sk::TsSkinManager::SetProviderFactory(sk::MakeRunTimeProvider);
    TBenchForm form;
    form.Show();
    SetForegroundWindow(form.Handle());
    kvfw::PumpMessages();
    sk::TsSkinProvider* provider = ProviderOf(form.Handle());
    if (!provider || !provider->PrepareCache()) {
        std::printf("no provider or no cache: frame repaint not measured\n");
        return 0;
    }
    HWND h = form.Handle();
    RECT wr;
    GetWindowRect(h, &wr);
    const int w = wr.right - wr.left, ht = wr.bottom - wr.top;
    const double frame = MicrosPerCall(200, [&] { provider->PaintFrame(); });
    tk::TBitmap copy(w, ht);
    const double blit = MicrosPerCall(200, [&] {
        HDC dc = GetWindowDC(h);
        BitBlt(dc, 0, 0, w, ht, copy.Canvas().Handle(), 0, 0, SRCCOPY);
        ReleaseDC(h, dc);
    });
    std::printf("frame repaint from a valid cache: %.1f us; plain copy of the %dx%d window: %.1f us; ratio %.2f\n", frame,
                w, ht, blit, blit > 0 ? frame / blit : 0.0);
    return 0;
}
