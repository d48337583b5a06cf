// The manager's class-name lists: one per kind in the kind order, empty properties given
// their defaults first, blanks dropped, and the settings' defaults the constructor sets.
#include <gtest/gtest.h>

#include "skin/sSkinManagerOptions.h"

using namespace sk;

TEST(ThirdPartyLists, PropertiesMapToTheirKinds) {
    struct Case {
        const char* property;
        TThirdKind kind;
    } cases[] = {{"ThirdEdits", tpEdit},           {"ThirdComboBoxes", tpComboBox}, {"ThirdGroupBoxes", tpGroupBox},
                 {"ThirdGridEh", tpGridEh},        {"ThirdVirtualTrees", tpVirtualTree},
                 {"ThirdNativePaint", tpNativePaint}};
    for (const auto& c : cases) {
        ThirdPartyList p;
        ASSERT_TRUE(p.Set(c.property, L"TMine\r\n TOther \r\n\r\n"));
        const TThirdLists lists = MakeThirdLists(p);
        EXPECT_EQ(lists[c.kind], (std::vector<std::wstring>{L"TMine", L"TOther"})) << c.property;
        for (size_t k = 0; k < lists.size(); ++k)
            if (k != c.kind) {
                EXPECT_TRUE(lists[k].empty()) << c.property << " leaks into kind " << k;
            }
    }
    ThirdPartyList p;
    EXPECT_FALSE(p.Set("ThirdNothing", L"x"));
    EXPECT_EQ(ThirdPartyList::PropertyNames().size(), 23u);
}

TEST(ThirdPartyLists, OnlyEmptyPropertiesReceiveDefaults) {
    ThirdPartyList p;
    p.Set("ThirdButtons", L"TButton");
    p.Set("ThirdEdits", L" ");  // one blank: set, and no class names
    p.FillEmptyWithDefaults();
    const TThirdLists lists = MakeThirdLists(p);
    EXPECT_EQ(lists[tpButton], (std::vector<std::wstring>{L"TButton"}));
    EXPECT_TRUE(lists[tpEdit].empty());
    EXPECT_FALSE(lists[tpCheckBox].empty()) << "an empty property takes the built-in list";
    EXPECT_EQ(lists[tpBitBtn], (std::vector<std::wstring>{L"TBitBtn"}));
}

TEST(ManagerSettings, Defaults) {
    TacAnimEffects anim;
    EXPECT_EQ(anim.SkinChanging.Time, 100);
    EXPECT_EQ(anim.SkinChanging.Mode, TacAnimType::atFading);
    EXPECT_EQ(anim.Minimizing.Time, 120);
    EXPECT_EQ(anim.FormShow.Mode, TacAnimType::atAero);
    EXPECT_FALSE(anim.BlendOnMoving.Active);
    EXPECT_EQ(anim.BlendOnMoving.BlendValue, 170);
    EXPECT_EQ(anim.ButtonEvents, beMouseEnter | beMouseLeave | beMouseDown | beMouseUp);
    TacMenuSupport menu;
    EXPECT_EQ(menu.AlphaBlend, 255);
    EXPECT_EQ(menu.ExtraLineWidth, 32);
    EXPECT_TRUE(menu.IcoLineSkin.empty());
    TacScrollBarsSupport scrolls;
    EXPECT_EQ(scrolls.ScrollSize, -1);
    EXPECT_FALSE(TacSkinEffects{}.AllowOuterEffects);
}
