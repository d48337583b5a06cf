// The open menus' pictures and the rules of item geometry. Each menu whose background picture
// exists has one entry, found by its first item or by its window; all entries go at once when
// any menu window is destroyed. Item kinds and sizes are plain functions of their inputs.
#pragma once
#include <windows.h>

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "render/sGraphUtils.h"
#include "toolkit/Graphics.h"
#include "toolkit/Menus.h"

namespace sk {

enum class TsMenuItemType { smCaption, smDivider, smNormal, smTopLine };

// One open menu: its picture (the menu window's size) and the corner pixels its window region
// loses. The cut-outs belong to the menu, so two open menus of different heights keep theirs.
struct TacMenuInfo {
    const tk::TMenuItem* FirstItem = nullptr;
    std::unique_ptr<tk::TBitmap> Bmp;
    HWND Wnd = nullptr;
    bool HaveExtraLine = false;
    std::vector<rd::TRect> CutOuts;
};

// The entries of the open menus (a deque: an entry stays where it is while others are added).
std::deque<TacMenuInfo>& MenuInfoList();
// The entry of the menu whose first item is firstItem, or null.
TacMenuInfo* FindMenuInfo(const tk::TMenuItem* firstItem);
// The entry whose window is wnd, or null.
TacMenuInfo* FindMenuInfoByWindow(HWND wnd);
// Frees every picture and empties the list.
void ClearMenuInfoList();

// The pixels of a toolkit bitmap for the painting routines (no rows when it is empty).
rd::TBitmap32 ViewOf(const tk::TBitmap& bitmap);
// True when the picture exists and is width x height.
bool PictureFits(const tk::TBitmap* bitmap, int width, int height);
// The window's size; false when its rectangle cannot be read.
bool MenuWindowSize(HWND wnd, SIZE& size);
// True when the picture exists and has the window's size.
bool PictureFitsWindow(const tk::TBitmap* bitmap, HWND wnd);

// Set whenever an item is measured; cleared when a menu window is destroyed.
extern bool MenusMeasuring;

// "-" is a divider; a caption whose first and last characters are dashes is a caption item;
// everything else is a normal item.
TsMenuItemType ItemKind(const std::wstring& caption);
// The first "-"-separated field of a caption item's text ("-Word-" shows "Word").
std::wstring CaptionItemText(const std::wstring& caption);

// The sizes of the menu's layout that measuring and drawing share.
struct TMenuMetrics {
    int Margin = 2;
    int Spacing = 8;
    int BorderWidth = 3;
};

// The width an item asks for: its text and two image widths, three margins and the spacing
// (dividers have no text), plus the extra line for items of the first column.
int MeasuredItemWidth(TsMenuItemType kind, int textWidth, int imageWidth, const TMenuMetrics& m, int extraWidth);
// The height an item asks for: 2 for a divider; a caption item its text height plus two margins
// and 3; a normal item the larger of text and image height plus two margins and 2.
int MeasuredItemHeight(TsMenuItemType kind, int textHeight, int imageHeight, const TMenuMetrics& m);

// One visible item as the whole menu's size sees it.
struct TMeasuredItem {
    int Width = 0;
    int Height = 0;
    bool Break = false;  // the item starts a new column
};
// The size of a menu without a window: columns side by side (each its widest item + 12, 4
// between columns), the tallest column, both plus the two frame strips.
SIZE MenuSizeOf(const std::vector<TMeasuredItem>& items, const TMenuMetrics& m);

// The size of an item's picture: its own bitmap, else the size of its image list (the parent's
// SubMenuImages, else the menu's Images), else 16 x 16.
SIZE ItemImageSize(const tk::TMenuItem* item);
// True when no item of its parent up to and including this one starts a column.
bool InFirstColumn(const tk::TMenuItem* item);

}  // namespace sk
