// Which source the manager's skin name selects: a folder or a packed file in the skin
// directory before the internal skin, the first internal skin as fallback, the ".kvp"
// suffix, the directory rules, the version messages and the form shadows.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

#include "EngineArt.h"
#include "skin/acSkinPack.h"
#include "skin/acntUtils.h"
#include "skin/sSkinManagerCore.h"

using namespace sk;
namespace fs = std::filesystem;

namespace {

TBytes Bytes(const std::string& s) { return TBytes(s.begin(), s.end()); }

// A one-section skin whose "FORM" colour tells which source was loaded.
TBytes Options(int formColor, const std::string& version = "7.20", const std::string& extra = "") {
    return Bytes("[GLOBALINFO]\nVERSION=" + version + "\n" + extra + "[FORM]\nCOLOR=" + std::to_string(formColor) +
                 "\n");
}

void WriteFile(const fs::path& p, const TBytes& bytes) {
    fs::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                              static_cast<std::streamsize>(bytes.size()));
}

struct Fixture {
    fs::path dir = fs::temp_directory_path() / ("kv-skins-" + std::to_string(::testing::UnitTest::GetInstance()
                                                                                   ->random_seed()) +
                                                "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::vector<std::wstring> errors, messages, warnings;
    std::vector<std::wstring> args;
    rd::TMemBitmap32 shadowA{33, 33}, shadowI{33, 33};
    static constexpr int kSizingFrame = 7;  // the platform's frame width, not the model's default
    TSkinManagerCore core{Host()};

    TSkinManagerHost Host() {
        TSkinManagerHost h;
        h.ShowError = [this](const std::wstring& m) { errors.push_back(m); };
        h.ShowMessage = [this](const std::wstring& m) { messages.push_back(m); };
        h.ShowWarning = [this](const std::wstring& m) { warnings.push_back(m); };
        h.HasCommandLineArg = [this](const std::wstring& a) { return std::find(args.begin(), args.end(), a) != args.end(); };
        h.ExeFolder = L"";  // the skin directory below is absolute
        h.LayeredWindows = true;
        h.BuiltInShadows = {&shadowA, &shadowI};
        h.SizingFrameWidth = kSizingFrame;
        return h;
    }
    Fixture() {
        fs::remove_all(dir);
        fs::create_directories(dir);
        core.SetSkinDirectory(PathText(dir));
        core.InternalSkins().push_back({L"Velmora2 (internal)", PackSkin({{L"Options.dat", Options(1)}})});
    }
    ~Fixture() { fs::remove_all(dir); }
    TColor FormColor() const {
        const int i = core.Model().GetSkinIndex(L"FORM");
        return i < 0 ? -1 : core.Model().gd[static_cast<size_t>(i)].Props[0].Color;
    }
    void AddFolderSkin(const std::string& name, const TBytes& options) { WriteFile(dir / name / "Options.dat", options); }
    void AddPackedSkin(const std::string& name, const TBytes& package) { WriteFile(dir / (name + ".kvp"), package); }
};

}  // namespace

TEST(SkinManagerSources, TheSkinDirectoryComesBeforeTheInternalSkin) {
    struct Case {
        const char* what;
        bool folder, packed;
        TColor expected;
    } cases[] = {
        {"internal only", false, false, 1},
        {"folder with Options.dat", true, false, 2},
        {"packed file", false, true, 3},
        {"packed file before folder", true, true, 3},
    };
    for (const auto& c : cases) {
        Fixture f;
        if (c.folder) f.AddFolderSkin("Velmora2 (internal)", Options(2));
        if (c.packed) f.AddPackedSkin("Velmora2 (internal)", PackSkin({{L"Options.dat", Options(3)}}));
        f.core.SetSkinName(L"Velmora2 (internal)");
        EXPECT_TRUE(f.errors.empty()) << c.what;
        EXPECT_EQ(f.FormColor(), c.expected) << c.what;
        EXPECT_EQ(f.core.SkinName(), L"Velmora2 (internal)") << c.what;
    }
}

