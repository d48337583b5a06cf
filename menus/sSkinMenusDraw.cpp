// Drawing one item of a skinned menu: the frame strips of the menu window beside it, and the
// divider, caption item or normal item over the menu's picture.
#include <algorithm>

#include "menus/sSkinMenus.h"
#include "render/sAlphaGraph.h"
#include "skinpaint/sMaskPaint.h"
#include "skinpaint/sSectionPaint.h"
#include "skinpaint/sTextOutput.h"
#include "toolkit/Application.h"

namespace sk {

namespace {

constexpr UINT kDrawItemFrame = 0xBCB3;
constexpr UINT kDrawWindowFrame = 0xBCB4;
constexpr int kColumnGap = 4;
constexpr int kShortcutGap = 8;
constexpr int kFirstSysCommand = 0xF000;

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

// The item picture over the menu's picture: a bitmap of the given size, its origin over (x, y) of B.
struct TPiece {
    tk::TBitmap Bmp;
    rd::TBitmap32 View;
    TPiece(int width, int height) {
        if (width > 0 && height > 0) Bmp.SetSize(width, height);
        View = ViewOf(Bmp);
    }
    HDC DC() { return Bmp.Canvas().Handle(); }
};

void CopyFromPicture(TPiece& piece, const rd::TBitmap32& from, int x, int y) {
    for (int j = 0; j < piece.View.Height; ++j) {
        const int sy = y + j;
        if (sy < 0 || sy >= from.Height) continue;
        for (int i = 0; i < piece.View.Width; ++i) {
            const int sx = x + i;
            if (sx >= 0 && sx < from.Width) piece.View.Row(j)[i] = from.Row(sy)[sx];
        }
    }
}

bool FrameQueued() {
    MSG msg;
    HWND app = tk::Application ? tk::Application->Handle() : nullptr;
    return app && PeekMessageW(&msg, app, kDrawItemFrame, kDrawWindowFrame, PM_NOREMOVE);
}

bool IsFirstVisible(const tk::TMenuItem* item) {
    const tk::TMenuItem* parent = item->Parent();
    for (int i = 0; parent && i < parent->Count(); ++i)
        if (parent->Items(i)->Visible) return parent->Items(i) == item;
    return true;
}

bool IsLastVisible(const tk::TMenuItem* item) {
    const tk::TMenuItem* parent = item->Parent();
    for (int i = parent ? parent->Count() - 1 : -1; i >= 0; --i)
        if (parent->Items(i)->Visible) return parent->Items(i) == item;
    return true;
}

const tk::TMenuItem* NextVisible(const tk::TMenuItem* item) {
    const tk::TMenuItem* parent = item->Parent();
    for (int i = item->MenuIndex() + 1; parent && i < parent->Count(); ++i)
        if (parent->Items(i)->Visible) return parent->Items(i);
    return nullptr;
}

// The caption-button glyph of a system-menu item in the "Webdings" font, by the item's command.
const wchar_t* SysMenuGlyph(int tag) {
    switch (tag) {
        case SC_MINIMIZE: return L"0";
        case SC_MAXIMIZE: return L"1";
        case SC_CLOSE: return L"r";
        case SC_RESTORE: return L"2";
        default: return nullptr;
    }
}

// The same commands in any font, for machines without "Webdings".
const wchar_t* PlainGlyph(int tag) {
    switch (tag) {
        case SC_MINIMIZE: return L"_";
        case SC_MAXIMIZE: return L"\u25A1";
        case SC_CLOSE: return L"\u00D7";
        case SC_RESTORE: return L"\u25A1";
        default: return nullptr;
    }
}

int CALLBACK NoteFontFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool FontInstalled(const wchar_t* face) {
    LOGFONTW lf{};
    lf.lfCharSet = DEFAULT_CHARSET;
    wcsncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    bool found = false;
    HDC dc = GetDC(nullptr);
    EnumFontFamiliesExW(dc, &lf, NoteFontFound, reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, dc);
    return found;
}

bool WebdingsInstalled() {
    static const bool installed = FontInstalled(L"Webdings");
    return installed;
}

bool IsSystemMenu(const tk::TMenuItem* item) {
    const tk::TMenu* menu = item->GetParentMenu();
    return menu && menu->Name().rfind(L"acSysMenu", 0) == 0;
}

// The check mark of a checked item without an image: "RADIOCHECKED" or "CHECK" of "GLOBALINFO",
// "BOXCHECKED" when that is missing, vertically centred after the margin.
void DrawCheckMark(const TSkinModel* model, const tk::TMenuItem* item, TPiece& piece, bool rtl, bool hot, int margin) {
    int mask = model->GetMaskIndex(L"GLOBALINFO", item->RadioItem ? L"RADIOCHECKED" : L"CHECK");
    if (!model->IsValidImgIndex(mask)) mask = model->GetMaskIndex(L"GLOBALINFO", L"BOXCHECKED");
    if (!model->IsValidImgIndex(mask)) return;
    const TsMaskData& m = model->ma[size_t(mask)];
    const int w = MaskImageWidth(m), h = MaskImageHeight(m);
    const int x = rtl ? piece.View.Width - 2 - margin - w : 2 + margin;
    rd::PaintMaskGlyph(&piece.View, {x, (piece.View.Height - h) / 2}, hot ? 1 : 0,
                       rd::CacheInfoForBitmap(&piece.View, 0, 0), m, 1);
}

// The item's image: the one of its image list, else its own bitmap; vertically centred at the
// left (at the right for right to left), over the pressed small speed button's face when the
// item is checked. A disabled item's list image is drawn grey. False when it has none.
bool DrawItemImage(const TSkinModel* model, const tk::TMenuItem* item, TPiece& piece, bool rtl) {
    const tk::TCustomImageList* list = item->HasListImage() ? item->ImageList() : nullptr;
    const tk::TBitmap* bitmap = list ? nullptr : item->BitmapOrNull();
    if (!list && !bitmap) return false;
    const int w = list ? list->Width() : bitmap->Width(), h = list ? list->Height() : bitmap->Height();
    const int top = (piece.View.Height - h) / 2;
    const int x = rtl ? piece.View.Width - top - w : std::min(3, top);
    if (item->Checked) {
        const int back = model->GetSkinIndex(L"SPEEDBUTTON_SMALL");
        if (model->IsValidSkinIndex(back))
            rd::PaintSectionFace(back, L"SPEEDBUTTON_SMALL", rd::CacheInfoForBitmap(&piece.View, 0, 0), -1, -1, model,
                                 &piece.View, {0, 0}, {x - 1, top - 1, x + w + 1, top + h + 1}, 2);
    }
    if (list) {
        list->Draw(piece.DC(), x, top, item->ImageIndex, item->Enabled);
        GdiFlush();
        return true;
    }
    const rd::TBitmap32 image = ViewOf(*bitmap);
    rd::AlphaOver32({x, top, x + image.Width, top + image.Height}, {0, 0, image.Width, image.Height}, &piece.View, false,
                    rd::CacheInfoForBitmap(&piece.View, 0, 0), &image);
    return true;
}

// A system-menu command's caption-button glyph in "Webdings" (a plain character without that
// font), in a box as high as the glyph at the item's left (right for right to left).
void DrawSysMenuGlyph(const TSkinModel* model, int tag, HDC dc, int width, int height, bool rtl, bool hot, int section) {
    const bool webdings = WebdingsInstalled();
    const wchar_t* glyph = webdings ? SysMenuGlyph(tag) : PlainGlyph(tag);
    if (!glyph) return;
    HFONT glyphFont = nullptr;
    if (webdings) {
        const int size = -MulDiv(10, GetDeviceCaps(dc, LOGPIXELSY), 72);
        glyphFont = CreateFontW(size, 0, 0, 0, FW_NORMAL, 0, 0, 0, SYMBOL_CHARSET, 0, 0, 0, 0, L"Webdings");
    }
    HGDIOBJ previous = glyphFont ? SelectObject(dc, glyphFont) : nullptr;
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    const int h = tm.tmHeight;
    RECT box = rtl ? RECT{width - h - 4, (height - h) / 2, width - 4, (height - h) / 2 + h}
                   : RECT{4, (height - h) / 2, h + 14, (height - h) / 2 + h};
    rd::WriteSkinText(dc, glyph, true, model, hot ? 1 : 0, section, DT_SINGLELINE | DT_NOPREFIX | (rtl ? DT_RIGHT : DT_LEFT),
                      box);
    if (glyphFont) DeleteObject(SelectObject(dc, previous));
}

}  // namespace

// ---- Frame strips ----

void TsSkinableMenus::DrawFrameStrips(const tk::TMenuItem* item, HWND wnd, TacMenuInfo& info, RECT itemRect) {
    if (!wnd) {
        if (!FrameQueued() && tk::Application)
            PostMessageW(tk::Application->Handle(), kDrawItemFrame, 0, reinterpret_cast<LPARAM>(item));
        return;
    }
    if (!PictureFitsWindow(info.Bmp.get(), wnd)) return;
    HDC dc = GetWindowDC(wnd);
    if (!dc) return;
    HDC from = info.Bmp->Canvas().Handle();
    const int width = info.Bmp->Width(), height = info.Bmp->Height(), strip = FBorderWidth;
    if (IsFirstVisible(item)) {
        BitBlt(dc, 0, 0, width, strip, from, 0, 0, SRCCOPY);
        const int left = ExtraWidth(&info) + std::max(SkinBorderWidth(), FBorderWidth);
        BitBlt(dc, 0, 0, left, height, from, 0, 0, SRCCOPY);
    }
    if (IsLastVisible(item)) BitBlt(dc, 0, height - strip, width, strip, from, 0, height - strip, SRCCOPY);
    BitBlt(dc, width - strip, itemRect.top, strip, Height(itemRect), from, width - strip, itemRect.top, SRCCOPY);
    ReleaseDC(wnd, dc);
}

// ---- Drawing ----

void TsSkinableMenus::sAdvancedDrawItem(tk::TMenuItem* item, tk::TCanvas& canvas, RECT rect,
                                        tk::TOwnerDrawState state) {
    if (!item || item->Destroying()) return;
    const TSkinModel* model = Model();
    HWND wnd = MenuWindowOfDC(canvas.Handle());
    TacMenuInfo* info = model ? GetMenuInfo(item, wnd, &canvas) : nullptr;
    if (!info || !info->Bmp || !info->Bmp->Row0()) {
        // Nothing to draw over: the platform's look keeps the menu usable.
        item->OnAdvancedDrawItem.Clear();
        item->AdvancedDrawItem(canvas, rect, state);
        InitItem(item, true);
        return;
    }
    // Canvas point (x, y) lies over the picture's pixel (x + toBg.x, y + toBg.y).
    POINT toBg{FBorderWidth, FBorderWidth};
    if (wnd) {
        RECT wr{};
        POINT origin{0, 0};
        if (GetWindowRect(wnd, &wr) && ClientToScreen(wnd, &origin)) toBg = POINT{origin.x - wr.left, origin.y - wr.top};
    }
    RECT windowRect = rect;
    OffsetRect(&windowRect, toBg.x, toBg.y);
    DrawFrameStrips(item, wnd, *info, windowRect);
    it = ItemKind(item->Caption);
    switch (it) {
        case TsMenuItemType::smDivider: DrawDivider(canvas, rect, *info, toBg); break;
        case TsMenuItemType::smCaption: DrawCaptionItem(item, canvas, rect, *info, toBg); break;
        default: DrawNormalItem(item, canvas, rect, state, *info, toBg); break;
    }
}

void TsSkinableMenus::DrawDivider(tk::TCanvas& canvas, RECT rect, TacMenuInfo& info, POINT toBg) {
    const TSkinModel* model = Model();
    const rd::TBitmap32 b = ViewOf(*info.Bmp);
    const int icoLine = model->GetSkinIndex(FOwner->MenuSupport.IcoLineSkin);
    const bool stripShown = model->IsValidSkinIndex(icoLine) &&
                            !(model->gd[size_t(icoLine)].Transparency > 99 && model->gd[size_t(icoLine)].BorderIndex < 0);
    const int f = ExtraWidth(&info);
    const int left = stripShown ? f + FIcoLineWidth + 2 : f + FMargin;
    const int right = Width(rect) - FMargin;
    TPiece piece(Width(rect), Height(rect));
    if (!piece.View.Row0) return;
    CopyFromPicture(piece, b, rect.left + toBg.x, rect.top + toBg.y);
    const int divider = model->GetSkinIndex(L"DIVIDERV");
    const int mask = model->IsValidSkinIndex(divider) ? model->gd[size_t(divider)].BorderIndex : -1;
    if (model->IsValidImgIndex(mask)) {
        rd::PaintMaskNinePart(&piece.View, {left, 0, right, Height(rect)}, rd::CacheInfoForBitmap(&piece.View, 0, 0), true,
                              0, model->ma[size_t(mask)]);
    } else {
        rd::TColor color = model->Palette[pcBorder];
        if (color == rd::clMagenta) color = static_cast<rd::TColor>(GetSysColor(COLOR_BTNSHADOW));
        const uint32_t pixel = 0xFF000000u | (uint32_t(color & 0xFF) << 16) | uint32_t(color & 0xFF00) |
                               uint32_t((color >> 16) & 0xFF);
        for (int x = std::max(left, 0); x < std::min(right, piece.View.Width); ++x) piece.View.Row(0)[x] = pixel;
    }
    BitBlt(canvas.Handle(), rect.left, rect.top, Width(rect), Height(rect), piece.DC(), 0, 0, SRCCOPY);
}

void TsSkinableMenus::DrawCaptionItem(const tk::TMenuItem* item, tk::TCanvas& canvas, RECT rect, TacMenuInfo& info,
                                      POINT toBg) {
    const TSkinModel* model = Model();
    rd::TBitmap32 b = ViewOf(*info.Bmp);
    const int width = Width(rect), height = Height(rect), extra = ExtraWidth(&info);
    TPiece piece(width, height);
    if (!piece.View.Row0) return;
    const int bx = rect.left + toBg.x, by = rect.top + toBg.y;
    CopyFromPicture(piece, b, bx, by);
    int section = model->GetSkinIndex(L"MENUCAPTION");
    const wchar_t* name = L"MENUCAPTION";
    if (!model->IsValidSkinIndex(section)) {
        section = model->GetSkinIndex(L"TOOLBAR");
        name = L"TOOLBAR";
    }
    if (model->IsValidSkinIndex(section) && width - 1 > extra + 1 && height > 2)
        rd::PaintSectionFace(section, name, rd::CacheInfoForBitmap(&b, bx, by), -1, -1, model, &piece.View, {0, 0},
                             {extra + 1, 1, width - 1, height - 1}, 0);
    tk::TFont font;
    font.Assign(tk::CustomMenuFont() ? *tk::CustomMenuFont() : CaptionFont);
    HGDIOBJ old = SelectObject(piece.DC(), font.Handle());
    RECT text{extra, FMargin + 2, width, height - FMargin - 2};
    rd::WriteSkinText(piece.DC(), CaptionItemText(item->Caption), true, model, 0, section,
                      DT_CENTER | DT_VCENTER | DT_WORDBREAK | DT_HIDEPREFIX, text);
    SelectObject(piece.DC(), old);
    GdiFlush();
    BitBlt(canvas.Handle(), rect.left, rect.top, width, height, piece.DC(), 0, 0, SRCCOPY);
}

// Pieces of the menu's picture around an item of a menu with several columns.
void TsSkinableMenus::DrawColumnPieces(const tk::TMenuItem* item, tk::TCanvas& canvas, RECT rect, TacMenuInfo& info,
                                       POINT toBg) {
    HDC from = info.Bmp->Canvas().Handle();
    const int pictureBottom = info.Bmp->Height() - toBg.y - FBorderWidth;  // canvas row where the frame starts
    auto copyBelow = [&] {
        if (rect.bottom < pictureBottom)
            BitBlt(canvas.Handle(), rect.left, rect.bottom, Width(rect), pictureBottom - rect.bottom, from,
                   rect.left + toBg.x, rect.bottom + toBg.y, SRCCOPY);
    };
    if (const tk::TMenuItem* next = NextVisible(item)) {
        if (item->Break == tk::TMenuBreak::mbBarBreak) {
            const rd::TBitmap32 b = ViewOf(*info.Bmp);
            const int x = rect.left + toBg.x - kColumnGap / 2;
            const int section = Model()->GetSkinIndex(L"MENUITEM");
            const rd::TColor color =
                Model()->IsValidSkinIndex(section) ? Model()->gd[size_t(section)].Props[0].FontColor.Color : 0x808080;
            const uint32_t pixel = 0xFF000000u | (uint32_t(color & 0xFF) << 16) | uint32_t(color & 0xFF00) |
                                   uint32_t((color >> 16) & 0xFF);
            if (x >= 0 && x < b.Width)
                for (int y = 0; y < b.Height; ++y) b.Row(y)[x] = pixel;
        }
        if (next->Break != tk::TMenuBreak::mbNone) copyBelow();
    } else if (pictureBottom - rect.bottom > 0) {
        copyBelow();
    }
    if (item->Break != tk::TMenuBreak::mbNone)
        BitBlt(canvas.Handle(), rect.left - kColumnGap, rect.top, kColumnGap, Height(rect), from,
               rect.left - kColumnGap + toBg.x, rect.top + toBg.y, SRCCOPY);
}

void TsSkinableMenus::DrawNormalItem(tk::TMenuItem* item, tk::TCanvas& canvas, RECT rect, tk::TOwnerDrawState state,
                                     TacMenuInfo& info, POINT toBg) {
    const TSkinModel* model = Model();
    rd::TBitmap32 b = ViewOf(*info.Bmp);
    const tk::TMenu* menu = item->GetParentMenu();
    const bool rtl = menu && menu->RightToLeft;
    const int section = model->GetSkinIndex(L"MENUITEM");
    const bool sectionValid = model->IsValidSkinIndex(section);
    const bool hot = item->Enabled && (state & ODS_SELECTED);
    const bool hotLit = item->Enabled && (state & (ODS_SELECTED | ODS_HOTLIGHT));
    DrawColumnPieces(item, canvas, rect, info, toBg);

    const int extra = InFirstColumn(item) ? ExtraWidth(&info) : 0;
    const int width = std::max(Width(rect) - extra, 0), height = Height(rect);
    TPiece piece(width, height);
    if (!piece.View.Row0) return;
    const int bx = extra + rect.left + toBg.x, by = rect.top + toBg.y;
    CopyFromPicture(piece, b, bx, by);
    const rd::TRect whole{0, 0, width, height};
    if (sectionValid)
        rd::PaintSectionFace(section, L"MENUITEM", rd::CacheInfoForBitmap(&b, bx, by), -1, -1, model, &piece.View,
                             {0, 0}, whole, hot ? 1 : 0);

    const bool image = DrawItemImage(model, item, piece, rtl);
    if (item->Checked && !image) DrawCheckMark(model, item, piece, rtl, hot, FMargin);

    HDC dc = piece.DC();
    HGDIOBJ oldFont = GetCurrentObject(dc, OBJ_FONT);
    if (!sectionValid) SetTextColor(dc, GetSysColor(item->Enabled ? COLOR_MENUTEXT : COLOR_GRAYTEXT));
    if (!image && IsSystemMenu(item) && item->Tag() >= kFirstSysCommand)
        DrawSysMenuGlyph(model, item->Tag(), dc, width, height, rtl, hotLit, sectionValid ? section : -1);
    // A font colour of the item's own is written as it is, not in the section's colours.
    const bool ownColour = SelectItemFont(item, state, dc);
    if (ownColour) SetTextColor(dc, tk::ColorToRGB(FItemData.Font.Color));
    const int textSection = sectionValid && !ownColour ? section : -1;

    const int imageWidth = ItemImageSize(item).cx;
    const int indent = imageWidth + 2 * FMargin + FSpacing;
    RECT text{0, 0, width, height};
    if (rtl) text.right -= indent + extra;
    else text.left += indent;
    text.top += 1 + FMargin;
    text.bottom -= FMargin;
    std::wstring caption = item->Caption, afterTab;
    UINT align = Alignment == TsMenuAlignment::taRightJustify ? DT_RIGHT
                 : Alignment == TsMenuAlignment::taCenter   ? DT_CENTER
                                                            : DT_LEFT;
    if (const size_t tab = caption.find(L'\t'); tab != std::wstring::npos) {
        afterTab = caption.substr(tab + 1);
        caption.resize(tab);
        align = DT_LEFT;
    } else if (!caption.empty() && caption.front() == L'\x08') {
        caption = caption.substr(1) + L"      ";
        align = DT_RIGHT;
    }
    UINT format = align | DT_EXPANDTABS | DT_VCENTER | DT_NOCLIP;
    format |= caption.find(L'\r') != std::wstring::npos ? DT_WORDBREAK : DT_SINGLELINE;
    if (rtl) format |= DT_RIGHT | DT_RTLREADING;
    if (state & ODS_NOACCEL) format |= DT_HIDEPREFIX;
    rd::WriteSkinText(dc, caption, item->Enabled, model, hotLit ? 1 : 0, textSection, format, text);
    if (!item->ShortCutText.empty()) {
        SIZE s{};
        GetTextExtentPoint32W(dc, item->ShortCutText.c_str(), int(item->ShortCutText.size()), &s);
        const int left = rtl ? 6 : Width(rect) - s.cx - kShortcutGap - extra;
        RECT shortcut{left, text.top, Width(rect) - kShortcutGap - extra, text.bottom};
        rd::WriteSkinText(dc, item->ShortCutText, item->Enabled, model, hotLit ? 1 : 0, textSection,
                          DT_LEFT | DT_SINGLELINE | DT_VCENTER, shortcut);
    }
    if (!afterTab.empty()) {
        RECT tabText = text;
        tabText.right -= kShortcutGap;
        rd::WriteSkinText(dc, afterTab, item->Enabled, model, hotLit ? 1 : 0, textSection,
                          DT_RIGHT | DT_SINGLELINE | DT_VCENTER, tabText);
    }
    SelectObject(dc, oldFont);
    GdiFlush();
    if (OnDrawItem) OnDrawItem(item, piece.Bmp.Canvas(), RECT{0, 0, width, height}, state, it);
    if (!item->Enabled)
        rd::BlendFromBitmap(&piece.View, 0, 0, 0x00FF00FF, rd::DisabledBlendLevel,
                            {bx, by, bx + width, by + height}, &b);
    BitBlt(canvas.Handle(), extra + rect.left, rect.top, width, height, dc, 0, 0, SRCCOPY);
    if (extra > 0 && IsFirstVisible(item) && info.Bmp->Height() > 0)
        BitBlt(canvas.Handle(), 0, 0, extra, info.Bmp->Height(), info.Bmp->Canvas().Handle(), toBg.x, toBg.y, SRCCOPY);
}

}  // namespace sk
