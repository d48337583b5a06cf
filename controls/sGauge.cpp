#include "controls/sGauge.h"

#include <cmath>

#include "toolkit/DescriptionReader.h"

namespace sk {

int GaugePercent(int minValue, int maxValue, int progress) {
    double range = static_cast<double>(maxValue) - minValue;
    if (range == 0) return 0;
    return static_cast<int>(std::nearbyint(100.0 / range * (static_cast<double>(progress) - minValue)));
}

TsGauge::TsGauge(tk::TComponent* owner) : tk::TGraphicControl(owner) { SetBounds(0, 0, 100, 100); }

int TsGauge::PercentDone() const { return GaugePercent(FMinValue, FMaxValue, FCurValue); }

std::wstring TsGauge::Text() const { return std::to_wstring(PercentDone()) + FSuffix; }

void TsGauge::SetProgress(int value) {
    int limited = std::max(FMinValue, std::min(FMaxValue, value));
    if (limited == FCurValue) return;
    int before = PercentDone();
    FCurValue = limited;
    if (PercentDone() != before) Repaint();
    if (OnChange) OnChange(this);
}

void TsGauge::SetMinValue(int v) {
    if (v == FMinValue) return;
    if (v > FMaxValue && !IsLoading())
        throw tk::EInvalidOperation(tk::Format(L"Value must be between %d and %d",
                                               {L"-2147483648", std::to_wstring(FMaxValue - 1)}));
    FMinValue = v;
    if (FCurValue < v) FCurValue = v;
    Invalidate();
}

void TsGauge::SetMaxValue(int v) {
    if (v == FMaxValue) return;
    if (v < FMinValue && !IsLoading())
        throw tk::EInvalidOperation(tk::Format(L"Value must be between %d and %d",
                                               {std::to_wstring(FMinValue + 1), L"2147483647"}));
    FMaxValue = v;
    if (FCurValue > v) FCurValue = v;
    Invalidate();
}

void TsGauge::Paint(tk::TCanvas& canvas) {
    RECT r{0, 0, Width(), Height()};
    DrawEdge(canvas.Handle(), &r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    canvas.Brush.Color = FBackColor;
    canvas.FillRect(r);
    int range = FMaxValue - FMinValue;
    int filled = range > 0 ? static_cast<int>(static_cast<int64_t>(r.right - r.left) * (FCurValue - FMinValue) / range) : 0;
    RECT bar{r.left, r.top, r.left + filled, r.bottom};
    canvas.Brush.Color = FForeColor;
    if (filled > 0) canvas.FillRect(bar);
    if (!FShowText) return;
    // The text is drawn twice, clipped to the empty and to the filled part, in contrasting colours.
    UINT fmt = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX;
    canvas.Font.Assign(Font());
    HDC dc = canvas.Handle();
    int saved = SaveDC(dc);
    ExcludeClipRect(dc, bar.left, bar.top, bar.right, bar.bottom);
    canvas.Font.Color = FForeColor;
    canvas.TextRect(r, Text(), fmt);
    RestoreDC(dc, saved);
    saved = SaveDC(dc);
    IntersectClipRect(dc, bar.left, bar.top, bar.right, bar.bottom);
    canvas.Font.Color = FBackColor;
    canvas.TextRect(r, Text(), fmt);
    RestoreDC(dc, saved);
}

void TsGauge::SetProperty(tk::TReader& reader, const std::string& name, const tk::TValue& v) {
    if (FSkinData.ReadProperty(reader, name, v)) return;
    if (name == "MinValue") SetMinValue(reader.Int(v));
    else if (name == "MaxValue") SetMaxValue(reader.Int(v));
    else if (name == "Progress") FCurValue = std::max(FMinValue, std::min(FMaxValue, reader.Int(v)));
    else if (name == "ForeColor") FForeColor = reader.Color(v);
    else if (name == "BackColor") FBackColor = reader.Color(v);
    else if (name == "Suffix") FSuffix = reader.String(v);
    else if (name == "ShowText") FShowText = reader.Bool(v);
    else tk::TGraphicControl::SetProperty(reader, name, v);
}

}  // namespace sk