TEST(SkinManagerSources, ABrokenExternalSkinIsReportedAndTheInternalOneIsUsed) {
    const TBytes broken[] = {Bytes("not a package at all"), Bytes("Kvpx\x05\x00\x00\x00"),
                             PackSkin({{L"MASTER.BMP", Bytes("BM")}})};  // no options inside
    for (const auto& package : broken) {
        Fixture f;
        f.AddPackedSkin("Velmora2 (internal)", package);
        f.core.SetSkinName(L"Velmora2 (internal)");
        ASSERT_EQ(f.errors.size(), 1u);
        EXPECT_FALSE(f.errors[0].empty());
        EXPECT_TRUE(f.core.SkinLoaded());
        EXPECT_EQ(f.FormColor(), 1);
        EXPECT_EQ(f.core.SkinName(), L"Velmora2 (internal)");
    }
}

TEST(SkinManagerSources, APackedFileWithoutOptionsNamesTheSkin) {
    Fixture f;
    f.AddPackedSkin("Other", PackSkin({{L"MASTER.BMP", Bytes("BM")}}));
    f.core.SetSkinName(L"Velmora2 (internal)");
    f.core.SetSkinName(L"Other");
    ASSERT_EQ(f.errors.size(), 1u);
    EXPECT_EQ(f.errors[0], L"\"Other\" skin have internal format error. Please update this skin to latest version.");
    EXPECT_EQ(f.core.SkinName(), L"Velmora2 (internal)") << "the previous name is restored";
    EXPECT_EQ(f.FormColor(), 1);
}

TEST(SkinManagerSources, AnUnknownNameLoadsTheFirstInternalSkinAndTakesItsName) {
    Fixture f;
    f.core.InternalSkins().push_back({L"Second", PackSkin({{L"Options.dat", Options(9)}})});
    f.core.SetSkinName(L"Nothing of that name");
    EXPECT_EQ(f.core.SkinName(), L"Velmora2 (internal)");
    EXPECT_EQ(f.FormColor(), 1);
    f.core.SetSkinName(L"Second");
    EXPECT_EQ(f.FormColor(), 9);
}

TEST(SkinManagerSources, WithoutAnySkinTheManagerTurnsInactive) {
    Fixture f;
    f.core.InternalSkins().clear();
    f.core.SetSkinName(L"Velmora2 (internal)");
    EXPECT_FALSE(f.core.Active());
    EXPECT_EQ(f.core.SkinInfo(), L"N/A");
}

TEST(SkinManagerSources, FormOffsetDefaultsToThePlatformFrameWidthAfterEveryLoad) {
    // Without "FORMOFFSET" the content offset is the platform's sizing frame width, whatever
    // model the manager held before the load.
    const struct {
        const char* step;
        std::function<void(Fixture&)> act;
    } steps[] = {
        {"first load", [](Fixture& f) { f.core.SetSkinName(L"Velmora2 (internal)"); }},
        {"Active off and on",
         [](Fixture& f) {
             f.core.SetActive(false);
             f.core.SetActive(true);
         }},
        {"a reload that found no skin, then a load",
         [](Fixture& f) {
             const std::vector<TsStoredSkin> skins = f.core.InternalSkins();
             f.core.InternalSkins().clear();
             f.core.SetSkinName(L"Velmora2 (internal)");
             ASSERT_FALSE(f.core.Active());
             f.core.InternalSkins() = skins;
             f.core.SetActive(true);
         }},
    };
    Fixture f;
    for (const auto& s : steps) {
        s.act(f);
        ASSERT_TRUE(f.core.SkinLoaded()) << s.step;
        EXPECT_EQ(f.core.Model().CommonSkinData->ExContentOffs, Fixture::kSizingFrame) << s.step;
    }
}

