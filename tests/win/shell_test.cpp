// Shell integration rules: shortcut names and targets, document types, special folders,
// the WOW64 probe, the version text and the after-dialog rule.
#include <gtest/gtest.h>
#include <shlobj.h>

#include "TestFiles.h"
#include "installer/AssocFiles.h"
#include "installer/ShellIntegration.h"
#include "installer/Unit1.h"
#include "toolkit/PathNames.h"
#include "toolkit/Registry.h"

namespace {

struct NameCase { std::wstring in, out; };

class ShortcutNames : public ::testing::TestWithParam<NameCase> {};

TEST_P(ShortcutNames, GetTheLnkExtension) { EXPECT_EQ(kv::ShortcutFileName(GetParam().in), GetParam().out); }

INSTANTIATE_TEST_SUITE_P(Cases, ShortcutNames, ::testing::Values(
    NameCase{L"C:\\Users\\u\\Desktop\\Kalvetra", L"C:\\Users\\u\\Desktop\\Kalvetra.lnk"},
    NameCase{L"C:\\Users\\u\\Desktop\\Kalvetra.lnk", L"C:\\Users\\u\\Desktop\\Kalvetra.lnk"},
    NameCase{L"C:\\Users\\u\\Desktop\\Kalvetra 1.5", L"C:\\Users\\u\\Desktop\\Kalvetra 1.lnk"},
    NameCase{L"C:\\My.Folder\\Kalvetra", L"C:\\My.Folder\\Kalvetra.lnk"},
    NameCase{L"D:Kalvetra", L"D:Kalvetra.lnk"},
    NameCase{L"Kalvetra.exe", L"Kalvetra.lnk"}));

TEST(ExtractFilePath, KeepsTheTrailingSeparator) {
    EXPECT_EQ(kv::ExtractFilePath(L"C:\\Program Files\\Kalvetra\\Kalvetra.exe"), L"C:\\Program Files\\Kalvetra\\");
    EXPECT_EQ(kv::ExtractFilePath(L"D:Kalvetra.exe"), L"D:");
    EXPECT_EQ(kv::ExtractFilePath(L"Kalvetra.exe"), L"");
}

TEST(CreateShellLink, SavesTargetArgumentsAndWorkingDirectory) {
    kvtest::TempDir dir;
    std::wstring target = dir.File(L"Kalvetra.exe");
    kvtest::WriteFileBytes(target, "MZ");
    ASSERT_HRESULT_SUCCEEDED(CoInitialize(nullptr));
    kv::CreateShellLink(target, dir.File(L"Kalvetra"), L"");
    kv::CreateShellLink(target, dir.File(L"Other 1.5"), L"-newinstance");
    ASSERT_TRUE(kvtest::FileExists(dir.File(L"Kalvetra.lnk")));
    ASSERT_TRUE(kvtest::FileExists(dir.File(L"Other 1.lnk")));

    struct Expect { std::wstring file, args; };
    for (const Expect& e : {Expect{L"Kalvetra.lnk", L""}, Expect{L"Other 1.lnk", L"-newinstance"}}) {
        IShellLinkW* link = nullptr;
        ASSERT_HRESULT_SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                                  reinterpret_cast<void**>(&link)));
        IPersistFile* file = nullptr;
        ASSERT_HRESULT_SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)));
        ASSERT_HRESULT_SUCCEEDED(file->Load(dir.File(e.file).c_str(), STGM_READ));
        wchar_t buf[MAX_PATH] = L"";
        link->GetPath(buf, MAX_PATH, nullptr, 0);
        EXPECT_EQ(_wcsicmp(buf, target.c_str()), 0) << tk::WideToUtf8(buf);
        link->GetWorkingDirectory(buf, MAX_PATH);
        EXPECT_EQ(std::wstring(buf), dir.Path() + L"\\");
        link->GetArguments(buf, MAX_PATH);
        EXPECT_EQ(std::wstring(buf), e.args);
        file->Release();
        link->Release();
    }
    CoUninitialize();
}

// A shortcut that cannot be written must not pass for a created one: the error names the
// shortcut file and carries the system's reason.
TEST(CreateShellLink, AShortcutThatCannotBeSavedRaises) {
    kvtest::TempDir dir;
    const std::wstring target = dir.File(L"Kalvetra.exe");
    kvtest::WriteFileBytes(target, "MZ");
    const std::wstring folderInTheWay = dir.File(L"Taken.lnk");
    ASSERT_TRUE(CreateDirectoryW(folderInTheWay.c_str(), nullptr));

    struct Case { const char* what; std::wstring name, file; };
    const Case cases[] = {
        {"folder missing", dir.File(L"no such folder\\Kalvetra"), dir.File(L"no such folder\\Kalvetra.lnk")},
        {"a folder has the shortcut's name", dir.File(L"Taken"), folderInTheWay},
    };
    ASSERT_HRESULT_SUCCEEDED(CoInitialize(nullptr));
    for (const Case& c : cases) {
        std::wstring message;
        try {
            kv::CreateShellLink(target, c.name, L"");
        } catch (const tk::EOSError& e) {
            message = e.Message();
        }
        const std::wstring named = L"\"" + c.file + L"\". ";
        const size_t at = message.find(named);
        EXPECT_NE(at, std::wstring::npos) << c.what << ": " << tk::WideToUtf8(message);
        if (at != std::wstring::npos) {
            EXPECT_GT(message.size(), at + named.size()) << c.what << ": the system's reason follows the name";
        }
    }
    CoUninitialize();
    EXPECT_FALSE(kvtest::FileExists(dir.File(L"no such folder\\Kalvetra.lnk")));
    EXPECT_EQ(GetFileAttributesW(folderInTheWay.c_str()) & FILE_ATTRIBUTE_DIRECTORY, DWORD(FILE_ATTRIBUTE_DIRECTORY));
}

