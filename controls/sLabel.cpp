#include "controls/sLabel.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "render/sAlphaGraph.h"
#include "skinframework/sSkinManager.h"
#include "skinframework/sVclUtils.h"
#include "skinpaint/sSectionPaint.h"
#include "skinpaint/sTextOutput.h"
#include "toolkit/DescriptionReader.h"
#include "toolkit/ShellOpen.h"

namespace sk {

namespace {

constexpr UINT kEllipsisFlags = DT_PATH_ELLIPSIS | DT_END_ELLIPSIS | DT_WORD_ELLIPSIS;

COLORREF Rgb(rd::TColor color) { return static_cast<COLORREF>(rd::ColorToRGB(color)); }

bool ValidSection(const TSkinModel* model, int index) { return model && model->IsValidSkinIndex(index); }

const TsGenState& NormalProps(const TSkinModel& model, int index) {
    return model.gd[static_cast<size_t>(index)].Props[0];
}

// The height of text laid out with word wrap in width (the font selected in dc).
int WrappedHeight(HDC dc, const std::wstring& text, int width, UINT flags) {
    RECT r{0, 0, std::max(width, 1), 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, (flags & ~kEllipsisFlags) | DT_CALCRECT);
    return r.bottom - r.top;
}

}  // namespace

// ---- TsCustomLabel ----

TsCustomLabel::TsCustomLabel(tk::TComponent* owner) : tk::TLabel(owner) { FTransparent = true; }

void TsCustomLabel::SetSkinSection(const std::wstring& value) {
    if (value == FSkinSection) return;
    FSkinSection = value;
    Invalidate();
}

TsSkinManager* TsCustomLabel::SkinManager() const {
    return FSkinManager ? FSkinManager : TsSkinManager::DefaultManager();
}

void TsCustomLabel::SetSkinManager(TsSkinManager* value) {
    if (value == FSkinManager) return;
    FSkinManager = value;
    Invalidate();
}

const TSkinModel* TsCustomLabel::ActiveModel() const {
    TsSkinManager* manager = SkinManager();
    return manager && manager->Active() && !manager->Destroying() ? &manager->Model() : nullptr;
}

tk::TFont& TsCustomLabel::GetCurrentFont() { return Font(); }

rd::TColor TsCustomLabel::GetCurrentFontColor() {
    if (!Enabled()) return DisabledColor(Font().Color);
    const TSkinModel* model = ActiveModel();
    return model ? model->Palette[pcLabelText] : rd::ColorToRGB(Font().Color);
}

int TsCustomLabel::ParentSection() const {
    if (!Parent()) return -1;
    TacSectionInfo info;
    PerformSkinCmd(Parent(), SC_GETSKININDEX, reinterpret_cast<LPARAM>(&info));
    return ValidSection(ActiveModel(), info.SkinIndex) ? info.SkinIndex : -1;
}

rd::TColor TsCustomLabel::ParentBgColor() const {
    tk::TWinControl* parent = Parent();
    if (!parent) return rd::ColorToRGB(Color());
    if (ActiveModel() && parent->HandleAllocated() && IsSkinnedWindow(parent->Handle()))
        return static_cast<rd::TColor>(PerformSkinCmd(parent, SC_GETBGCOLOR));
    return rd::ColorToRGB(parent->Color());
}

rd::TColor TsCustomLabel::DisabledColor(rd::TColor color) const {
    return static_cast<rd::TColor>(rd::InterpolateColor(static_cast<uint32_t>(rd::ColorToRGB(color)),
                                                        static_cast<uint32_t>(ParentBgColor()),
                                                        rd::DisabledBlendLevel));
}

TLabelPictureKey TsCustomLabel::LabelPictureKey() {
    TLabelPictureKey key;
    key.Left = Left();
    key.Top = Top();
    key.Width = Width();
    key.Height = Height();
    key.Enabled = Enabled();
    key.Transparent = FTransparent;
    key.FontColor = GetCurrentFontColor();
    key.Color = Color();
    key.ParentColor = Parent() ? Parent()->Color() : 0;
    return key;
}

void TsCustomLabel::PaintSkinSection(tk::TCanvas& canvas) {
    FSkinIndex = -1;
    const TSkinModel* model = ActiveModel();
    if (!model || FSkinSection.empty()) return;
    const int index = model->GetSkinIndex(FSkinSection);
    if (!model->IsValidSkinIndex(index)) return;
    FSkinIndex = index;
    static bool syncingFont = false;  // the font colour follows the section's, never re-entered
    const rd::TColor sectionFont = NormalProps(*model, index).FontColor.Color;
    if (!syncingFont && sectionFont != Font().Color) {
        syncingFont = true;
        Font().Color = sectionFont;
        syncingFont = false;
    }
    if (index <= 0 || Width() <= 0 || Height() <= 0) return;
    // The section's face over what the parent painted behind the label so far.
    TacCacheBitmap behind, face;
    behind.SetSize(Width(), Height());
    face.SetSize(Width(), Height());
    BitBlt(behind.Canvas().Handle(), 0, 0, Width(), Height(), canvas.Handle(), 0, 0, SRCCOPY);
    GdiFlush();
    rd::TCacheInfo background;
    background.Bmp = behind.View();
    background.Ready = true;
    rd::PaintSectionFace(index, FSkinSection, background, -1, -1, model, face.View(), {0, 0},
                         {0, 0, Width(), Height()}, 0);
    BitBlt(canvas.Handle(), 0, 0, Width(), Height(), face.Canvas().Handle(), 0, 0, SRCCOPY);
}

void TsCustomLabel::Paint(tk::TCanvas& canvas) {
    PaintSkinSection(canvas);
    tk::TLabel::Paint(canvas);
    FSkinIndex = -1;
}

std::wstring CutWordsToFit(HDC dc, const std::wstring& text, int width, int maxHeight, UINT flags) {
    if (WrappedHeight(dc, text, width, flags) <= maxHeight) return text;
    SIZE dots{0, 0};
    GetTextExtentPoint32W(dc, L"...", 3, &dots);
    std::wstring cut = text;
    for (;;) {
        const size_t blank = cut.find_last_of(L" \t");
        if (blank == std::wstring::npos) break;  // one word left: nothing more to take away
        cut.erase(blank);
        if (WrappedHeight(dc, cut, width - dots.cx, flags) <= maxHeight) break;
    }
    return cut + L"...";
}

void TsCustomLabel::DoDrawText(tk::TCanvas& canvas, RECT& rect, UINT flags) {
    if (!ActiveModel()) {
        tk::TLabel::DoDrawText(canvas, rect, flags);
        return;
    }
    std::wstring text = DrawnText();
    HDC dc = canvas.Handle();
    canvas.Font.Assign(GetCurrentFont());
    SelectObject(dc, canvas.Font.Handle());
    if (FEllipsisPosition != tk::TEllipsisPosition::epNone && !FAutoSize) {
        flags = (flags & ~static_cast<UINT>(DT_EXPANDTABS)) | tk::EllipsisFlag(FEllipsisPosition);
        if (FWordWrap && FEllipsisPosition != tk::TEllipsisPosition::epPathEllipsis && !(flags & DT_CALCRECT)) {
            TEXTMETRICW metrics{};
            GetTextMetricsW(dc, &metrics);
            const int limit = std::max(static_cast<int>(rect.bottom - rect.top), static_cast<int>(metrics.tmHeight));
            text = CutWordsToFit(dc, text, rect.right - rect.left, limit, flags);
        }
    }
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, Rgb(GetCurrentFontColor()));
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, flags);
}

