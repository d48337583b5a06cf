// The size grip of a provider with GripMode gmRightBottom: at the client area's bottom right
// of a sizeable window, answering the bottom-right sizing code; none for other windows or
// without the setting.
#include <gtest/gtest.h>

#include "tests/win_forms/FormsFixture.h"

namespace {

using namespace kvforms;

LRESULT HitAtWindowPoint(HWND h, int x, int y) {
    RECT r;
    GetWindowRect(h, &r);
    return SendMessageW(h, WM_NCHITTEST, 0, MAKELPARAM(r.left + x, r.top + y));
}

TEST(SizeGrip, AtTheBottomRightOfASizeableWindowOnly) {
    UseSkin(TFrameSkin::Full);
    TFrameForm form;
    sk::TsSkinProvider* provider = ProviderOf(form.Handle());
    ASSERT_NE(provider, nullptr);
    EXPECT_EQ(provider->GripRect().Right, 0);  // not asked for

    provider->GripRightBottom = true;
    EXPECT_EQ(provider->GripRect().Right, 0);  // a dialog frame cannot be sized

    form.SetBorderStyle(tk::TFormBorderStyle::bsSizeable);
    PumpFor(50);
    const rd::TRect grip = provider->GripRect();
    const sk::TFrameGeometry g = provider->Geometry();
    RECT client;
    GetClientRect(form.Handle(), &client);
    EXPECT_EQ(grip.Right, g.OffsetX + client.right);
    EXPECT_EQ(grip.Bottom, g.OffsetY + client.bottom);
    const sk::TSkinModel* model = provider->SkinData().ActiveModel();
    ASSERT_NE(model, nullptr);
    ASSERT_GE(model->ConstData.GripRightBottom, 0);
    const sk::TsMaskData& mask = model->ma[static_cast<size_t>(model->ConstData.GripRightBottom)];
    EXPECT_EQ(grip.Right - grip.Left, sk::MaskImageWidth(mask));
    EXPECT_EQ(grip.Bottom - grip.Top, sk::MaskImageHeight(mask));
    EXPECT_GT(grip.Bottom - grip.Top, 0);
    EXPECT_EQ(HitAtWindowPoint(form.Handle(), grip.Left + 2, grip.Top + 2), HTBOTTOMRIGHT);
    EXPECT_EQ(HitAtWindowPoint(form.Handle(), grip.Left - 20, grip.Top - 20), HTCLIENT);

    ShowWindow(form.Handle(), SW_MAXIMIZE);
    PumpFor(80);
    EXPECT_EQ(provider->GripRect().Right, 0);  // nothing to size while maximized
    ShowWindow(form.Handle(), SW_RESTORE);
    PumpFor(50);
}

}  // namespace
