// The provider's pictures: the whole-window cache (frame, title band, caption buttons, icon,
// caption text), the window region cut from the border masks' corners, the frame copied from
// the cache to the screen, the client background and the caption buttons' repaints and fades.
#include <algorithm>

#include "forms/sFormRegion.h"
#include "forms/sSkinProvider.h"
#include "forms/sTitleAnimation.h"
#include "skinframework/sSkinManager.h"
#include "skinpaint/sSectionPaint.h"
#include "skinpaint/sTextOutput.h"

namespace sk {

namespace {

constexpr UINT kCaptionFormat = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;
constexpr int kTextGap = 4;        // between the icon and the caption text
constexpr int kButtonsGap = 12;    // between the caption text and the buttons
constexpr int kCaptionPlateX = 4, kCaptionPlateY = 2;

rd::TBitmap32 ViewOf(tk::TBitmap& bmp) {
    rd::TBitmap32 v;
    v.Row0 = bmp.Row0();
    v.Stride = bmp.Stride();
    v.Width = bmp.Row0() ? bmp.Width() : 0;
    v.Height = bmp.Row0() ? bmp.Height() : 0;
    return v;
}

int ClampState(const TsGeneralData* section, int state) {
    return section ? std::clamp(state, 0, std::max(0, section->States - 1)) : 0;
}

// The caption font of the platform's non-client metrics; null when it cannot be made.
HFONT CreateCaptionFont() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) return nullptr;
    return CreateFontIndirectW(&metrics.lfCaptionFont);
}

void CopyPiece(const rd::TBitmap32& from, rd::TRect source, rd::TBitmap32& to, int x, int y) {
    for (int j = 0; j < source.Height(); ++j) {
        const int sy = source.Top + j, dy = y + j;
        if (sy < 0 || sy >= from.Height || dy < 0 || dy >= to.Height) continue;
        for (int i = 0; i < source.Width(); ++i) {
            const int sx = source.Left + i, dx = x + i;
            if (sx < 0 || sx >= from.Width || dx < 0 || dx >= to.Width) continue;
            to.Row(dy)[dx] = from.Row(sy)[sx];
        }
    }
}

int ButtonSlot(const TCaptionButtons& b, const TsCaptionButton& button) {
    if (&button == &b.Close) return 0;
    if (&button == &b.Max) return 1;
    if (&button == &b.Min) return 2;
    return 3;
}

// A cross in the text colour, for skins without caption-button masks.
void PaintPlainClose(HDC dc, const rd::TRect& r, rd::TColor color) {
    HPEN pen = CreatePen(PS_SOLID, 1, static_cast<COLORREF>(rd::ColorToRGB(color)));
    HGDIOBJ old = SelectObject(dc, pen);
    const int inset = std::max(2, std::min(r.Width(), r.Height()) / 4);
    MoveToEx(dc, r.Left + inset, r.Top + inset, nullptr);
    LineTo(dc, r.Right - inset, r.Bottom - inset);
    MoveToEx(dc, r.Right - inset - 1, r.Top + inset, nullptr);
    LineTo(dc, r.Left + inset - 1, r.Bottom - inset);
    SelectObject(dc, old);
    DeleteObject(pen);
}

}  // namespace

// ---- The cache ----

bool TsSkinProvider::PrepareCache() {
    if (RTInit) Prepare();
    TacCacheBitmap* cache = FCommonData->FCacheBmp.get();
    if (!cache || !FrameSkinned()) return false;
    RECT wr;
    GetWindowRect(FForm->Handle(), &wr);
    const bool sizeChanged = cache->Width() != CaptionWidth() || cache->Height() != wr.bottom - wr.top;
    if (FCommonData->BGChanged || cache->Empty() || sizeChanged) BuildCache();
    return !cache->Empty() && !FCommonData->BGChanged;
}

