#include "tests/win_menus/MenusFixture.h"

#include "tests/win_framework/FrameworkFixture.h"

namespace kvmenus {

namespace {

constexpr wchar_t kBareSkin[] = L"Menu test, no menu sections";

std::string Section(const char* name, int states, rd::TColor color, rd::TColor hot, rd::TColor font) {
    return std::string("[") + name + "]\nSTATES=" + std::to_string(states) + "\nCOLOR=" + std::to_string(color) +
           "\nHOTCOLOR=" + std::to_string(hot) + "\nFONTCOLOR=" + std::to_string(font) +
           "\nHOTFONTCOLOR=" + std::to_string(font) + "\n";
}

struct TMenuRun {
    std::vector<TMenuStep> Steps;
    size_t Next = 0;
    bool CloseAtEnd = true;
    int Ticks = 0, LastStepTick = 0;
};
TMenuRun* run = nullptr;

constexpr int kTicksBetweenSteps = 4;

void CALLBACK WatchMenu(HWND, UINT, UINT_PTR id, DWORD) {
    if (!run) return;
    ++run->Ticks;
    if (run->Ticks > 300) {  // never shown or never closed: give up rather than hang
        KillTimer(nullptr, id);
        EndMenu();
        return;
    }
    HWND menu = ShownMenuWindow();
    if (!menu || run->Ticks - run->LastStepTick < kTicksBetweenSteps) return;
    run->LastStepTick = run->Ticks;
    if (run->Next < run->Steps.size()) {
        run->Steps[run->Next++](menu);
        return;
    }
    if (run->CloseAtEnd) EndMenu();
}

}  // namespace

std::string MenuSkinOptions(TMenuSkin kind) {
    std::string options = kvfw::TestSkinOptions();
    if (kind == TMenuSkin::NoMenuSections) return options;
    options += Section("MAINMENU", 1, kMenuColor, kMenuColor, kItemFont) +
               "BORDERSMASK=^0000^0000^0030^0010^0003^0003^0003^0003^3^0^0^0\n";
    options += Section("MENUITEM", 2, kItemColor, kItemHotColor, kItemFont);
    options += Section("ICOLINE", 1, kIcoLineColor, kIcoLineColor, kItemFont);
    options += Section("MENUCAPTION", 1, kCaptionColor, kCaptionColor, kItemFont);
    // A title section: the test forms get a skinned frame, so their provider handles them.
    options += Section("FORMTITLE", 2, kCaptionColor, kCaptionColor, kItemFont);
    return options;
}

sk::TsSkinManager& Manager() {
    static std::unique_ptr<sk::TsSkinManager> manager = [] {
        auto m = kvfw::MakeManager(nullptr, MenuSkinOptions());
        m->Core().InternalSkins().push_back({kBareSkin, kvfw::TestSkinPackage(MenuSkinOptions(TMenuSkin::NoMenuSections))});
        return m;
    }();
    return *manager;
}

sk::TsSkinableMenus& Menus() { return *static_cast<sk::TsSkinableMenus*>(Manager().SkinableMenus()); }

void UseSkin(TMenuSkin kind) {
    Manager().SetSkinName(kind == TMenuSkin::Full ? kvfw::kTestSkinName : kBareSkin);
    PumpFor(30);
}

void PumpFor(int ms) {
    const DWORD start = GetTickCount();
    do {
        kvfw::PumpMessages();
        Sleep(5);
    } while (GetTickCount() - start < DWORD(ms));
}

std::unique_ptr<tk::TPopupMenu> MakeMenu(const std::vector<std::wstring>& captions, const std::wstring& name) {
    auto menu = std::make_unique<tk::TPopupMenu>(nullptr);
    menu->SetName(name);
    for (const std::wstring& caption : captions) {
        auto* item = new tk::TMenuItem(menu.get());
        item->Caption = caption;
        menu->Items()->Add(item);
    }
    return menu;
}

namespace {

BOOL CALLBACK NoteShownMenu(HWND wnd, LPARAM found) {
    wchar_t name[16] = {};
    if (GetClassNameW(wnd, name, 16) > 0 && wcscmp(name, L"#32768") == 0 && IsWindowVisible(wnd)) {
        *reinterpret_cast<HWND*>(found) = wnd;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

HWND ShownMenuWindow() {
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), NoteShownMenu, reinterpret_cast<LPARAM>(&found));
    return found;
}

tk::TMenuItem* PopupWithSteps(tk::TPopupMenu& menu, int x, int y, std::vector<TMenuStep> steps, bool closeAtEnd) {
    tk::TMenuItem* chosen = nullptr;
    {
        TMenuWatch watch(std::move(steps), closeAtEnd);
        chosen = menu.Popup(x, y);
    }
    PumpFor(30);
    return chosen;
}

TMenuWatch::TMenuWatch(std::vector<TMenuStep> steps, bool closeAtEnd) {
    run = new TMenuRun;
    run->Steps = std::move(steps);
    run->CloseAtEnd = closeAtEnd;
    FTimer = SetTimer(nullptr, 0, 25, WatchMenu);
}

TMenuWatch::~TMenuWatch() {
    KillTimer(nullptr, FTimer);
    delete run;
    run = nullptr;
}

size_t TMenuWatch::StepsRun() const { return run ? run->Next : 0; }

bool TMenuWatch::WaitUntilFinished(int ms) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < DWORD(ms)) {
        kvfw::PumpMessages();
        if (run->Next == run->Steps.size() && !ShownMenuWindow()) return true;
        Sleep(5);
    }
    return false;
}

void PressKey(HWND menuWindow, WPARAM key) {
    PostMessageW(menuWindow, WM_KEYDOWN, key, 0);
    PostMessageW(menuWindow, WM_KEYUP, key, 0xC0000000);
}

rd::TColor WindowPixel(HWND wnd, int x, int y) {
    RECT r{};
    GetWindowRect(wnd, &r);
    HDC dc = GetDC(nullptr);
    const COLORREF c = GetPixel(dc, r.left + x, r.top + y);
    ReleaseDC(nullptr, dc);
    return rd::TColor(c);
}

rd::TColor PicturePixel(const tk::TBitmap& bmp, int x, int y) {
    const uint32_t p = bmp.ScanLine(y)[x];
    return rd::TColor(((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF));
}

SIZE Measure(tk::TMenuItem* item) {
    HDC dc = GetDC(nullptr);
    tk::TCanvas canvas(dc);
    int w = 0, h = 0;
    Menus().sMeasureItem(item, canvas, w, h);
    ReleaseDC(nullptr, dc);
    return SIZE{w, h};
}

}  // namespace kvmenus
