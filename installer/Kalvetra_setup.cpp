// Entry point of the installer: one window, shown until it closes.
#include <windows.h>

#include "controls/RegisterControls.h"
#include "forms/acDials.h"
#include "installer/ShellIntegration.h"
#include "installer/Unit1.h"
#include "menus/RegisterMenus.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    kv::RestrictDllSearchPath();
    sk::RegisterControlClasses();
    sk::RegisterFormSkinning();
    sk::RegisterMenuSkinning();
    tk::TApplication app;
    app.Initialize();
    try {
        app.CreateForm<kv::TForm1>();
    } catch (const tk::Exception& e) {
        app.HandleException(e.Message());
        return 1;
    }
    app.Run();
    return 0;
}