void TsSkinProvider::BuildCache() {
    const TSkinModel* model = FCommonData->ActiveModel();
    TacCacheBitmap* cache = FCommonData->FCacheBmp.get();
    if (!model || !cache) return;
    const TFrameGeometry g = Geometry();
    RECT wr;
    GetWindowRect(FForm->Handle(), &wr);
    const int width = CaptionWidth();
    int height = wr.bottom - wr.top;
    const bool mainForm = tk::Application && tk::Application->MainForm() == FForm;
    if (IsIconic(FForm->Handle()) && !mainForm) height = g.BorderWidth + g.CaptionHeight + 2;
    if (width <= 0 || height <= 0) return;
    LayoutButtons();
    RgnChanged = true;
    cache->SetSize(width, height);
    rd::TBitmap32* view = cache->View();
    if (!view || !view->Row0) return;
    const int state = ClampState(FCommonData->Section(), FFormActive ? 1 : 0);
    const rd::TColor formColor = rd::ColorToRGB(FCommonData->GetBgColor(state));
    const rd::TCacheInfo behind{nullptr, 0, 0, formColor, rd::TRect{}, false};
    rd::PaintSectionFace(FCommonData->SkinIndex, L"FORM", behind, FCommonData->HotTexture, FCommonData->Texture, model,
                         view, {0, 0}, {0, 0, width, height}, state);
    if (g.CaptionHeight > 0) PaintTitle(*view, g, FFormActive ? 1 : 0);
    PaintGrip(*view);
    FCommonData->BGChanged = false;
}

void TsSkinProvider::PaintGrip(rd::TBitmap32& view) {
    const rd::TRect r = GripRect();
    if (r.Right <= r.Left) return;
    const TSkinModel* model = FCommonData->ActiveModel();
    const TsMaskData& mask = model->ma[static_cast<size_t>(model->ConstData.GripRightBottom)];
    rd::PaintMaskGlyph(&view, {r.Left, r.Top}, 0, rd::CacheInfoForBitmap(&view, 0, 0), mask, 1);
}

void TsSkinProvider::PaintTitle(rd::TBitmap32& view, const TFrameGeometry& g, int active) {
    const TSkinModel* model = FCommonData->ActiveModel();
    const TsGeneralData* title = model->IsValidSkinIndex(FTitleSkinIndex) ? &model->gd[size_t(FTitleSkinIndex)] : nullptr;
    const int state = ClampState(title, active);
    const rd::TRect band{0, 0, view.Width, std::min(view.Height, g.BorderWidth + g.CaptionHeight)};
    rd::PaintSectionFace(FTitleSkinIndex, L"FORMTITLE", rd::CacheInfoForBitmap(&view, 0, 0), -1, -1, model, &view,
                         {0, 0}, band, state);
    const int areaLeft = FButtons.AreaLeft(view.Width);
    const int titleBar = model->GetMaskIndex(FCommonData->SkinIndex, L"FORM", L"TITLEBAR");
    if (areaLeft < view.Width && model->IsValidImgIndex(titleBar))
        rd::PaintMaskNinePart(&view, {areaLeft, 0, view.Width, band.Bottom}, rd::CacheInfoForBitmap(&view, 0, 0), false,
                              state, model->ma[size_t(titleBar)]);
    FButtonBg.clear();
    FButtonBg.resize(4);
    for (TsCaptionButton* b : {&FButtons.Close, &FButtons.Max, &FButtons.Min, &FButtons.Help}) {
        SaveButtonBackground(view, *b);
        PaintButton(view, *b);
    }
    PaintIcon(g);
    PaintCaptionText(view, g, state);
}

void TsSkinProvider::SaveButtonBackground(rd::TBitmap32& view, TsCaptionButton& b) {
    auto& saved = FButtonBg[size_t(ButtonSlot(FButtons, b))];
    saved.reset();
    if (!b.Visible() || b.Rect.Height() <= 0) return;
    saved = std::make_unique<rd::TMemBitmap32>(b.Rect.Width(), b.Rect.Height());
    CopyPiece(view, b.Rect, *saved, 0, 0);
}

