#include "toolkit/Menus.h"

#include <algorithm>
#include <unordered_set>

#include "toolkit/Application.h"

namespace tk {

namespace {

// Every item alive: an address the platform hands back is used only when it is one of them.
std::unordered_set<const TMenuItem*>& LiveItems() {
    static std::unordered_set<const TMenuItem*> items;
    return items;
}

std::unique_ptr<TFont>& CustomFontSlot() {
    static std::unique_ptr<TFont> font;
    return font;
}

constexpr wchar_t kPopupListClass[] = L"TkPopupList";

LRESULT CALLBACK PopupListProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    TMessage m{msg, wp, lp, 0};
    try {
        if (DispatchMenuMessage(m)) return m.Result;
    } catch (...) {
        if (Application) Application->HandleCurrentException();
        return 0;
    }
    return DefWindowProcW(h, msg, wp, lp);
}

UINT ItemType(const TMenuItem& item, bool ownerDraw) {
    UINT type = item.IsLine() ? MFT_SEPARATOR : MFT_STRING;
    if (ownerDraw) type |= MFT_OWNERDRAW;
    if (item.RadioItem) type |= MFT_RADIOCHECK;
    if (item.Break == TMenuBreak::mbBreak) type |= MFT_MENUBREAK;
    if (item.Break == TMenuBreak::mbBarBreak) type |= MFT_MENUBARBREAK;
    return type;
}

UINT ItemState(const TMenuItem& item) {
    UINT state = item.Enabled ? MFS_ENABLED : MFS_GRAYED;
    if (item.Checked) state |= MFS_CHECKED;
    if (item.Default) state |= MFS_DEFAULT;
    return state;
}

std::wstring PlainText(const TMenuItem& item) {
    return item.ShortCutText.empty() ? item.Caption : item.Caption + L"\t" + item.ShortCutText;
}

}  // namespace

// ---- Items ----

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner) { LiveItems().insert(this); }

TMenuItem::~TMenuItem() {
    LiveItems().erase(this);
    for (TMenuItem* child : FItems) child->FParent = nullptr;
    if (FParent) FParent->Remove(this);
}

TBitmap& TMenuItem::Bitmap() {
    if (!FBitmap) FBitmap = std::make_unique<TBitmap>();
    return *FBitmap;
}

void TMenuItem::SetSubMenuImages(TCustomImageList* images) {
    ReplaceLinked(FSubMenuImages, images);
}

void TMenuItem::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component == FSubMenuImages) FSubMenuImages = nullptr;
}

TCustomImageList* TMenuItem::ImageList() const {
    if (FParent && FParent->FSubMenuImages) return FParent->FSubMenuImages;
    const TMenu* menu = GetParentMenu();
    return menu ? menu->Images() : nullptr;
}

bool TMenuItem::HasListImage() const {
    const TCustomImageList* list = ImageList();
    return list && list->ValidIndex(ImageIndex);
}

void TMenuItem::Add(TMenuItem* item) {
    if (!item || item == this || item->FParent == this) return;
    if (item->FParent) item->FParent->Remove(item);
    item->FParent = this;
    FItems.push_back(item);
}

void TMenuItem::Remove(TMenuItem* item) {
    auto it = std::find(FItems.begin(), FItems.end(), item);
    if (it == FItems.end()) return;
    (*it)->FParent = nullptr;
    FItems.erase(it);
}

TMenuItem* TMenuItem::Items(int index) const {
    return index >= 0 && index < Count() ? FItems[static_cast<size_t>(index)] : nullptr;
}

int TMenuItem::MenuIndex() const {
    if (!FParent) return -1;
    auto it = std::find(FParent->FItems.begin(), FParent->FItems.end(), this);
    return static_cast<int>(it - FParent->FItems.begin());
}

TMenu* TMenuItem::GetParentMenu() const {
    const TMenuItem* item = this;
    while (item->FParent) item = item->FParent;
    return item->FMenu;
}

void TMenuItem::Click() {
    if (OnClick) OnClick(this);
}

void TMenuItem::MeasureItem(TCanvas& canvas, int& width, int& height) {
    if (OnMeasureItem) {
        OnMeasureItem.Call(this, canvas, width, height);
        return;
    }
    if (IsLine()) {
        height = GetSystemMetrics(SM_CYMENU) / 2;
        return;
    }
    const SIZE s = canvas.TextExtent(PlainText(*this));
    width = s.cx + 8;
    height = std::max<int>(s.cy + 4, GetSystemMetrics(SM_CYMENU));
}

void TMenuItem::AdvancedDrawItem(TCanvas& canvas, RECT rect, TOwnerDrawState state) {
    if (OnAdvancedDrawItem) {
        OnAdvancedDrawItem.Call(this, canvas, rect, state);
    } else {
        const bool selected = (state & ODS_SELECTED) != 0;
        HDC dc = canvas.Handle();
        FillRect(dc, &rect, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
        if (IsLine()) {
            RECT line{rect.left, (rect.top + rect.bottom) / 2, rect.right, (rect.top + rect.bottom) / 2 + 1};
            FillRect(dc, &line, GetSysColorBrush(COLOR_BTNSHADOW));
        } else {
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, GetSysColor(!Enabled ? COLOR_GRAYTEXT : selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
            RECT text{rect.left + 4, rect.top, rect.right - 4, rect.bottom};
            canvas.TextRect(text, PlainText(*this), DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS);
        }
    }
    if (OnDrawItem) OnDrawItem(this, canvas, rect, (state & ODS_SELECTED) != 0);
}

TMenuItem* TMenuItem::FromData(ULONG_PTR data) {
    auto* item = reinterpret_cast<TMenuItem*>(data);
    return LiveItems().count(item) ? item : nullptr;
}

// ---- Menus ----

TMenu::TMenu(TComponent* owner) : TComponent(owner), FItems(new TMenuItem(this)) { FItems->FMenu = this; }

TMenu::~TMenu() { FItems->FMenu = nullptr; }

void TMenu::SetImages(TCustomImageList* images) {
    ReplaceLinked(FImages, images);
}

void TMenu::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component == FImages) FImages = nullptr;
}

