// The installer's skin manager as the installer starts it: the window description and the
// engine's images are read from the built Kalvetra_setup.exe. Its internal skin is loaded
// and tinted at start-up; a packed skin of the same name in c:\Skins is preferred; a corrupt
// one is reported in the error box and the internal skin is used.
#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <string>

#include "controls/RegisterControls.h"
#include "installer/Unit1.h"
#include "render/sGraphUtils.h"
#include "skin/acSkinPack.h"
#include "skinframework/sSkinManager.h"
#include "toolkit/Forms.h"

namespace {

const wchar_t kSkinDir[] = L"c:\\Skins";
const wchar_t kPackedSkin[] = L"c:\\Skins\\Velmora2 (internal).kvp";
constexpr int kHue = 196;

std::wstring WindowsPath(const std::string& unixPath) {
    std::wstring p = L"Z:";
    for (char c : unixPath) p += c == '/' ? L'\\' : static_cast<wchar_t>(c);
    return p;
}

// Puts a file at c:\Skins\Velmora2 (internal).kvp for one test and removes it afterwards.
class ExternalSkin {
public:
    explicit ExternalSkin(const std::vector<uint8_t>& bytes) {
        FCreatedDir = CreateDirectoryW(kSkinDir, nullptr) != 0;
        std::ofstream out(kPackedSkin, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    ~ExternalSkin() {
        DeleteFileW(kPackedSkin);
        if (FCreatedDir) RemoveDirectoryW(kSkinDir);
    }
private:
    bool FCreatedDir = false;
};

sk::TBytes Bytes(const std::string& s) { return sk::TBytes(s.begin(), s.end()); }

// The installer's window as the installer creates it, with its load errors collected.
struct Installer {
    std::vector<std::wstring> errors;
    std::unique_ptr<kv::TForm1> form;
    Installer() {
        sk::TsSkinManager::ErrorBox = [this](const std::wstring& m) { errors.push_back(m); };
        form = std::make_unique<kv::TForm1>(nullptr);
    }
    ~Installer() { sk::TsSkinManager::ErrorBox = [](const std::wstring&) {}; }
    sk::TsSkinManager& Manager() { return *form->sSkinManager1; }
    const sk::TSkinModel& Model() { return Manager().Model(); }
    rd::TColor SectionColor(const wchar_t* section) {
        const int i = Model().GetSkinIndex(section);
        return i < 0 ? -1 : Model().gd[static_cast<size_t>(i)].Props[0].Color;
    }
};

// The same internal skin loaded without a tint.
std::unique_ptr<sk::TSkinManagerCore> UntintedInternal(sk::TsSkinManager& installed) {
    auto core = std::make_unique<sk::TSkinManagerCore>(sk::TSkinManagerHost{});
    core->SetSkinDirectory(L"c:\\no such folder");
    core->InternalSkins() = installed.InternalSkins();
    core->SetSkinName(installed.SkinName());
    return core;
}

}  // namespace

TEST(InstallerSkin, TheInternalSkinIsLoadedAndTintedAtStartUp) {
    ASSERT_EQ(GetFileAttributesW(kPackedSkin), INVALID_FILE_ATTRIBUTES) << "a left-over external skin";
    Installer installer;
    EXPECT_TRUE(installer.errors.empty());
    auto& manager = installer.Manager();
    EXPECT_EQ(manager.SkinName(), L"Velmora2 (internal)");
    EXPECT_EQ(manager.HueOffset(), kHue);
    ASSERT_TRUE(manager.Core().SkinLoaded());
    EXPECT_EQ(manager.Core().SkinInfo(), L"7.2");
    EXPECT_GE(installer.Model().gd.size(), 50u);
    EXPECT_TRUE(installer.Model().CommonSkinData->SkinPath.empty()) << "an internal skin has no folder";

    const auto plain = UntintedInternal(manager);
    ASSERT_TRUE(plain->SkinLoaded());
    for (const wchar_t* section : {L"FORM", L"BUTTON", L"EDIT"}) {
        const int i = plain->Model().GetSkinIndex(section);
        ASSERT_GE(i, 0);
        const rd::TColor c = plain->Model().gd[static_cast<size_t>(i)].Props[0].Color;
        EXPECT_EQ(installer.SectionColor(section), static_cast<rd::TColor>(rd::ShiftHueOfColor(kHue, c)))
            << "hue " << kHue << " applied once to " << std::string(section, section + wcslen(section));
    }
}

// The thumbnail library must match Windows (its shell loads it); the system folder is the one
// this process sees. The 32-bit build on 64-bit Windows runs under WOW64, the 64-bit one natively.
TEST(InstallerStartUp, ChoosesTheSystemFilesForThisWindowsAndThisBuild) {
    const char* bits = getenv("KALVETRA_PREFIX_BITS");
    const bool windows64 = bits && std::string(bits) == "64";
    const bool wow = windows64 && sizeof(void*) == 4;
    Installer installer;
    kv::TForm1& form = *installer.form;
    EXPECT_EQ(form.bool64bit, windows64);
    EXPECT_EQ(form.GLPathSystem, std::wstring(L"C:\\windows") + (wow ? L"\\SysWOW64" : L"\\System32"));
    EXPECT_EQ(kv::SystemFiles[0].fName, windows64 ? L"QZThumbnail64" : L"QZThumbnail32");
    EXPECT_EQ(kv::SystemFiles[0].fFile, windows64 ? L"QZThumbnail64.dll" : L"QZThumbnail32.dll");
    EXPECT_EQ(form.GLPathProgram, wow ? L"C:\\Program Files (x86)" : L"C:\\Program Files");
    EXPECT_EQ(form.sDirectoryEdit1->GetText(), form.GLPathProgram + L"\\Kalvetra");
    EXPECT_EQ(form.sGauge1->MaxValue(), 4);
    EXPECT_EQ(form.sGauge1->Progress(), 0);
}

// The label names the running program's version: this test program's resource (version.rc).
TEST(InstallerStartUp, TheVersionLabelNamesTheRunningProgramsVersion) {
    Installer installer;
    EXPECT_EQ(installer.form->sLabelFX3->GetText(), L"beta v.3.1.4 [Build: 159]");
}

struct BrowseCase {
    bool accepted;
    std::wstring chosen, field;
};

// The browse button, as the window description wires it, opens the field's folder dialog;
// the window's after-dialog handler adjusts what the field receives.
TEST(InstallerStartUp, TheBrowseButtonFillsTheFieldThroughTheAfterDialogHandler) {
    Installer installer;
    kv::TForm1& form = *installer.form;
    const std::wstring initial = form.sDirectoryEdit1->GetText();
    const BrowseCase cases[] = {
        {true, L"D:\\Apps", L"D:\\Apps\\Kalvetra"},
        {true, L"E:\\", L"E:\\Kalvetra"},
        {true, L"D:\\Kalvetra2", L"D:\\Kalvetra2"},
        {false, L"D:\\Other", initial},
    };
    for (const BrowseCase& c : cases) {
        form.sDirectoryEdit1->SetText(initial);
        int shown = 0;
        form.sDirectoryEdit1->ExecuteDialog = [&](const std::wstring&, std::wstring& chosen) {
            ++shown;
            chosen = c.chosen;
            return c.accepted;
        };
        form.sSpeedButton1->Click();
        EXPECT_EQ(shown, 1) << tk::WideToUtf8(c.chosen);
        EXPECT_EQ(form.sDirectoryEdit1->GetText(), c.field) << tk::WideToUtf8(c.chosen);
    }
}

TEST(InstallerSkin, TheStoredSettingsAreRead) {
    Installer installer;
    auto& m = installer.Manager();
    EXPECT_TRUE(m.IsDefault());
    EXPECT_EQ(sk::TsSkinManager::DefaultManager(), &m);
    EXPECT_EQ(m.Core().SkinDirectory(), L"c:\\Skins");
    EXPECT_EQ(m.MenuSupport.IcoLineSkin, L"ICOLINE");
    EXPECT_EQ(m.MenuSupport.ExtraLineFont.Name, L"MS Sans Serif");
    EXPECT_EQ(m.MenuSupport.ExtraLineFont.Height, -11);
    EXPECT_TRUE(m.Options.NativeBordersMaximized);
    EXPECT_FALSE(m.Core().ExtendedBorders());
    EXPECT_EQ(m.SkinInfo(), L"7.2");
    ASSERT_EQ(m.InternalSkins().size(), 1u);
    EXPECT_EQ(m.InternalSkins()[0].Shadow1Color, 0);
    for (size_t kind = 0; kind < m.ThirdLists().size(); ++kind)
        EXPECT_EQ(m.ThirdLists()[kind].size(), kind == sk::tpButton ? 1u : 0u) << "kind " << kind;
    EXPECT_EQ(m.ThirdLists()[sk::tpButton][0], L"TButton");
}

TEST(InstallerSkin, TheEngineImagesComeFromTheExecutable) {
    Installer installer;
    auto& core = installer.Manager().Core();
    EXPECT_EQ(core.FormShadowSize().Left, 0) << "the installer keeps extended borders off";
    ASSERT_NE(installer.Model().BlurTemplate, nullptr) << "BLUR5";
    EXPECT_EQ(installer.Model().BlurTemplate->Width, 19);
    EXPECT_EQ(installer.Model().BlurTemplate->Row(9)[9] & 0xFF, 51u);
    core.SetExtendedBorders(true);
    if (!core.ExtendedBorders()) GTEST_SKIP() << "no layered windows";
    ASSERT_NE(core.ShdaTemplate(), nullptr) << "acSHDA";
    ASSERT_NE(core.ShdiTemplate(), nullptr) << "acSHDI";
    EXPECT_EQ(core.FormShadowSize().Top, 9);
    EXPECT_EQ(core.ShdaTemplate()->Row(16)[16] >> 24, 128u);
    EXPECT_EQ(core.ShdiTemplate()->Row(16)[16] >> 24, 77u);
    EXPECT_EQ(core.ShdiTemplate()->Row(16)[0] >> 24, 0u);
}

TEST(InstallerSkin, AnExternalPackedSkinOfTheSameNameIsPreferred) {
    const rd::TColor kColor = 0x00402010;
    ExternalSkin file(sk::PackSkin(
        {{L"Options.dat", Bytes("[GLOBALINFO]\r\nVERSION=7.30\r\n[FORM]\r\nCOLOR=" + std::to_string(kColor) + "\r\n")}}));
    Installer installer;
    EXPECT_TRUE(installer.errors.empty());
    ASSERT_TRUE(installer.Manager().Core().SkinLoaded());
    EXPECT_LT(installer.Model().GetSkinIndex(L"BUTTON"), 0) << "the internal skin's sections are not there";
    EXPECT_EQ(installer.Model().gd.size(), 3u) << "GLOBALINFO, FORM and the added TRANSPARENT";
    EXPECT_EQ(installer.Manager().Core().SkinInfo(), L"7.3");
    EXPECT_EQ(installer.SectionColor(L"FORM"), static_cast<rd::TColor>(rd::ShiftHueOfColor(kHue, kColor)));
    EXPECT_EQ(installer.Model().CommonSkinData->SkinPath, L"c:\\Skins\\");
}

TEST(InstallerSkin, ACorruptExternalSkinIsReportedAndTheInternalOneStays) {
    ExternalSkin file(Bytes("Kvpx\x03\x00\x00\x00 this is not a packed skin"));
    Installer installer;
    ASSERT_EQ(installer.errors.size(), 1u);
    EXPECT_FALSE(installer.errors[0].empty());
    EXPECT_EQ(installer.Manager().SkinName(), L"Velmora2 (internal)");
    ASSERT_TRUE(installer.Manager().Core().SkinLoaded());
    EXPECT_GE(installer.Model().gd.size(), 50u);
    EXPECT_EQ(installer.Manager().Core().SkinInfo(), L"7.2");
}

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    const std::wstring exe = WindowsPath(KALVETRA_SETUP_EXE);
    HMODULE setup = LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!setup) {
        fwprintf(stderr, L"cannot open %ls (error %lu)\n", exe.c_str(), GetLastError());
        return 1;
    }
    tk::SetResourceInstance(setup);
    sk::RegisterControlClasses();
    tk::TApplication app;
    app.Initialize();
    return RUN_ALL_TESTS();
}

// The field's bound label is stored without a caption and inactive: no label control exists.
TEST(InstallerStartUp, TheFieldsBoundLabelIsStoredInactive) {
    Installer installer;
    sk::TsBoundLabel& label = installer.form->sDirectoryEdit1->BoundLabel();
    EXPECT_FALSE(label.Active());
    EXPECT_EQ(label.Layout(), sk::TsCaptionLayout::sclLeft);
    EXPECT_EQ(label.Indent(), 0);
    EXPECT_EQ(label.MaxWidth(), 0);
    EXPECT_TRUE(label.UseSkinColor());
    EXPECT_EQ(installer.form->sDirectoryEdit1->FindComponent(L"sDirectoryEdit1Label"), nullptr);
}
