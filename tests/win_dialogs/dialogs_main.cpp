// The dialog tests run inside an application object with the control classes and the form
// skinning registered, as the installer starts.
#include <gtest/gtest.h>

#include "controls/RegisterControls.h"
#include "forms/acDials.h"
#include "toolkit/Application.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    sk::RegisterControlClasses();
    sk::RegisterFormSkinning();
    tk::TApplication app;
    app.Initialize();
    return RUN_ALL_TESTS();
}
