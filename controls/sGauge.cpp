#include "controls/sGauge.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "skinframework/sControlPaint.h"
#include "skinframework/sControlText.h"
#include "skinframework/sSkinManager.h"
#include "skinframework/sSkinState.h"
#include "skinpaint/sMaskPaint.h"
#include "skinpaint/sSectionPaint.h"
#include "skinpaint/sTextOutput.h"
#include "toolkit/Application.h"
#include "toolkit/DescriptionReader.h"

namespace sk {

namespace {

constexpr UINT kTextFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX;
constexpr int kLightImageHeight = 20;  // the light's picture is made for bars of this height

int RoundHalfEven(double v) { return static_cast<int>(std::nearbyint(v)); }

// Copies the whole of source into target at (x, y), clipped to target.
void CopyPixels(const rd::TBitmap32& target, const rd::TBitmap32& source, int x, int y) {
    const int left = std::max(0, x), right = std::min(target.Width, x + source.Width);
    if (right <= left) return;
    for (int sy = 0; sy < source.Height; ++sy) {
        const int ty = y + sy;
        if (ty < 0 || ty >= target.Height) continue;
        std::memcpy(target.Row(ty) + left, source.Row(sy) + (left - x), static_cast<size_t>(right - left) * 4);
    }
}

bool SameSize(const tk::TBitmap* a, int width, int height) {
    return a && a->Width() == width && a->Height() == height;
}

}  // namespace

int GaugePercent(int minValue, int maxValue, int progress) {
    const double range = static_cast<double>(maxValue) - minValue;
    if (range == 0) return 0;
    return RoundHalfEven(100.0 / range * (static_cast<double>(progress) - minValue));
}

std::wstring GaugeRangeError(int64_t low, int64_t high) {
    return tk::Format(L"Value must be between %d and %d", {std::to_wstring(low), std::to_wstring(high)});
}

void MakeGaugeLight(tk::TBitmap& light, int length, int height) {
    light.SetSize(length, height);
    if (length <= 0 || height <= 0) return;
    // Rows of the 20-row picture that a lower bar skips at the top.
    const int skipped = height < kLightImageHeight ? (kLightImageHeight - height) / 2 + 1 : 0;
    for (int y = 0; y < height; ++y) {
        const int imageRow = std::min(kLightImageHeight - 1, y + (skipped + height <= kLightImageHeight ? skipped : 0));
        const bool edgeRow = imageRow == 0 || imageRow == kLightImageHeight - 1;
        const double peak = edgeRow ? 134.0 : 90.0;
        uint32_t* row = light.ScanLine(y);
        for (int x = 0; x < length; ++x) {
            const double t = (x + 0.5) / length;  // 0 .. 1 along the light
            const double rise = 1.0 - std::fabs(2.0 * t - 1.0);
            const auto alpha = static_cast<uint32_t>(peak * rise);
            row[x] = (alpha << 24) | 0x00FFFFFFu;
        }
    }
}

TsGauge::TsGauge(tk::TComponent* owner) : tk::TGraphicControl(owner) {
    FTimer = std::make_unique<tk::TTimer>(nullptr);
    FTimer->SetEnabled(false);
    FTimer->SetInterval(kGaugeLightIntervalMs);
    FTimer->OnTimer = [this](tk::TObject*) { LightStep(); };
    SetBounds(0, 0, 120, 30);
    FSkinData.Loaded();
}

TsGauge::~TsGauge() {
    MarkDestroying();
    FTimer->SetEnabled(false);
}

void TsGauge::Loaded() {
    tk::TGraphicControl::Loaded();
    // Stored values are taken in any order; a pair left reversed is put the right way round.
    if (FMinValue > FMaxValue) std::swap(FMinValue, FMaxValue);
    FCurValue = std::clamp(FCurValue, FMinValue, FMaxValue);
    FSkinData.Loaded();
    if (FAnimated) FTimer->SetEnabled(true);
}

int TsGauge::PercentDone() const { return GaugePercent(FMinValue, FMaxValue, FCurValue); }

std::wstring TsGauge::Text() const {
    std::wstring text = std::to_wstring(FCalcPercents ? PercentDone() : FCurValue) + FSuffix;
    if (OnPaintText) OnPaintText(const_cast<TsGauge*>(this), text);
    return text;
}

int TsGauge::FilledWidth() const {
    if (Width() <= 0) return 0;
    return std::min(RoundHalfEven(static_cast<double>(Width()) * PercentDone() / 100.0), Width());
}

void TsGauge::Refresh() {
    FSkinData.BGChanged = true;
    Repaint();
}

void TsGauge::SetProgress(int value) {
    const std::wstring textBefore = Text();
    const int filledBefore = FilledWidth();
    const int limited = std::clamp(value, FMinValue, FMaxValue);
    if (limited == FCurValue) return;
    FCurValue = limited;
    // The raw value can change while the percentage does not: any change that shows repaints.
    if (Text() != textBefore || FilledWidth() != filledBefore) {
        if (!acSkinChanging) FSkinData.BGChanged = true;
        Repaint();
    }
    if (OnChange) OnChange(this);
}

void TsGauge::AddProgress(int n) {
    SetProgress(static_cast<int>(std::clamp<int64_t>(int64_t(FCurValue) + n, INT32_MIN, INT32_MAX)));
    Refresh();
}

void TsGauge::SetMinValue(int v) {
    if (v == FMinValue) return;
    if (v > FMaxValue && !IsLoading())
        throw tk::EInvalidOperation(GaugeRangeError(-2147483647, int64_t(FMaxValue) - 1));
    FMinValue = v;
    if (FCurValue < v) FCurValue = v;
    Refresh();
}

void TsGauge::SetMaxValue(int v) {
    if (v == FMaxValue) return;
    if (v < FMinValue && !IsLoading())
        throw tk::EInvalidOperation(GaugeRangeError(int64_t(FMinValue) + 1, 2147483647));
    FMaxValue = v;
    if (FCurValue > v) FCurValue = v;
    Refresh();
}

void TsGauge::SetKind(TsGaugeKind v) {
    if (v == FKind) return;
    FKind = v;
    Refresh();
}

void TsGauge::SetShowText(bool v) {
    if (v == FShowText) return;
    FShowText = v;
    Refresh();
}

void TsGauge::SetSuffix(const std::wstring& v) {
    if (v == FSuffix) return;
    FSuffix = v;
    FSkinData.Invalidate();
}

void TsGauge::SetCalcPercents(bool v) {
    if (v == FCalcPercents) return;
    FCalcPercents = v;
    FSkinData.Invalidate();
}

void TsGauge::SetForeColor(tk::TColor v) {
    if (v == FForeColor) return;
    FForeColor = v;
    Repaint();
}

void TsGauge::SetBackColor(tk::TColor v) {
    if (v == FBackColor) return;
    FBackColor = v;
    Refresh();
}

void TsGauge::SetBorderStyle(TsGaugeBorderStyle v) {
    if (v == FBorderStyle) return;
    FBorderStyle = v;
    Refresh();
}

void TsGauge::SetProgressSkin(const std::wstring& v) {
    if (v == FProgressSkin) return;
    FProgressSkin = v;
    DropProgressPicture();
    Refresh();
}

void TsGauge::SetAnimated(bool v) {
    if (v == FAnimated) return;
    FAnimated = v;
    DropProgressPicture();
    FTimer->SetEnabled(v);
    if (!v) FSkinData.Invalidate();
}
void BlendLightThroughRegion(rd::TBitmap32& picture, const rd::TBitmap32& light, const rd::TBitmap32& region, int animPos,
                             int left, int right) {
    left = std::max({left, 0, animPos});
    right = std::min({right, picture.Width, region.Width, animPos + light.Width});
    const int rows = std::min({picture.Height, region.Height, light.Height});
    for (int y = 0; y < rows; ++y) {
        uint32_t* row = picture.Row(y);
        const uint32_t* mask = region.Row(y);
        const uint32_t* glow = light.Row(y);
        for (int x = left; x < right; ++x) {
            const int m = static_cast<int>((mask[x] >> 16) & 0xFF);
            if (m == 255) continue;
            const uint32_t lp = glow[x - animPos];
            int a = static_cast<int>(lp >> 24);
            if (m > 0) a = (255 - m) * a / 256;
            uint32_t out = row[x] & 0xFF000000u;
            for (int shift = 0; shift <= 16; shift += 8) {
                const int c = static_cast<int>((row[x] >> shift) & 0xFF), l = static_cast<int>((lp >> shift) & 0xFF);
                out |= static_cast<uint32_t>(c + (l - c) * a / 256) << shift;
            }
            row[x] = out;
        }
    }
}

void TsGauge::DropProgressPicture() {
    FTmpProgressBmp.reset();
    FTmpRegionBmp.reset();
}

// ---- Light ----

void TsGauge::LightStep() {
    if (!FSkinData.Skinned()) {
        FTimer->SetEnabled(false);
        return;
    }
    if (FLongTime > kGaugeLightRunMs) {
        FAnimPos = -kGaugeLightLength;
        FLongTime = 0;
    }
    FLongTime += static_cast<int>(kGaugeLightIntervalMs);
    const int length = FKind == TsGaugeKind::gkVerticalBar ? Height() : Width();
    if (FAnimPos >= length) return;
    tk::TWinControl* parent = Parent();
    if (Visible() && FCurValue > 0 && parent && parent->HandleAllocated() && IsWindowVisible(parent->Handle())) {
        HDC dc = GetDC(parent->Handle());
        SetViewportOrgEx(dc, Left(), Top(), nullptr);
        IntersectClipRect(dc, 0, 0, Width(), Height());
        if (PrepareCache()) CopyCacheTo(dc);
        FSkinData.EmptyCache();
        ReleaseDC(parent->Handle(), dc);
    }
    FAnimPos += std::max(15, RoundHalfEven(length / (static_cast<double>(kGaugeLightRunMs) / 44)));
}

void TsGauge::DrawLight(rd::TBitmap32* picture, int filled, const rd::TBitmap32* region) {
    const int height = picture->Height;
    if (!FLight || FLight->Width() != kGaugeLightLength || FLight->Height() != height) {
        if (!FLight) FLight = std::make_unique<TacCacheBitmap>();
        MakeGaugeLight(*FLight, kGaugeLightLength, height);
    }
    const int left = std::max(0, FAnimPos), right = std::min(filled, FAnimPos + kGaugeLightLength);
    if (right <= left) return;
    GdiFlush();
    if (region) {
        BlendLightThroughRegion(*picture, *FLight->View(), *region, FAnimPos, left, right);
        return;
    }
    rd::AlphaOver32(rd::TRect{left, 0, right, height}, rd::TRect{left - FAnimPos, 0, right - FAnimPos, height}, picture,
                    false, rd::TCacheInfo{}, FLight->View());
}

// ---- Painting ----

int TsGauge::ProgressSectionIndex() const {
    const TSkinModel* model = FSkinData.ActiveModel();
    if (!model) return -1;
    if (!FProgressSkin.empty()) return model->GetSkinIndex(FProgressSkin);
    const bool horizontal = FKind != TsGaugeKind::gkVerticalBar || FAnimated;
    int index = model->GetSkinIndex(horizontal ? L"PROGRESSH" : L"PROGRESSV");
    if (!model->IsValidSkinIndex(index) && !horizontal) index = model->GetSkinIndex(L"PROGRESSH");
    return index;
}

void TsGauge::WriteSectionText(tk::TBitmap& picture, int sectionIndex, RECT rect) {
    HDC dc = picture.Canvas().Handle();
    HGDIOBJ oldFont = SelectObject(dc, Font().Handle());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, static_cast<COLORREF>(rd::ColorToRGB(Font().Color)));
    rd::WriteSkinText(dc, Text(), Enabled(), FSkinData.ActiveModel(), 0, sectionIndex, kTextFormat, rect);
    SelectObject(dc, oldFont);
    GdiFlush();
}

