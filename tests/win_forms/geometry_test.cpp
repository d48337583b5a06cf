// Frame geometry rules, one table row per kind of window.
#include <gtest/gtest.h>

#include "forms/sFrameGeometry.h"

namespace {

struct GeometryCase {
    const char* Rule;
    sk::TFrameInput In;
    int Frame, Caption, Header, OffsetX, OffsetY, VCenter;
    rd::TRect Icon;
};

sk::TFrameInput Dialog() {
    // The installer's window under Wine: 686 x 520, client 680 x 495 at (3, 22).
    sk::TFrameInput in;
    in.WindowWidth = 686;
    in.WindowHeight = 520;
    in.ClientWidth = 680;
    in.ClientHeight = 495;
    in.BorderStyle = true;
    in.FullCaption = true;
    in.DialogFrame = 3;
    in.SizingFrame = 4;
    in.CaptionMetric = 19;
    in.SmallCaptionMetric = 15;
    return in;
}

sk::TFrameInput With(sk::TFrameInput in, void (*change)(sk::TFrameInput&)) {
    change(in);
    return in;
}

TEST(FrameGeometry, EveryKindOfWindow) {
    const GeometryCase cases[] = {
        {"dialog: dialog frame, system caption, client at (3, 22)", Dialog(), 3, 19, 22, 3, 22, 10, {3, 2, 19, 18}},
        {"sizeable: sizing frame", With(Dialog(), [](sk::TFrameInput& i) {
             i.ThickFrame = true;
             i.WindowWidth = 688, i.WindowHeight = 522;
         }),
         4, 19, 23, 4, 23, 11, {4, 3, 20, 19}},
        {"no caption bits: no caption, no icon", With(Dialog(), [](sk::TFrameInput& i) {
             i.FullCaption = false;
             i.WindowHeight = 501;
         }),
         3, 0, 3, 3, 3, 1, {3, 0, 3, 0}},
        {"tool window: small caption", With(Dialog(), [](sk::TFrameInput& i) {
             i.ToolWindow = true;
             i.WindowHeight = 516;
         }),
         3, 15, 18, 3, 18, 8, {3, 0, 19, 16}},
        {"maximized: centre 2 lower", With(Dialog(), [](sk::TFrameInput& i) { i.Maximized = true; }), 3, 19, 22, 3, 22,
         12, {3, 4, 19, 20}},
        {"no icon: empty icon rectangle at the frame", With(Dialog(), [](sk::TFrameInput& i) { i.IconShown = false; }), 3,
         19, 22, 3, 22, 10, {3, 0, 3, 0}},
        {"skin's left margin moves the icon", With(Dialog(), [](sk::TFrameInput& i) { i.LeftMargin = 5; }), 3, 19, 22, 3,
         22, 10, {8, 2, 24, 18}},
        {"vertical scroll bar is not part of the left offset", With(Dialog(), [](sk::TFrameInput& i) {
             i.VScrollWidth = 16;
             i.ClientWidth = 664;
         }),
         3, 19, 22, 3, 22, 10, {3, 2, 19, 18}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Rule);
        const sk::TFrameGeometry g = sk::ComputeFrameGeometry(c.In);
        EXPECT_EQ(g.FrameWidth, c.Frame);
        EXPECT_EQ(g.CaptionHeight, c.Caption);
        EXPECT_EQ(g.HeaderHeight, c.Header);
        EXPECT_EQ(g.OffsetX, c.OffsetX);
        EXPECT_EQ(g.OffsetY, c.OffsetY);
        EXPECT_EQ(g.VCenter, c.VCenter);
        EXPECT_EQ(g.IconRect.Left, c.Icon.Left);
        EXPECT_EQ(g.IconRect.Top, c.Icon.Top);
        EXPECT_EQ(g.IconRect.Right, c.Icon.Right);
        EXPECT_EQ(g.IconRect.Bottom, c.Icon.Bottom);
    }
}

TEST(FrameGeometry, NeverANegativeHeader) {
    sk::TFrameInput in = Dialog();
    in.WindowHeight = 10;  // a window smaller than its client (being resized)
    EXPECT_EQ(sk::ComputeFrameGeometry(in).HeaderHeight, 0);
}

}  // namespace