void TsSkinProvider::PaintButton(rd::TBitmap32& view, TsCaptionButton& b) {
    if (!b.Visible()) return;
    const rd::TMemBitmap32* saved = FButtonBg.size() == 4 ? FButtonBg[size_t(ButtonSlot(FButtons, b))].get() : nullptr;
    if (saved) CopyPiece(*saved, {0, 0, saved->Width, saved->Height}, view, b.Rect.Left, b.Rect.Top);
    const TSkinModel* model = FCommonData->ActiveModel();
    const int state = std::max(0, b.State);
    if (model && model->IsValidImgIndex(b.ImageIndex) && model->ma[size_t(b.ImageIndex)].ImageCount > 0) {
        rd::PaintMaskGlyph(&view, {b.Rect.Left, b.Rect.Top}, state, rd::CacheInfoForBitmap(&view, 0, 0),
                           model->ma[size_t(b.ImageIndex)], 1);
        return;
    }
    if (b.HitCode == htCloseButton && FCommonData->FCacheBmp) {
        const TsGeneralData* title = model && model->IsValidSkinIndex(FTitleSkinIndex) ? &model->gd[size_t(FTitleSkinIndex)] : nullptr;
        const rd::TColor color = title ? title->Props[state > 0 ? 1 : 0].FontColor.Color : rd::TColor(0);
        PaintPlainClose(FCommonData->FCacheBmp->Canvas().Handle(), b.Rect, color);
    }
}

void TsSkinProvider::PaintIcon(const TFrameGeometry& g) {
    if (g.IconRect.Right <= g.IconRect.Left || !FCommonData->FCacheBmp) return;
    if (HICON icon = FormIcon())
        DrawIconEx(FCommonData->FCacheBmp->Canvas().Handle(), g.IconRect.Left, g.IconRect.Top, icon,
                   g.IconRect.Width(), g.IconRect.Height(), 0, nullptr, DI_NORMAL);
}

void TsSkinProvider::PaintCaptionText(rd::TBitmap32& view, const TFrameGeometry& g, int state) {
    const TSkinModel* model = FCommonData->ActiveModel();
    const int length = GetWindowTextLengthW(FForm->Handle());
    if (length <= 0) return;
    std::wstring text(size_t(length) + 1, L'\0');
    text.resize(size_t(GetWindowTextW(FForm->Handle(), text.data(), length + 1)));
    HFONT font = CreateCaptionFont();
    if (!font) return;
    const bool plate = model->IsValidSkinIndex(FCaptionSkinIndex);
    const int leftMargin = model->CommonSkinData ? model->CommonSkinData->BILeftMargin : 0;
    rd::TRect r;
    r.Left = g.FrameWidth + g.IconRect.Width() + leftMargin + kTextGap + (plate ? 2 : 0);
    r.Right = FButtons.AreaLeft(view.Width) - kButtonsGap;
    const SIZE size = rd::MeasureText(font, text, DT_SINGLELINE | DT_NOPREFIX, 0, false);
    r.Top = g.VCenter - size.cy / 2;
    r.Bottom = r.Top + size.cy;
    if (r.Right > r.Left) {
        if (plate) {
            const rd::TRect plateRect{r.Left - kCaptionPlateX, r.Top - kCaptionPlateY,
                                      std::min(r.Right, r.Left + int(size.cx)) + kCaptionPlateX, r.Bottom + kCaptionPlateY};
            rd::PaintSectionFace(FCaptionSkinIndex, L"CAPTION", rd::CacheInfoForBitmap(&view, 0, 0), -1, -1, model,
                                 &view, {0, 0}, plateRect, state);
        }
        const TsGeneralData* title = model->IsValidSkinIndex(FTitleSkinIndex) ? &model->gd[size_t(FTitleSkinIndex)] : nullptr;
        const int glowSize = title ? (FFormActive ? title->HotGlowSize : title->GlowSize) : 0;
        if (glowSize > 0) {
            FGlowCache.reset();  // the text or its place may have changed
            rd::WriteTextShadowed(&view, font, text, r, FGlowCache, FFormActive ? title->HotGlowColor : title->GlowColor,
                                  glowSize, rd::ssAll, kCaptionFormat);
        }
        const rd::TColor fontColor = title ? title->Props[state > 0 ? 1 : 0].FontColor.Color : rd::TColor(0);
        rd::WriteSkinTextOnBitmap32(&view, font, text, true, fontColor, model, FFormActive, FTitleSkinIndex,
                                    kCaptionFormat, r);
    }
    DeleteObject(font);
}

// ---- Region and screen ----