const rd::TBitmap32* TsGauge::LightRegion(int sectionIndex, int length, int thickness) {
    const TSkinModel* model = FSkinData.ActiveModel();
    if (!model || !model->IsValidSkinIndex(sectionIndex) || (FSkinData.Section() && FSkinData.Section()->ReservedBoolean))
        return nullptr;
    const int maskIndex = model->GetMaskIndex(sectionIndex, model->gd[static_cast<size_t>(sectionIndex)].ClassName, L"LRGN");
    if (maskIndex < 0 || maskIndex >= static_cast<int>(model->ma.size())) return nullptr;
    if (SameSize(FTmpRegionBmp.get(), length, thickness)) return FTmpRegionBmp->View();
    if (!FTmpRegionBmp) FTmpRegionBmp = std::make_unique<TacCacheBitmap>();
    FTmpRegionBmp->SetSize(length, thickness);
    rd::TBitmap32* region = FTmpRegionBmp->View();
    const rd::TRect whole{0, 0, length, thickness};
    rd::FillPixels32(region, whole, rd::clWhite, 0xFF);
    rd::PaintMaskNinePart(region, whole, rd::CacheInfoForBitmap(region, 0, 0), true, 0,
                          model->ma[static_cast<size_t>(maskIndex)]);
    return region;
}

