#include "menus/sMenuInfo.h"

#include <algorithm>

namespace sk {

bool MenusMeasuring = false;

std::deque<TacMenuInfo>& MenuInfoList() {
    static std::deque<TacMenuInfo> list;
    return list;
}

TacMenuInfo* FindMenuInfo(const tk::TMenuItem* firstItem) {
    if (!firstItem) return nullptr;
    for (TacMenuInfo& info : MenuInfoList())
        if (info.FirstItem == firstItem) return &info;
    return nullptr;
}

TacMenuInfo* FindMenuInfoByWindow(HWND wnd) {
    if (!wnd) return nullptr;
    for (TacMenuInfo& info : MenuInfoList())
        if (info.Wnd == wnd) return &info;
    return nullptr;
}

void ClearMenuInfoList() { MenuInfoList().clear(); }

rd::TBitmap32 ViewOf(const tk::TBitmap& bitmap) {
    rd::TBitmap32 v;
    if (!bitmap.Row0()) return v;
    v.Row0 = bitmap.Row0();
    v.Stride = bitmap.Stride();
    v.Width = bitmap.Width();
    v.Height = bitmap.Height();
    return v;
}

bool PictureFits(const tk::TBitmap* bitmap, int width, int height) {
    return bitmap && bitmap->Row0() && width > 0 && height > 0 && bitmap->Width() == width &&
           bitmap->Height() == height;
}

bool MenuWindowSize(HWND wnd, SIZE& size) {
    RECT r;
    if (!wnd || !GetWindowRect(wnd, &r)) return false;
    size = SIZE{r.right - r.left, r.bottom - r.top};
    return true;
}

bool PictureFitsWindow(const tk::TBitmap* bitmap, HWND wnd) {
    SIZE size;
    return MenuWindowSize(wnd, size) && PictureFits(bitmap, size.cx, size.cy);
}

TsMenuItemType ItemKind(const std::wstring& caption) {
    if (caption == L"-") return TsMenuItemType::smDivider;
    if (caption.size() >= 2 && caption.front() == L'-' && caption.back() == L'-') return TsMenuItemType::smCaption;
    return TsMenuItemType::smNormal;
}

std::wstring CaptionItemText(const std::wstring& caption) {
    // Fields are separated by dashes; leading dashes open an empty field each, so the first
    // field with text is the one shown.
    size_t start = 0;
    while (start < caption.size()) {
        const size_t end = caption.find(L'-', start);
        const std::wstring field = caption.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
        if (!field.empty()) return field;
        if (end == std::wstring::npos) break;
        start = end + 1;
    }
    return {};
}

int MeasuredItemWidth(TsMenuItemType kind, int textWidth, int imageWidth, const TMenuMetrics& m, int extraWidth) {
    const int text = kind == TsMenuItemType::smDivider ? 0 : textWidth;
    return text + 2 * imageWidth + 3 * m.Margin + m.Spacing + extraWidth;
}

int MeasuredItemHeight(TsMenuItemType kind, int textHeight, int imageHeight, const TMenuMetrics& m) {
    switch (kind) {
        case TsMenuItemType::smDivider: return 2;
        case TsMenuItemType::smCaption: return textHeight + 2 * m.Margin + 3;
        default: return std::max(textHeight, imageHeight) + 2 * m.Margin + 2;
    }
}

SIZE MenuSizeOf(const std::vector<TMeasuredItem>& items, const TMenuMetrics& m) {
    int width = 0, height = 0, columnWidth = 0, columnHeight = 0;
    bool anyColumn = false;
    auto closeColumn = [&] {
        if (!anyColumn) return;
        width += (width > 0 ? 4 : 0) + columnWidth + 12;
        height = std::max(height, columnHeight);
        columnWidth = columnHeight = 0;
        anyColumn = false;
    };
    for (const TMeasuredItem& item : items) {
        if (item.Break) closeColumn();
        columnWidth = std::max(columnWidth, item.Width);
        columnHeight += item.Height;
        anyColumn = true;
    }
    closeColumn();
    return SIZE{width + 2 * m.BorderWidth, height + 2 * m.BorderWidth};
}

SIZE ItemImageSize(const tk::TMenuItem* item) {
    if (const tk::TBitmap* bitmap = item ? item->BitmapOrNull() : nullptr) return SIZE{bitmap->Width(), bitmap->Height()};
    if (const tk::TCustomImageList* list = item ? item->ImageList() : nullptr) return SIZE{list->Width(), list->Height()};
    return SIZE{16, 16};
}

bool InFirstColumn(const tk::TMenuItem* item) {
    const tk::TMenuItem* parent = item ? item->Parent() : nullptr;
    if (!parent) return true;
    for (int i = 0; i < parent->Count(); ++i) {
        const tk::TMenuItem* sibling = parent->Items(i);
        if (sibling->Break != tk::TMenuBreak::mbNone) return false;
        if (sibling == item) return true;
    }
    return true;
}

}  // namespace sk