void TsCustomLabel::WndProc(tk::TMessage& m) {
    if (m.Msg == SM_SKINCMD) {
        const WORD cmd = SkinCmdOf(m.WParam);
        if (cmd == SC_NEWSKIN || cmd == SC_REMOVESKIN || cmd == SC_REFRESH) Invalidate();
    }
    tk::TLabel::WndProc(m);
    if (m.Msg == tk::CM_MOUSEENTER && OnMouseEnter) OnMouseEnter(this);
    if (m.Msg == tk::CM_MOUSELEAVE && OnMouseLeave) OnMouseLeave(this);
}

void TsCustomLabel::SetProperty(tk::TReader& reader, const std::string& name, const tk::TValue& v) {
    if (name == "SkinSection") FSkinSection = reader.String(v);
    else if (name == "SkinManager") reader.Skip(v);  // the default manager serves every label here
    else if (name == "OnMouseEnter") OnMouseEnter = reader.NotifyEvent(v);
    else if (name == "OnMouseLeave") OnMouseLeave = reader.NotifyEvent(v);
    else tk::TLabel::SetProperty(reader, name, v);
}

// ---- TsLabel ----

void TsLabel::SetUseSkinColor(bool value) {
    if (value == FUseSkinColor) return;
    FUseSkinColor = value;
    Invalidate();
}

