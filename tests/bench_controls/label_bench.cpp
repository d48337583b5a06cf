// Label benchmark: a paint of the effect label from its composed picture (background, shadow
// and text) set beside a plain copy of its area; the welcome line's size
// with the installer's blur of 6 and with the largest blur a skin can ask for; the web label's
// paint from its kept picture and with the picture built again, beside the same copy.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#include "tests/bench_framework/BenchTiming.h"
#include "controls/sLabel.h"
#include "tests/win_framework/FrameworkFixture.h"

namespace {

using kvbench::MicrosPerCall;

std::unique_ptr<sk::TsLabelFX> WelcomeLine(int blur) {
    auto label = std::make_unique<sk::TsLabelFX>(nullptr);
    label->Font().Name = L"MS Sans Serif";
    label->Font().Height = -13;
    label->Font().Changed();
    label->Shadow().SetMode(sk::TsShadowMode::smCustom);
    label->Shadow().SetColor(tk::clHighlight);
    label->Shadow().SetBlurCount(blur);
    label->SetCaption(L"Добро пожаловать в установку программы Kalvetra :)");
    return label;
}

// A paint of the label onto a canvas over a copy of what lies behind it, as its parent paints it.
double PaintMicros(tk::TControl& label, tk::TBitmap& target) {
    tk::TCanvas canvas(target.Canvas().Handle());
    return MicrosPerCall(20, [&] { label.Paint(canvas); }, 11);
}

double CopyMicros(tk::TBitmap& source, tk::TBitmap& target) {
    return MicrosPerCall(200, [&] {
        BitBlt(target.Canvas().Handle(), 0, 0, source.Width(), source.Height(), source.Canvas().Handle(), 0, 0,
               SRCCOPY);
    });
}

void Report(const char* what, int w, int h, double paint, double copy) {
    std::printf("%-44s %4d x %-3d %9.1f us   copy %7.1f us   ratio %6.1f\n", what, w, h, paint, copy, paint / copy);
}

}  // namespace

int main() {
    auto manager = kvfw::MakeManager();
    for (int blur : {6, sk::kMaxShadowBlur}) {
        auto label = WelcomeLine(blur);
        tk::TBitmap behind(label->Width(), label->Height()), target(label->Width(), label->Height());
        const double copy = CopyMicros(behind, target);
        const double paint = PaintMicros(*label, target);
        Report(blur == 6 ? "effect label, blur 6 (the installer's)" : "effect label, largest blur", label->Width(),
               label->Height(), paint, copy);
    }
    sk::TsWebLabel web(nullptr);
    web.SetCaption(L"Официальный сайт");
    tk::TBitmap behind(web.Width(), web.Height()), target(web.Width(), web.Height());
    const double copy = CopyMicros(behind, target);
    Report("web label, from its picture", web.Width(), web.Height(), PaintMicros(web, target), copy);
    tk::TCanvas canvas(target.Canvas().Handle());
    const double rebuild = MicrosPerCall(20, [&] {
        web.Invalidate();
        web.Paint(canvas);
    }, 11);
    Report("web label, picture built again", web.Width(), web.Height(), rebuild, copy);
    return 0;
}