void TsSkinProvider::UpdateRegion() {
    if (FInRegionUpdate) return;
    // Cleared first: setting the region repaints the frame at once, which must not set it again.
    RgnChanged = false;
    const TSkinModel* model = FCommonData->ActiveModel();
    HWND h = FForm->Handle();
    const TFrameGeometry g = Geometry();
    if (!model || (g.CaptionHeight <= 0 && !IsIconic(h))) return;
    RECT wr;
    GetWindowRect(h, &wr);
    const int width = CaptionWidth(), height = wr.bottom - wr.top;
    FArOR.clear();
    if (model->IsValidImgIndex(FCommonData->BorderIndex))
        AddCornerCutouts(model->ma[size_t(FCommonData->BorderIndex)], width, height, false, FArOR);
    const int titleMask = model->GetMaskIndex(FTitleSkinIndex, L"FORMTITLE", L"BORDERSMASK");
    if (model->IsValidImgIndex(titleMask)) AddCornerCutouts(model->ma[size_t(titleMask)], width, height, true, FArOR);
    HRGN region = IsZoomed(h) ? CreateRectRgn(g.FrameWidth, g.FrameWidth, width - g.FrameWidth, height - g.FrameWidth)
                              : MakeWindowRegion(width, height, FArOR);
    if (!region) return;
    FInRegionUpdate = true;
    if (!SetWindowRgn(h, region, IsWindowVisible(h))) DeleteObject(region);
    FInRegionUpdate = false;
}

void TsSkinProvider::PaintFrame() {
    HWND h = FForm->Handle();
    if (!IsWindowVisible(h) || !PrepareCache()) return;
    if (RgnChanged) UpdateRegion();
    HDC dc = GetWindowDC(h);
    if (!dc) return;
    PaintFrameTo(dc);
    ReleaseDC(h, dc);
}

void TsSkinProvider::PaintFrameTo(HDC dc) {
    TacCacheBitmap* cache = FCommonData->FCacheBmp.get();
    if (!cache) return;
    const TFrameGeometry g = Geometry();
    HDC src = cache->Canvas().Handle();
    const int w = cache->Width(), ht = cache->Height();
    RECT cr;
    GetClientRect(FForm->Handle(), &cr);
    const int clientBottom = g.OffsetY + cr.bottom;
    BitBlt(dc, 0, 0, w, g.HeaderHeight, src, 0, 0, SRCCOPY);
    BitBlt(dc, 0, g.HeaderHeight, g.OffsetX, clientBottom - g.HeaderHeight, src, 0, g.HeaderHeight, SRCCOPY);
    BitBlt(dc, g.OffsetX + cr.right, g.HeaderHeight, w - g.OffsetX - cr.right, clientBottom - g.HeaderHeight, src,
           g.OffsetX + cr.right, g.HeaderHeight, SRCCOPY);
    BitBlt(dc, 0, clientBottom, w, ht - clientBottom, src, 0, clientBottom, SRCCOPY);
}

void TsSkinProvider::InvalidateFrame(bool now) {
    if (!FForm->HandleAllocated()) return;
    if (now) PaintFrame();
    else RedrawWindow(FForm->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN);
}

void TsSkinProvider::PaintClient(HDC dc, const RECT& clip) {
    RECT client;
    GetClientRect(FForm->Handle(), &client);
    if (client.right <= 0 || client.bottom <= 0) return;
    tk::TBitmap buffer(client.right, client.bottom);
    HDC mem = buffer.Canvas().Handle();
    const int state = FFormActive ? 1 : 0;
    FCommonData->UpdateCtrlSkinState(false);
    const bool uniform = (FCommonData->GetCtrlSkinState() & ACS_BGUNIFORM) != 0;
    if (!uniform && PrepareCache()) {
        const rd::TPoint offset = ClientOffset();
        BitBlt(mem, 0, 0, client.right, client.bottom, FCommonData->FCacheBmp->Canvas().Handle(), offset.X, offset.Y,
               SRCCOPY);
    } else {
        HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(rd::ColorToRGB(FCommonData->GetBgColor(state))));
        FillRect(mem, &client, brush);
        DeleteObject(brush);
    }
    const rd::TRect grip = GripRect();
    if (grip.Right > grip.Left && PrepareCache()) {
        // The grip lies in the client area: from the cache even over a plain background.
        const rd::TPoint offset = ClientOffset();
        BitBlt(mem, grip.Left - offset.X, grip.Top - offset.Y, grip.Right - grip.Left, grip.Bottom - grip.Top,
               FCommonData->FCacheBmp->Canvas().Handle(), grip.Left, grip.Top, SRCCOPY);
    }
    FForm->PaintGraphicControls(mem, clip);
    BitBlt(dc, clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top, mem, clip.left, clip.top, SRCCOPY);
}