rd::TColor TsLabel::GetCurrentFontColor() {
    const TSkinModel* model = ActiveModel();
    if (!FUseSkinColor || !model) return rd::ColorToRGB(Font().Color);
    int index = FSkinIndex >= 0 ? FSkinIndex : (SkinSection().empty() ? -1 : model->GetSkinIndex(SkinSection()));
    if (ValidSection(model, index)) {
        const TsGeneralData& own = model->gd[static_cast<size_t>(index)];
        if (own.Props[0].Transparency >= 100 && own.BorderIndex < 0) index = -1;  // shows its parent
    }
    if (!ValidSection(model, index)) index = ParentSection();
    const rd::TColor color = index >= 0 ? NormalProps(*model, index).FontColor.Color : model->Palette[pcLabelText];
    return Enabled() ? rd::ColorToRGB(color) : DisabledColor(color);
}

void TsLabel::SetProperty(tk::TReader& reader, const std::string& name, const tk::TValue& v) {
    if (name == "UseSkinColor") FUseSkinColor = reader.Bool(v);
    else TsCustomLabel::SetProperty(reader, name, v);
}

// ---- TsWebLabel ----

TsWebLabel::TUrlOpener TsWebLabel::UrlOpener;

TsWebLabel::TsWebLabel(tk::TComponent* owner) : TsLabel(owner) { SetCursor(tk::crHandPoint); }

tk::TFont& TsWebLabel::GetCurrentFont() { return FMouseAbove ? FHoverFont : Font(); }

rd::TColor TsWebLabel::GetCurrentFontColor() {
    const TSkinModel* model = UseSkinColor() ? ActiveModel() : nullptr;
    if (FMouseAbove) return model ? model->Palette[pcWebTextHot] : rd::ColorToRGB(FHoverFont.Color);
    if (Destroying() || !model) return rd::ColorToRGB(Font().Color);
    const int section = ParentSection();
    return section >= 0 ? rd::ColorToRGB(NormalProps(*model, section).FontColor.Color) : model->Palette[pcWebText];
}

void TsWebLabel::SetMouseAbove(bool value) {
    if (value == FMouseAbove) return;
    FMouseAbove = value;
    // The hover font may have another size.
    if (FAutoSize) AdjustBounds();
    Invalidate();
}

void TsWebLabel::Paint(tk::TCanvas& canvas) {
    TLabelPictureKey key = LabelPictureKey();
    key.Extra[0] = FMouseAbove ? 1 : 0;
    FPicture.Paint(canvas.Handle(), key, [this](tk::TCanvas& picture) { TsLabel::Paint(picture); });
}

void TsWebLabel::Invalidate() {
    FPicture.MarkStale();
    TsLabel::Invalidate();
}

void TsWebLabel::ParentFontChanged() {
    if (!ParentFont() || !Parent()) return;
    const tk::TFont& parentFont = Parent()->Font();
    tk::TFont normal;
    normal.Assign(parentFont);
    normal.Color = Font().Color;
    if (!(normal == Font())) Font().Assign(normal);
    if (FHoverFont.Name != parentFont.Name || FHoverFont.Height != parentFont.Height) {
        FHoverFont.Name = parentFont.Name;
        FHoverFont.Height = parentFont.Height;
        FHoverFont.Changed();
        FPicture.MarkStale();
    }
}

void TsWebLabel::WndProc(tk::TMessage& m) {
    if (ChangesLabelPicture(m.Msg)) FPicture.MarkStale();
    if (m.Msg == tk::CM_MOUSEENTER && Enabled()) SetMouseAbove(true);
    else if (m.Msg == tk::CM_MOUSELEAVE) SetMouseAbove(false);
    TsLabel::WndProc(m);
}

void TsWebLabel::MouseDown(int x, int y) {
    TsLabel::MouseDown(x, y);
    if (FURL.empty()) return;
    if (UrlOpener) UrlOpener(FURL, FShowMode);
    // As the signed-in user: the installer is elevated, the browser should not be.
    else tk::OpenAsDesktopUser(FURL);
}