std::wstring DefaultValue(const std::wstring& key) {
    tk::TRegistry reg(KEY_READ);
    reg.SetRootKey(HKEY_CLASSES_ROOT);
    if (!reg.OpenKeyReadOnly(key)) return L"<missing>";
    if (!reg.ValueExists(L"")) return L"<no value>";
    return reg.ReadString(L"");
}

void DeleteClassesKey(const std::wstring& key) {
    tk::TRegistry reg;
    reg.SetRootKey(HKEY_CLASSES_ROOT);
    reg.DeleteKey(key);
}

// A fresh extension and file type for each test, removed afterwards.
class AssociateFileType : public ::testing::Test {
protected:
    std::wstring ext = L"." + kvtest::UniqueName(L"kvt"), type = kvtest::UniqueName(L"Kalvetra.Test");
    void TearDown() override {
        DeleteClassesKey(ext);
        DeleteClassesKey(type);
    }
};

TEST_F(AssociateFileType, WritesTheFourKeys) {
    kv::AssociateFileType(ext, type, L"Открыть с помощью Kalvetra", L"C:\\Apps\\Kalvetra\\Kalvetra.exe", 2);
    EXPECT_EQ(DefaultValue(ext), type);
    EXPECT_EQ(DefaultValue(type + L"\\DefaultIcon"), L"C:\\Apps\\Kalvetra\\Kalvetra.exe,2");
    EXPECT_EQ(DefaultValue(type + L"\\shell\\Open"), L"Открыть с помощью Kalvetra");
    EXPECT_EQ(DefaultValue(type + L"\\shell\\Open\\Command"), L"C:\\Apps\\Kalvetra\\Kalvetra.exe \"%1\"");
}

TEST_F(AssociateFileType, EmptyDescriptionLeavesTheVerbWithoutText) {
    kv::AssociateFileType(ext, type, L"  ", L"C:\\K.exe", 1);
    EXPECT_EQ(DefaultValue(ext), type);
    EXPECT_EQ(DefaultValue(type + L"\\DefaultIcon"), L"C:\\K.exe,1");
    EXPECT_EQ(DefaultValue(type + L"\\shell\\Open"), L"<no value>");
    EXPECT_EQ(DefaultValue(type + L"\\shell\\Open\\Command"), L"C:\\K.exe \"%1\"");
}

TEST_F(AssociateFileType, BlankExtensionOrTypeWritesNothing) {
    kv::AssociateFileType(L"   ", type, L"Open", L"C:\\K.exe", 1);
    EXPECT_EQ(DefaultValue(type + L"\\DefaultIcon"), L"<missing>");
    kv::AssociateFileType(ext, L"\t ", L"Open", L"C:\\K.exe", 1);
    EXPECT_EQ(DefaultValue(ext), L"<missing>");
}

TEST_F(AssociateFileType, EmptyProgramPathRegistersTheRunningExecutable) {
    kv::AssociateFileType(ext, type, L"Open", L"", 1);
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    EXPECT_EQ(DefaultValue(type + L"\\shell\\Open\\Command"), std::wstring(self) + L" \"%1\"");
}

TEST(SpecialFolders, KnownFoldersResolveAndUnknownOnesAreEmpty) {
    for (uint16_t id : {uint16_t(0), uint16_t(2), uint16_t(36), uint16_t(38)}) {
        std::wstring p = kv::GetSpecialFolder(id);
        EXPECT_FALSE(p.empty()) << id;
        EXPECT_TRUE(kv::DirectoryExists(p)) << kvtest::UniqueName(L"") << " " << id;
    }
    EXPECT_EQ(kv::GetSpecialFolder(0x7F), L"");
}

// The 32-bit build sees 64-bit Windows through WOW64; the 64-bit build sees it natively.
TEST(SpecialFolders, BitnessAndProgramFilesMatchThePrefixAndTheBuild) {
    const char* bits = getenv("KALVETRA_PREFIX_BITS");
    const bool windows64 = bits && std::string(bits) == "64";
    const bool wow = windows64 && sizeof(void*) == 4;
    EXPECT_EQ(kv::IsWindows64Bit(), windows64);
    EXPECT_EQ(kv::IsRunningUnderWow64(), wow);
    EXPECT_EQ(kv::GetSpecialFolder(38), wow ? L"C:\\Program Files (x86)" : L"C:\\Program Files");
}

struct VersionCase {
    uint16_t major, minor, release, build;
    bool buildOnly;
    std::wstring text;
};

