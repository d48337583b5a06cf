// The skinned window's own system menu: restore, move, size, minimize, maximize, the window's
// extra system-menu entries and close, shown and enabled by the window's styles and state.
// It drops down as a popup menu named "acSysMenu..." whose items carry the commands as tags;
// the skin manager's menu support draws it in the skin's look when popups are skinned.
#pragma once
#include <windows.h>

#include "toolkit/Menus.h"

#include <string>
#include <vector>

namespace sk {

struct TsSystemMenuItem {
    std::wstring Name;     // "acIR", "acIM", ...; empty for separators and extra entries
    int Tag = 0;           // the system command; 0 for a separator
    std::wstring Caption;
    bool Visible = true;
    bool Enabled = true;
};

// The facts of the window the items follow.
struct TSystemMenuState {
    bool Sizeable = false;     // thick frame (border styles single-dialog and tool window never)
    bool Dialog = false;       // dialog, none or tool-window border style: no restore item
    bool HasMin = false, HasMax = false;
    bool Iconic = false, Maximized = false;
    bool CloseEnabled = true;  // the window's own system menu has an enabled close command
};

class TsSystemMenu {
public:
    explicit TsSystemMenu(HWND form);
    // Builds the items from the window's own system menu (captions, extra entries).
    void Generate();
    // Shows and enables the items by the window's current state.
    void UpdateItems();
    void UpdateItems(const TSystemMenuState& state);
    const std::vector<TsSystemMenuItem>& Items() const { return FItems; }
    const std::wstring& Name() const { return FName; }
    const TsSystemMenuItem* Find(const wchar_t* name) const;

    // Pops the menu up at the screen point and sends the chosen command to the window.
    // Returns the command chosen, 0 when the menu was closed without a choice.
    int DropDown(int x, int y);
    // The window's state as the items see it.
    TSystemMenuState ReadState() const;

    // Fills menu with the visible items (no separator first, last or twice in a row).
    void BuildMenu(tk::TPopupMenu& menu) const;

private:
    HWND FForm;
    std::wstring FName;
    std::vector<TsSystemMenuItem> FItems;
};

}  // namespace sk
