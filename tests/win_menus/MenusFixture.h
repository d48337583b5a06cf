// What the menu tests share: the framework's test skin with the menu sections added (a plain
// "MAINMENU" whose border mask is the button's 3-pixel ring with a key-coloured top-left
// corner pixel, a two-state "MENUITEM", an "ICOLINE" strip, a "MENUCAPTION" and a plain
// "FORMTITLE" so that forms get a skinned frame), the same
// skin without them, one skin manager for the whole run with its menu support, and helpers
// that open a real popup menu and look at it while it is shown.
#pragma once
#include <functional>
#include <memory>
#include <string>

#include "menus/sSkinMenus.h"
#include "skinframework/sSkinManager.h"
#include "toolkit/Forms.h"
#include "toolkit/Menus.h"

namespace kvmenus {

inline constexpr rd::TColor kMenuColor = 0x00603020;      // "MAINMENU"
inline constexpr rd::TColor kItemColor = 0x00204060;      // "MENUITEM" normal
inline constexpr rd::TColor kItemHotColor = 0x0040A0E0;   // "MENUITEM" hot
inline constexpr rd::TColor kItemFont = 0x00E0E0E0;
inline constexpr rd::TColor kIcoLineColor = 0x00102030;   // "ICOLINE"
inline constexpr rd::TColor kCaptionColor = 0x00008080;   // "MENUCAPTION"

enum class TMenuSkin { Full, NoMenuSections };

std::string MenuSkinOptions(TMenuSkin kind = TMenuSkin::Full);

// The run's skin manager (default manager, hook installed) with its menu support.
sk::TsSkinManager& Manager();
sk::TsSkinableMenus& Menus();
void UseSkin(TMenuSkin kind);

// Runs waiting messages for about ms milliseconds.
void PumpFor(int ms);

// A popup menu of captions ("-" a divider, "-Word-" a caption item), owned by the caller.
std::unique_ptr<tk::TPopupMenu> MakeMenu(const std::vector<std::wstring>& captions, const std::wstring& name = L"TestMenu");

// The size the menu support measures for an item on the screen's device context.
SIZE Measure(tk::TMenuItem* item);

// The menu window ("#32768") of this thread that is shown, or null.
HWND ShownMenuWindow();

// Shows the menu at (x, y) and, once it is painted, runs the steps on its window, one every
// few timer ticks inside the menu's own loop (so keys posted by a step are taken by the menu
// before the next step looks). After the last step the menu is closed unless closeAtEnd is
// false (a step chose an item). Returns the chosen item (null when closed).
using TMenuStep = std::function<void(HWND)>;
tk::TMenuItem* PopupWithSteps(tk::TPopupMenu& menu, int x, int y, std::vector<TMenuStep> steps, bool closeAtEnd = true);
inline tk::TMenuItem* PopupAndLook(tk::TPopupMenu& menu, int x, int y, const TMenuStep& look) {
    return PopupWithSteps(menu, x, y, {look});
}
// The same steps for a menu that something else opens (real input): the watch starts looking
// at once and is finished when the steps have run and no menu is shown any more.
class TMenuWatch {
public:
    explicit TMenuWatch(std::vector<TMenuStep> steps, bool closeAtEnd = true);
    ~TMenuWatch();
    TMenuWatch(const TMenuWatch&) = delete;
    TMenuWatch& operator=(const TMenuWatch&) = delete;
    // Runs messages until the watch is finished or ms milliseconds have passed; true when finished.
    bool WaitUntilFinished(int ms = 4000);
    // How many steps ran.
    size_t StepsRun() const;

private:
    UINT_PTR FTimer;
};
// Posts a key press to the menu window.
void PressKey(HWND menuWindow, WPARAM key);

// A pixel of the window as 0x00BBGGRR, read from the screen.
rd::TColor WindowPixel(HWND wnd, int x, int y);
// 0x00BBGGRR of a picture's pixel.
rd::TColor PicturePixel(const tk::TBitmap& bmp, int x, int y);

}  // namespace kvmenus