class VersionLabels : public ::testing::TestWithParam<VersionCase> {};

TEST_P(VersionLabels, ReadTheFixedFileInfo) {
    const VersionCase& c = GetParam();
    std::vector<uint8_t> res(92, 0xEE);
    auto put = [&](size_t at, uint16_t v) { res[at] = static_cast<uint8_t>(v & 0xFF); res[at + 1] = static_cast<uint8_t>(v >> 8); };
    put(48, c.minor);
    put(50, c.major);
    put(52, c.build);
    put(54, c.release);
    EXPECT_EQ(kv::VersionLabelFromResource(res.data(), res.size(), c.buildOnly), c.text);
}

INSTANTIATE_TEST_SUITE_P(Cases, VersionLabels, ::testing::Values(
    VersionCase{0, 14, 3, 110, false, L"0.14.3 [Build: 110]"},
    VersionCase{2, 5, 0, 7, false, L"2.5 [Build: 7]"},
    VersionCase{0, 14, 3, 110, true, L"110"},
    VersionCase{65535, 0, 1, 0, false, L"65535.0.1 [Build: 0]"}));

TEST(VersionLabel, ShortOrMissingResourceGivesNothing) {
    std::vector<uint8_t> shortData(55, 1);
    EXPECT_EQ(kv::VersionLabelFromResource(shortData.data(), shortData.size(), false), L"");
    EXPECT_EQ(kv::VersionLabelFromResource(nullptr, 0, true), L"");
    EXPECT_EQ(kv::GetVersionLabel(false), L"") << "the test program has no version resource";
}

struct DialogCase { std::wstring chosen; bool action; std::wstring result; };

class AfterDialogRule : public ::testing::TestWithParam<DialogCase> {};

TEST_P(AfterDialogRule, AppendsTheProductFolder) {
    std::wstring name = GetParam().chosen;
    kv::ApplyAfterDialogRule(name, GetParam().action);
    EXPECT_EQ(name, GetParam().result);
}

INSTANTIATE_TEST_SUITE_P(Cases, AfterDialogRule, ::testing::Values(
    DialogCase{L"D:\\Apps", true, L"D:\\Apps\\Kalvetra"},
    DialogCase{L"D:\\Kalvetra2", true, L"D:\\Kalvetra2"},
    DialogCase{L"D:\\kalvetra", true, L"D:\\kalvetra\\Kalvetra"},
    DialogCase{L"E:\\", true, L"E:\\Kalvetra"},
    DialogCase{L"E:/", true, L"E:/Kalvetra"},
    DialogCase{L"\\\\srv\\share\\", true, L"\\\\srv\\share\\Kalvetra"},
    DialogCase{L"\\\\srv\\share", true, L"\\\\srv\\share\\Kalvetra"},
    DialogCase{L"C:\\Program Files\\Kalvetra", false, L"C:\\Program Files\\Kalvetra"},
    DialogCase{L"D:\\Apps", false, L"D:\\Apps"}));

struct PathCase { std::wstring path; bool absolute; };

class InstallPaths : public ::testing::TestWithParam<PathCase> {};

TEST_P(InstallPaths, MustNotDependOnTheCurrentDriveOrDirectory) {
    EXPECT_EQ(tk::IsAbsolutePath(GetParam().path), GetParam().absolute) << tk::WideToUtf8(GetParam().path);
}

INSTANTIATE_TEST_SUITE_P(Cases, InstallPaths, ::testing::Values(
    PathCase{L"C:\\Program Files\\Kalvetra", true},
    PathCase{L"d:\\Kalvetra", true},
    PathCase{L"E:\\", true},
    PathCase{L"C:/Apps/Kalvetra", true},
    PathCase{L"\\\\srv\\share", true},
    PathCase{L"\\\\srv\\share\\Apps\\Kalvetra", true},
    PathCase{L"", false},
    PathCase{L"Kalvetra", false},
    PathCase{L"Apps\\Kalvetra", false},
    PathCase{L"\\Kalvetra", false},
    PathCase{L"C:", false},
    PathCase{L"C:Kalvetra", false},
    PathCase{L"1:\\Kalvetra", false},
    PathCase{L" C:\\Kalvetra", false},
    PathCase{L"\\\\srv", false},
    PathCase{L"\\\\srv\\", false},
    PathCase{L"\\\\\\share", false},
    PathCase{L"\\\\srv\\\\share", false}));

TEST(ForceDirectories, CreatesMissingParents) {
    kvtest::TempDir dir;
    std::wstring deep = dir.File(L"a\\b\\c");
    EXPECT_TRUE(kv::ForceDirectories(deep));
    EXPECT_TRUE(kv::DirectoryExists(deep));
    EXPECT_TRUE(kv::ForceDirectories(deep)) << "existing directory";
}

TEST(SystemProgramPath, NamesTheSystemDirectory) {
    wchar_t sys[MAX_PATH];
    GetSystemDirectoryW(sys, MAX_PATH);
    EXPECT_EQ(kv::SystemProgramPath(L"cmd.exe"), std::wstring(sys) + L"\\cmd.exe");
}

}  // namespace
