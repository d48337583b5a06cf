// Progress gauge: a value between MinValue and MaxValue shown as a bar (or text, a pie or a
// needle) with its percentage, painted from the skin into a cache that lives only during a
// paint, and a light that runs across the filled part on its own timer.
#pragma once
#include <memory>

#include "skinframework/sCommonData.h"
#include "toolkit/Controls.h"
#include "toolkit/ExtCtrls.h"

namespace sk {

enum class TsGaugeKind { gkText, gkHorizontalBar, gkVerticalBar, gkPie, gkNeedle };
enum class TsGaugeBorderStyle { bsNone, bsSingle };

// The light's run: a picture this long moves across the bar, a run starts after this long.
constexpr int kGaugeLightLength = 300;
constexpr int kGaugeLightRunMs = 2222;
constexpr unsigned kGaugeLightIntervalMs = 22;

class TsGauge : public tk::TGraphicControl {
public:
    explicit TsGauge(tk::TComponent* owner);
    ~TsGauge() override;

    int Progress() const { return FCurValue; }
    // Limits the value into MinValue..MaxValue; repaints at once when the shown text or the
    // filled width changes; OnChange fires for every change of the value.
    void SetProgress(int value);
    void AddProgress(int n);
    int MinValue() const { return FMinValue; }
    int MaxValue() const { return FMaxValue; }
    // At run time a minimum above the maximum (or a maximum below the minimum) raises
    // EInvalidOperation "Value must be between %d and %d"; while loading any order is taken.
    void SetMinValue(int v);
    void SetMaxValue(int v);
    int PercentDone() const;
    // The value shown (percentage or raw value) followed by Suffix, after OnPaintText.
    std::wstring Text() const;

    TsGaugeKind Kind() const { return FKind; }
    void SetKind(TsGaugeKind v);
    bool ShowText() const { return FShowText; }
    void SetShowText(bool v);
    const std::wstring& Suffix() const { return FSuffix; }
    void SetSuffix(const std::wstring& v);
    bool CalcPercents() const { return FCalcPercents; }
    void SetCalcPercents(bool v);
    tk::TColor ForeColor() const { return FForeColor; }
    void SetForeColor(tk::TColor v);
    tk::TColor BackColor() const { return FBackColor; }
    void SetBackColor(tk::TColor v);
    TsGaugeBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TsGaugeBorderStyle v);
    const std::wstring& ProgressSkin() const { return FProgressSkin; }
    void SetProgressSkin(const std::wstring& v);
    bool Animated() const { return FAnimated; }
    void SetAnimated(bool v);

    tk::TNotifyEvent OnChange;
    std::function<void(tk::TObject* sender, std::wstring& text)> OnPaintText;
    TsCommonData& SkinData() { return FSkinData; }

    // The light's state, for its timer and for tests.
    int AnimPos() const { return FAnimPos; }
    int LongTime() const { return FLongTime; }
    tk::TTimer& LightTimer() { return *FTimer; }
    // One tick of the light's timer.
    void LightStep();
    // The filled width of a horizontal bar (0 when nothing is filled).
    int FilledWidth() const;
    // The filled height of a vertical bar.
    int FilledHeight() const;
    // The cache of the last paint is released; this builds it and leaves it for inspection.
    bool PrepareCache();

    void WndProc(tk::TMessage& m) override;
    void Loaded() override;
    void Paint(tk::TCanvas& canvas) override;
    void SetProperty(tk::TReader& reader, const std::string& name, const tk::TValue& value) override;

private:
    void Refresh();
    void DropProgressPicture();
    bool OnSkinCommand(tk::TMessage& m);
    void PaintContent(TacCacheBitmap& cache);
    void BuildBarPicture(TacCacheBitmap& picture, const rd::TCacheInfo& behind, int sectionIndex);
    void PaintHorizontalBar(TacCacheBitmap& cache, int sectionIndex);
    void PaintVerticalAnimatedBar(TacCacheBitmap& cache, int sectionIndex);
    void PaintVerticalBar(TacCacheBitmap& cache, int sectionIndex);
    void PaintFigure(TacCacheBitmap& cache);
    void DrawLight(rd::TBitmap32* picture, int filled, const rd::TBitmap32* region);
    // The progress section's light-region mask painted over a bar of this size on white (kept
    // while the size holds); null when the section has none or its frame lies over the bar.
    const rd::TBitmap32* LightRegion(int sectionIndex, int length, int thickness);
    void WriteSectionText(tk::TBitmap& picture, int sectionIndex, RECT rect);
    int ProgressSectionIndex() const;
    void PaintPlain(tk::TCanvas& canvas);
    void CopyCacheTo(HDC dc);

    TsCtrlSkinData FSkinData{this, true, 161};
    int FMinValue = 0, FMaxValue = 100, FCurValue = 47;
    TsGaugeKind FKind = TsGaugeKind::gkHorizontalBar;
    bool FShowText = true;
    std::wstring FSuffix = L"%";
    tk::TColor FForeColor = tk::clBlack, FBackColor = tk::clWhite;
    TsGaugeBorderStyle FBorderStyle = TsGaugeBorderStyle::bsSingle;
    std::wstring FProgressSkin;
    bool FCalcPercents = true;
    bool FAnimated = true;
    int FLongTime = kGaugeLightRunMs;
    int FAnimPos = 9999;
    std::unique_ptr<TacCacheBitmap> FLight;
    std::unique_ptr<tk::TTimer> FTimer;
    std::unique_ptr<TacCacheBitmap> FTmpProgressBmp;
    std::unique_ptr<TacCacheBitmap> FTmpRegionBmp;
};

// round(100 / range * done) with half to even; 0 for an empty range.
int GaugePercent(int minValue, int maxValue, int progress);
// The message of a rejected MinValue or MaxValue, its limits computed in 64 bits.
std::wstring GaugeRangeError(int64_t low, int64_t high);
// The light: white, its alpha 0 at both ends rising to the middle column, stronger in the top
// and bottom rows; length x height.
void MakeGaugeLight(tk::TBitmap& light, int length, int height);
// The light laid over columns [left, right) of picture through the region picture (same size
// as picture): with m the region pixel's red byte and a the light pixel's alpha (the light's
// column x - animPos), m = 0 takes a, 0 < m < 255 takes (255 - m) * a div 256, m = 255 leaves
// the pixel; each colour channel c becomes c + (light - c) * a div 256.
void BlendLightThroughRegion(rd::TBitmap32& picture, const rd::TBitmap32& light, const rd::TBitmap32& region, int animPos,
                             int left, int right);

}  // namespace sk
