// The shared skin-message handler: its dispatch table, messages that must not be obeyed
// (posted, or sent from another thread), broadcasts past children being destroyed, the
// manager's active control, hover and focus, readiness and outer shadows.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "tests/win_framework/commondata_support.h"

using namespace kvfw;

namespace {

struct TReplyCase {
    WORD Cmd;
    WORD Arg;
    bool Handled;
    LRESULT Reply;
};

const TReplyCase kReplies[] = {
    {sk::SC_ISHANDLED, 0, true, 1},      {sk::SC_MOVEREPAINT, 0, true, 1},
    {sk::SC_GETHALFVISIBLE, 0, true, 1}, {sk::SC_SETSECTION, 0, true, 0},  // no record: 0
    {sk::SC_BGCHANGED, 0, true, 0},      {sk::SC_PREPARECACHE, 0, true, 0},
    {sk::SC_FADEDONE, 0, false, 0},      {sk::SC_PAINTFADEFRAME, 0, false, 0},
    {sk::SC_GETPROVIDER, 0, false, 0},   {sk::SC_PREVIEWSKIN, 0, false, 0},
    {99, 0, false, 0},                   {0, 0, false, 0},
};

TEST(CommonDataMessages, TheDispatchTableAnswersTheCommonSubCommandsOnly) {
    auto manager = MakeManager();
    TTestForm form;
    TTestWinControl control(&form, kButtonKind, {0, 0, 40, 20});
    for (const TReplyCase& c : kReplies) {
        tk::TMessage m{sk::SM_SKINCMD, sk::SkinCmdWParam(c.Cmd, c.Arg), 0, 12345};
        EXPECT_EQ(sk::HandleSkinCommand(m, control.SkinData), c.Handled) << "sub-command " << c.Cmd;
        if (c.Handled) {
            EXPECT_EQ(m.Result, c.Reply) << "sub-command " << c.Cmd;
        }
    }
}

TEST(CommonDataMessages, RecordCommandsFillTheirRecords) {
    auto manager = MakeManager();
    TTestForm form;
    TTestWinControl control(&form, kButtonKind, {5, 6, 45, 26});
    EXPECT_EQ(sk::SendSkinCmd(control.Handle(), sk::SC_GETCOMMONDATA),
              reinterpret_cast<LRESULT>(static_cast<sk::TsCommonData*>(&control.SkinData)));
    RECT bounds{};
    sk::SendSkinCmd(control.Handle(), sk::SC_GETBOUNDS, reinterpret_cast<LPARAM>(&bounds));
    EXPECT_EQ(bounds.left, 5);
    EXPECT_EQ(bounds.bottom, 26);
    sk::TacSectionInfo info;
    sk::SendSkinCmd(control.Handle(), sk::SC_GETSKININDEX, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.SkinIndex, manager->Model().GetSkinIndex(L"BUTTON"));
    sk::SendSkinCmd(control.Handle(), sk::SC_SETUPDATING, 0, 1);
    EXPECT_TRUE(control.SkinData.FUpdating);
    sk::SendSkinCmd(control.Handle(), sk::SC_SETUPDATING, 0, 0);
    EXPECT_FALSE(control.SkinData.FUpdating);
    HDC dc = CreateCompatibleDC(nullptr);
    sk::SendSkinCmd(control.Handle(), sk::SC_PRINTING, reinterpret_cast<LPARAM>(dc));
    EXPECT_EQ(control.SkinData.PrintDC, dc);
    EXPECT_TRUE(control.SkinData.CtrlSkinState & sk::ACS_PRINTING);
    sk::SendSkinCmd(control.Handle(), sk::SC_PRINTING, 0);
    EXPECT_FALSE(control.SkinData.CtrlSkinState & sk::ACS_PRINTING);
    DeleteDC(dc);
}

TEST(CommonDataMessages, APostedSkinMessageIsDropped) {
    auto manager = MakeManager();
    TTestForm form;
    TTestWinControl control(&form, kButtonKind, {0, 0, 40, 20});
    PumpMessages();
    control.Commands.clear();
    sk::TacSectionInfo info;
    info.Name = L"EDIT";
    PostMessageW(control.Handle(), sk::SM_SKINCMD, sk::SkinCmdWParam(sk::SC_SETSECTION),
                 reinterpret_cast<LPARAM>(&info));
    PumpMessages();
    EXPECT_EQ(control.SkinData.SkinSection(), L"BUTTON");
    EXPECT_TRUE(control.Commands.empty());
}

TEST(CommonDataMessages, ASkinMessageFromAnotherThreadIsIgnored) {
    auto manager = MakeManager();
    TTestForm form;
    TTestWinControl control(&form, kButtonKind, {0, 0, 40, 20});
    HWND target = control.Handle();
    sk::TacSectionInfo info;
    info.Name = L"EDIT";
    LRESULT viaRoutine = -1, viaSend = -1;
    std::atomic<bool> done{false};
    std::thread worker([&] {
        viaRoutine = sk::SendSkinCmd(target, sk::SC_ISHANDLED);
        viaSend = SendMessageW(target, sk::SM_SKINCMD, sk::SkinCmdWParam(sk::SC_SETSECTION),
                               reinterpret_cast<LPARAM>(&info));
        done = true;
    });
    // Serve the worker's cross-thread send until it is done.
    while (!done) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        PumpMessages();
    }
    worker.join();
    EXPECT_EQ(viaRoutine, 0) << "the sending routine does not cross threads";
    EXPECT_EQ(viaSend, 0);
    EXPECT_EQ(control.SkinData.SkinSection(), L"BUTTON");
}