// Steps shared by both bars: the filled part of length `filled` across the whole of picture
// (reused while its size holds), then the light.
void TsGauge::BuildBarPicture(TacCacheBitmap& picture, const rd::TCacheInfo& behind, int sectionIndex) {
    const TSkinModel* model = FSkinData.ActiveModel();
    const int length = picture.Width(), thickness = picture.Height();
    if (SameSize(FTmpProgressBmp.get(), length, thickness)) {
        CopyPixels(*picture.View(), *FTmpProgressBmp->View(), 0, 0);
    } else {
        const rd::TRect whole{0, 0, length, thickness};
        if (FSkinData.Section() && FSkinData.Section()->ReservedBoolean)
            rd::PaintSectionBackground(sectionIndex, L"", behind, rd::clMagenta, -1, -1, model, picture.View(), {0, 0},
                                       whole, 0);
        else
            rd::PaintSectionFace(sectionIndex, L"", behind, -1, -1, model, picture.View(), {0, 0}, whole, 0);
        if (!FTmpProgressBmp) FTmpProgressBmp = std::make_unique<TacCacheBitmap>();
        FTmpProgressBmp->SetSize(length, thickness);
        CopyPixels(*FTmpProgressBmp->View(), *picture.View(), 0, 0);
    }
    if (FAnimated && FAnimPos < length + kGaugeLightLength) {
        const bool lit = std::max(0, FAnimPos) < std::min(length, FAnimPos + kGaugeLightLength);
        DrawLight(picture.View(), length, lit ? LightRegion(sectionIndex, length, thickness) : nullptr);
    }
}