TEST(SkinManagerSources, TheKvpSuffixIsDroppedFromTheName) {
    struct Case {
        std::wstring given, stored;
    } cases[] = {{L"Abc.kvp", L"Abc"}, {L"Abc.KVP", L"Abc"}, {L".kvp", L".kvp"}, {L"Abc.kvpx", L"Abc.kvpx"}};
    for (const auto& c : cases) {
        Fixture f;
        f.AddPackedSkin("Abc", PackSkin({{L"Options.dat", Options(5)}}));
        f.core.InternalSkins().push_back({c.given, PackSkin({{L"Options.dat", Options(6)}})});
        f.core.SetSkinName(c.given);
        const std::string given(c.given.begin(), c.given.end());
        EXPECT_EQ(f.core.SkinName(), c.stored == L"Abc" ? L"Abc" : c.given) << given;
        if (c.stored == L"Abc") {
            EXPECT_EQ(f.FormColor(), 5) << given << ": the file Abc.kvp is loaded";
        }
    }
}

TEST(SkinManagerSources, FullSkinDirectory) {
    struct Case {
        std::wstring dir, full;
    } cases[] = {
        {L"..\\Skins", L"C:\\Prog\\Skins"},  {L".\\Skins", L"C:\\Prog\\App\\Skins"},
        {L"./Skins", L"C:\\Prog\\App\\Skins"}, {L".", L"C:\\Prog\\App\\"},
        {L"Skins", L"C:\\Prog\\App\\Skins"},   {L"c:\\Skins", L"c:\\Skins"},
        {L"\\\\server\\Skins", L"\\\\server\\Skins"},
    };
    for (const auto& c : cases) {
        TSkinManagerHost host;
        host.ExeFolder = L"C:\\Prog\\App\\";
        TSkinManagerCore core(host);
        core.SetSkinDirectory(c.dir);
        EXPECT_EQ(core.GetFullSkinDirectory(), c.full) << std::string(c.dir.begin(), c.dir.end());
    }
}

TEST(SkinManagerSources, SkinNamesListInternalThenExternal) {
    Fixture f;
    f.AddFolderSkin("Folder skin", Options(2));
    fs::create_directories(f.dir / "Not a skin");
    f.AddPackedSkin("Packed", PackSkin({{L"Options.dat", Options(3)}}));
    WriteFile(f.dir / "readme.txt", Bytes("x"));
    EXPECT_EQ(f.core.GetExternalSkinNames(), (std::vector<std::wstring>{L"Folder skin", L"Packed"}));
    EXPECT_EQ(f.core.GetSkinNames(TSkinListKind::Internal), (std::vector<std::wstring>{L"Velmora2 (internal)"}));
    EXPECT_EQ(f.core.GetSkinNames(TSkinListKind::All),
              (std::vector<std::wstring>{L"Velmora2 (internal)", L"Folder skin", L"Packed"}));
    const std::wstring random = f.core.GetRandomSkin();
    EXPECT_TRUE(random == L"Velmora2 (internal)" || random == L"Folder skin" || random == L"Packed");
}

TEST(SkinManagerSources, VersionMessages) {
    struct Case {
        const char* version;
        bool actest;
        size_t messages, warnings;
    } cases[] = {{"7.20", false, 0, 0}, {"7.20", true, 1, 0}, {"7.45", true, 0, 0}, {"10.5", false, 0, 1}};
    for (const auto& c : cases) {
        Fixture f;
        if (c.actest) f.args.push_back(L"/actest");
        f.core.InternalSkins()[0].Data = PackSkin({{L"Options.dat", Options(1, c.version)}});
        f.core.SetSkinName(L"Velmora2 (internal)");
        EXPECT_EQ(f.messages.size(), c.messages) << c.version;
        EXPECT_EQ(f.warnings.size(), c.warnings) << c.version;
        EXPECT_TRUE(f.core.SkinLoaded()) << c.version;
        EXPECT_EQ(f.core.SkinningRules(), srStdForms | srStdDialogs | srThirdParty) << "rules restored";
    }
    Fixture f;
    f.args.push_back(L"/actest");
    f.core.SetSkinName(L"Velmora2 (internal)");
    ASSERT_EQ(f.messages.size(), 1u);
    EXPECT_EQ(f.messages[0].rfind(L"You are using an old version of the \"Velmora2 (internal)\" skin. ", 0), 0u);
}