TEST(CommonDataMessages, ABroadcastSkipsAChildBeingDestroyedAndGoesOn) {
    auto manager = MakeManager();
    TTestForm form;
    TTestWinControl panel(&form, kPanelKind, {0, 0, 200, 100});
    TTestGraphicControl first(&panel, kButtonKind, {0, 0, 20, 20});
    TTestWinControl dying(&panel, kButtonKind, {30, 0, 50, 20});
    TTestGraphicControl last(&panel, kButtonKind, {60, 0, 80, 20});
    dying.HandleNeeded();
    first.Commands.clear();
    dying.Commands.clear();
    last.Commands.clear();
    dying.MarkDestroying();
    tk::TMessage m{sk::SM_SKINCMD, sk::SkinCmdWParam(sk::SC_BGCHANGED), 0, 0};
    sk::BroadcastToChildren(&panel, m);
    EXPECT_EQ(first.Commands, std::vector<WORD>{sk::SC_BGCHANGED});
    EXPECT_TRUE(dying.Commands.empty());
    EXPECT_EQ(last.Commands, std::vector<WORD>{sk::SC_BGCHANGED});
    EXPECT_EQ(sk::PerformSkinCmd(&dying, sk::SC_ISHANDLED), 0) << "no message to a control being destroyed";
}

TEST(CommonDataMessages, ADestroyedControlIsNoLongerTheManagersActiveControl) {
    auto manager = MakeManager();
    TTestForm form;
    auto* graphic = new TTestGraphicControl(&form, kButtonKind, {0, 0, 20, 20});
    graphic->Perform(tk::CM_MOUSEENTER);
    ASSERT_EQ(manager->ActiveGraphControl(), graphic);
    delete graphic;
    EXPECT_EQ(manager->ActiveGraphControl(), nullptr);

    auto* windowed = new TTestWinControl(&form, kButtonKind, {30, 0, 50, 20});
    HWND handle = windowed->Handle();
    windowed->Perform(tk::CM_MOUSEENTER);
    ASSERT_EQ(manager->ActiveControl(), handle);
    delete windowed;
    EXPECT_EQ(manager->ActiveControl(), nullptr);
}

TEST(CommonDataMessages, ActivatingAControlTellsTheOldOneAndTheNewOne) {
    auto manager = MakeManager();
    TTestForm form;
    TTestWinControl a(&form, kButtonKind, {0, 0, 20, 20});
    TTestWinControl b(&form, kButtonKind, {30, 0, 50, 20});
    TTestGraphicControl g(&form, kButtonKind, {60, 0, 80, 20});
    manager->SetActiveControl(a.Handle());
    manager->SetActiveControl(b.Handle());
    EXPECT_EQ(a.Commands.back(), sk::SC_DEACTIVATED);
    EXPECT_EQ(b.Commands.back(), sk::SC_ACTIVATED);
    manager->SetActiveGraphControl(&g);
    EXPECT_EQ(manager->ActiveControl(), nullptr);
    EXPECT_EQ(b.Commands.back(), sk::SC_DEACTIVATED);
    g.SkinData.FMouseAbove = true;
    manager->SetActiveControl(a.Handle());
    EXPECT_EQ(manager->ActiveGraphControl(), &g) << "a graphic control that still has the mouse stays";
    g.SkinData.FMouseAbove = false;
    manager->SetActiveControl(a.Handle());
    EXPECT_EQ(manager->ActiveGraphControl(), nullptr);
    EXPECT_EQ(g.Commands.back(), sk::SC_DEACTIVATED);
}

