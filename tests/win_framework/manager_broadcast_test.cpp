// The skin manager tells every form and control about a skin change: the new skin in order,
// its removal before the model goes, repaints, one section, update blocks, and the forms'
// drawing switched on again whatever happens in between.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "skinframework/sSkinState.h"
#include "tests/win_framework/manager_support.h"

using namespace kvfw;

namespace {

// Two forms: the first holds a windowed control, a plain (unskinned) panel with a windowed
// and a window-less control, and a window-less control; the second one button.
struct TwoForms {
    TJournal journal;
    std::unique_ptr<TJournalForm> first = std::make_unique<TJournalForm>(L"Form1", &journal);
    std::unique_ptr<TJournalForm> second = std::make_unique<TJournalForm>(L"Form2", &journal);
    std::vector<TTestWinControl*> windowed;
    std::vector<TTestGraphicControl*> graphic;

    TwoForms() {
        windowed.push_back(new TTestWinControl(first.get(), kButtonKind, {10, 10, 90, 40}, L"", L"ButtonA"));
        auto* plain = new tk::TWinControl(first.get());
        plain->SetBounds(10, 50, 200, 100);
        plain->SetParent(first.get());
        plain->HandleNeeded();
        windowed.push_back(new TTestWinControl(plain, kEditKind, {5, 5, 100, 30}, L"", L"EditB"));
        graphic.push_back(new TTestGraphicControl(plain, kButtonKind, {5, 40, 60, 60}, L"", L"GraphicC"));
        graphic.push_back(new TTestGraphicControl(first.get(), kPanelKind, {220, 10, 300, 60}, L"", L"GraphicD"));
        windowed.push_back(new TTestWinControl(second.get(), kButtonKind, {10, 10, 90, 40}, L"", L"ButtonE"));
        for (auto* c : windowed) c->Journal = &journal;
        for (auto* c : graphic) c->Journal = &journal;
    }
    std::vector<sk::TsCommonData*> SkinDatas() {
        std::vector<sk::TsCommonData*> all;
        for (auto* c : windowed) all.push_back(&c->SkinData);
        for (auto* c : graphic) all.push_back(&c->SkinData);
        return all;
    }
    std::vector<std::wstring> Names() const {
        return {L"ButtonA", L"EditB", L"GraphicC", L"GraphicD", L"ButtonE"};
    }
    std::vector<std::wstring> Arrivals(WORD cmd) const {
        std::vector<std::wstring> who;
        for (const auto& [name, c] : journal)
            if (c == cmd) who.push_back(name);
        return who;
    }
};

}  // namespace

TEST(ManagerBroadcast, TheNewSkinReachesEachFormBeforeItsControlsInOrder) {
    auto manager = MakeManager();
    TwoForms forms;
    forms.journal.clear();
    manager->UpdateSkin(false);
    EXPECT_EQ(forms.Arrivals(sk::SC_NEWSKIN),
              (std::vector<std::wstring>{L"Form1", L"ButtonA", L"EditB", L"GraphicC", L"GraphicD", L"Form2",
                                         L"ButtonE"}));
    EXPECT_TRUE(forms.Arrivals(sk::SC_REFRESH).empty()) << "no repaint was asked for";
}

TEST(ManagerBroadcast, SwitchingTheSkinOffAndOnRebindsEveryControlToItsSection) {
    auto manager = MakeManager();
    TwoForms forms;
    std::vector<int> before;
    for (auto* d : forms.SkinDatas()) before.push_back(d->SkinIndex);
    forms.journal.clear();

    manager->SetActive(false);
    for (auto* d : forms.SkinDatas()) EXPECT_EQ(d->SkinIndex, -1) << "unbound while no skin is active";
    manager->SetActive(true);

    const auto datas = forms.SkinDatas();
    for (size_t i = 0; i < datas.size(); ++i) {
        EXPECT_GE(before[i], 0);
        EXPECT_EQ(datas[i]->SkinIndex, before[i]) << "control " << i;
    }
    for (const auto& name : forms.Names()) {
        EXPECT_EQ(CommandsOf(forms.journal, name, {sk::SC_NEWSKIN, sk::SC_REMOVESKIN}),
                  (std::vector<WORD>{sk::SC_REMOVESKIN, sk::SC_NEWSKIN}))
            << Narrow(name);
        // The removal left the controls not painting; the repaint of the new skin ends that.
        EXPECT_EQ(CommandsOf(forms.journal, name, {sk::SC_REFRESH}), (std::vector<WORD>{sk::SC_REFRESH}));
    }
    for (auto* d : forms.SkinDatas()) EXPECT_FALSE(d->FUpdating);
}

