// Links open through the desktop shell where it offers automation, else from this process.
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>

#include <vector>

#include "toolkit/ShellOpen.h"

namespace {

struct Fallback {
    bool succeeds = true;
    std::vector<std::wstring> calls;
    std::function<bool(const std::wstring&)> Fn() {
        return [this](const std::wstring& target) {
            calls.push_back(target);
            return succeeds;
        };
    }
};

// A target nothing can open, so that no program starts whichever way it goes.
const std::wstring kTarget = L"C:\\windows\\temp\\kalvetra no such document.kvtest";

}  // namespace

TEST(OpenAsDesktopUser, AnEmptyTargetOpensNothing) {
    Fallback direct;
    EXPECT_EQ(tk::OpenAsDesktopUser(L"", direct.Fn()), tk::TShellOpenRoute::Failed);
    EXPECT_TRUE(direct.calls.empty());
}

TEST(OpenAsDesktopUser, FallsBackToThisProcessOnlyWithoutDesktopAutomation) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const bool desktop = tk::OpenThroughDesktopShell(kTarget);
    for (bool succeeds : {true, false}) {
        Fallback direct;
        direct.succeeds = succeeds;
        const tk::TShellOpenRoute route = tk::OpenAsDesktopUser(kTarget, direct.Fn());
        if (desktop) {
            EXPECT_EQ(route, tk::TShellOpenRoute::DesktopShell);
            EXPECT_TRUE(direct.calls.empty());
        } else {
            EXPECT_EQ(route, succeeds ? tk::TShellOpenRoute::Direct : tk::TShellOpenRoute::Failed);
            EXPECT_EQ(direct.calls, std::vector<std::wstring>{kTarget});
        }
    }
    // The default fallback reports that nothing could open the target.
    EXPECT_EQ(tk::OpenAsDesktopUser(kTarget), desktop ? tk::TShellOpenRoute::DesktopShell : tk::TShellOpenRoute::Failed);
    CoUninitialize();
}
