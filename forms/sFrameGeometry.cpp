#include "forms/sFrameGeometry.h"

#include <algorithm>

namespace sk {

namespace {

int SystemFrame(const TFrameInput& in) {
    if (in.ThickFrame) return in.SizingFrame;
    if (in.BorderStyle) return in.DialogFrame;
    return 0;
}

int CaptionHeightOf(const TFrameInput& in) {
    if (!in.Iconic && (!in.FullCaption || (in.NoBorderStyle && !in.ChildWindow))) return 0;
    if (in.ToolWindow && !in.Iconic) return in.SmallCaptionMetric;
    return in.CaptionMetric;
}

}  // namespace

TFrameGeometry ComputeFrameGeometry(const TFrameInput& in) {
    TFrameGeometry g;
    g.FrameWidth = SystemFrame(in);
    g.BorderWidth = g.FrameWidth + std::max(0, in.FormBorderWidth);
    g.CaptionHeight = CaptionHeightOf(in);
    const int nonClientHeight = in.WindowHeight - in.ClientHeight;
    const int bottom = g.CaptionHeight > 0 || in.BorderStyle ? g.BorderWidth : 0;
    g.HeaderHeight = std::max(0, nonClientHeight - bottom) + (in.Iconic ? g.FrameWidth : 0);
    g.OffsetX = (in.WindowWidth - in.ClientWidth - in.VScrollWidth) / 2;
    g.OffsetY = nonClientHeight - (in.BorderStyle ? g.BorderWidth : 0) - in.HScrollHeight;
    g.VCenter = g.CaptionHeight / 2 + g.FrameWidth / 2 + (in.Maximized ? 2 : 0);
    const int iconLeft = g.FrameWidth + in.LeftMargin;
    g.IconRect = {iconLeft, 0, iconLeft, 0};
    if (in.IconShown && g.CaptionHeight > 0) {
        const int top = g.VCenter - in.IconHeight / 2;
        g.IconRect = {iconLeft, top, iconLeft + in.IconWidth, top + in.IconHeight};
    }
    return g;
}

}  // namespace sk
