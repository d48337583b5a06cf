// Binding skin data to a section: the section and manager setters, the skin change sequence,
// state lookups, and skin data that points past the skin's lists.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/win_framework/commondata_support.h"

using namespace kvfw;

namespace {

int Count(const std::vector<WORD>& commands, WORD cmd) {
    return static_cast<int>(std::count(commands.begin(), commands.end(), cmd));
}

TEST(CommonDataBinding, TheSectionIsStoredUpperCaseAndTheSameValueChangesNothing) {
    auto manager = MakeManager();
    TTestForm form;
    TTestWinControl control(&form, kButtonKind, {0, 0, 40, 20});
    control.SkinData.SetSkinSection(L"edit");
    EXPECT_EQ(control.SkinData.SkinSection(), L"EDIT");
    EXPECT_EQ(control.SkinData.SkinIndex, manager->Model().GetSkinIndex(L"EDIT"));
    EXPECT_EQ(Count(control.Commands, sk::SC_REFRESH), 1);
    control.Commands.clear();
    control.SkinData.SetSkinSection(L"Edit");
    control.SkinData.SetSkinSection(L"EDIT");
    EXPECT_TRUE(control.Commands.empty()) << "the stored value did not change";
}

TEST(CommonDataBinding, AMissingSectionLeavesTheControlUnskinnedAndSendsRemoveSkin) {
    auto manager = MakeManager();
    TTestForm form;
    TTestWinControl control(&form, kButtonKind, {0, 0, 40, 20});
    ASSERT_TRUE(control.SkinData.Skinned());
    control.SkinData.SetSkinSection(L"NO_SUCH_SECTION");
    EXPECT_FALSE(control.SkinData.Skinned());
    EXPECT_EQ(control.SkinData.SkinIndex, -1);
    EXPECT_EQ(control.SkinData.BorderIndex, -1);
    EXPECT_EQ(Count(control.Commands, sk::SC_REMOVESKIN), 1);
    EXPECT_EQ(Count(control.Commands, sk::SC_REFRESH), 0);
}

TEST(CommonDataBinding, WithoutAManagerNothingIsSkinned) {
    TTestForm form;
    TTestWinControl control(&form, kButtonKind, {0, 0, 40, 20});
    EXPECT_EQ(control.SkinData.SkinManager(), nullptr);
    EXPECT_EQ(control.SkinData.SkinIndex, -1);
    EXPECT_FALSE(control.SkinData.Skinned());
    EXPECT_EQ(control.SkinData.GetBgColor(0), control.Color()) << "the control's own colour";
}

TEST(CommonDataBinding, StoringTheDefaultManagerKeepsTheFieldEmpty) {
    auto manager = MakeManager();
    TTestForm form;
    TTestWinControl control(&form, kButtonKind, {0, 0, 40, 20});
    control.SkinData.SetSkinManager(manager.get());
    EXPECT_FALSE(control.SkinData.ManagerStored());
    EXPECT_EQ(control.SkinData.SkinManager(), manager.get());
    EXPECT_EQ(Count(control.Commands, sk::SC_REFRESH), 1);
}

TEST(CommonDataBinding, AnInactiveManagerUnbinds) {
    auto manager = MakeManager();
    TTestForm form;
    TTestWinControl control(&form, kButtonKind, {0, 0, 40, 20});
    manager->Core().SetActive(false);
    control.SkinData.UpdateIndexes(true);
    EXPECT_EQ(control.SkinData.SkinIndex, -1);
    EXPECT_EQ(control.SkinData.Texture, -1);
    EXPECT_FALSE(control.SkinData.Skinned());
}

struct TStateCase {
    const wchar_t* Section;
    int State;
    int PropsSet;  // 0 or 1
};

const TStateCase kStates[] = {
    {L"FORM", 0, 0}, {L"FORM", 1, 0}, {L"FORM", 2, 0},          // one state: always set 0
    {L"EDIT", 0, 0}, {L"EDIT", 1, 1}, {L"EDIT", 2, 1},          // two states
    {L"BUTTON", 0, 0}, {L"BUTTON", 2, 1}, {L"BUTTON", 7, 1},    // three states, beyond
    {L"BUTTON", -3, 0},
};

TEST(CommonDataBinding, StatesAreClampedToTheSectionThenMapToTwoPropertySets) {
    auto manager = MakeManager();
    TTestForm form;
    for (const TStateCase& c : kStates) {
        TTestWinControl control(&form, kButtonKind, {0, 0, 40, 20}, c.Section);
        const sk::TsGenState* props = control.SkinData.StateProps(c.State);
        ASSERT_NE(props, nullptr);
        EXPECT_EQ(props, &control.SkinData.Section()->Props[c.PropsSet]) << "state " << c.State;
    }
}

TEST(CommonDataBinding, NewSkinRebindsAndRemoveSkinUnbindsOnlyForTheirOwnManager) {
    auto manager = MakeManager();
    auto other = MakeManager();
    TTestForm form;
    TTestWinControl control(&form, kButtonKind, {0, 0, 40, 20});
    const LPARAM mine = reinterpret_cast<LPARAM>(manager.get());
    const LPARAM theirs = reinterpret_cast<LPARAM>(other.get());

    sk::SendSkinCmd(control.Handle(), sk::SC_REMOVESKIN, theirs);
    EXPECT_TRUE(control.SkinData.Skinned()) << "another manager's removal";

    control.SkinData.InitCacheBmp();
    sk::SendSkinCmd(control.Handle(), sk::SC_REMOVESKIN, mine);
    EXPECT_EQ(control.SkinData.SkinIndex, -1);
    EXPECT_EQ(control.SkinData.BorderIndex, -1);
    EXPECT_TRUE(control.SkinData.FUpdating);
    EXPECT_TRUE(control.SkinData.FCacheBmp->Empty());

    sk::acSkinChanging = true;
    sk::SendSkinCmd(control.Handle(), sk::SC_NEWSKIN, theirs);
    EXPECT_EQ(control.SkinData.SkinIndex, -1);
    EXPECT_TRUE(sk::acSkinChanging);
    sk::SendSkinCmd(control.Handle(), sk::SC_NEWSKIN, mine);
    EXPECT_EQ(control.SkinData.SkinIndex, manager->Model().GetSkinIndex(L"BUTTON"));
    EXPECT_GE(control.SkinData.BorderIndex, 0);
    EXPECT_FALSE(sk::acSkinChanging);

    control.SkinData.FUpdating = true;
    control.SkinData.BGChanged = false;
    sk::SendSkinCmd(control.Handle(), sk::SC_REFRESH, mine);
    EXPECT_FALSE(control.SkinData.FUpdating);
    EXPECT_TRUE(control.SkinData.BGChanged);
}

TEST(CommonDataBinding, RemovingTheSkinGivesAnEditTheSystemColours) {
    auto manager = MakeManager();
    TTestForm form;
    TTestWinControl edit(&form, kEditKind, {0, 0, 60, 20});
    edit.SkinData.UpdateSkinColors(false);
    EXPECT_EQ(edit.Color(), kEditColor);
    sk::SendSkinCmd(edit.Handle(), sk::SC_REMOVESKIN, reinterpret_cast<LPARAM>(manager.get()));
    EXPECT_EQ(edit.Color(), tk::clWindow);
    EXPECT_EQ(edit.Font().Color, tk::clWindowText);
}

TEST(CommonDataBinding, SkinDataPointingPastTheSkinNeverReadsOutOfRange) {
    auto manager = MakeManager();
    TTestForm form;
    TTestWinControl panel(&form, kPanelKind, {0, 0, 100, 60});
    TTestWinControl child(&panel, kButtonKind, {10, 10, 50, 30});
    for (int border : {999, -7, 1 << 30}) {
        child.SkinData.BorderIndex = border;
        EXPECT_EQ(child.SkinData.MaxBorderWidth(), 0);
        EXPECT_EQ(child.SkinData.BorderMask(), nullptr);
        child.SkinData.UpdateCtrlSkinState(false);
        sk::TacBgRequest request;
        child.SkinData.FillBgRequest(request, 0);
        EXPECT_NE(request.BgKind, sk::bgNone);
    }
    child.SkinData.SkinIndex = 12345;  // a section index the skin does not have
    EXPECT_FALSE(child.SkinData.Skinned());
    EXPECT_EQ(child.SkinData.Section(), nullptr);
    EXPECT_EQ(child.SkinData.StateProps(0), nullptr);
    EXPECT_EQ(child.SkinData.BgIsUniform(), 1);
    rd::TCacheInfo info;
    child.SkinData.GetParentCache(info);
    EXPECT_FALSE(info.Ready);
    sk::TacSectionInfo section;
    section.Name = L"NOT_IN_THIS_SKIN";
    EXPECT_EQ(sk::SendSkinCmd(child.Handle(), sk::SC_SETSECTION, reinterpret_cast<LPARAM>(&section)), 1);
    EXPECT_EQ(child.SkinData.SkinIndex, -1);
    EXPECT_EQ(sk::SendSkinCmd(child.Handle(), sk::SC_UPDATESECTION,
                              reinterpret_cast<LPARAM>(L"NOT_IN_THIS_SKIN")), 0);
}

TEST(CommonDataBinding, TintSettersReloadAndRepaint) {
    auto manager = MakeManager();
    TTestForm form;
    TTestWinControl control(&form, kButtonKind, {0, 0, 40, 20});
    control.SkinData.BGChanged = false;
    control.SkinData.SetHUEOffset(30);
    EXPECT_EQ(control.SkinData.HUEOffset(), 30);
    EXPECT_TRUE(control.SkinData.BGChanged);
    control.SkinData.BGChanged = false;
    control.SkinData.SetColorTone(0x00112233);
    EXPECT_TRUE(control.SkinData.BGChanged);
}

}  // namespace
