// The open menu's picture (background, icon strip, border, extra line) and the menu window's
// region and frame taken from it.
#include <algorithm>

#include "forms/sFormRegion.h"
#include "menus/acMnuWnd.h"
#include "menus/sSkinMenus.h"
#include "render/sAlphaGraph.h"
#include "skinframework/sSkinCmd.h"
#include "skinpaint/sMaskPaint.h"
#include "skinpaint/sSectionPaint.h"
#include "skinpaint/sTextOutput.h"

namespace sk {

namespace {

constexpr int kFrameStrip = 3;  // the menu window's frame painted from the picture
constexpr int kExtraLineBottom = 12;       // the extra line's glyph or caption starts this far above its bottom
constexpr int kExtraLineGlyphBottom = 32;  // its caption, above a glyph

// The owner window lays its menus out from the right.
bool OwnerRightAligned(const tk::TMenuItem* item) {
    const tk::TMenu* menu = item ? item->GetParentMenu() : nullptr;
    return menu && menu->OwnerWindow && (GetWindowLongPtrW(menu->OwnerWindow, GWL_EXSTYLE) & WS_EX_RIGHT);
}

bool MenuRightToLeft(const tk::TMenuItem* item) {
    const tk::TMenu* menu = item ? item->GetParentMenu() : nullptr;
    return menu && menu->RightToLeft;
}

void MirrorRows(const rd::TBitmap32& view) {
    for (int y = 0; y < view.Height; ++y) std::reverse(view.Row(y), view.Row(y) + view.Width);
}

// A width x height block of from at (fx, fy) into to at (tx, ty), clipped to both.
void CopyPixels(const rd::TBitmap32& from, int fx, int fy, const rd::TBitmap32& to, int tx, int ty, int width, int height) {
    for (int j = 0; j < height; ++j) {
        if (fy + j < 0 || fy + j >= from.Height || ty + j < 0 || ty + j >= to.Height) continue;
        for (int i = 0; i < width; ++i)
            if (fx + i >= 0 && fx + i < from.Width && tx + i >= 0 && tx + i < to.Width)
                to.Row(ty + j)[tx + i] = from.Row(fy + j)[fx + i];
    }
}

// The extra line's caption, turned to run upwards from baseY, centred across a strip this wide.
void WriteUpwards(HDC dc, const TacMenuFont& font, rd::TColor color, const std::wstring& text, int width, int baseY) {
    LOGFONTW lf{};
    lf.lfHeight = font.Height;
    const std::wstring face = rd::AngledFaceName(font.Name);
    wcsncpy(lf.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    HFONT previous = rd::SelectAngledFont(dc, lf, color, -2700);
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    SetBkMode(dc, TRANSPARENT);
    TextOutW(dc, (width - tm.tmHeight) / 2 + tm.tmHeight, baseY, text.c_str(), int(text.size()));
    DeleteObject(SelectObject(dc, previous));
    GdiFlush();
}

void CopyFrameStrips(HDC target, HDC source, int width, int height, int strip) {
    BitBlt(target, 0, 0, width, strip, source, 0, 0, SRCCOPY);
    BitBlt(target, 0, height - strip, width, strip, source, 0, height - strip, SRCCOPY);
    BitBlt(target, 0, 0, strip, height, source, 0, 0, SRCCOPY);
    BitBlt(target, width - strip, 0, strip, height, source, width - strip, 0, SRCCOPY);
}

}  // namespace

int TsSkinableMenus::SkinBorderWidth() {
    if (FSkinBorderWidth >= 0) return FSkinBorderWidth;
    const TSkinModel* model = Model();
    if (!model) return 0;
    const int section = model->GetSkinIndex(L"MAINMENU");
    const int mask = model->IsValidSkinIndex(section) ? model->gd[size_t(section)].BorderIndex : -1;
    if (!model->IsValidImgIndex(mask)) FSkinBorderWidth = 0;
    else FSkinBorderWidth = model->ma[size_t(mask)].BorderWidth > 0 ? model->ma[size_t(mask)].BorderWidth : 3;
    return FSkinBorderWidth;
}

// The icon strip down the left side, in the icon-line section's face over the menu background.
void TsSkinableMenus::PaintIconStrip(tk::TBitmap& bmp, int height, int extraWidth) {
    const TSkinModel* model = Model();
    const int section = model->GetSkinIndex(FOwner->MenuSupport.IcoLineSkin);
    if (!model->IsValidSkinIndex(section)) return;
    const int border = SkinBorderWidth();
    const int stripHeight = height - 2 * border;
    if (FIcoLineWidth <= 0 || stripHeight <= 0) return;
    rd::TMemBitmap32 strip(FIcoLineWidth, stripHeight);
    rd::TBitmap32 view = ViewOf(bmp);
    const int x = extraWidth + border, y = border;
    rd::PaintSectionFace(section, FOwner->MenuSupport.IcoLineSkin, rd::CacheInfoForBitmap(&view, x, y), -1, -1, model,
                         &strip, {0, 0}, {0, 0, strip.Width, strip.Height}, 0);
    for (int j = 0; j < strip.Height && y + j < view.Height; ++j)
        for (int i = 0; i < strip.Width && x + i < view.Width; ++i) view.Row(y + j)[x + i] = strip.Row(j)[i];
}

// The vertical extra line at the left: its section's face (the menu's background where the
// skin lacks the section), a glyph near the bottom and a caption running upwards above it.
void TsSkinableMenus::PaintExtraLine(tk::TBitmap& bmp, int height, TacExtraLineData& data) {
    const TSkinModel* model = Model();
    const int width = FOwner->MenuSupport.ExtraLineWidth;
    const int border = SkinBorderWidth();
    const int stripHeight = height - 2 * border;
    if (width <= 0 || stripHeight <= 0) return;
    const int section = model->GetSkinIndex(data.SkinSection);
    tk::TBitmap strip(width, stripHeight);
    rd::TBitmap32 view = ViewOf(bmp), stripView = ViewOf(strip);
    CopyPixels(view, border, border, stripView, 0, 0, width, stripHeight);
    if (model->IsValidSkinIndex(section))
        rd::PaintSectionFace(section, data.SkinSection, rd::CacheInfoForBitmap(&view, border, border), -1, -1, model,
                             &stripView, {0, 0}, {0, 0, width, stripHeight}, 0);
    int bottom = kExtraLineBottom;
    if (data.Glyph.Width() > 0 && data.Glyph.Height() > 0) {
        const rd::TBitmap32 glyph = ViewOf(data.Glyph);
        const int x = (width - glyph.Width) / 2, y = stripHeight - kExtraLineBottom - glyph.Height;
        rd::AlphaOver32({x, y, x + glyph.Width, y + glyph.Height}, {0, 0, glyph.Width, glyph.Height}, &stripView, false,
                        rd::CacheInfoForBitmap(&stripView, 0, 0), &glyph);
        bottom = kExtraLineGlyphBottom;
    }
    if (!data.Caption.empty()) {
        const rd::TColor color = model->IsValidSkinIndex(section) ? model->gd[size_t(section)].Props[0].FontColor.Color : 0;
        WriteUpwards(strip.Canvas().Handle(), FOwner->MenuSupport.ExtraLineFont, color, data.Caption, width,
                     stripHeight - bottom);
    }
    CopyPixels(stripView, 0, 0, view, border, border, width, stripHeight);
    data.Glyph.SetSize(0, 0);
}

TacMenuInfo* TsSkinableMenus::PrepareMenuBG(const tk::TMenuItem* item, int width, int height, HWND wnd) {
    const tk::TMenuItem* first = item && item->Parent() && item->Parent()->Count() > 0 ? item->Parent()->Items(0) : item;
    TacMenuInfo info;
    info.FirstItem = first;
    info.Wnd = wnd;
    TacExtraLineData extraLine;
    AskExtraLine(first, extraLine);
    info.HaveExtraLine = extraLine.LineVisible;
    info.Bmp = std::make_unique<tk::TBitmap>();
    if (width > 0 && height > 0) info.Bmp->SetSize(width, height);
    FIcoLineWidth = FMargin + ItemImageSize(item).cx + FSpacing;
    const TSkinModel* model = Model();
    const int mainMenu = model ? model->GetSkinIndex(L"MAINMENU") : -1;
    rd::TBitmap32 view = ViewOf(*info.Bmp);
    if (model && model->IsValidSkinIndex(mainMenu) && view.Row0) {
        const rd::TRect whole{0, 0, width, height};
        rd::PaintSectionBackground(mainMenu, L"MAINMENU", rd::TCacheInfo{}, rd::clMagenta, -1, -1, model, &view, {0, 0},
                                   whole, 0);
        if (!OwnerRightAligned(item)) PaintIconStrip(*info.Bmp, height, ExtraWidth(&info));
        const int mask = model->gd[size_t(mainMenu)].BorderIndex;
        if (model->IsValidImgIndex(mask))
            rd::PaintMaskNinePart(&view, whole, rd::CacheInfoForBitmap(&view, 0, 0), true, 0, model->ma[size_t(mask)]);
        if (FOwner->MenuSupport.UseExtraLine && info.HaveExtraLine) PaintExtraLine(*info.Bmp, height, extraLine);
        if (MenuRightToLeft(item)) MirrorRows(view);
        if (model->IsValidImgIndex(mask)) AddCornerCutouts(model->ma[size_t(mask)], width, height, false, info.CutOuts);
    }
    MenuInfoList().push_back(std::move(info));
    TacMenuInfo& entry = MenuInfoList().back();
    if (wnd) DrawWndBorder(wnd, entry);
    return &entry;
}

// The region and frame come from the picture only while it has the window's size: an empty
// picture would make an empty region and hide the menu.
void TsSkinableMenus::DrawWndBorder(HWND wnd, TacMenuInfo& info, const SIZE* comingSize) {
    if (BorderDrawing || !wnd) return;
    SIZE size{0, 0};
    if (comingSize) size = *comingSize;
    else if (!MenuWindowSize(wnd, size)) return;
    if (!PictureFits(info.Bmp.get(), size.cx, size.cy)) return;
    if (SendMessageW(wnd, SM_SKINCMD, SkinCmdWParam(kMnuGetRgnChanged), 0) != 0) return;
    SendMessageW(wnd, SM_SKINCMD, SkinCmdWParam(kMnuSetRgnChanged), 0);
    BorderDrawing = true;
    const int width = info.Bmp->Width(), height = info.Bmp->Height();
    std::vector<rd::TRect> cutOuts = info.CutOuts;
    if (cutOuts.empty()) cutOuts.push_back({0, 0, 1, 1});
    if (HRGN region = MakeWindowRegion(width, height, cutOuts))
        if (!SetWindowRgn(wnd, region, TRUE)) DeleteObject(region);
    if (HDC dc = GetWindowDC(wnd)) {
        CopyFrameStrips(dc, info.Bmp->Canvas().Handle(), width, height, kFrameStrip);
        ReleaseDC(wnd, dc);
    }
    BorderDrawing = false;
}

void CopyMenuFrame(HDC target, tk::TBitmap& picture) {
    CopyFrameStrips(target, picture.Canvas().Handle(), picture.Width(), picture.Height(), kFrameStrip);
}

}  // namespace sk