void TsWebLabel::SetProperty(tk::TReader& reader, const std::string& name, const tk::TValue& v) {
    if (name == "URL") FURL = reader.String(v);
    else if (name == "ShowMode") {
        static const std::vector<std::string> names = {
            "soHide", "soNormal", "soShowMinimized", "soMaximize", "soShowNoActivate", "soShow",
            "soMinimize", "soShowMinNoActive", "soShowNA", "soRestore", "soDefault"};
        FShowMode = static_cast<TsWindowShowMode>(reader.Enum(v, names));
    } else if (name == "HoverFont.Name") FHoverFont.Name = reader.String(v);
    else if (name == "HoverFont.Height") FHoverFont.Height = reader.Int(v);
    else if (name == "HoverFont.Color") FHoverFont.Color = reader.Color(v);
    else if (name == "HoverFont.Style") FHoverFont.Style = reader.FontStyle(v);
    else if (name == "HoverFont.Charset") FHoverFont.Charset = reader.Charset(v);
    else TsLabel::SetProperty(reader, name, v);
}

// ---- TsLabelFX ----

TShadowExtents ShadowExtents(int offset, int blur) {
    return {std::min(0, offset - blur), std::max(0, offset + blur)};
}

void TsShadow::SetBlurCount(int value) {
    if (value == FBlurCount) return;
    FBlurCount = value;
    ParentControl->UpdatePosition();
    ParentControl->Invalidate();
}

void TsShadow::SetDistance(int value) {
    if (value == FDistance) return;
    FDistance = value;
    ParentControl->UpdatePosition();
    ParentControl->Invalidate();
}

void TsShadow::SetColor(rd::TColor value) {
    if (value == FColor) return;
    FColor = value;
    ParentControl->Invalidate();
}

void TsShadow::SetMode(TsShadowMode value) {
    if (value == FMode) return;
    FMode = value;
    ParentControl->UpdatePosition();
    ParentControl->Invalidate();
}

void TsShadow::SetAlphaValue(int value) {
    value = std::clamp(value, 0, 255);
    if (value == FAlphaValue) return;
    FAlphaValue = value;
    ParentControl->Invalidate();
}

// The text box of an effect label: W x H (rotated when angled), the unrotated text size cx x cy
// and the start point of angled text inside the box.
struct TsLabelFX::TTextBox {
    int W = 0, H = 0, Cx = 0, Cy = 0, Dx = 0, Dy = 0;
};

TsLabelFX::TsLabelFX(tk::TComponent* owner) : TsCustomLabel(owner) {}

void TsLabelFX::SetKind(const TsKind& value) {
    FKind = value;
    Invalidate();
}

void TsLabelFX::SetAngle(int value) {
    if (value == FAngle) return;
    FAngle = value;
    if (FAngle != 0) FWordWrap = false;
    if (FAutoSize) AdjustBounds();
    Invalidate();
}

TShadowData TsLabelFX::CurrentShadowData() const {
    TShadowData d;
    if (FShadow.Mode() == TsShadowMode::smNone) return d;
    d = {FShadow.Color(), FShadow.BlurCount(), FShadow.Distance(), FShadow.AlphaValue()};
    const TSkinModel* model = FShadow.Mode() == TsShadowMode::smSkin1 ? ActiveModel() : nullptr;
    if (model && model->CommonSkinData && model->CommonSkinData->Shadow1Blur != -1) {
        const TsSkinData& skin = *model->CommonSkinData;
        d = {skin.Shadow1Color, skin.Shadow1Blur, skin.Shadow1Offset, FShadow.AlphaValue()};
    }
    // A skin's values are unbounded; the blur costs blur x width x height per paint.
    d.Blur = std::clamp(d.Blur, 0, kMaxShadowBlur);
    d.Offset = std::clamp(d.Offset, -kMaxShadowBlur, kMaxShadowBlur);
    d.Alpha = std::clamp(d.Alpha, 0, 255);
    return d;
}