TEST(ManagerBroadcast, TheSkinIsRemovedFromTheWindowsBeforeItsModelIsFreed) {
    auto manager = MakeManager();
    TTestForm form;
    auto* probe = new TProbeGraphic(&form, kButtonKind, {5, 5, 50, 30});
    std::vector<bool> modelLoadedAtRemoval;
    probe->Probe = [&](WORD cmd) {
        if (cmd == sk::SC_REMOVESKIN) modelLoadedAtRemoval.push_back(!manager->Model().gd.empty());
    };
    manager->SetActive(false);
    EXPECT_EQ(modelLoadedAtRemoval, std::vector<bool>{true});
    EXPECT_TRUE(manager->Model().gd.empty());
    EXPECT_FALSE(manager->SkinRemoving());
}

TEST(ManagerBroadcast, TheLoadingMarkIsSetOnlyWhileTheSkinIsRead) {
    auto manager = MakeManager();
    TTestForm form;
    auto* probe = new TProbeGraphic(&form, kButtonKind, {5, 5, 50, 30});
    std::vector<bool> loadingAtNewSkin, loadingAtRefresh, loadingWhileRead;
    probe->Probe = [&](WORD cmd) {
        if (cmd == sk::SC_NEWSKIN) loadingAtNewSkin.push_back(sk::acSkinLoading);
        if (cmd == sk::SC_REFRESH) loadingAtRefresh.push_back(sk::acSkinLoading);
    };
    manager->Core().OnSkinLoading = [&] { loadingWhileRead.push_back(sk::acSkinLoading); };

    manager->SetSkinName(kTestSkinName);
    EXPECT_EQ(loadingWhileRead, std::vector<bool>{true});
    EXPECT_EQ(loadingAtNewSkin, std::vector<bool>{false}) << "the new skin is announced once it is read";
    manager->SetHueOffset(90);
    EXPECT_EQ(loadingWhileRead, (std::vector<bool>{true, true}));
    EXPECT_EQ(loadingAtNewSkin, std::vector<bool>{false}) << "a tint change keeps the sections";
    EXPECT_EQ(loadingAtRefresh, (std::vector<bool>{false, false})) << "both changes repaint";
    EXPECT_FALSE(sk::acSkinLoading);
    EXPECT_FALSE(sk::acSkinChanging);
}

// A control that fails in the middle of a broadcast must not leave the forms undrawn.
struct FailingBroadcast {
    const char* name;
    WORD failOn;
    std::function<void(sk::TsSkinManager&)> change;
};

class ManagerBroadcastFailure : public testing::TestWithParam<FailingBroadcast> {};

TEST_P(ManagerBroadcastFailure, LeavesEveryFormDrawingAgain) {
    const FailingBroadcast& c = GetParam();
    auto manager = MakeManager();
    TJournalForm form(L"Form1"), other(L"Form2");
    FailingControl(&form, c.failOn);
    EXPECT_ANY_THROW(c.change(*manager));
    for (TJournalForm* f : {&form, &other}) {
        ASSERT_FALSE(f->RedrawSwitches.empty()) << "the forms are locked while the windows change";
        EXPECT_TRUE(f->RedrawSwitches.back()) << "drawing switched on again";
        EXPECT_TRUE(IsWindowVisible(f->Handle()));
    }
    EXPECT_FALSE(sk::acSkinChanging);
    EXPECT_FALSE(manager->SkinRemoving());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ManagerBroadcastFailure,
    testing::Values(
        FailingBroadcast{"Deactivation", sk::SC_REMOVESKIN, [](sk::TsSkinManager& m) { m.SetActive(false); }},
        FailingBroadcast{"NewSkin", sk::SC_NEWSKIN, [](sk::TsSkinManager& m) { m.UpdateSkin(true); }},
        FailingBroadcast{"Refresh", sk::SC_REFRESH, [](sk::TsSkinManager& m) { m.RepaintForms(true); }}),
    [](const testing::TestParamInfo<FailingBroadcast>& info) { return std::string(info.param.name); });

TEST(ManagerBroadcast, AFailedRemovalStillFreesTheSkinAndTheHook) {
    auto manager = MakeManager();
    TTestForm form;
    FailingControl(&form, sk::SC_REMOVESKIN);
    ASSERT_TRUE(manager->GlobalHookInstalled());
    EXPECT_ANY_THROW(manager->SetActive(false));
    EXPECT_FALSE(manager->Active());
    EXPECT_EQ(manager->SkinInfo(), L"N/A");
    EXPECT_FALSE(manager->GlobalHookInstalled());
}

struct SectionCase {
    const wchar_t* section;
    std::vector<std::wstring> invalidated;
};