TEST(CommonDataMessages, FocusGivesAnEditItsHotColoursUnlessTheyAreTheUsers) {
    auto manager = MakeManager();
    TTestForm form;
    TTestWinControl edit(&form, kEditKind, {0, 0, 80, 20});
    TTestWinControl custom(&form, kEditKind, {0, 30, 80, 50});
    for (TTestWinControl* e : {&edit, &custom}) {
        e->SetTabStop(true);
        e->SkinData.UpdateSkinColors(false);
    }
    custom.SkinData.SetCustomColor(true);
    custom.SetColor(0x00010101);
    edit.Perform(WM_SETFOCUS);
    custom.Perform(WM_SETFOCUS);
    EXPECT_TRUE(edit.SkinData.FFocused);
    EXPECT_EQ(edit.Color(), kEditHotColor);
    EXPECT_EQ(edit.Font().Color, kEditHotFontColor);
    EXPECT_EQ(custom.Color(), 0x00010101) << "the user's colour stays";
    EXPECT_EQ(custom.Font().Color, kEditHotFontColor);

    edit.Perform(tk::CM_MOUSEENTER);
    edit.Perform(WM_KILLFOCUS);
    EXPECT_FALSE(edit.SkinData.FFocused);
    EXPECT_EQ(edit.Color(), kEditHotColor) << "the mouse is still over it";
    edit.Perform(tk::CM_MOUSELEAVE);
    EXPECT_EQ(edit.Color(), kEditColor);
    EXPECT_EQ(edit.Font().Color, kEditFontColor);
}

TEST(CommonDataMessages, NoMouseHoverAndNoHoverKindsIgnoreTheMouse) {
    auto manager = MakeManager();
    TTestForm form;
    TTestWinControl gauge(&form, kGaugeKind, {0, 0, 80, 20}, L"PANEL");
    gauge.Perform(tk::CM_MOUSEENTER);
    EXPECT_FALSE(gauge.SkinData.FMouseAbove);
    EXPECT_FALSE(gauge.SkinData.ControlIsHot());

    TTestWinControl edit(&form, kEditKind, {0, 30, 80, 50});
    edit.SkinData.UpdateSkinColors(false);
    manager->Options.NoMouseHover = true;
    edit.Perform(tk::CM_MOUSEENTER);
    EXPECT_FALSE(edit.SkinData.FMouseAbove);
    EXPECT_EQ(edit.Color(), kEditColor);
    EXPECT_NE(manager->ActiveControl(), edit.Handle());

    manager->Options.NoMouseHover = false;
    TTestWinControl button(&form, kButtonKind, {0, 60, 80, 80});
    button.Perform(tk::CM_MOUSEENTER);
    EXPECT_TRUE(button.SkinData.ControlIsHot());
    button.SetEnabled(false);
    EXPECT_FALSE(button.SkinData.ControlIsHot()) << "a disabled control is never hot";
    EXPECT_FALSE(button.SkinData.FMouseAbove) << "enabled-changed forgets the mouse";
}

TEST(CommonDataMessages, AControlWaitsWhileItsParentIsUpdatingAndEndUpdateReachesTheChildren) {
    auto manager = MakeManager();
    TTestForm form;
    TTestWinControl panel(&form, kPanelKind, {0, 0, 200, 100});
    TTestWinControl child(&panel, kButtonKind, {10, 10, 50, 30});
    TTestGraphicControl graphic(&panel, kButtonKind, {60, 10, 90, 30});
    child.HandleNeeded();
    EXPECT_FALSE(child.SkinData.Updating());
    panel.SkinData.BeginUpdate();
    panel.SkinData.BeginUpdate();
    EXPECT_TRUE(child.SkinData.Updating());
    EXPECT_TRUE(panel.SkinData.CtrlSkinState & sk::ACS_LOCKED);
    panel.SkinData.EndUpdate();
    EXPECT_TRUE(panel.SkinData.FUpdating) << "the outer update is still open";
    panel.SkinData.EndUpdate();
    EXPECT_FALSE(panel.SkinData.FUpdating);
    EXPECT_FALSE(panel.SkinData.CtrlSkinState & sk::ACS_LOCKED);
    EXPECT_FALSE(child.SkinData.Updating());

    child.SkinData.FUpdating = true;
    child.Commands.clear();
    graphic.Commands.clear();
    sk::SendSkinCmd(panel.Handle(), sk::SC_ENDUPDATE);
    EXPECT_EQ(child.Commands.front(), sk::SC_ENDUPDATE);
    EXPECT_EQ(graphic.Commands.front(), sk::SC_ENDUPDATE);
    EXPECT_FALSE(child.SkinData.FUpdating);
}