rd::TColor TsLabelFX::GetCurrentFontColor() {
    switch (FKind.KindType) {
        case TsKindType::ktStandard: return rd::ColorToRGB(Color());
        case TsKindType::ktCustom: return rd::ColorToRGB(FKind.Color);
        case TsKindType::ktSkin: break;
    }
    const TSkinModel* model = ActiveModel();
    if (!model) return rd::ColorToRGB(FKind.Color);
    const int own = FSkinIndex >= 0 ? FSkinIndex : (SkinSection().empty() ? -1 : model->GetSkinIndex(SkinSection()));
    if (ValidSection(model, own)) return rd::ColorToRGB(NormalProps(*model, own).FontColor.Color);
    const int general = model->ConstData.IndexGLobalInfo;
    if (ValidSection(model, general) && NormalProps(*model, general).FontColor.Left != -1)
        return rd::ColorToRGB(NormalProps(*model, general).FontColor.Left);
    return rd::ColorToRGB(FKind.Color);
}

TsLabelFX::TTextBox TsLabelFX::MeasureBox(const std::wstring& text, UINT flags, int width) {
    TTextBox box;
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, Font().Handle());
    RECT r{0, 0, FWordWrap ? std::max(width, 1) : 0, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, (flags & ~kEllipsisFlags) | DT_CALCRECT);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    box.Cx = box.W = r.right - r.left;
    box.Cy = box.H = r.bottom - r.top;
    if (FAngle == 0) return box;
    const double a = FAngle * 3.14159265358979323846 / 180.0, sn = std::sin(a), cs = std::cos(a);
    box.W = static_cast<int>(std::lround(std::fabs(sn) * box.Cy + std::fabs(cs) * box.Cx));
    box.H = static_cast<int>(std::lround(std::fabs(cs) * box.Cy + std::fabs(sn) * box.Cx));
    box.Dx = static_cast<int>(std::lround((box.Cx - cs * box.Cx - sn * box.Cy) / 2)) + (box.W - box.Cx) / 2;
    box.Dy = static_cast<int>(std::lround(((1 - cs) * box.Cy + sn * box.Cx) / 2)) + (box.H - box.Cy) / 2;
    return box;
}

RECT TsLabelFX::PlaceText(const RECT& rect, const TTextBox& box, const TShadowExtents& ext) const {
    RECT t{};
    switch (FAlignment) {
        case tk::TAlignment::taLeftJustify: t.left = rect.left - ext.LeftTop; break;
        case tk::TAlignment::taRightJustify: t.left = rect.right - box.W - ext.RightBottom; break;
        case tk::TAlignment::taCenter:
            t.left = rect.left + (rect.right - rect.left - box.W - ext.RightBottom - ext.LeftTop) / 2;
            break;
    }
    switch (FLayout) {
        case tk::TTextLayout::tlTop: t.top = rect.top - ext.LeftTop; break;
        case tk::TTextLayout::tlCenter:
            t.top = rect.top + (rect.bottom - rect.top - box.H - ext.RightBottom - ext.LeftTop) / 2;
            break;
        case tk::TTextLayout::tlBottom: t.top = rect.bottom - box.H - ext.RightBottom; break;
    }
    t.right = t.left + box.W;
    t.bottom = t.top + box.H;
    return t;
}

void TsLabelFX::DrawTextAt(HDC dc, const std::wstring& text, RECT at, const TTextBox& box, UINT flags) {
    if (FAngle == 0) {
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &at, flags);
        return;
    }
    LOGFONTW font{};
    GetObjectW(Font().Handle(), sizeof font, &font);
    HFONT old = rd::SelectAngledFont(dc, font, static_cast<rd::TColor>(GetTextColor(dc)), FAngle * 10);
    ExtTextOutW(dc, at.left + box.Dx, at.top + box.Dy, ETO_CLIPPED, &at, text.c_str(),
                static_cast<UINT>(text.size()), nullptr);
    DeleteObject(SelectObject(dc, old));
}

void TsLabelFX::DrawEmbossed(HDC dc, const std::wstring& text, RECT at, const TTextBox& box, UINT flags) {
    RECT moved = at;
    OffsetRect(&moved, 1, 1);
    SetTextColor(dc, Rgb(tk::clBtnHighlight));
    DrawTextAt(dc, text, moved, box, flags);
    SetTextColor(dc, Rgb(tk::clBtnShadow));
    DrawTextAt(dc, text, at, box, flags);
}

