// Progress gauge: a value between MinValue and MaxValue shown as a bar and a percentage.
#pragma once
#include "skinframework/sCommonData.h"
#include "toolkit/Controls.h"

namespace sk {

class TsGauge : public tk::TGraphicControl {
public:
    explicit TsGauge(tk::TComponent* owner);
    int Progress() const { return FCurValue; }
    // Limits the value into MinValue..MaxValue; repaints only when the percentage changes.
    void SetProgress(int value);
    void AddProgress(int n) { SetProgress(FCurValue + n); }
    int MinValue() const { return FMinValue; }
    int MaxValue() const { return FMaxValue; }
    void SetMinValue(int v);
    void SetMaxValue(int v);
    int PercentDone() const;
    std::wstring Text() const;
    tk::TNotifyEvent OnChange;
    TsCommonData& SkinData() { return FSkinData; }
    // The skin message and the window messages every skinned control shares, then the default.
    void WndProc(tk::TMessage& m) override {
        if (!HandleCommonMessage(m, FSkinData)) tk::TGraphicControl::WndProc(m);
    }
    void Loaded() override {
        tk::TGraphicControl::Loaded();
        FSkinData.Loaded();
    }
    void Paint(tk::TCanvas& canvas) override;
    void SetProperty(tk::TReader& reader, const std::string& name, const tk::TValue& value) override;
private:
    TsCtrlSkinData FSkinData{this, true, 161};
    int FMinValue = 0, FMaxValue = 100, FCurValue = 47;
    tk::TColor FForeColor = tk::clBlack, FBackColor = tk::clWhite;
    std::wstring FSuffix = L"%";
    bool FShowText = true;
};

// round(100 / range * done), rounding half to even.
int GaugePercent(int minValue, int maxValue, int progress);

}  // namespace sk
