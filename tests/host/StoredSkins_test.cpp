// The manager's stored skins: the values kept with an item, lookup by name, the list-changed
// notification and assignment between managers.
#include <gtest/gtest.h>

#include "skin/sSkinManagerCore.h"

using namespace sk;

namespace {

TsStoredSkin Named(const std::wstring& name) {
    TsStoredSkin s;
    s.Name = name;
    return s;
}

// A stored skin with every value away from its default.
TsStoredSkin Full() {
    TsStoredSkin s;
    s.Name = L"Velmora2 (internal)";
    s.Data = {1, 2, 3};
    s.MasterBitmap = {'B', 'M', 9};
    s.Shadow1Color = 0x00123456;
    s.Shadow1Offset = 3;
    s.Shadow1Blur = 7;
    s.Shadow1Transparency = 40;
    s.BorderColor = 0x00010203;
    s.Version = 9.14;
    s.Author = L"Автор";
    s.Description = L"Blue";
    return s;
}

void ExpectSame(const TsStoredSkin& a, const TsStoredSkin& b) {
    EXPECT_EQ(a.Name, b.Name);
    EXPECT_EQ(a.Data, b.Data);
    EXPECT_EQ(a.MasterBitmap, b.MasterBitmap);
    EXPECT_EQ(a.Shadow1Color, b.Shadow1Color);
    EXPECT_EQ(a.Shadow1Offset, b.Shadow1Offset);
    EXPECT_EQ(a.Shadow1Blur, b.Shadow1Blur);
    EXPECT_EQ(a.Shadow1Transparency, b.Shadow1Transparency);
    EXPECT_EQ(a.BorderColor, b.BorderColor);
    EXPECT_EQ(a.Version, b.Version);
    EXPECT_EQ(a.Author, b.Author);
    EXPECT_EQ(a.Description, b.Description);
}

struct Manager {
    TSkinManagerCore core{TSkinManagerHost{}};
    int changes = 0;
    Manager() { core.OnSkinListChanged = [this] { ++changes; }; }
};

}  // namespace

TEST(StoredSkins, DefaultsOfANewItem) {
    const TsStoredSkin s;
    EXPECT_EQ(s.Shadow1Blur, -1);
    EXPECT_EQ(s.BorderColor, 0x00FF00FF);
    EXPECT_EQ(s.Shadow1Color, 0);
    EXPECT_EQ(s.Shadow1Offset, 0);
    EXPECT_EQ(s.Shadow1Transparency, 0);
    EXPECT_EQ(s.Version, 0.0);
    EXPECT_TRUE(s.MasterBitmap.empty() && s.Data.empty() && s.Author.empty() && s.Description.empty());
}

TEST(StoredSkins, IndexOfIsExactCaseSensitiveAndFirst) {
    Manager m;
    for (const wchar_t* name : {L"Velmora", L"velmora", L"Velmora", L""}) m.core.InternalSkins().push_back(Named(name));
    struct Case { const wchar_t* name; int expected; } cases[] = {
        {L"Velmora", 0}, {L"velmora", 1}, {L"VELMORA", -1}, {L"", 3}, {L"Velmora ", -1}, {L"Velm", -1}, {L"Other", -1},
    };
    for (const auto& c : cases) EXPECT_EQ(m.core.InternalSkins().IndexOf(c.name), c.expected) << "'" << c.name << "'";
    EXPECT_EQ(Manager().core.InternalSkins().IndexOf(L""), -1) << "empty list";
}

TEST(StoredSkins, EveryListChangeAndUpdateFiresTheManagersEvent) {
    Manager m;
    TsStoredSkins& skins = m.core.InternalSkins();
    skins.push_back(Named(L"a"));
    EXPECT_EQ(m.changes, 1);
    skins.Update(0);  // an item changed in place
    EXPECT_EQ(m.changes, 2);
    skins = std::vector<TsStoredSkin>{Named(L"b"), Named(L"c")};
    EXPECT_EQ(m.changes, 3) << "replacing the list is one change";
    skins.clear();
    EXPECT_EQ(m.changes, 4);
    m.core.OnSkinListChanged = nullptr;
    skins.push_back(Named(L"d"));  // no handler: nothing to call
    skins.Update();
    EXPECT_EQ(skins.size(), 1u);
}

TEST(StoredSkins, AssignCopiesEveryValueAndKeepsItsOwnManager) {
    Manager source, target;
    source.core.InternalSkins().push_back(Full());
    source.core.InternalSkins().push_back(Named(L"second"));
    target.core.InternalSkins().push_back(Named(L"old"));
    const int sourceChanges = source.changes, targetChanges = target.changes;

    target.core.InternalSkins().Assign(source.core.InternalSkins());
    ASSERT_EQ(target.core.InternalSkins().size(), 2u);
    ExpectSame(target.core.InternalSkins()[0], Full());
    EXPECT_EQ(target.core.InternalSkins()[1].Name, L"second");
    EXPECT_EQ(target.changes, targetChanges + 1);
    EXPECT_EQ(source.changes, sourceChanges);

    // The copy is independent, and its updates still reach the target's manager only.
    source.core.InternalSkins()[0].MasterBitmap.clear();
    EXPECT_EQ(target.core.InternalSkins()[0].MasterBitmap, Full().MasterBitmap);
    target.core.InternalSkins().Update(1);
    EXPECT_EQ(target.changes, targetChanges + 2);
    EXPECT_EQ(source.changes, sourceChanges);
}