void TsGauge::PaintHorizontalBar(TacCacheBitmap& cache, int sectionIndex) {
    const int filled = FilledWidth(), height = Height();
    const TSkinModel* model = FSkinData.ActiveModel();
    if (filled <= 0 || !model || !model->IsValidSkinIndex(sectionIndex)) return;
    TacCacheBitmap picture(filled, height);
    BuildBarPicture(picture, rd::CacheInfoForBitmap(cache.View(), 0, 0), sectionIndex);
    if (FShowText) WriteSectionText(picture, sectionIndex, RECT{0, 0, Width(), height});
    CopyPixels(*cache.View(), *picture.View(), 0, 0);
}

int TsGauge::FilledHeight() const {
    if (Height() <= 0) return 0;
    return std::min(RoundHalfEven(static_cast<double>(Height()) * PercentDone() / 100.0), Height());
}

// A running light moves along the bar, so an animated vertical bar is built lying down (its
// start at the left), with what lies behind it turned the same way, and turned back upright.
void TsGauge::PaintVerticalAnimatedBar(TacCacheBitmap& cache, int sectionIndex) {
    const int width = Width(), height = Height(), filled = FilledHeight();
    const TSkinModel* model = FSkinData.ActiveModel();
    if (filled <= 0 || !model || !model->IsValidSkinIndex(sectionIndex)) return;
    const rd::TBitmap32& upright = *cache.View();
    TacCacheBitmap behind(filled, width), lying(filled, width);
    for (int y = 0; y < width; ++y)
        for (int x = 0; x < filled; ++x) behind.View()->Row(y)[x] = upright.Row(height - 1 - x)[y];
    BuildBarPicture(lying, rd::CacheInfoForBitmap(behind.View(), 0, 0), sectionIndex);
    const int top = height - filled;
    TacCacheBitmap picture(width, filled);
    for (int y = 0; y < filled; ++y)
        for (int x = 0; x < width; ++x) picture.View()->Row(y)[x] = lying.View()->Row(x)[filled - 1 - y];
    if (FShowText) WriteSectionText(picture, sectionIndex, RECT{0, -top, width, height - top});
    CopyPixels(*cache.View(), *picture.View(), 0, top);
}