void TsSkinProvider::OnPaint(tk::TMessage& m) {
    HWND h = FForm->Handle();
    if (m.WParam) {
        RECT client;
        GetClientRect(h, &client);
        PaintClient(reinterpret_cast<HDC>(m.WParam), client);
        m.Result = 0;
        return;
    }
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, &ps);
    if (dc) PaintClient(dc, ps.rcPaint);
    EndPaint(h, &ps);
    m.Result = 0;
}

// ---- Caption buttons ----

std::unique_ptr<tk::TBitmap> TsSkinProvider::ButtonPicture(const TsCaptionButton& b, int state) {
    auto pic = std::make_unique<tk::TBitmap>(std::max(1, b.Rect.Width()), std::max(1, b.Rect.Height()));
    rd::TBitmap32 view = ViewOf(*pic);
    const rd::TMemBitmap32* saved = FButtonBg.size() == 4 ? FButtonBg[size_t(ButtonSlot(FButtons, b))].get() : nullptr;
    if (saved) CopyPiece(*saved, {0, 0, saved->Width, saved->Height}, view, 0, 0);
    const TSkinModel* model = FCommonData->ActiveModel();
    if (model && model->IsValidImgIndex(b.ImageIndex) && model->ma[size_t(b.ImageIndex)].ImageCount > 0)
        rd::PaintMaskGlyph(&view, {0, 0}, state, rd::CacheInfoForBitmap(&view, 0, 0), model->ma[size_t(b.ImageIndex)], 1);
    return pic;
}

void TsSkinProvider::RepaintChanged(const int changed[2]) {
    for (int i = 0; i < 2; ++i)
        if (changed[i] > 0) RepaintButton(changed[i], true);
}

TacSBAnimation* TsSkinProvider::ButtonAnimation(int hitCode) {
    TsCaptionButton* b = FButtons.ByHitCode(hitCode);
    return b ? b->Timer.get() : nullptr;
}

void TsSkinProvider::RepaintButton(int hitCode, bool animate) {
    TsCaptionButton* b = FButtons.ByHitCode(hitCode);
    TacCacheBitmap* cache = FCommonData->FCacheBmp.get();
    if (!b || !b->Visible() || !cache || cache->Empty() || FCommonData->BGChanged) return;
    rd::TBitmap32* view = cache->View();
    PaintButton(*view, *b);
    TsSkinManager* manager = FCommonData->SkinManager();
    const bool allowed = animate && manager && manager->Effects.AllowGlowing && !FForm->Parent();
    HWND h = FForm->Handle();
    if (allowed) {
        if (!b->Timer) {
            const int code = b->HitCode;
            b->Timer = std::make_unique<TacSBAnimation>(
                h, [this, code](int state) { return ButtonPicture(*FButtons.ByHitCode(code), state); },
                [this, code, h] {
                    RECT wr;
                    GetWindowRect(h, &wr);
                    const rd::TRect& r = FButtons.ByHitCode(code)->Rect;
                    return RECT{wr.left + r.Left, wr.top + r.Top, wr.left + r.Right, wr.top + r.Bottom};
                },
                [h] { PostMessageW(h, WM_NCMOUSELEAVE, 0, 0); });
        }
        const int state = std::max(0, b->State);
        b->Timer->StartAnimation(state, state == 2 ? kPressIterations : kHotIterations);
        if (state == 1) return;  // the overlay fades the hot picture in over the normal one
    }
    HDC dc = GetWindowDC(h);
    if (!dc) return;
    BitBlt(dc, b->Rect.Left, b->Rect.Top, b->Rect.Width(), b->Rect.Height(), cache->Canvas().Handle(), b->Rect.Left,
           b->Rect.Top, SRCCOPY);
    ReleaseDC(h, dc);
}

}  // namespace sk
