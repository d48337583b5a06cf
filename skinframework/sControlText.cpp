#include "skinframework/sControlText.h"

#include <algorithm>
#include <memory>

#include "skinframework/sSkinManager.h"
#include "skinframework/sVclUtils.h"
#include "skinpaint/sTextOutput.h"

namespace sk {

namespace {

void DrawPass(HDC dc, const std::wstring& text, RECT rect, UINT format, rd::TColor color) {
    SetTextColor(dc, static_cast<COLORREF>(rd::ColorToRGB(color)));
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, format);
}

RECT Moved(RECT rect, int dx, int dy) {
    OffsetRect(&rect, dx, dy);
    return rect;
}

// The property set of a section for the hot flag: the hot set only where the section has it.
const TsGenState& StateProps(const TsGeneralData& section, bool hot) {
    return section.Props[hot && section.States > 1 ? 1 : 0];
}

bool IsTextOnParentSection(const TSkinModel& model, int skinIndex) {
    const TacIntSections& group = model.ConstData.Sections;
    return skinIndex >= 0 && std::find(group.begin(), group.end(), skinIndex) != group.end();
}

// The section whose colours the caption takes: the control's own, or, for a (partly)
// transparent section of the text-on-parent group, the parent's when that gives its font.
int TextSection(TsCommonData& common, const TSkinModel& model, bool hot) {
    const int own = common.SkinIndex;
    if (common.FCustomFont || !model.IsValidSkinIndex(own) || !IsTextOnParentSection(model, own)) return own;
    if (StateProps(model.gd[static_cast<size_t>(own)], hot).Transparency <= 0) return own;
    if (!common.FOwnerControl || !common.FOwnerControl->Parent()) return own;
    const int parent = FindFontSection(common.FOwnerControl, model);
    return model.IsValidSkinIndex(parent) && model.gd[static_cast<size_t>(parent)].GiveOwnFont ? parent : own;
}

rd::TControlColorAdjust AdjustmentOf(const TsCommonData& common) {
    return {common.FColorTone, common.FHUEOffset, common.FSaturation};
}

// A blurred copy of the text in the state's glow colour, into the control's cache.
void DrawGlow(TsCommonData& common, HFONT font, const std::wstring& text, RECT rect, const TsGenState& props,
              UINT format) {
    if (!common.FCacheBmp || common.FCacheBmp->Empty() || props.GlowSize == 0) return;
    GdiFlush();  // the cache's pixels are written directly below
    std::unique_ptr<rd::TMemBitmap8> shadow;
    rd::WriteTextShadowed(common.FCacheBmp->View(), font, text, {rect.left, rect.top, rect.right, rect.bottom}, shadow,
                          rd::AdjustControlColor(props.GlowColor, AdjustmentOf(common)), props.GlowSize, rd::ssAll,
                          format);
}

// Contours (left, top, right, bottom, each one pixel that way) under the main colour.
void DrawSkinPasses(HDC dc, const std::wstring& text, RECT rect, UINT format, const TsFontColor& colors,
                    const rd::TControlColorAdjust& adjust) {
    const struct {
        rd::TColor TsFontColor::*side;
        int dx, dy;
    } contours[] = {{&TsFontColor::Left, -1, 0},
                    {&TsFontColor::Top, 0, -1},
                    {&TsFontColor::Right, 1, 0},
                    {&TsFontColor::Bottom, 0, 1}};
    for (const auto& contour : contours) {
        const rd::TColor color = colors.*contour.side;
        if (color != -1) DrawPass(dc, text, Moved(rect, contour.dx, contour.dy), format, rd::AdjustControlColor(color, adjust));
    }
    DrawPass(dc, text, rect, format | rd::kNoClip, rd::AdjustControlColor(colors.Color, adjust));
}

void DrawSkinnedText(HDC dc, HFONT font, const std::wstring& text, bool enabled, bool hot, TsCommonData& common,
                     const TSkinModel& model, int section, rd::TColor canvasColor, UINT format, RECT rect) {
    if (!model.IsValidSkinIndex(section)) {
        DrawPass(dc, text, rect, format, canvasColor);
        return;
    }
    const TsGenState& props = StateProps(model.gd[static_cast<size_t>(section)], hot);
    DrawGlow(common, font, text, rect, props, format);
    const rd::TControlColorAdjust adjust = AdjustmentOf(common);
    if (!enabled)
        DrawPass(dc, text, rect, format, rd::AdjustControlColor(props.FontColor.Color, adjust));
    else if (common.FCustomFont)
        DrawPass(dc, text, rect, format | rd::kNoClip, canvasColor);
    else
        DrawSkinPasses(dc, text, rect, format, props.FontColor, adjust);
}

// An ordinary control's text; disabled text is embossed: highlight one pixel down and right,
// shadow on top.
void DrawPlainText(HDC dc, const std::wstring& text, bool enabled, rd::TColor canvasColor, UINT format, RECT rect) {
    if (enabled) {
        DrawPass(dc, text, rect, format, canvasColor);
        return;
    }
    DrawPass(dc, text, Moved(rect, 1, 1), format, tk::clBtnHighlight);
    DrawPass(dc, text, rect, format, tk::clBtnShadow);
}

}  // namespace

int FindFontSection(tk::TControl* control, const TSkinModel& model) {
    for (tk::TWinControl* parent = control ? control->Parent() : nullptr; parent; parent = parent->Parent()) {
        TacSectionInfo info;
        info.SkinIndex = -1;
        PerformSkinCmd(parent, SC_GETSKININDEX, reinterpret_cast<LPARAM>(&info));
        const bool topLevel = parent->Parent() == nullptr;
        if (!model.IsValidSkinIndex(info.SkinIndex)) {
            if (topLevel) return -1;
            continue;
        }
        const TsGeneralData& section = model.gd[static_cast<size_t>(info.SkinIndex)];
        const bool fillsCentre =
            model.IsValidImgIndex(section.BorderIndex) && (model.ma[static_cast<size_t>(section.BorderIndex)].DrawMode & 4);
        if (section.Props[0].Transparency <= 50 || fillsCentre || topLevel) return info.SkinIndex;
    }
    return -1;
}

void WriteControlText(tk::TCanvas& canvas, const std::wstring& text, bool enabled, bool hot, TsCommonData& common,
                      UINT format, RECT rect) {
    HDC dc = canvas.Handle();
    if (text.empty() || !dc) return;
    const bool skinned = common.Skinned();
    const TSkinModel* model = skinned ? &common.SkinManager()->Model() : nullptr;
    // The font is a copy, so that the web button's hot underline leaves the canvas's font alone;
    // it outlives the saved DC state that selects it.
    tk::TFont font;
    font.Assign(canvas.Font);
    if (model && hot && common.SkinIndex >= 0 && common.SkinIndex == model->ConstData.Sections[ssWebBtn])
        font.Style |= tk::fsUnderline;
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
    SetBkMode(dc, TRANSPARENT);
    SelectObject(dc, font.Handle());
    if (model)
        DrawSkinnedText(dc, font.Handle(), text, enabled, hot, common, *model, TextSection(common, *model, hot),
                        canvas.Font.Color, format, rect);
    else
        DrawPlainText(dc, text, enabled, canvas.Font.Color, format, rect);
    RestoreDC(dc, saved);
}

}  // namespace sk
