#include "skin/acColorAdjust.h"

#include <algorithm>
#include <set>
#include <vector>

#include "render/acArithmetic.h"
#include "skin/SkinModel.h"

namespace sk {

namespace {

constexpr rd::TColor kKey = 0x00FF00FF;
const wchar_t* const kGlobal = L"GLOBALINFO";

using TColorOp = uint32_t (*)(uint32_t color, int amount);

uint32_t HueOfColor(uint32_t c, int offset) { return rd::ShiftHueOfColor(offset, c); }
uint32_t SaturationOfColor(uint32_t c, int amount) { return rd::ShiftSaturation(amount, c); }
uint32_t BrightnessOfColor(uint32_t c, int amount) { return rd::ShiftBrightness(c, amount); }

// A system colour (negative value) is resolved to its RGB value first: the operations work on
// the colour's channels, and the value's bits would otherwise name another system colour.
void ApplyToColor(rd::TColor& color, TColorOp op, int amount) {
    color = static_cast<rd::TColor>(op(static_cast<uint32_t>(rd::ColorToRGB(color)), amount));
}
void ApplyUnlessNone(rd::TColor& color, TColorOp op, int amount) {
    if (color != -1) ApplyToColor(color, op, amount);
}

void CopyRect(const rd::TBitmap32& target, const rd::TBitmap32& source, rd::TRect r) {
    rd::TBitmap32 to = rd::ViewOfRect(target, r), from = rd::ViewOfRect(source, r);
    for (int y = 0; y < to.Height; ++y) std::copy_n(from.Row(y), to.Width, to.Row(y));
}

void ForEachPixelIn(rd::TBitmap32 view, rd::TPixelOp op, int amount) {
    if (view.Row0) rd::ForEachPixel(&view, op, amount, kKey);
}

// Every section colour the three adjustments touch; gradients of a state only when allowed.
void ApplyToSections(TSkinModel& m, TColorOp op, int amount, bool gradientsOnlyWhenUsed) {
    for (TsGeneralData& g : m.gd) {
        for (TsGenState& s : g.Props) {
            if (!gradientsOnlyWhenUsed || s.GradientPercent > 0)
                for (auto& pie : s.GradientArray) {
                    ApplyToColor(pie.Color1, op, amount);
                    ApplyToColor(pie.Color2, op, amount);
                }
            ApplyUnlessNone(s.Color, op, amount);
            ApplyUnlessNone(s.GlowColor, op, amount);
            for (rd::TColor* c : {&s.FontColor.Color, &s.FontColor.Left, &s.FontColor.Top, &s.FontColor.Right,
                                  &s.FontColor.Bottom})
                ApplyUnlessNone(*c, op, amount);
        }
        CopyStatesToFields(g);
    }
}

constexpr TacPaletteColors kTintedPalette[] = {
    pcMainColor,         pcLabelText,        pcWebText,           pcEditText,          pcEditBG,
    pcSelectionBG,       pcSelectionText,    pcSelectionBG_Focused, pcSelectionText_Focused,
    pcEditBG_Inverted,   pcEditText_Inverted, pcEditBG_OddRow,    pcEditBG_EvenRow,    pcBorder};

void ApplyToShadowAndPalette(TSkinModel& m, TColorOp op, int amount) {
    ApplyToColor(m.CommonSkinData->Shadow1Color, op, amount);
    for (TacPaletteColors c : kTintedPalette) ApplyToColor(m.Palette[c], op, amount);
}

// The title-bar buttons whose hue the skin keeps (BIKEEPHUE).
std::vector<const wchar_t*> KeptHueButtons(int keepHue) {
    std::vector<const wchar_t*> keys = {L"BICONCLOSE", L"BICLOSEALONE", L"SICONCLOSE"};
    if (keepHue == 1)
        keys.insert(keys.end(), {L"BICONMAX", L"BICONMIN", L"BICONNORM", L"BICONHELP", L"SICONMAX", L"SICONMIN",
                                 L"SICONNORM"});
    return keys;
}

void RotateHue(TSkinModel& m, int offset) {
    std::vector<rd::TRect> keptRects;
    std::set<int> keptMasks;
    if (m.CommonSkinData->BIKeepHUE >= 1)
        for (const wchar_t* key : KeptHueButtons(m.CommonSkinData->BIKeepHUE)) {
            const int i = m.GetMaskIndex(kGlobal, key);
            if (i < 0) continue;
            if (!m.ma[i].Bmp) {
                keptRects.push_back(m.ma[i].R);
                continue;
            }
            keptMasks.insert(i);
            const int glow = m.GetMaskIndex(kGlobal, std::wstring(key) + L"GLOW0");
            if (glow >= 0) keptMasks.insert(glow);
        }
    if (m.MasterBitmap) {
        const rd::TMemBitmap32 original = keptRects.empty() ? rd::TMemBitmap32() : *m.MasterBitmap;
        rd::ForEachPixel(m.MasterBitmap.get(), rd::PixelShiftHue, offset, kKey);
        for (const rd::TRect& r : keptRects) CopyRect(*m.MasterBitmap, original, r);
    }
    for (size_t i = 0; i < m.ma.size(); ++i)
        if (m.ma[i].Bmp && !keptMasks.count(static_cast<int>(i)))
            rd::ForEachPixel(m.ma[i].Bmp.get(), rd::PixelShiftHue, offset, kKey);
    ApplyToSections(m, HueOfColor, offset, true);
    ApplyToShadowAndPalette(m, HueOfColor, offset);
}

void ChangeSaturation(TSkinModel& m, int percent) {
    const int amount = SaturationAmount(percent);
    if (m.MasterBitmap) rd::ForEachPixel(m.MasterBitmap.get(), rd::PixelShiftSaturation, amount, kKey);
    for (TsMaskData& mask : m.ma)
        if (mask.Bmp) rd::ForEachPixel(mask.Bmp.get(), rd::PixelShiftSaturation, amount, kKey);
    ApplyToSections(m, SaturationOfColor, amount, false);
    ApplyToShadowAndPalette(m, SaturationOfColor, amount);
}

// The lower half of a two-row mask (its pressed-looking second row) keeps its brightness.
rd::TRect LowerHalf(const rd::TRect& r) {
    return {r.Left, r.Top + (r.Bottom - r.Top) / 2, r.Right, r.Bottom};
}

void ChangeBrightness(TSkinModel& m, int amount) {
    if (m.MasterBitmap) {
        std::vector<rd::TRect> kept;
        for (const TsMaskData& mask : m.ma)
            if (!mask.Bmp && mask.MaskType == 1) kept.push_back(LowerHalf(mask.R));
        const rd::TMemBitmap32 original = kept.empty() ? rd::TMemBitmap32() : *m.MasterBitmap;
        rd::ForEachPixel(m.MasterBitmap.get(), rd::PixelShiftBrightness, amount, kKey);
        for (const rd::TRect& r : kept) CopyRect(*m.MasterBitmap, original, r);
    }
    for (TsMaskData& mask : m.ma) {
        if (!mask.Bmp) continue;
        rd::TBitmap32& bmp = *mask.Bmp;
        if (mask.MaskType == 0) {
            rd::ForEachPixel(&bmp, rd::PixelShiftBrightness, amount, kKey);
            if (amount > 0) PreparePng(bmp, m.CommonSkinData->Version);
        } else {
            ForEachPixelIn(rd::ViewOfRect(bmp, {0, 0, bmp.Width, bmp.Height / 2}), rd::PixelShiftBrightness, amount);
        }
    }
    ApplyToSections(m, BrightnessOfColor, amount, false);
}

}  // namespace

int SaturationAmount(int percent) {
    return std::clamp(rd::TruncPercentOf255(percent), -255, 255);
}

void AdjustSkinColors(TSkinModel& model, const TColorAdjustment& a) {
    if (!model.CommonSkinData) return;
    if (a.HueOffset != 0) RotateHue(model, a.HueOffset);
    if (a.Saturation != 0) ChangeSaturation(model, a.Saturation);
    if (a.Brightness != 0) ChangeBrightness(model, a.Brightness);
}

}  // namespace sk
