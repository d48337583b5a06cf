// The framework tests run inside an application object, as the engine always does, with the
// platform services the engine installs at start-up.
#include <gtest/gtest.h>

#include "controls/RegisterControls.h"
#include "toolkit/Forms.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    sk::RegisterControlClasses();
    tk::TApplication app;
    app.Initialize();
    return RUN_ALL_TESTS();
}