void TsLabelFX::BlurCoverage(int width, int height, int passes) {
    const size_t wp = static_cast<size_t>(width) + 2, hp = static_cast<size_t>(height) + 2, plane = wp * hp;
    if (FMaskBits.size() < plane * 2) FMaskBits.resize(plane * 2);
    std::fill_n(FMaskBits.begin(), plane * 2, uint8_t{0});
    uint8_t* c = FMaskBits.data();
    for (int pass = 0; pass < passes; ++pass) {
        // Stamp the text's own shape, then smooth in place (left and upper neighbours are
        // already this pass's); the one-cell border stays 0.
        for (int y = 0; y < height; ++y) {
            const uint32_t* row = FMask.ScanLine(y);
            uint8_t* cells = c + (static_cast<size_t>(y) + 1) * wp + 1;
            for (int x = 0; x < width; ++x)
                if (row[x] & 0xFF) cells[x] = 255;
        }
        for (size_t y = 1; y + 1 < hp; ++y) {
            for (size_t x = 1; x + 1 < wp; ++x) {
                const size_t i = y * wp + x;
                c[i] = static_cast<uint8_t>((c[i - wp] + c[i + wp] + c[i - 1] + c[i + 1]) / 4);
            }
        }
    }
}

void TsLabelFX::ComposeShadow(const TShadowData& data) {
    const uint32_t shadow = static_cast<uint32_t>(rd::ColorToRGB(data.Color));
    const uint32_t sr = shadow & 0xFF, sg = (shadow >> 8) & 0xFF, sb = (shadow >> 16) & 0xFF;
    const size_t wp = static_cast<size_t>(FMask.Width()) + 2;
    const uint8_t* c = FMaskBits.data();
    for (int y = 0; y < FMask.Height(); ++y) {
        uint32_t* row = FMask.ScanLine(y);
        const uint8_t* cells = c + (static_cast<size_t>(y) + 1) * wp + 1;
        for (int x = 0; x < FMask.Width(); ++x) {
            const uint32_t l = (cells[x] * static_cast<uint32_t>(data.Alpha)) >> 8, keep = 255 - l;
            const uint32_t p = row[x];
            const uint32_t b = (((p & 0xFF) * keep) >> 8) + ((sb * l) >> 8);
            const uint32_t g = ((((p >> 8) & 0xFF) * keep) >> 8) + ((sg * l) >> 8);
            const uint32_t r = ((((p >> 16) & 0xFF) * keep) >> 8) + ((sr * l) >> 8);
            row[x] = 0xFF000000u | (r << 16) | (g << 8) | b;
        }
    }
}

void TsLabelFX::BuildShadow(tk::TCanvas& canvas, const RECT& rect, const std::wstring& text, RECT at,
                            const TTextBox& box, UINT flags, const TShadowData& data) {
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    FMask.SetSize(w, h);
    if (FMask.Empty()) return;
    for (int y = 0; y < h; ++y) std::memset(FMask.ScanLine(y), 0, static_cast<size_t>(w) * 4);
    // The text in white at its place moved by the shadow's offset.
    HDC mask = FMask.Canvas().Handle();
    HGDIOBJ oldFont = SelectObject(mask, Font().Handle());
    SetBkMode(mask, TRANSPARENT);
    SetTextColor(mask, 0xFFFFFF);
    OffsetRect(&at, data.Offset - rect.left, data.Offset - rect.top);
    DrawTextAt(mask, text, at, box, flags);
    SelectObject(mask, oldFont);
    GdiFlush();
    BlurCoverage(w, h, data.Blur);
    // What lies behind: the canvas as painted so far, or the label's own colour.
    if (FTransparent) {
        BitBlt(mask, 0, 0, w, h, canvas.Handle(), rect.left, rect.top, SRCCOPY);
    } else {
        HBRUSH brush = CreateSolidBrush(Rgb(Color()));
        RECT all{0, 0, w, h};
        FillRect(mask, &all, brush);
        DeleteObject(brush);
    }
    GdiFlush();
    ComposeShadow(data);
    FNeedInvalidate = false;
}

