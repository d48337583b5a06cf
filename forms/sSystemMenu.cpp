#include "forms/sSystemMenu.h"

#include <iterator>

#include "skinframework/sSkinManager.h"

namespace sk {

namespace {

struct TStandardItem {
    const wchar_t* Name;
    int Tag;
    const wchar_t* Fallback;
};

constexpr TStandardItem kRestore{L"acIR", SC_RESTORE, L"&Restore"};
constexpr TStandardItem kMove{L"acIM", SC_MOVE, L"&Move"};
constexpr TStandardItem kSize{L"acIS", SC_SIZE, L"&Size"};
constexpr TStandardItem kMinimize{L"acIN", SC_MINIMIZE, L"Mi&nimize"};
constexpr TStandardItem kMaximize{L"acIX", SC_MAXIMIZE, L"Ma&ximize"};
constexpr TStandardItem kClose{L"acIC", SC_CLOSE, L"&Close\tAlt+F4"};

// System commands the platform owns; other entries of the window's menu are its own extras.
bool IsPlatformCommand(UINT id) { return id >= 0xF000 && id <= 0xF1FF; }

std::wstring MenuText(HMENU menu, UINT command) {
    wchar_t text[256] = {};
    if (!menu || GetMenuStringW(menu, command, text, int(std::size(text)), MF_BYCOMMAND) <= 0) return {};
    return text;
}

TsSystemMenuItem Standard(const TStandardItem& item, HMENU own) {
    std::wstring caption = MenuText(own, UINT(item.Tag));
    return {item.Name, item.Tag, caption.empty() ? item.Fallback : caption, true, true};
}

TsSystemMenuItem Separator() { return {L"", 0, L"", true, true}; }

}  // namespace

TsSystemMenu::TsSystemMenu(HWND form) : FForm(form), FName(L"acSysMenu" + std::to_wstring(GetTickCount())) {
    Generate();
}

void TsSystemMenu::Generate() {
    FItems.clear();
    HMENU own = GetSystemMenu(FForm, FALSE);
    for (const TStandardItem* item : {&kRestore, &kMove, &kSize, &kMinimize, &kMaximize})
        FItems.push_back(Standard(*item, own));
    FItems.push_back(Separator());
    bool extras = false;
    const int count = own ? GetMenuItemCount(own) : 0;
    for (int i = 0; i < count; ++i) {
        const UINT id = GetMenuItemID(own, i);
        if (id == 0 || id == UINT(-1) || IsPlatformCommand(id)) continue;
        FItems.push_back({L"", int(id), MenuText(own, id), true, true});
        extras = true;
    }
    if (extras) FItems.push_back(Separator());
    FItems.push_back(Standard(kClose, own));
    UpdateItems();
}

TSystemMenuState TsSystemMenu::ReadState() const {
    const LONG_PTR style = GetWindowLongPtrW(FForm, GWL_STYLE);
    const LONG_PTR exStyle = GetWindowLongPtrW(FForm, GWL_EXSTYLE);
    TSystemMenuState s;
    s.Sizeable = (style & WS_THICKFRAME) != 0;
    s.Dialog = (exStyle & (WS_EX_DLGMODALFRAME | WS_EX_TOOLWINDOW)) != 0 || !(style & WS_CAPTION);
    s.HasMin = (style & WS_MINIMIZEBOX) != 0;
    s.HasMax = (style & WS_MAXIMIZEBOX) != 0;
    s.Iconic = IsIconic(FForm) != FALSE;
    s.Maximized = IsZoomed(FForm) != FALSE;
    HMENU own = GetSystemMenu(FForm, FALSE);
    const UINT closeState = own ? GetMenuState(own, SC_CLOSE, MF_BYCOMMAND) : UINT(-1);
    s.CloseEnabled = closeState != UINT(-1) && !(closeState & (MF_GRAYED | MF_DISABLED));
    return s;
}

void TsSystemMenu::UpdateItems() { UpdateItems(ReadState()); }

void TsSystemMenu::UpdateItems(const TSystemMenuState& s) {
    for (TsSystemMenuItem& item : FItems) {
        switch (item.Tag) {
            case SC_RESTORE:
                item.Visible = !s.Dialog;
                item.Enabled = s.Iconic || s.Maximized;
                break;
            case SC_MOVE: item.Enabled = !s.Maximized; break;
            case SC_SIZE:
                item.Visible = s.Sizeable;
                item.Enabled = s.Sizeable && !s.Maximized && !s.Iconic;
                break;
            case SC_MINIMIZE:
                item.Visible = s.HasMin || s.Iconic;
                item.Enabled = !s.Iconic;
                break;
            case SC_MAXIMIZE:
                item.Visible = s.HasMax;
                item.Enabled = !s.Maximized;
                break;
            case SC_CLOSE: item.Enabled = s.CloseEnabled; break;
            default: break;
        }
    }
}

const TsSystemMenuItem* TsSystemMenu::Find(const wchar_t* name) const {
    for (const TsSystemMenuItem& item : FItems)
        if (item.Name == name) return &item;
    return nullptr;
}

void TsSystemMenu::BuildMenu(tk::TPopupMenu& menu) const {
    menu.SetName(FName);
    menu.OwnerWindow = FForm;
    tk::TMenuItem* last = nullptr;
    for (const TsSystemMenuItem& item : FItems) {
        if (!item.Visible) continue;
        const bool separator = item.Tag == 0;
        if (separator && (!last || last->IsLine())) continue;
        auto* entry = new tk::TMenuItem(&menu);
        entry->SetName(item.Name);
        entry->SetTag(item.Tag);
        entry->Enabled = item.Enabled;
        const size_t tab = item.Caption.find(L'\t');
        entry->Caption = separator ? L"-" : item.Caption.substr(0, tab);
        if (tab != std::wstring::npos) entry->ShortCutText = item.Caption.substr(tab + 1);
        menu.Items()->Add(entry);
        last = entry;
    }
    if (last && last->IsLine()) tk::TComponent::Free(last);
}

int TsSystemMenu::DropDown(int x, int y) {
    UpdateItems();
    tk::TPopupMenu menu(nullptr);
    BuildMenu(menu);
    TsSkinManager* manager = TsSkinManager::DefaultManager();
    TacMenuSkinning* skinning = manager && manager->SkinnedPopups ? manager->SkinableMenus() : nullptr;
    if (skinning) skinning->HookPopupMenu(&menu, true);
    const tk::TMenuItem* chosen = menu.Popup(x, y);
    const int command = chosen ? chosen->Tag() : 0;
    if (skinning) skinning->HookPopupMenu(&menu, false);
    if (command != 0) PostMessageW(FForm, WM_SYSCOMMAND, WPARAM(command), 0);
    return command;
}

}  // namespace sk