void TsGauge::PaintVerticalBar(TacCacheBitmap& cache, int sectionIndex) {
    const int height = Height(), width = Width();
    const TSkinModel* model = FSkinData.ActiveModel();
    const int filled = FilledHeight();
    if (filled <= 0 || !model || !model->IsValidSkinIndex(sectionIndex)) return;
    const int top = height - filled;
    TacCacheBitmap picture(width, filled);
    const rd::TCacheInfo behind = rd::CacheInfoForBitmap(cache.View(), 0, top);
    rd::PaintSectionFace(sectionIndex, L"", behind, -1, -1, model, picture.View(), {0, 0}, rd::TRect{0, 0, width, filled},
                         0);
    if (FShowText) WriteSectionText(picture, sectionIndex, RECT{0, -top, width, height - top});
    CopyPixels(*cache.View(), *picture.View(), 0, top);
}

void TsGauge::PaintFigure(TacCacheBitmap& cache) {
    HDC dc = cache.Canvas().Handle();
    const int w = Width(), h = Height();
    const double percent = PercentDone();
    HPEN pen = CreatePen(PS_SOLID, 1, static_cast<COLORREF>(rd::ColorToRGB(FForeColor)));
    HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(rd::ColorToRGB(FForeColor)));
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    const double pi = 3.14159265358979323846;
    if (FKind == TsGaugeKind::gkPie) {
        Ellipse(dc, 0, 0, w, h);
        if (percent >= 1) {
            const double angle = (percent / 50 + 0.5) * pi;
            const int x = w / 2 + RoundHalfEven(w / 2.0 * std::cos(angle)), y = h / 2 - RoundHalfEven(h / 2.0 * std::sin(angle));
            SelectObject(dc, brush);
            Pie(dc, 0, 0, w, h, x, y, w / 2, 0);
        }
    } else {
        Pie(dc, 0, 0, w, h * 2 - 1, w, h, 0, h);
        MoveToEx(dc, 0, h - 1, nullptr);
        LineTo(dc, w, h - 1);
        if (percent >= 1) {
            const double angle = percent / 100 * pi;
            MoveToEx(dc, w / 2, h - 1, nullptr);
            LineTo(dc, w / 2 - RoundHalfEven(w / 2.0 * std::cos(angle)), h - 1 - RoundHalfEven((h - 1) * std::sin(angle)));
        }
    }
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(pen);
    DeleteObject(brush);
    GdiFlush();
}