TEST(CommonDataMessages, UniformityFollowsTheSectionAndTransparentChildrenFollowTheirParent) {
    auto manager = MakeManager();
    TTestForm form;
    TTestWinControl panel(&form, kPanelKind, {0, 0, 200, 100});
    TTestWinControl gradient(&form, kPanelLowKind, {0, 100, 200, 200});
    TTestWinControl onPanel(&panel, kCheckBoxKind, {0, 0, 20, 20});
    TTestWinControl onGradient(&gradient, kCheckBoxKind, {0, 0, 20, 20});
    TTestWinControl button(&panel, kButtonKind, {30, 0, 80, 20});
    TTestWinControl semi(&panel, kPanelKind, {90, 0, 120, 20}, L"SEMI");
    EXPECT_EQ(panel.SkinData.BgIsUniform(), 1);
    EXPECT_EQ(gradient.SkinData.BgIsUniform(), 0);
    EXPECT_EQ(onPanel.SkinData.BgIsUniform(), 1);
    EXPECT_EQ(onGradient.SkinData.BgIsUniform(), 0);
    EXPECT_EQ(button.SkinData.BgIsUniform(), 1) << "a border mask alone keeps the face plain";
    EXPECT_EQ(semi.SkinData.BgIsUniform(), 0);
    EXPECT_FALSE(panel.SkinData.CacheIsNeeded());
    EXPECT_TRUE(gradient.SkinData.CacheIsNeeded());
    EXPECT_FALSE(onPanel.SkinData.RepaintIfMoved());
    EXPECT_TRUE(onGradient.SkinData.RepaintIfMoved());

    sk::TsGeneralData& section = SectionOf(*manager, L"BUTTON");
    section.ImgTL = button.SkinData.BorderIndex;  // any valid image as a corner image
    EXPECT_EQ(button.SkinData.BgIsUniform(), 0) << "a corner image shows the background";
    section.ImgTL = 1 << 20;  // out of range: no corner image
    EXPECT_EQ(button.SkinData.BgIsUniform(), 1);
    section.ImgTL = -1;
    ASSERT_GE(section.BorderIndex, 0);
    manager->Core().Model().ma[static_cast<size_t>(section.BorderIndex)].DrawMode |= 4;
    EXPECT_EQ(button.SkinData.BgIsUniform(), 0) << "a border that fills its centre";
}

TEST(CommonDataMessages, OuterShadowsPaintIntoTheContainerAndEraseThePreviousOne) {
    auto manager = MakeManager();
    manager->Effects.AllowOuterEffects = true;
    TTestForm form;
    TTestWinControl panel(&form, kPanelKind, {0, 0, 120, 80});
    TTestWinControl child(&panel, kPanelKind, {40, 30, 60, 50}, L"EDIT");
    child.HandleNeeded();
    sk::TsGeneralData& edit = SectionOf(*manager, L"EDIT");
    edit.OuterMask = edit.BorderIndex;
    edit.OuterOffset = {4, 4, 4, 4};
    edit.OuterOpacity = 255;
    panel.SkinData.BGChanged = true;
    panel.PrepareCache();
    const uint32_t before = CachePixel(panel.SkinData, 37, 27);
    ASSERT_EQ(before, AsRgb(kPanelColor));
    panel.SkinData.PaintOuterEffects(&panel, {0, 0});
    EXPECT_NE(CachePixel(panel.SkinData, 37, 27), before) << "the shadow ring lies 3 pixels outside the child";
    ASSERT_NE(child.SkinData.FOuterCache, nullptr);

    child.SetBounds(80, 30, 20, 20);
    sk::TacPaintOuterRequest request{panel.SkinData.FCacheBmp.get(), {0, 0}};
    sk::PerformSkinCmd(&child, sk::SC_PAINTOUTER, reinterpret_cast<LPARAM>(&request), 0x100);
    EXPECT_EQ(CachePixel(panel.SkinData, 37, 27), before) << "the previous shadow is erased";
    EXPECT_NE(CachePixel(panel.SkinData, 77, 27), AsRgb(kPanelColor));
}

TEST(CommonDataMessages, OuterShadowsStayOffWhileTheManagerDoesNotAllowThem) {
    auto manager = MakeManager();
    TTestForm form;
    TTestWinControl panel(&form, kPanelKind, {0, 0, 120, 80});
    TTestWinControl child(&panel, kPanelKind, {40, 30, 60, 50}, L"EDIT");
    child.HandleNeeded();
    SectionOf(*manager, L"EDIT").OuterMask = SectionOf(*manager, L"EDIT").BorderIndex;
    panel.PrepareCache();
    const uint32_t before = CachePixel(panel.SkinData, 37, 27);
    panel.SkinData.PaintOuterEffects(&panel, {0, 0});
    EXPECT_EQ(CachePixel(panel.SkinData, 37, 27), before);
    EXPECT_EQ(child.SkinData.FOuterCache, nullptr);
}

}  // namespace