TEST(ManagerBroadcast, ASectionUpdateReachesOnlyTheControlsOfThatSection) {
    const SectionCase cases[] = {
        {L"button", {L"ButtonA", L"GraphicC", L"ButtonE"}},
        {L"Edit", {L"EditB"}},
        {L"PANEL", {L"GraphicD"}},
        {L"BUTTONS", {}},
        {L"", {}},
    };
    auto manager = MakeManager();
    TwoForms forms;
    // A control told to repaint marks its cache stale and rebuilds it when it paints.
    struct Watched {
        std::wstring name;
        sk::TsCommonData* data;
        int* builds;
    };
    std::vector<Watched> watched;
    for (auto* c : forms.windowed) watched.push_back({c->Name(), &c->SkinData, &c->CacheBuilds});
    for (auto* c : forms.graphic) watched.push_back({c->Name(), &c->SkinData, &c->CacheBuilds});
    for (const auto& c : cases) {
        PumpMessages();
        std::vector<int> before;
        for (auto& w : watched) {
            w.data->BGChanged = false;
            before.push_back(*w.builds);
        }
        manager->UpdateSkinSection(c.section);
        PumpMessages();
        std::vector<std::wstring> repainted;
        for (size_t i = 0; i < watched.size(); ++i)
            if (watched[i].data->BGChanged || *watched[i].builds > before[i]) repainted.push_back(watched[i].name);
        std::sort(repainted.begin(), repainted.end());
        auto expected = c.invalidated;
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(repainted, expected) << Narrow(c.section);
    }
}

struct UpdateBlockCase {
    const char* name;
    bool repaint;
    std::vector<WORD> afterEnd;  // NEWSKIN and REFRESH arrivals at a control
};

TEST(ManagerBroadcast, AnUpdateBlockHoldsTheAnnouncementUntilItEnds) {
    const UpdateBlockCase cases[] = {
        {"without repaint", false, {sk::SC_NEWSKIN}},
        {"with repaint", true, {sk::SC_NEWSKIN, sk::SC_REFRESH}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto manager = MakeManager();
        TwoForms forms;
        forms.journal.clear();
        manager->BeginUpdate();
        manager->SetSkinName(kTestSkinName);
        manager->SetHueOffset(40);
        EXPECT_TRUE(CommandsOf(forms.journal, L"ButtonA", {sk::SC_NEWSKIN, sk::SC_REFRESH}).empty())
            << "loaded, not announced";
        manager->EndUpdate(c.repaint);
        EXPECT_FALSE(manager->Updating());
        EXPECT_EQ(CommandsOf(forms.journal, L"ButtonA", {sk::SC_NEWSKIN, sk::SC_REFRESH}), c.afterEnd);
    }
}

TEST(ManagerBroadcast, EndingAnUpdateWithoutAnimationSwitchesItOffForThatAnnouncementOnly) {
    auto manager = MakeManager();
    TTestForm form;
    auto* probe = new TProbeGraphic(&form, kButtonKind, {5, 5, 50, 30});
    std::vector<bool> animationAtNewSkin;
    probe->Probe = [&](WORD cmd) {
        if (cmd == sk::SC_NEWSKIN) animationAtNewSkin.push_back(manager->AnimEffects.SkinChanging.Active);
    };
    ASSERT_TRUE(manager->AnimEffects.SkinChanging.Active);
    manager->BeginUpdate();
    manager->EndUpdate(false, false);
    manager->BeginUpdate();
    manager->EndUpdate(false, true);
    EXPECT_EQ(animationAtNewSkin, (std::vector<bool>{false, true}));
    EXPECT_TRUE(manager->AnimEffects.SkinChanging.Active) << "restored";
}

TEST(ManagerBroadcast, RepaintingStopsFadesBeforeTheRefresh) {
    auto manager = MakeManager();
    TwoForms forms;
    forms.journal.clear();
    manager->RepaintForms(true);
    for (const auto& name : forms.Names())
        EXPECT_EQ(CommandsOf(forms.journal, name, {sk::SC_FADEDONE, sk::SC_REFRESH}),
                  (std::vector<WORD>{sk::SC_FADEDONE, sk::SC_REFRESH}));
    EXPECT_EQ(forms.first->RedrawSwitches, (std::vector<bool>{false, true}));
}

TEST(ManagerBroadcast, ANewDefaultManagerAnnouncesItsSkin) {
    auto first = MakeManager();
    auto second = MakeManager();
    ASSERT_EQ(sk::TsSkinManager::DefaultManager(), first.get());
    TTestForm form;
    auto* control = new TTestWinControl(&form, kButtonKind, {5, 5, 60, 30});
    ASSERT_GE(control->SkinData.SkinIndex, 0);
    second->SetActive(false);
    second->SetIsDefault(true);
    EXPECT_EQ(sk::TsSkinManager::DefaultManager(), second.get());
    EXPECT_EQ(control->SkinData.SkinIndex, -1) << "the new default has no skin: the control lets go";
    EXPECT_FALSE(second->GlobalHookInstalled());
    second->SetActive(true);
    EXPECT_GE(control->SkinData.SkinIndex, 0);
    EXPECT_TRUE(second->GlobalHookInstalled());
}
