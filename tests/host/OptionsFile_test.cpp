// The options text: syntax, encodings and the inheriting readers.
#include <gtest/gtest.h>

#include "render/sSysColors.h"
#include "skin/OptionsFile.h"
#include "skin/acCodePage.h"

using namespace sk;

namespace {

TBytes Bytes(const std::string& s) { return TBytes(s.begin(), s.end()); }

const wchar_t* const kText =
    L"KEY=before any section\r\n"
    L"; comment\n"
    L"  [ GLOBALINFO ]  \n"
    L"VERSION = 7.20\n"
    L"AUTHOR=a=b\n"
    L"no equals sign\n"
    L"\n"
    L"[EDIT]\n"
    L"COLOR=-16777201\n"
    L"FONTCOLOR=$FF\n"
    L"STATES=2\n"
    L"COLOR=1\n"
    L"[CHILD]\n"
    L"PARENTCLASS=EDIT\n"
    L"TRANSPARENCY=150\n"
    L"[GRANDCHILD]\n"
    L"PARENTCLASS=CHILD\n"
    L"OWN=-1\n"
    L"FLAG=1\n"
    L"[SELF]\n"
    L"PARENTCLASS=SELF\n"
    L"[LOOPA]\n"
    L"PARENTCLASS=LOOPB\n"
    L"[LOOPB]\n"
    L"PARENTCLASS=LOOPA\n"
    L"[EDIT]\n"
    L"LATE=5\n";

}  // namespace

TEST(OptionsFile, SectionsAndKeysInFileOrder) {
    const TOptionsFile f = TOptionsFile::FromText(kText);
    ASSERT_EQ(f.Sections().size(), 7u);
    EXPECT_EQ(f.Sections()[0].Name, L"GLOBALINFO");
    EXPECT_EQ(f.Sections()[1].Name, L"EDIT");
    EXPECT_EQ(f.Sections()[6].Name, L"LOOPB");
    const TOptionsSection* edit = f.Section(L"EDIT");
    ASSERT_TRUE(edit);
    ASSERT_EQ(edit->Keys.size(), 4u);  // the repeated header continues the section
    EXPECT_EQ(edit->Keys[3].first, L"LATE");
    EXPECT_EQ(f.ReadString(L"GLOBALINFO", L"AUTHOR", L""), L"a=b");
    EXPECT_EQ(f.ReadString(L"GLOBALINFO", L"KEY", L"-"), L"-");  // before the first section
    EXPECT_EQ(f.ReadInteger(L"EDIT", L"COLOR", 0), -16777201);    // the first of equal keys
    EXPECT_EQ(f.ReadInteger(L"EDIT", L"FONTCOLOR", 0), 255);
    EXPECT_EQ(f.ReadInteger(L"edit", L"COLOR", 7), 7);  // case-sensitive
    EXPECT_DOUBLE_EQ(f.ReadVersion(L"GLOBALINFO", L"VERSION", 0), 7.2);
    EXPECT_EQ(f.ReadInteger(L"GLOBALINFO", L"AUTHOR", 3), 3);  // does not parse: missing
}

TEST(OptionsFile, InheritingIntegerReader) {
    const TOptionsFile f = TOptionsFile::FromText(kText);
    struct Case { const wchar_t* section; const wchar_t* key; int def, max, expected; } cases[] = {
        {L"EDIT", L"COLOR", 0xFFFFFF, 0x7FFFFFFF, -16777201},   // own value: not resolved
        {L"CHILD", L"COLOR", 0xFFFFFF, 0x7FFFFFFF, 0xF0F0F0},   // ancestor value: resolved
        {L"GRANDCHILD", L"COLOR", 0xFFFFFF, 0x7FFFFFFF, 0xF0F0F0},
        {L"CHILD", L"TRANSPARENCY", 0, 100, 100},               // capped
        {L"GRANDCHILD", L"TRANSPARENCY", 0, 100, 100},
        {L"GRANDCHILD", L"OWN", 9, 100, 9},                     // -1 counts as missing
        {L"EDIT", L"NOPE", 3, 100, 3},
        {L"SELF", L"NOPE", 4, 100, 4},                          // own name as parent: no parent
        {L"LOOPA", L"NOPE", 5, 100, 5},                         // loop ends by the depth limit
        {L"MISSING", L"COLOR", 6, 100, 6},
    };
    for (const auto& c : cases)
        EXPECT_EQ(f.ReadIntInherited(c.section, c.key, c.def, c.max), c.expected) << c.section << "." << c.key;
}

TEST(OptionsFile, InheritingStringAndBoolReaders) {
    const TOptionsFile f = TOptionsFile::FromText(kText);
    EXPECT_EQ(f.ReadStringInherited(L"GRANDCHILD", L"STATES", L"x"), L"2");
    EXPECT_EQ(f.ReadStringInherited(L"LOOPB", L"STATES", L"x"), L"x");
    EXPECT_TRUE(f.ReadBoolInherited(L"GRANDCHILD", L"FLAG", false));
    EXPECT_FALSE(f.ReadBoolInherited(L"CHILD", L"PARENTCLASS", true));  // present, not TRUE/1
    EXPECT_TRUE(f.ReadBoolInherited(L"CHILD", L"FLAG", true));          // missing everywhere
}

TEST(OptionsFile, EncodingsByByteOrderMark) {
    UseHostCodePage(THostCodePage::cp1251);
    struct Case { const char* what; std::string bytes; } cases[] = {
        {"ansi 1251", "[S]\nNAME=\xCA\xE0\xEB\n"},
        {"utf-8", "\xEF\xBB\xBF[S]\nNAME=\xD0\x9A\xD0\xB0\xD0\xBB\n"},
        {"utf-16le", std::string("\xFF\xFE[\0S\0]\0\n\0N\0A\0M\0E\0=\0\x1A\x04\x30\x04\x3B\x04", 26)},
        {"utf-16be", std::string("\xFE\xFF\0[\0S\0]\0\n\0N\0A\0M\0E\0=\x04\x1A\x04\x30\x04\x3B", 26)},
    };
    for (const auto& c : cases) {
        const TOptionsFile f = TOptionsFile::FromBytes(Bytes(c.bytes));
        EXPECT_EQ(f.ReadString(L"S", L"NAME", L"?"), L"\x041A\x0430\x043B") << c.what;
    }
}