TEST(SkinManagerSources, FormShadows) {
    Fixture f;
    f.core.SetSkinName(L"Velmora2 (internal)");
    EXPECT_EQ(f.core.FormShadowSize().Left, 0) << "extended borders are off by default";
    EXPECT_EQ(f.core.ShdaTemplate(), nullptr);
    f.core.SetExtendedBorders(true);
    EXPECT_TRUE(f.core.ExtendedBorders());
    EXPECT_EQ(f.core.FormShadowSize().Bottom, 9) << "built-in shadows without an EXBORDER mask";
    ASSERT_NE(f.core.ShdaTemplate(), nullptr);
    EXPECT_EQ(f.core.ShdaTemplate()->Width, 33);
    EXPECT_EQ(f.FormColor(), 1) << "the skin was reloaded";
    f.core.SetExtendedBorders(false);
    EXPECT_EQ(f.core.FormShadowSize().Right, 0);

    TSkinManagerHost plain;  // a platform without layered windows
    TSkinManagerCore core(plain);
    core.SetExtendedBorders(true);
    EXPECT_FALSE(core.ExtendedBorders());
}

TEST(SkinManagerSources, AFolderSkinFindsImagesWithCyrillicNames) {
    Fixture f;
    const std::string bom = "\xEF\xBB\xBF";
    f.AddFolderSkin("Velmora2 (internal)",
                    Bytes(bom + "[GLOBALINFO]\nVERSION=7.20\n[BUTTON]\nBORDERSMASK=!КНОПКА.BMP!1!0!0!0006!0006!0006!0006!0\n"));
    const auto image = genskinres::EncodeGreyBmp(genskinres::MakeBlurTemplate());
    WriteFile(f.dir / "Velmora2 (internal)" / NativeSkinPath(L"КНОПКА.BMP"), TBytes(image.begin(), image.end()));
    f.core.SetSkinName(L"Velmora2 (internal)");
    ASSERT_TRUE(f.errors.empty()) << NarrowForMessage(f.errors[0]);
    const int mask = f.core.Model().GetMaskIndex(L"BUTTON", L"BORDERSMASK");
    ASSERT_GE(mask, 0);
    ASSERT_TRUE(f.core.Model().ma[static_cast<size_t>(mask)].Bmp);
    EXPECT_EQ(f.core.Model().ma[static_cast<size_t>(mask)].Bmp->Width, 19);
}

TEST(SkinManagerSources, ExtractingInternalSkins) {
    Fixture f;
    const std::wstring dir = PathText(f.dir);
    const TBytes& data = f.core.InternalSkins()[0].Data;
    auto extracted = [&](const fs::path& folder) {
        std::ifstream in(folder / "Velmora2 (internal) extracted.kvp", std::ios::binary);
        return TBytes(std::istreambuf_iterator<char>(in), {});
    };

    f.core.ExtractInternalSkin(L"Velmora2 (internal)", dir);
    EXPECT_TRUE(f.errors.empty());
    EXPECT_EQ(extracted(f.dir), data);

    struct Case {
        const char* what;
        std::function<void()> run;
        std::wstring error;
    } cases[] = {
        {"unknown name", [&] { f.core.ExtractInternalSkin(L"velmora2 (internal)", dir); }, L"Skin does not exists."},
        {"missing folder", [&] { f.core.ExtractInternalSkin(L"Velmora2 (internal)", dir + L"/none"); },
         L"Directory does not exists."},
        {"index out of range", [&] { f.core.ExtractByIndex(1, dir); }, L"Skin does not exists."},
        {"two missing levels", [&] { f.core.ExtractByIndex(0, dir + L"/a/b"); },
         L"Directory " + dir + L"/a/b\\ creation error."},
    };
    for (const auto& c : cases) {
        f.errors.clear();
        c.run();
        ASSERT_EQ(f.errors.size(), 1u) << c.what;
        EXPECT_EQ(f.errors[0], c.error) << c.what;
    }

    f.errors.clear();
    f.core.ExtractByIndex(0, dir + L"/new");  // one missing level is created
    EXPECT_TRUE(f.errors.empty());
    EXPECT_EQ(extracted(f.dir / "new"), data);
    EXPECT_FALSE(fs::exists(f.dir / "new" / "Velmora2 (internal) extracted.kvp.partial"));
}