void TsGauge::PaintContent(TacCacheBitmap& cache) {
    if (FShowText) {
        tk::TCanvas& canvas = cache.Canvas();
        canvas.Font.Assign(Font());
        WriteControlText(canvas, Text(), Enabled(), false, FSkinData, kTextFormat, RECT{0, 0, Width(), Height()});
        GdiFlush();
    }
    switch (FKind) {
        case TsGaugeKind::gkHorizontalBar: PaintHorizontalBar(cache, ProgressSectionIndex()); break;
        case TsGaugeKind::gkVerticalBar:
            if (FAnimated) PaintVerticalAnimatedBar(cache, ProgressSectionIndex());
            else PaintVerticalBar(cache, ProgressSectionIndex());
            break;
        case TsGaugeKind::gkPie: case TsGaugeKind::gkNeedle: PaintFigure(cache); break;
        case TsGaugeKind::gkText: break;
    }
}

bool TsGauge::PrepareCache() {
    if (!FSkinData.Skinned() || Width() <= 0 || Height() <= 0) return false;
    TacCacheBitmap* cache = FSkinData.InitCacheBmp();
    if (!cache || cache->Empty()) return false;
    rd::TCacheInfo behind;
    FSkinData.GetParentCache(behind);
    const rd::TRect whole{0, 0, Width(), Height()};
    const TsGeneralData* section = FSkinData.Section();
    const bool borderOverBar = section && section->ReservedBoolean &&
                               (FKind == TsGaugeKind::gkHorizontalBar || FKind == TsGaugeKind::gkVerticalBar);
    if (borderOverBar) {
        PaintControlBackground(FSkinData, behind, 0, cache->View(), {0, 0}, whole);
        PaintContent(*cache);
        if (const TsMaskData* border = FSkinData.BorderMask())
            rd::PaintMaskNinePart(cache->View(), whole, behind, true, 0, *border);
    } else {
        PaintControlFace(FSkinData, behind, true, cache->View(), {0, 0}, whole, 0);
        PaintContent(*cache);
    }
    FSkinData.BGChanged = false;
    return true;
}

void TsGauge::CopyCacheTo(HDC dc) {
    TacCacheBitmap* cache = FSkinData.FCacheBmp.get();
    if (!cache || cache->Empty()) return;
    BitBlt(dc, 0, 0, cache->Width(), cache->Height(), cache->Canvas().Handle(), 0, 0, SRCCOPY);
}

void TsGauge::Paint(tk::TCanvas& canvas) {
    if (Width() <= 0 || Height() <= 0) return;
    if (!FSkinData.Skinned()) {
        PaintPlain(canvas);
        return;
    }
    if (FSkinData.FUpdating) {
        SetPixel(canvas.Handle(), 0, 0, 0xFF00FF);
        return;
    }
    if (PrepareCache()) CopyCacheTo(canvas.Handle());
    FSkinData.EmptyCache();
}

