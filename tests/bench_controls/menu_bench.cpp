// Menu benchmark: opening the window's system menu, from the open request to the first fully
// painted menu (the menu loop's first idle moment, when every paint of the menu window has been
// handled), drawn from the skin and drawn by the platform, alternately in the same run (median
// of several openings each).
#include <windows.h>

#include <cstdio>
#include <vector>

#include "forms/sSystemMenu.h"
#include "menus/RegisterMenus.h"
#include "menus/sSkinMenus.h"
#include "tests/bench_framework/BenchTiming.h"
#include "tests/win_framework/FrameworkFixture.h"
#include "toolkit/Application.h"

namespace {

using kvbench::Median;
using kvbench::Now;

constexpr int kOpeningsEach = 41;

// The test skin with the menu's sections: background with a border mask, items, icon strip.
std::string MenuOptions() {
    return kvfw::TestSkinOptions() +
           "[MAINMENU]\nSTATES=1\nCOLOR=6303776\nFONTCOLOR=14737632\n"
           "BORDERSMASK=^0000^0000^0030^0010^0003^0003^0003^0003^3^0^0^0\n"
           "[MENUITEM]\nSTATES=2\nCOLOR=2113632\nHOTCOLOR=4235488\nFONTCOLOR=14737632\nHOTFONTCOLOR=16777215\n"
           "[ICOLINE]\nSTATES=1\nCOLOR=1056816\n";
}

double idleAt = 0;
WNDPROC oldListProc = nullptr;

// The menu's owner hears of the loop's first idle moment: the menu is painted; it is closed.
LRESULT CALLBACK WatchIdle(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_ENTERIDLE && wp == MSGF_MENU && idleAt == 0) {
        GdiFlush();
        idleAt = Now();
        EndMenu();
    }
    return CallWindowProcW(oldListProc, h, msg, wp, lp);
}

// Milliseconds from the open request to the painted menu.
double TimeToPaintedMenu(sk::TsSkinableMenus& menus, bool skinned) {
    sk::TsSystemMenu system(nullptr);
    tk::TPopupMenu menu(nullptr);
    system.BuildMenu(menu);
    idleAt = 0;
    const double start = Now();
    menus.HookPopupMenu(&menu, skinned);
    menu.Popup(200, 150);
    const double ms = idleAt > 0 ? (idleAt - start) * 1e3 : -1;
    kvfw::PumpMessages();
    return ms;
}

}  // namespace

int main() {
    sk::RegisterMenuSkinning();
    tk::TApplication app;
    app.Initialize();
    auto manager = kvfw::MakeManager(nullptr, MenuOptions());
    auto* menus = static_cast<sk::TsSkinableMenus*>(manager->SkinableMenus());
    HWND list = tk::PopupListWindow();
    oldListProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WatchIdle)));

    TimeToPaintedMenu(*menus, true);  // first use: fonts and classes
    TimeToPaintedMenu(*menus, false);
    std::vector<double> skinned, plain;
    for (int i = 0; i < kOpeningsEach; ++i) {
        skinned.push_back(TimeToPaintedMenu(*menus, true));
        plain.push_back(TimeToPaintedMenu(*menus, false));
    }
    const double s = Median(skinned), p = Median(plain);
    std::printf("system menu, open request to painted menu: skinned %.2f ms, platform %.2f ms, ratio %.2f (goal 1.5)\n", s,
                p, p > 0 ? s / p : 0.0);
    return 0;
}
