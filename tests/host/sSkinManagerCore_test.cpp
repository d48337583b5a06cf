// The manager core's internal-skin path: loading, the tint reloaded from the source (never
// accumulated), the brightness clamp, the skin information and a failed load.
#include <gtest/gtest.h>

#include "skin/acSkinPack.h"
#include "skin/sSkinManagerCore.h"

using namespace sk;

namespace {

TBytes Bytes(const std::string& s) { return TBytes(s.begin(), s.end()); }

// A small internal skin: one section with a known colour.
TsStoredSkin Internal(const std::wstring& name) {
    const TBytes options = Bytes("[GLOBALINFO]\nVERSION=7.20\n[FORM]\nCOLOR=255\nSTATES=2\n");
    return {name, PackSkin({{L"Options.dat", options}})};
}

struct Fixture {
    std::vector<std::wstring> errors;
    TSkinManagerCore core{Host()};
    TSkinManagerHost Host() {
        TSkinManagerHost h;
        h.ShowError = [this](const std::wstring& m) { errors.push_back(m); };
        h.HasCommandLineArg = [](const std::wstring&) { return false; };
        h.ExeFolder = L"C:\\App\\";
        return h;
    }
    Fixture() {
        core.SetSkinDirectory(L"Z:\\no\\such\\skins");
        core.InternalSkins().push_back(Internal(L"Velmora2 (internal)"));
    }
    TColor FormColor() {
        int i = core.Model().GetSkinIndex(L"FORM");
        return i < 0 ? -1 : core.Model().gd[static_cast<size_t>(i)].Props[0].Color;
    }
};

}  // namespace

TEST(SkinManagerCore, LoadsTheInternalSkinByName) {
    Fixture f;
    EXPECT_EQ(f.core.SkinInfo(), L"N/A");
    f.core.SetSkinName(L"Velmora2 (internal)");
    EXPECT_TRUE(f.errors.empty()) << (f.errors.empty() ? "" : std::string(f.errors[0].begin(), f.errors[0].end()));
    EXPECT_TRUE(f.core.SkinLoaded());
    EXPECT_EQ(f.FormColor(), 255);
    EXPECT_EQ(f.core.SkinInfo(), L"7.2");
}

TEST(SkinManagerCore, HueIsAppliedToTheSourceNotAccumulated) {
    Fixture f;
    f.core.SetSkinName(L"Velmora2 (internal)");
    const TColor plain = f.FormColor();
    f.core.SetHueOffset(120);
    const TColor once = f.FormColor();
    EXPECT_NE(once, plain);
    f.core.SetHueOffset(0);
    EXPECT_EQ(f.FormColor(), plain);
    f.core.SetHueOffset(120);
    EXPECT_EQ(f.FormColor(), once);
}

TEST(SkinManagerCore, BrightnessIsClamped) {
    Fixture f;
    f.core.SetBrightness(250);
    EXPECT_EQ(f.core.Brightness(), 100);
    f.core.SetBrightness(-250);
    EXPECT_EQ(f.core.Brightness(), -100);
}

TEST(SkinManagerCore, ABrokenInternalSkinReportsAndKeepsThePreviousName) {
    Fixture f;
    f.core.SetSkinName(L"Velmora2 (internal)");
    f.core.InternalSkins().push_back({L"Broken", Bytes("Kvpx\x01\x00\x00\x00garbage")});
    f.core.SetSkinName(L"Broken");
    ASSERT_EQ(f.errors.size(), 1u);
    EXPECT_EQ(f.core.SkinName(), L"Velmora2 (internal)");
    EXPECT_EQ(f.FormColor(), 255) << "the previous skin stays loaded";
}

TEST(SkinManagerCore, ChangeNotificationsFireInOrder) {
    Fixture f;
    std::vector<std::string> fired;
    f.core.OnBeforeChange = [&] { fired.push_back("before"); };
    f.core.OnSkinLoading = [&] { fired.push_back("loading"); };
    f.core.OnActivate = [&] { fired.push_back("activate"); };
    f.core.OnAfterChange = [&] { fired.push_back("after"); };
    f.core.OnDeactivate = [&] { fired.push_back("deactivate"); };
    f.core.SetSkinName(L"Velmora2 (internal)");
    EXPECT_EQ(fired, (std::vector<std::string>{"before", "loading", "activate", "after"}));
    fired.clear();
    f.core.SetHueOffset(30);
    EXPECT_EQ(fired, (std::vector<std::string>{"loading", "after"})) << "a tint change reloads";
    fired.clear();
    f.core.SetActive(false);
    EXPECT_EQ(fired, (std::vector<std::string>{"deactivate"}));
    EXPECT_EQ(f.core.SkinInfo(), L"N/A");
    fired.clear();
    f.core.SetDescriptionLoading(true);
    f.core.SetActive(true);
    EXPECT_EQ(fired, (std::vector<std::string>{"before", "loading", "after"})) << "no activation while loading";
}