// The toolkit's gauge: BackColor inside a one-pixel border, the bar in ForeColor, the text
// combined by XOR so that it inverts what lies under it.
void TsGauge::PaintPlain(tk::TCanvas& canvas) {
    const int w = Width(), h = Height();
    tk::TBitmap picture(w, h);
    HDC dc = picture.Canvas().Handle();
    RECT r{0, 0, w, h};
    HBRUSH back = CreateSolidBrush(static_cast<COLORREF>(rd::ColorToRGB(FBackColor)));
    HBRUSH fore = CreateSolidBrush(static_cast<COLORREF>(rd::ColorToRGB(FForeColor)));
    FillRect(dc, &r, back);
    if (FBorderStyle == TsGaugeBorderStyle::bsSingle) {
        FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        InflateRect(&r, -1, -1);
    }
    const int inner = r.right - r.left, innerH = r.bottom - r.top;
    RECT bar = r;
    if (FKind == TsGaugeKind::gkVerticalBar)
        bar.top = r.bottom - std::min(RoundHalfEven(innerH * PercentDone() / 100.0), innerH);
    else
        bar.right = r.left + std::min(RoundHalfEven(inner * PercentDone() / 100.0), inner);
    if (FKind == TsGaugeKind::gkHorizontalBar || FKind == TsGaugeKind::gkVerticalBar) FillRect(dc, &bar, fore);
    if (FShowText) {
        tk::TBitmap text(w, h);
        HDC tdc = text.Canvas().Handle();
        RECT all{0, 0, w, h};
        FillRect(tdc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        HGDIOBJ oldFont = SelectObject(tdc, Font().Handle());
        SetBkMode(tdc, TRANSPARENT);
        SetTextColor(tdc, RGB(255, 255, 255));
        const std::wstring s = Text();
        DrawTextW(tdc, s.c_str(), static_cast<int>(s.size()), &all, kTextFormat);
        SelectObject(tdc, oldFont);
        BitBlt(dc, 0, 0, w, h, tdc, 0, 0, SRCINVERT);
    }
    DeleteObject(back);
    DeleteObject(fore);
    BitBlt(canvas.Handle(), 0, 0, w, h, dc, 0, 0, SRCCOPY);
}

// ---- Messages ----

bool TsGauge::OnSkinCommand(tk::TMessage& m) {
    switch (SkinCmdOf(m.WParam)) {
        case SC_NEWSKIN:
            DropProgressPicture();
            HandleSkinCommand(m, FSkinData);
            return true;
        case SC_REMOVESKIN:
            if (FAnimated) FTimer->SetEnabled(false);
            DropProgressPicture();
            HandleSkinCommand(m, FSkinData);
            Repaint();
            return true;
        case SC_REFRESH:
            DropProgressPicture();
            HandleSkinCommand(m, FSkinData);
            Repaint();
            if (FAnimated) FTimer->SetEnabled(true);
            return true;
        case SC_ENDUPDATE:
            if (FSkinData.FUpdating) {
                FSkinData.FUpdating = false;
                Repaint();
            }
            return true;
        case SC_ISHANDLED: m.Result = 1; return true;
        case SC_FREECACHE: DropProgressPicture(); return true;
        case SC_GETAPPLICATION: m.Result = reinterpret_cast<LRESULT>(tk::Application); return true;
        default: return false;
    }
}

void TsGauge::WndProc(tk::TMessage& m) {
    if (m.Msg == SM_SKINCMD && OnSkinCommand(m)) return;
    if (m.Msg == WM_ERASEBKGND && FSkinData.Skinned()) return;
    if (!HandleCommonMessage(m, FSkinData)) tk::TGraphicControl::WndProc(m);
}

void TsGauge::SetProperty(tk::TReader& reader, const std::string& name, const tk::TValue& v) {
    if (FSkinData.ReadProperty(reader, name, v)) return;
    if (name == "MinValue") SetMinValue(reader.Int(v));
    else if (name == "MaxValue") SetMaxValue(reader.Int(v));
    else if (name == "Progress") FCurValue = reader.Int(v);  // limited once the range is known (Loaded)
    else if (name == "ForeColor") FForeColor = reader.Color(v);
    else if (name == "BackColor") FBackColor = reader.Color(v);
    else if (name == "Suffix") FSuffix = reader.String(v);
    else if (name == "ShowText") FShowText = reader.Bool(v);
    else if (name == "CalcPercents") FCalcPercents = reader.Bool(v);
    else if (name == "Animated") FAnimated = reader.Bool(v);
    else if (name == "ProgressSkin") FProgressSkin = reader.String(v);
    else tk::TGraphicControl::SetProperty(reader, name, v);
}

}  // namespace sk