void TsLabelFX::DoDrawText(tk::TCanvas& canvas, RECT& rect, UINT flags) {
    if (IsLoading() || (FShadow.Mode() == TsShadowMode::smNone && FSkinIndex < 0)) {
        TsCustomLabel::DoDrawText(canvas, rect, flags);
        return;
    }
    const bool measuring = (flags & DT_CALCRECT) != 0;
    const TShadowData data = CurrentShadowData();
    const TShadowExtents ext = ShadowExtents(data.Offset, data.Blur);
    OffsTopLeft = ext.LeftTop;
    const std::wstring text = measuring ? DrawnText() : Caption();
    flags |= DT_NOCLIP;
    HDC dc = canvas.Handle();
    canvas.Font.Assign(Font());
    SelectObject(dc, canvas.Font.Handle());
    SetBkMode(dc, TRANSPARENT);
    const TTextBox box = MeasureBox(text, flags, rect.right - rect.left + ext.LeftTop - ext.RightBottom);
    if (measuring) {
        rect.right = rect.left + box.W - ext.LeftTop + ext.RightBottom;
        rect.bottom = rect.top + box.H - ext.LeftTop + ext.RightBottom;
        return;
    }
    const RECT at = PlaceText(rect, box, ext);
    if (!Enabled()) {
        DrawEmbossed(dc, text, at, box, flags);
        return;
    }
    const rd::TColor color = GetCurrentFontColor();
    SetTextColor(dc, Rgb(color));
    if (data.Color == rd::clNone || data.Blur == 0) {
        DrawTextAt(dc, text, at, box, flags);
        return;
    }
    if (FNeedInvalidate || !FShadow.Buffered) BuildShadow(canvas, rect, text, at, box, flags, data);
    if (!FMask.Empty())
        BitBlt(dc, rect.left, rect.top, FMask.Width(), FMask.Height(), FMask.Canvas().Handle(), 0, 0, SRCCOPY);
    SetTextColor(dc, Rgb(color));
    if (FAngle != 0 || FSkinIndex < 0) DrawTextAt(dc, text, at, box, flags);
    else rd::WriteSkinText(dc, text, true, ActiveModel(), 0, FSkinIndex, flags, at);
}

TLabelPictureKey TsLabelFX::CurrentKey() {
    TLabelPictureKey key = LabelPictureKey();
    const TShadowData shadow = CurrentShadowData();
    key.Extra = {static_cast<int>(shadow.Color), shadow.Blur, shadow.Offset, shadow.Alpha};
    return key;
}

void TsLabelFX::PaintComposed(tk::TCanvas& canvas) {
    PaintSkinSection(canvas);
    RECT client{0, 0, Width(), Height()};
    if (!FTransparent) {
        canvas.Brush.Color = Color();
        canvas.FillRect(client);
    }
    DoDrawText(canvas, client, DrawTextFlags());
    FSkinIndex = -1;
}

void TsLabelFX::Paint(tk::TCanvas& canvas) {
    FComposed.Paint(canvas.Handle(), CurrentKey(), [this](tk::TCanvas& composed) {
        FNeedInvalidate = true;
        PaintComposed(composed);
    });
}

void TsLabelFX::AdjustBounds() {
    if (IsLoading()) return;
    const TShadowExtents o = FShadow.OffsetKeeper;
    const TShadowData data = CurrentShadowData();
    const TShadowExtents n = ShadowExtents(data.Offset, data.Blur);
    const int innerW = Width() + o.LeftTop - o.RightBottom, innerH = Height() + o.LeftTop - o.RightBottom;
    const int grow = (n.RightBottom - n.LeftTop) - (o.RightBottom - o.LeftTop);
    int left = Left(), top = Top(), width = innerW - n.LeftTop + n.RightBottom,
        height = innerH - n.LeftTop + n.RightBottom;
    int textW = innerW, textH = innerH;
    if (FAutoSize) {
        UINT flags = DT_EXPANDTABS | (FShowAccelChar ? 0u : static_cast<UINT>(DT_NOPREFIX));
        flags |= FWordWrap ? DT_WORDBREAK : DT_SINGLELINE;
        const TTextBox box = MeasureBox(DrawnText(), flags, innerW);
        textW = box.W;
        textH = box.H;
        width = textW - n.LeftTop + n.RightBottom;
        height = textH - n.LeftTop + n.RightBottom;
    }
    // The text keeps its anchor: its left, right or centre; its top, bottom or middle.
    switch (FAlignment) {
        case tk::TAlignment::taLeftJustify: left += n.LeftTop - o.LeftTop; break;
        case tk::TAlignment::taRightJustify:
            left = FAutoSize ? Left() - o.LeftTop + innerW - textW + n.LeftTop : left + n.LeftTop - o.LeftTop;
            break;
        case tk::TAlignment::taCenter:
            left = FAutoSize ? Left() - o.LeftTop + (innerW - textW) / 2 + n.LeftTop : left - grow / 2;
            break;
    }
    switch (FLayout) {
        case tk::TTextLayout::tlTop: top += n.LeftTop - o.LeftTop; break;
        case tk::TTextLayout::tlBottom:
            top = FAutoSize ? Top() - o.LeftTop + innerH - textH + n.LeftTop : top + n.LeftTop - o.LeftTop;
            break;
        case tk::TTextLayout::tlCenter:
            top = FAutoSize ? Top() - o.LeftTop + (innerH - textH) / 2 + n.LeftTop : top - grow / 2;
            break;
    }
    const bool wasChanging = IntPosChanging;
    IntPosChanging = true;
    SetBounds(left, top, width, height);
    IntPosChanging = wasChanging;
}

