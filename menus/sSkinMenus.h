// The skin manager's menu support: popup menus are switched to owner drawing just before they
// are shown, their items are measured and painted from the skin's sections, each open menu's
// whole picture (background, icon strip, border, optional extra line) is composed once into a
// background bitmap, and the menu window's frame and region are taken from that picture.
#pragma once
#include <functional>

#include "menus/sMenuInfo.h"
#include "skinframework/sSkinManager.h"
#include "toolkit/Menus.h"

namespace sk {

enum class TsMenuAlignment { taLeftJustify, taRightJustify, taCenter };

// Called after the skin drawing of a normal item, with the item picture's canvas and rectangle.
using TsMenuManagerDrawItemEvent =
    std::function<void(tk::TMenuItem* item, tk::TCanvas& canvas, RECT rect, tk::TOwnerDrawState state,
                       TsMenuItemType kind)>;

// What a menu's vertical extra line shows, asked before the menu's picture is made (and while
// its items are measured, to know whether the line is there): the section of its strip, its
// caption (any "&" is dropped), a glyph drawn above the caption (left empty: none) and whether
// the line is shown at all.
struct TacExtraLineData {
    std::wstring SkinSection = L"EXTRALINE";
    std::wstring Caption = L"Use OnGetExtraLineData event";
    tk::TBitmap Glyph;
    bool LineVisible = true;
};
using TacGetExtraLineData = std::function<void(const tk::TMenuItem* firstItem, TacExtraLineData& data)>;

// The font an item is measured and written in; the handler may change it (a changed colour is
// used instead of the item section's text colour).
struct TacMenuItemData {
    tk::TFont Font;
};
using TacGetPopupItemData =
    std::function<void(tk::TMenuItem* item, tk::TOwnerDrawState state, TacMenuItemData& data)>;

class TsSkinableMenus : public TacMenuSkinning {
public:
    explicit TsSkinableMenus(TsSkinManager* owner);
    ~TsSkinableMenus() override;

    TsMenuItemType it = TsMenuItemType::smNormal;  // kind of the item being measured or drawn
    int Margin() const { return FMargin; }
    void SetMargin(int value) { FMargin = value; }
    TsMenuAlignment Alignment = TsMenuAlignment::taLeftJustify;
    int BevelWidth = 0;
    int BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int value) { FBorderWidth = value; }
    tk::TFont CaptionFont;
    int Spacing() const { return FSpacing; }
    void SetSpacing(int value) { FSpacing = value; }
    TsMenuManagerDrawItemEvent OnDrawItem;
    // The manager's two data events, kept with its menu support.
    TacGetExtraLineData OnGetMenuExtraLineData;
    TacGetPopupItemData OnGetPopupItemData;
    bool Active() const { return FActive; }

    // TacMenuSkinning
    void HookPopupMenu(tk::TPopupMenu* menu, bool active) override;
    void MenuWindowCreated(HWND window) override;
    bool ApplicationMessage(tk::TMessage& m) override;
    void SkinChanged() override;

    // The same as HookPopupMenu for the sub-items of one item.
    void HookItem(tk::TMenuItem* item, bool active);
    // One item: the engine's handlers set where the item has none (active and skinned popups),
    // or taken away where they are the engine's.
    void InitItem(tk::TMenuItem* item, bool active);
    // Hooks (or unhooks) every menu owned, at any depth, by the application's components.
    void InitItems(bool active);
    void SetActive(bool value);
    // Follows the manager: hooked while its skin is active.
    void UpdateMenus();

    // The item handlers.
    void sMeasureItem(tk::TMenuItem* item, tk::TCanvas& canvas, int& width, int& height);
    void sAdvancedDrawItem(tk::TMenuItem* item, tk::TCanvas& canvas, RECT rect, tk::TOwnerDrawState state);

