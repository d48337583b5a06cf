// Window and toolkit messages the shared handler reacts to: moving and sizing over a gradient,
// hiding with the memory-saving option, freeing caches, and UI-state changes.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/win_framework/commondata_support.h"

using namespace kvfw;

namespace {

bool Received(const std::vector<WORD>& commands, WORD cmd) {
    return std::find(commands.begin(), commands.end(), cmd) != commands.end();
}

// A gradient container and a plain one, each with a transparent child that has its window.
struct TwoContainers {
    std::unique_ptr<sk::TsSkinManager> manager = MakeManager();
    TTestForm form;
    TTestWinControl gradient{&form, kPanelLowKind, {0, 0, 150, 100}};
    TTestWinControl plain{&form, kPanelKind, {0, 100, 150, 200}};
    TTestWinControl onGradient{&gradient, kCheckBoxKind, {10, 10, 40, 30}};
    TTestWinControl onPlain{&plain, kCheckBoxKind, {10, 10, 40, 30}};
    TwoContainers() {
        onGradient.HandleNeeded();
        onPlain.HandleNeeded();
    }
};

TEST(CommonDataWindow, SizingAGradientContainerTellsItsChildrenTheirBackgroundMoved) {
    TwoContainers t;
    auto& [manager, form, gradient, plain, onGradient, onPlain] = t;
    onGradient.Commands.clear();
    onPlain.Commands.clear();
    onGradient.SkinData.BGChanged = false;
    gradient.SetBounds(0, 0, 160, 110);
    plain.SetBounds(0, 100, 160, 210);
    EXPECT_TRUE(Received(onGradient.Commands, sk::SC_PARENTMOVED));
    EXPECT_TRUE(onGradient.SkinData.BGChanged) << "its parent's pixels behind it changed";
    EXPECT_FALSE(Received(onPlain.Commands, sk::SC_PARENTMOVED));
    EXPECT_TRUE(gradient.SkinData.BGChanged);
}

TEST(CommonDataWindow, MovingOverAGradientMarksTheCacheStaleAndOverAPlainColourDoesNot) {
    TwoContainers t;
    auto& [manager, form, gradient, plain, onGradient, onPlain] = t;
    for (TTestWinControl* c : {&onGradient, &onPlain}) {
        c->SkinData.BGChanged = false;
        c->Commands.clear();
        c->SetBounds(20, 15, 30, 20);
    }
    EXPECT_TRUE(onGradient.SkinData.BGChanged);
    EXPECT_TRUE(Received(onGradient.Commands, sk::SC_PARENTMOVED));
    EXPECT_FALSE(Received(onPlain.Commands, sk::SC_PARENTMOVED));
}

TEST(CommonDataWindow, WithTheMemoryOptionAHiddenControlGivesItsCacheBack) {
    auto manager = MakeManager();
    manager->Options.OptimizingPriority = sk::TacOptimizingPriority::opMemory;
    TTestForm form;
    TTestWinControl panel(&form, kPanelLowKind, {0, 0, 150, 100});
    TTestWinControl child(&panel, kButtonKind, {10, 10, 60, 30});
    child.HandleNeeded();
    panel.PrepareCache();
    ASSERT_FALSE(panel.SkinData.FCacheBmp->Empty());
    child.Commands.clear();
    panel.SetVisible(false);
    EXPECT_TRUE(panel.SkinData.FCacheBmp->Empty());
    EXPECT_TRUE(panel.SkinData.BGChanged);
    EXPECT_TRUE(Received(child.Commands, sk::SC_FREECACHE));
    panel.SkinData.FUpdating = true;
    panel.SetVisible(true);
    EXPECT_FALSE(panel.SkinData.FUpdating);
}

TEST(CommonDataWindow, WithoutTheMemoryOptionAHiddenControlKeepsItsCache) {
    auto manager = MakeManager();
    TTestForm form;
    TTestWinControl panel(&form, kPanelLowKind, {0, 0, 150, 100});
    panel.PrepareCache();
    panel.SetVisible(false);
    EXPECT_FALSE(panel.SkinData.FCacheBmp->Empty());
}

TEST(CommonDataWindow, FreeCachePassesToWindowedChildren) {
    auto manager = MakeManager();
    TTestForm form;
    TTestWinControl panel(&form, kPanelLowKind, {0, 0, 150, 100});
    TTestWinControl child(&panel, kButtonKind, {10, 10, 60, 30});
    TTestGraphicControl graphic(&panel, kButtonKind, {70, 10, 90, 30});
    child.HandleNeeded();
    panel.PrepareCache();
    child.PrepareCache();
    graphic.Commands.clear();
    sk::SendSkinCmd(panel.Handle(), sk::SC_FREECACHE);
    EXPECT_TRUE(panel.SkinData.FCacheBmp->Empty());
    EXPECT_TRUE(child.SkinData.FCacheBmp->Empty());
    EXPECT_FALSE(Received(graphic.Commands, sk::SC_FREECACHE));
}

TEST(CommonDataWindow, AUiStateChangeIsSwallowedOnlyBySkinnedControls) {
    auto manager = MakeManager();
    TTestForm form;
    TTestWinControl skinned(&form, kButtonKind, {0, 0, 40, 20});
    TTestWinControl plain(&form, kButtonKind, {0, 30, 40, 50}, L"NOT_A_SECTION");
    tk::TMessage m{WM_UPDATEUISTATE, 0, 0, 0};
    EXPECT_TRUE(sk::HandleCommonMessage(m, skinned.SkinData));
    EXPECT_FALSE(sk::HandleCommonMessage(m, plain.SkinData));
}

TEST(CommonDataWindow, TheContextMenuHookSeesTheControlAndItsManager) {
    auto manager = MakeManager();
    TTestForm form;
    TTestWinControl control(&form, kButtonKind, {0, 0, 40, 20});
    tk::TControl* seen = nullptr;
    sk::TsSkinManager* seenManager = nullptr;
    sk::HookControlPopupMenu = [&](tk::TControl* c, sk::TsSkinManager& m) {
        seen = c;
        seenManager = &m;
    };
    tk::TMessage m{WM_CONTEXTMENU, 0, 0, 0};
    EXPECT_FALSE(sk::HandleCommonMessage(m, control.SkinData)) << "the menu itself is the default's business";
    sk::HookControlPopupMenu = nullptr;
    EXPECT_EQ(seen, &control);
    EXPECT_EQ(seenManager, manager.get());
    EXPECT_FALSE(sk::HandleCommonMessage(m, control.SkinData)) << "no hook: nothing happens";
}

}  // namespace