void TsLabelFX::UpdatePosition() {
    if (IsLoading()) return;
    const TShadowData data = CurrentShadowData();
    const TShadowExtents n = ShadowExtents(data.Offset, data.Blur);
    if (n == FShadow.OffsetKeeper) return;
    IntPosChanging = true;
    AdjustBounds();
    FShadow.OffsetKeeper = n;
    IntPosChanging = false;
}

void TsLabelFX::Invalidate() {
    if (FWordWrap) FAngle = 0;
    FNeedInvalidate = true;
    FComposed.MarkStale();
    TsCustomLabel::Invalidate();
}

void TsLabelFX::SetBounds(int left, int top, int width, int height) {
    TsCustomLabel::SetBounds(left, top, width, height);
    // A move from outside becomes the new base of the shadow's extents.
    if (!IntPosChanging && !IsLoading()) {
        const TShadowData data = CurrentShadowData();
        FShadow.OffsetKeeper = ShadowExtents(data.Offset, data.Blur);
    }
}

void TsLabelFX::WndProc(tk::TMessage& m) {
    if (ChangesLabelPicture(m.Msg)) FComposed.MarkStale();
    if (m.Msg == SM_SKINCMD) {
        const WORD cmd = SkinCmdOf(m.WParam);
        // With the skin's shadow the extents come from the skin.
        if (cmd == SC_NEWSKIN || cmd == SC_REMOVESKIN) UpdatePosition();
    }
    TsCustomLabel::WndProc(m);
}

void TsLabelFX::Loaded() {
    TsCustomLabel::Loaded();  // sizes an auto-sized label from the stored extents to the present ones
    const TShadowData data = CurrentShadowData();
    FShadow.OffsetKeeper = ShadowExtents(data.Offset, data.Blur);
}

void TsLabelFX::SetProperty(tk::TReader& reader, const std::string& name, const tk::TValue& v) {
    if (name == "Angle") FAngle = reader.Int(v);
    else if (name == "Shadow.Mode") {
        static const std::vector<std::string> names = {"smNone", "smCustom", "smSkin1"};
        FShadow.SetMode(static_cast<TsShadowMode>(reader.Enum(v, names)));
    } else if (name == "Shadow.Color") FShadow.SetColor(reader.Color(v));
    else if (name == "Shadow.BlurCount") FShadow.SetBlurCount(reader.Int(v));
    else if (name == "Shadow.Distance") FShadow.SetDistance(reader.Int(v));
    else if (name == "Shadow.AlphaValue") FShadow.SetAlphaValue(reader.Int(v));
    else if (name == "Shadow.OffsetKeeper.LeftTop") FShadow.OffsetKeeper.LeftTop = reader.Int(v);
    else if (name == "Shadow.OffsetKeeper.RightBottom") FShadow.OffsetKeeper.RightBottom = reader.Int(v);
    else if (name == "Kind.KindType") {
        static const std::vector<std::string> names = {"ktStandard", "ktCustom", "ktSkin"};
        FKind.KindType = static_cast<TsKindType>(reader.Enum(v, names));
    } else if (name == "Kind.Color") FKind.Color = reader.Color(v);
    else TsCustomLabel::SetProperty(reader, name, v);
}

}  // namespace sk