    // The entry of item's menu; with a canvas it is made when missing or when its picture is
    // not the window's size (the picture sized to wnd's rectangle, or windowSize when the
    // window is just taking that size; the menu's own size without a window).
    TacMenuInfo* GetMenuInfo(const tk::TMenuItem* item, HWND wnd, tk::TCanvas* canvas,
                             const SIZE* windowSize = nullptr);
    // Composes the menu's picture and adds the menu's entry.
    TacMenuInfo* PrepareMenuBG(const tk::TMenuItem* item, int width, int height, HWND wnd);
    // Applies the region of the menu's picture to its window and copies the frame strips,
    // only when the picture has the window's size (or comingSize, the size the window is
    // just taking).
    void DrawWndBorder(HWND wnd, TacMenuInfo& info, const SIZE* comingSize = nullptr);
    // The extra line's width for items of the first column of this menu; 0 without one.
    int ExtraWidth(const TacMenuInfo* info) const;
    int ExtraWidthOf(bool haveExtraLine) const;
    // The border width of the "MAINMENU" border mask (3 when it claims none; 0 without one).
    int SkinBorderWidth();
    // FMargin + image width + FSpacing of the last prepared menu.
    int IcoLineWidth() const { return FIcoLineWidth; }
    bool IsPopupItem(const tk::TMenuItem* item) const;
    TsSkinManager* Manager() const { return FOwner; }
    TMenuMetrics Metrics() const { return {FMargin, FSpacing, FBorderWidth}; }
    // The menu window whose device context dc is, or null.
    static HWND MenuWindowOfDC(HDC dc);
    // The picture of the menu whose items were measured last, made for its window when
    // missing (the window's background and frame are painted before any item is drawn).
    TacMenuInfo* PrepareForWindow(HWND wnd, const SIZE* comingSize = nullptr);
    // The screen's menu font (bold for the default item), made once per shown menu.
    tk::TFont& ItemFont(bool bold);

private:
    const TSkinModel* Model() const;
    // What the extra line of a menu starting with firstItem shows; never a line in a menu whose
    // first item is "SkinSelectItem".
    void AskExtraLine(const tk::TMenuItem* firstItem, TacExtraLineData& data) const;
    bool DecideExtraLine(const tk::TMenuItem* firstItem) const;
    // The item's font (OnGetPopupItemData may change it) selected into dc; true when the
    // handler changed its colour.
    bool SelectItemFont(tk::TMenuItem* item, tk::TOwnerDrawState state, HDC dc);
    SIZE MeasureText(tk::TCanvas& canvas, const std::wstring& text, int width) const;
    SIZE MenuSizeWithoutWindow(const tk::TMenuItem* parent, tk::TCanvas& canvas);
    void PaintIconStrip(tk::TBitmap& bmp, int height, int extraWidth);
    void PaintExtraLine(tk::TBitmap& bmp, int height, TacExtraLineData& data);

    // Item drawing (sSkinMenusDraw.cpp).
    void DrawFrameStrips(const tk::TMenuItem* item, HWND wnd, TacMenuInfo& info, RECT itemRect);
    void DrawDivider(tk::TCanvas& canvas, RECT rect, TacMenuInfo& info, POINT toBg);
    void DrawCaptionItem(const tk::TMenuItem* item, tk::TCanvas& canvas, RECT rect, TacMenuInfo& info, POINT toBg);
    void DrawNormalItem(tk::TMenuItem* item, tk::TCanvas& canvas, RECT rect, tk::TOwnerDrawState state,
                        TacMenuInfo& info, POINT toBg);
    void DrawColumnPieces(const tk::TMenuItem* item, tk::TCanvas& canvas, RECT rect, TacMenuInfo& info, POINT toBg);

    int FMargin = 2;
    int FBorderWidth = 3;
    int FSkinBorderWidth = -1;
    int FSpacing = 8;
    int FIcoLineWidth = 0;
    bool FActive = false;
    const tk::TMenuItem* FLastMeasured = nullptr;
    tk::TFont FItemFont, FBoldFont;
    TacMenuItemData FItemData;  // the handler's font, kept while it is selected
    bool FFontsValid = false;
    TsSkinManager* FOwner;
    bool BorderDrawing = false;
};

// Copies the picture's frame strips (3 pixels wide) into a window device context.
void CopyMenuFrame(HDC target, tk::TBitmap& picture);

}  // namespace sk
