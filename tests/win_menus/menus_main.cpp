// The menu tests run inside an application object with the form and menu skinning registered,
// as the installer starts.
#include <gtest/gtest.h>

#include "forms/acDials.h"
#include "menus/RegisterMenus.h"
#include "toolkit/Forms.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    sk::RegisterFormSkinning();
    sk::RegisterMenuSkinning();
    tk::TApplication app;
    app.Initialize();
    return RUN_ALL_TESTS();
}