void TMenu::ForEachItem(const std::function<void(TMenuItem*)>& fn) const {
    std::function<void(const TMenuItem*)> walk = [&](const TMenuItem* parent) {
        for (int i = 0; i < parent->Count(); ++i) {
            TMenuItem* item = parent->Items(i);
            fn(item);
            walk(item);
        }
    };
    walk(FItems);
}

HMENU TMenu::BuildLevel(const TMenuItem* parent, std::vector<TMenuItem*>& commands) const {
    HMENU menu = CreatePopupMenu();
    if (!menu) return nullptr;
    for (int i = 0; i < parent->Count(); ++i) {
        TMenuItem* item = parent->Items(i);
        if (!item->Visible) continue;
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_DATA | MIIM_STRING;
        info.fType = ItemType(*item, OwnerDraw);
        info.fState = ItemState(*item);
        std::wstring text = PlainText(*item);
        info.dwTypeData = text.data();
        info.dwItemData = reinterpret_cast<ULONG_PTR>(item);
        if (item->Count() > 0) {
            info.fMask |= MIIM_SUBMENU;
            info.hSubMenu = BuildLevel(item, commands);
        } else {
            commands.push_back(item);
            info.wID = static_cast<UINT>(commands.size());
        }
        InsertMenuItemW(menu, static_cast<UINT>(GetMenuItemCount(menu)), TRUE, &info);
    }
    return menu;
}

TMenuItem* TPopupMenu::Popup(int x, int y) {
    if (FShowing) return nullptr;
    if (OnPopup) OnPopup(this);
    std::vector<TMenuItem*> commands;
    HMENU menu = BuildLevel(Items(), commands);
    if (!menu) return nullptr;
    UINT flags = TPM_RETURNCMD | TPM_RIGHTBUTTON | (RightToLeft ? TPM_RIGHTALIGN | TPM_LAYOUTRTL : TPM_LEFTALIGN);
    if (MenuAnimation & maNone) flags |= TPM_NOANIMATION;
    FShowing = true;
    const UINT chosen = static_cast<UINT>(TrackPopupMenuEx(menu, flags, x, y, PopupListWindow(), nullptr));
    FShowing = false;
    DestroyMenu(menu);
    if (chosen == 0 || chosen > commands.size()) return nullptr;
    TMenuItem* item = commands[chosen - 1];
    if (!TMenuItem::FromData(reinterpret_cast<ULONG_PTR>(item))) return nullptr;  // freed meanwhile
    item->Click();
    return item;
}

// ---- Message routing ----

HWND PopupListWindow() {
    static HWND window = nullptr;
    if (window && IsWindow(window)) return window;
    WNDCLASSW wc{};
    wc.lpfnWndProc = PopupListProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kPopupListClass;
    RegisterClassW(&wc);  // fails harmlessly when already registered
    window = CreateWindowExW(0, kPopupListClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, wc.hInstance, nullptr);
    return window;
}

bool DispatchMenuMessage(TMessage& m) {
    if (m.Msg == WM_MEASUREITEM) {
        auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
        if (!mis || mis->CtlType != ODT_MENU) return false;
        TMenuItem* item = TMenuItem::FromData(mis->itemData);
        if (!item) return false;
        HDC dc = GetDC(nullptr);
        TCanvas canvas(dc);
        GetMenuFont(canvas.Font);
        int width = static_cast<int>(mis->itemWidth), height = static_cast<int>(mis->itemHeight);
        item->MeasureItem(canvas, width, height);
        mis->itemWidth = static_cast<UINT>(std::max(width, 0));
        mis->itemHeight = static_cast<UINT>(std::max(height, 0));
        ReleaseDC(nullptr, dc);
        m.Result = TRUE;
        return true;
    }
    if (m.Msg == WM_DRAWITEM) {
        auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
        if (!dis || dis->CtlType != ODT_MENU) return false;
        TMenuItem* item = TMenuItem::FromData(dis->itemData);
        if (!item) return false;
        const int saved = SaveDC(dis->hDC);
        TCanvas canvas(dis->hDC);
        GetMenuFont(canvas.Font);
        item->AdvancedDrawItem(canvas, dis->rcItem, dis->itemState);
        RestoreDC(dis->hDC, saved);
        m.Result = TRUE;
        return true;
    }
    return false;
}

// ---- The menu font ----

void GetMenuFont(TFont& font) {
    if (const TFont* custom = CustomMenuFont()) {
        font.Assign(*custom);
        return;
    }
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) return;
    const LOGFONTW& lf = metrics.lfMenuFont;
    font.Name = lf.lfFaceName;
    font.Height = lf.lfHeight;
    font.Charset = lf.lfCharSet;
    font.Style = (lf.lfWeight >= FW_BOLD ? fsBold : 0u) | (lf.lfItalic ? fsItalic : 0u);
    font.Color = clSystemBase | COLOR_MENUTEXT;
    font.Changed();
}

void SetCustomMenuFont(const TFont* font) {
    if (!font) {
        CustomFontSlot().reset();
        return;
    }
    CustomFontSlot() = std::make_unique<TFont>();
    CustomFontSlot()->Assign(*font);
}

const TFont* CustomMenuFont() { return CustomFontSlot().get(); }

}  // namespace tk
