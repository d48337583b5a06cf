// The registry class: values, its error message, and the 32-bit view it always uses.
#include <gtest/gtest.h>

#include "TestFiles.h"
#include "toolkit/Registry.h"

using namespace tk;

namespace {
const std::wstring kTestRoot = L"Software\\KalvetraTests";

bool IsWow64Prefix() {
    const char* bits = getenv("KALVETRA_PREFIX_BITS");
    return bits && std::string(bits) == "64";
}

bool KeyInView(HKEY root, const std::wstring& key, REGSAM view) {
    HKEY h;
    if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ | view, &h) != ERROR_SUCCESS) return false;
    RegCloseKey(h);
    return true;
}
}  // namespace

TEST(Registry, WritesAndReadsValuesWithTheirTypes) {
    std::wstring key = kTestRoot + L"\\" + kvtest::UniqueName(L"values");
    TRegistry reg;
    reg.SetRootKey(HKEY_CURRENT_USER);
    ASSERT_TRUE(reg.OpenKey(key, true));
    reg.WriteString(L"Name", L"Открыть с помощью Kalvetra");
    reg.WriteInteger(L"EstimatedSize", 5000);
    reg.WriteString(L"", L"default");
    EXPECT_EQ(reg.ReadString(L"Name"), L"Открыть с помощью Kalvetra");
    EXPECT_EQ(reg.ReadInteger(L"EstimatedSize"), 5000);
    EXPECT_EQ(reg.ReadString(L""), L"default");
    DWORD type = 0;
    ASSERT_EQ(RegQueryValueExW(reg.CurrentKey(), L"EstimatedSize", nullptr, &type, nullptr, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    ASSERT_EQ(RegQueryValueExW(reg.CurrentKey(), L"Name", nullptr, &type, nullptr, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    reg.CloseKey();
    EXPECT_TRUE(reg.DeleteKey(key));
}

TEST(Registry, OpenWithoutCreateFailsForAMissingKey) {
    TRegistry reg;
    reg.SetRootKey(HKEY_CURRENT_USER);
    EXPECT_FALSE(reg.OpenKey(kTestRoot + L"\\" + kvtest::UniqueName(L"missing"), false));
}

TEST(Registry, WritingWithoutAnOpenKeyNamesTheValue) {
    TRegistry reg;
    struct Case { std::wstring name, message; };
    for (const Case& c : {Case{L"DisplayName", L"Failed to set data for 'DisplayName'"},
                          Case{L"", L"Failed to set data for ''"}}) {
        try {
            reg.WriteString(c.name, L"x");
            ADD_FAILURE() << "no error for " << WideToUtf8(c.name);
        } catch (const ERegistryException& e) {
            EXPECT_EQ(e.Message(), c.message);
        }
    }
}

// On 64-bit Windows the two views of HKLM\Software are different trees; on 32-bit Windows
// there is one tree and the view flags are ignored.
TEST(Registry, MachineKeysGoToTheViewAsked) {
    const bool windows64 = IsWow64Prefix();
    const bool native64 = sizeof(void*) == 8;
    struct Case { REGSAM view; bool in32, in64; };
    for (const Case& c : {Case{KEY_WOW64_32KEY, true, !windows64},
                          Case{KEY_WOW64_64KEY, !windows64, true},
                          Case{0, !native64, native64 || !windows64}}) {
        std::wstring key = kTestRoot + L"\\" + kvtest::UniqueName(L"view");
        {
            TRegistry reg(KEY_ALL_ACCESS | c.view);
            reg.SetRootKey(HKEY_LOCAL_MACHINE);
            ASSERT_TRUE(reg.OpenKey(key, true));
            reg.WriteString(L"Probe", L"1");
        }
        EXPECT_EQ(KeyInView(HKEY_LOCAL_MACHINE, key, KEY_WOW64_32KEY), c.in32) << "view " << c.view;
        EXPECT_EQ(KeyInView(HKEY_LOCAL_MACHINE, key, KEY_WOW64_64KEY), c.in64) << "view " << c.view;
        TRegistry cleanup(KEY_ALL_ACCESS | c.view);
        cleanup.SetRootKey(HKEY_LOCAL_MACHINE);
        cleanup.DeleteKey(key);
    }
}
