// The form-skinning tests run inside an application object with the window hook's provider
// factory registered, as the installer starts.
#include <gtest/gtest.h>

#include "controls/RegisterControls.h"
#include "forms/acDials.h"
#include "toolkit/Forms.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    sk::RegisterControlClasses();
    sk::RegisterFormSkinning();
    tk::TApplication app;
    app.Initialize();
    return RUN_ALL_TESTS();
}
