// The skinned frame and scroll bars of an edit window: thumb arithmetic, the parts under the
// mouse, painting of available and unavailable bars, and real mouse input on the bars of a
// memo (arrows with auto-repeat counted in timer ticks, page areas, thumb dragging, wheel),
// the end of a press when the capture goes elsewhere, and the object's life with its window.
#include <gtest/gtest.h>

#include <climits>
#include <memory>

#include "controls/acSBUtils.h"
#include "tests/common/SyntheticInput.h"
#include "tests/win_framework/scrollwnd_support.h"

namespace kvfw {
namespace {

SCROLLINFO Info(int min, int max, UINT page, int pos) {
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    si.nMin = min;
    si.nMax = max;
    si.nPage = page;
    si.nPos = pos;
    return si;
}

// ---- Arithmetic ----

struct ThumbCase {
    const char* name;
    int min, max;
    UINT page;
    int pos, track, button;
    int offset, length;  // length 0: no thumb
};

TEST(ScrollThumb, LengthAndOffsetFollowPageRangeAndPosition) {
    const ThumbCase cases[] = {
        {"page over range", 0, 99, 10, 0, 200, 16, 0, 20},
        {"last page at the end", 0, 99, 10, 90, 200, 16, 180, 20},
        {"middle", 0, 99, 10, 45, 200, 16, 90, 20},
        {"position past the last page stays at the end", 0, 99, 10, 99, 200, 16, 180, 20},
        {"negative minimum", -50, 49, 10, 40, 200, 16, 180, 20},
        {"no page: button-sized thumb", 0, 100, 0, 0, 100, 16, 0, 16},
        {"no page, larger buttons", 0, 100, 0, 100, 100, 20, 80, 20},
        {"tiny page: 16-pixel minimum", 0, 9999, 10, 0, 200, 16, 0, 16},
        {"no buttons: 19 pixels", 0, 9999, 10, 0, 200, 0, 0, 19},
        {"page covers the whole range", 0, 9, 10, 0, 200, 16, 0, 0},
        {"page larger than the range", 0, 5, 10, 0, 200, 16, 0, 0},
        {"minimum thumb fills a short track", 0, 99, 1, 0, 16, 16, 0, 0},
        {"minimum thumb exceeds a shorter track", 0, 99, 1, 0, 10, 16, 0, 0},
        {"minimum thumb on a short track that still has room", 0, 99, 1, 99, 20, 16, 4, 16},
        {"no track", 0, 99, 10, 0, 0, 16, 0, 0},
        {"range beyond 2147483646", INT_MIN, INT_MAX, 10, 0, 200, 16, 0, 0},
        {"empty range", 5, 4, 0, 5, 200, 16, 0, 0},
    };
    for (const ThumbCase& c : cases) {
        const sk::TacThumb t = sk::ThumbGeometry(Info(c.min, c.max, c.page, c.pos), c.track, c.button);
        EXPECT_EQ(t.Length, c.length) << c.name;
        if (c.length) {
            EXPECT_EQ(t.Offset, c.offset) << c.name;
        }
        EXPECT_LE(t.Offset + t.Length, c.track) << c.name;
    }
}

struct PositionCase {
    const char* name;
    int min, max;
    UINT page;
    int offset, track, thumb;
    int position;
};

TEST(ScrollThumb, ThumbOffsetGivesPositionUpToTheLastPage) {
    const PositionCase cases[] = {
        {"start", 0, 99, 10, 0, 200, 20, 0},
        {"very end is the last page, not one past it", 0, 99, 10, 180, 200, 20, 90},
        {"beyond the end", 0, 99, 10, 500, 200, 20, 90},
        {"before the start", 0, 99, 10, -30, 200, 20, 0},
        {"middle", 0, 99, 10, 90, 200, 20, 45},
        {"minimum kept", 20, 119, 10, 0, 200, 20, 20},
        {"end with a minimum", 20, 119, 10, 180, 200, 20, 110},
        {"no page: the end is the maximum", 0, 100, 0, 84, 100, 16, 100},
        {"negative range", -100, -1, 10, 180, 200, 20, -10},
        {"no room to move", 0, 99, 10, 0, 20, 20, 0},
    };
    for (const PositionCase& c : cases)
        EXPECT_EQ(sk::ThumbPosition(Info(c.min, c.max, c.page, 0), c.offset, c.track, c.thumb), c.position) << c.name;
}

TEST(ScrollThumb, ThumbRoundTripKeepsEveryPosition) {
    // Each position drawn and dragged back to gives itself, the last page included.
    const SCROLLINFO base = Info(0, 57, 9, 0);
    for (int pos = 0; pos <= sk::LastScrollPosition(base); ++pos) {
        SCROLLINFO si = base;
        si.nPos = pos;
        const sk::TacThumb t = sk::ThumbGeometry(si, 300, 16);
        ASSERT_GT(t.Length, 0);
        EXPECT_EQ(sk::ThumbPosition(si, t.Offset, 300, t.Length), pos) << pos;
    }
}

struct PartCase {
    int along;
    sk::TacScrollPart part;
};

TEST(ScrollBarParts, EveryPartIsFoundAlongTheBar) {
    sk::TacScrollBar bar(SB_VERT);
    bar.BarRect = {0, 0, 16, 232};  // track 200 between two 16-pixel buttons
    bar.Thickness = bar.ButtonLength = 16;
    bar.ScrollInfo = Info(0, 99, 10, 45);  // thumb 20 long at track offset 90: 106..125
    const PartCase cases[] = {{-1, sk::spNone},       {0, sk::spLineUp},      {15, sk::spLineUp},
                              {16, sk::spPageUp},     {105, sk::spPageUp},    {106, sk::spThumb},
                              {125, sk::spThumb},     {126, sk::spPageDown},  {215, sk::spPageDown},
                              {216, sk::spLineDown},  {231, sk::spLineDown},  {232, sk::spNone}};
    for (const PartCase& c : cases) EXPECT_EQ(bar.PartAt(c.along), c.part) << c.along;
    // Shorter than two buttons: two halves, no thumb and no page areas.
    bar.BarRect = {0, 0, 16, 20};
    EXPECT_EQ(bar.PartAt(9), sk::spLineUp);
    EXPECT_EQ(bar.PartAt(10), sk::spLineDown);
    EXPECT_EQ(bar.Thumb().Length, 0);
}

// ---- A memo under the mouse ----

class ScrollWndTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        Manager = MakeManager(nullptr, ScrollSkinOptions()).release();
        Form = new TTestForm(360, 300);
    }
    static void TearDownTestSuite() {
        delete Form;
        Form = nullptr;
        delete Manager;
        Manager = nullptr;
    }
    void TearDown() override {
        ReleaseLeft();
        Memo.reset();
        PumpFor(30);
    }

    TRecordingMemo& NewMemo(int lines, const char* bars = "ssVertical") {
        Memo = std::make_unique<TRecordingMemo>(Form, RECT{20, 20, 220, 170}, bars);
        Memo->SetText(NumberedLines(lines));
        Memo->HandleNeeded();
        ShowWindow(Form->Handle(), SW_SHOW);
        SetForegroundWindow(Form->Handle());
        PumpFor(80);
        return *Memo;
    }
    HWND Wnd() { return Memo->Handle(); }
    sk::TacEditWnd& Sw() { return *Memo->ListSW(); }
    sk::TacScrollBar& VBar() { return Sw().sBarVert; }
    // Window coordinates of the middle of a part of the vertical bar.
    POINT PartPoint(sk::TacScrollPart part) {
        sk::TacScrollBar& bar = VBar();
        bar.ReadScrollInfo(Wnd());
        const int x = (bar.BarRect.left + bar.BarRect.right) / 2, top = bar.BarRect.top;
        const int a = bar.ButtonLength, length = bar.Length();
        const sk::TacThumb t = bar.Thumb();
        switch (part) {
            case sk::spLineUp: return {x, top + a / 2};
            case sk::spLineDown: return {x, top + length - a / 2};
            case sk::spThumb: return {x, top + a + t.Offset + t.Length / 2};
            case sk::spPageUp: return {x, top + a + t.Offset / 2};
            default: return {x, top + a + t.Offset + t.Length + (bar.TrackLength() - t.Offset - t.Length) / 2};
        }
    }
    void PressAt(POINT p) {
        MoveToWindowPoint(Wnd(), p.x, p.y);
        PressLeft();
        PumpFor(30);
    }
    int Position() { return GetScrollPos(Wnd(), SB_VERT); }
    // Rows of the vertical bar's middle column painted in the thumb colour.
    int ThumbRows() {
        const sk::TacScrollBar& bar = VBar();
        const int x = (bar.BarRect.left + bar.BarRect.right) / 2;
        int n = 0;
        for (int y = bar.BarRect.top; y < bar.BarRect.bottom; ++y) n += FramePixel(Wnd(), x, y) == AsRgb(kThumbColor);
        return n;
    }

    static sk::TsSkinManager* Manager;
    static TTestForm* Form;
    std::unique_ptr<TRecordingMemo> Memo;
};

sk::TsSkinManager* ScrollWndTest::Manager = nullptr;
TTestForm* ScrollWndTest::Form = nullptr;

TEST_F(ScrollWndTest, AttachedObjectReservesTheSkinnedBarAndIsFoundByItsProperty) {
    NewMemo(3);
    ASSERT_NE(Memo->ListSW(), nullptr);
    EXPECT_EQ(sk::FindScrollWnd(Wnd()), Memo->ListSW());
    EXPECT_EQ(GetPropW(Wnd(), sk::kScrollWndProp), Memo->ListSW());
    // The window still has its style; the object took the room of the bar instead.
    EXPECT_TRUE(GetWindowLongPtrW(Wnd(), GWL_STYLE) & WS_VSCROLL);
    EXPECT_TRUE(VBar().fScrollVisible);
    EXPECT_FALSE(Sw().sBarHorz.fScrollVisible);
    RECT client{}, window{};
    GetClientRect(Wnd(), &client);
    GetWindowRect(Wnd(), &window);
    const int thickness = GetSystemMetrics(SM_CXVSCROLL);
    EXPECT_EQ(client.right, (window.right - window.left) - Sw().cxLeftEdge - Sw().cxRightEdge - thickness);
    EXPECT_EQ(VBar().BarRect.right, (window.right - window.left) - Sw().cxRightEdge);
    EXPECT_EQ(VBar().BarRect.bottom, (window.bottom - window.top) - Sw().cyBottomEdge);
}

TEST_F(ScrollWndTest, UnavailableBarIsBlendedAndHasNoThumbUntilLinesDoNotFit) {
    NewMemo(3);
    const rd::TColor bg = Form->Color();
    const sk::TacScrollBar& bar = VBar();
    const int x = (bar.BarRect.left + bar.BarRect.right) / 2;
    const int trackY = bar.BarRect.top + bar.ButtonLength + 4;
    const int lowTrackY = bar.BarRect.bottom - bar.ButtonLength - 4;
    EXPECT_EQ(FramePixel(Wnd(), x, trackY), BlendedOverColor(kTrackBefore, bg));
    EXPECT_EQ(FramePixel(Wnd(), x, lowTrackY), BlendedOverColor(kTrackAfter, bg));
    EXPECT_EQ(ThumbRows(), 0);
    EXPECT_EQ(SendMessageW(Wnd(), WM_NCHITTEST, 0, 0), HTNOWHERE) << "not a point of the bar; sanity";

    // As lines are added the thumb appears and shrinks, never below 16 pixels.
    Memo->SetText(NumberedLines(40));
    PumpFor(60);
    const int rows40 = ThumbRows();
    EXPECT_GT(rows40, 16);
    EXPECT_EQ(FramePixel(Wnd(), x, trackY), AsRgb(kThumbColor)) << "the thumb at the top";
    EXPECT_EQ(FramePixel(Wnd(), x, lowTrackY), AsRgb(kTrackAfter)) << "the track no longer blended";
    Memo->SetText(NumberedLines(400));
    PumpFor(60);
    const int rows400 = ThumbRows();
    EXPECT_LT(rows400, rows40);
    EXPECT_EQ(rows400, 16);
}

TEST_F(ScrollWndTest, HitTestAnswersTheBarOnlyWhileItIsEnabled) {
    NewMemo(3);
    RECT wr{};
    GetWindowRect(Wnd(), &wr);
    const POINT p = PartPoint(sk::spLineDown);
    const LPARAM screen = MAKELPARAM(wr.left + p.x, wr.top + p.y);
    EXPECT_EQ(SendMessageW(Wnd(), WM_NCHITTEST, 0, screen), HTNOWHERE);
    Memo->SetText(NumberedLines(60));
    PumpFor(40);
    EXPECT_EQ(SendMessageW(Wnd(), WM_NCHITTEST, 0, screen), HTVSCROLL);
    EXPECT_EQ(SendMessageW(Wnd(), WM_NCHITTEST, 0, MAKELPARAM(wr.left + 30, wr.top + 30)), HTCLIENT);
}

struct ClickCase {
    const char* name;
    sk::TacScrollPart part;
    int startLine;  // first visible line before the click
    int expectedCode;
    int direction;  // sign of the position change
};

TEST_F(ScrollWndTest, ClickOnEachPartSendsItsScrollCodeOnceThenEndScroll) {
    NewMemo(100);
    const ClickCase cases[] = {
        {"line down", sk::spLineDown, 10, SB_LINEDOWN, 1},
        {"line up", sk::spLineUp, 10, SB_LINEUP, -1},
        {"page down", sk::spPageDown, 10, SB_PAGEDOWN, 1},
        {"page up", sk::spPageUp, 40, SB_PAGEUP, -1},
    };
    for (const ClickCase& c : cases) {
        SendMessageW(Wnd(), EM_LINESCROLL, 0, c.startLine - static_cast<int>(SendMessageW(Wnd(), EM_GETFIRSTVISIBLELINE, 0, 0)));
        PumpFor(30);
        ExpectOneScrollPerClick(*Memo, Sw(), [&] { PressAt(PartPoint(c.part)); }, [&] { return Position(); }, c.name,
                                c.expectedCode, c.direction);
    }
}

TEST_F(ScrollWndTest, HeldArrowRepeatsOncePerTickAndPausesOffTheArrow) {
    NewMemo(400);
    PressAt(PartPoint(sk::spLineDown));
    EXPECT_EQ(Memo->Count(SB_LINEDOWN), 1);
    EXPECT_TRUE(Sw().RepeatWaitingFirst());
    ASSERT_TRUE(PumpUntil([&] { return Sw().RepeatTicks() >= 4; }));
    EXPECT_FALSE(Sw().RepeatWaitingFirst());
    // One scroll for the press, one per repeat tick.
    EXPECT_EQ(Memo->Count(SB_LINEDOWN), 1 + Sw().RepeatTicks());
    EXPECT_EQ(Sw().PressedPart(), sk::spLineDown);

    // Off the arrow (still held) the ticks go on but nothing scrolls.
    const POINT off = PartPoint(sk::spThumb);
    MoveToWindowPoint(Wnd(), off.x - 60, off.y);
    const int ticksOff = Sw().RepeatTicks(), codesOff = Memo->Count(SB_LINEDOWN);
    ASSERT_TRUE(PumpUntil([&] { return Sw().RepeatTicks() >= ticksOff + 3; }));
    EXPECT_EQ(Memo->Count(SB_LINEDOWN), codesOff);

    // Back on it, it scrolls again.
    const POINT on = PartPoint(sk::spLineDown);
    MoveToWindowPoint(Wnd(), on.x, on.y);
    const int ticksOn = Sw().RepeatTicks(), codesOn = Memo->Count(SB_LINEDOWN);
    ASSERT_TRUE(PumpUntil([&] { return Sw().RepeatTicks() >= ticksOn + 3; }));
    EXPECT_GE(Memo->Count(SB_LINEDOWN), codesOn + 2);

    ReleaseLeft();
    PumpFor(40);
    const int ticksAfter = Sw().RepeatTicks();
    EXPECT_EQ(Memo->Codes.back(), SB_ENDSCROLL);
    PumpFor(200);
    EXPECT_EQ(Sw().RepeatTicks(), ticksAfter) << "the repeat timer stops on release";
}

TEST_F(ScrollWndTest, LosingTheCaptureEndsThePress) {
    struct Case {
        const char* name;
        void (*take)(HWND memo, HWND other);
    };
    const Case cases[] = {
        {"another window takes the capture", [](HWND, HWND other) { SetCapture(other); }},
        {"cancel mode", [](HWND memo, HWND) { SendMessageW(memo, WM_CANCELMODE, 0, 0); }},
        {"capture released", [](HWND, HWND) { ReleaseCapture(); }},
    };
    NewMemo(400);
    for (const Case& c : cases) {
        PressAt(PartPoint(sk::spLineDown));
        ASSERT_EQ(GetCapture(), Wnd()) << c.name;
        c.take(Wnd(), Form->Handle());
        PumpFor(20);
        EXPECT_EQ(Sw().PressedPart(), sk::spNone) << c.name;
        EXPECT_EQ(Memo->Codes.back(), SB_ENDSCROLL) << c.name;
        const int ticks = Sw().RepeatTicks(), codes = static_cast<int>(Memo->Codes.size());
        PumpFor(450);
        EXPECT_EQ(Sw().RepeatTicks(), ticks) << c.name << ": the repeat must not run on";
        EXPECT_EQ(static_cast<int>(Memo->Codes.size()), codes) << c.name;
        ReleaseLeft();
        ReleaseCapture();
        PumpFor(30);
    }
}

TEST_F(ScrollWndTest, DraggingTheThumbToTheVeryEndShowsTheLastPage) {
    NewMemo(100);
    const POINT thumb = PartPoint(sk::spThumb);
    PressAt(thumb);
    EXPECT_TRUE(Sw().fThumbTracking);
    EXPECT_TRUE(Memo->Codes.empty()) << "a press on the thumb alone does not scroll";
    MoveToWindowPoint(Wnd(), thumb.x, thumb.y + 40);
    EXPECT_GT(Memo->Count(SB_THUMBTRACK), 0);
    MoveToWindowPoint(Wnd(), thumb.x, thumb.y + 600);  // far past the bar's end
    ReleaseLeft();
    PumpFor(40);
    SCROLLINFO si = Info(0, 0, 0, 0);
    GetScrollInfo(Wnd(), SB_VERT, &si);
    EXPECT_EQ(si.nPos, sk::LastScrollPosition(si));
    const int lines = static_cast<int>(SendMessageW(Wnd(), EM_GETLINECOUNT, 0, 0));
    EXPECT_EQ(SendMessageW(Wnd(), EM_GETFIRSTVISIBLELINE, 0, 0), lines - static_cast<int>(si.nPage));
    ASSERT_GE(Memo->Codes.size(), 3u);
    EXPECT_EQ(Memo->Codes[Memo->Codes.size() - 2], SB_THUMBPOSITION);
    EXPECT_EQ(Memo->Codes.back(), SB_ENDSCROLL);
    EXPECT_FALSE(Sw().fThumbTracking);
    // And back to the very top.
    PressAt(PartPoint(sk::spThumb));
    MoveToWindowPoint(Wnd(), thumb.x, -300);
    ReleaseLeft();
    PumpFor(40);
    EXPECT_EQ(Position(), 0);
}

TEST_F(ScrollWndTest, WheelScrollsAndTheBarFollows) {
    NewMemo(200);
    const int rowsBefore = ThumbRows();
    const POINT thumbBefore = PartPoint(sk::spThumb);
    MoveToWindowPoint(Wnd(), 40, 40);
    SetFocus(Wnd());
    synthetic::mouse(MOUSEEVENTF_WHEEL, static_cast<DWORD>(-WHEEL_DELTA * 3));
    ASSERT_TRUE(PumpUntil([&] { return Position() > 0; }));
    PumpFor(40);
    const POINT thumbAfter = PartPoint(sk::spThumb);
    EXPECT_GT(thumbAfter.y, thumbBefore.y);
    EXPECT_EQ(FramePixel(Wnd(), thumbAfter.x, thumbAfter.y), AsRgb(kThumbColor));
    EXPECT_EQ(ThumbRows(), rowsBefore);
}

TEST_F(ScrollWndTest, HoverShowsTheSkinsHotPartAndNotThePlatformsBar) {
    NewMemo(100);
    const POINT down = PartPoint(sk::spLineDown);
    const int edgeY = VBar().BarRect.bottom - 1;  // the button's face, clear of its arrow
    MoveToWindowPoint(Wnd(), down.x, down.y);
    ASSERT_TRUE(PumpUntil([&] { return Sw().HotPart() == sk::spLineDown; }));
    PumpFor(40);
    EXPECT_EQ(FramePixel(Wnd(), VBar().BarRect.left + 1, edgeY), AsRgb(kArrowFaceHot));
    // Leaving the bar: the hover tick clears the hot part and the face returns.
    MoveToWindowPoint(Wnd(), 40, 40);
    ASSERT_TRUE(PumpUntil([&] { return Sw().HotPart() == sk::spNone; }));
    PumpFor(40);
    EXPECT_EQ(FramePixel(Wnd(), VBar().BarRect.left + 1, edgeY), AsRgb(kArrowFace));
}

TEST_F(ScrollWndTest, CornerSquareOnlyWithBothBars) {
    NewMemo(100, "ssVertical");
    const sk::TacScrollBar& v = VBar();
    // The bar runs down to the bottom frame: its last pixel is the down arrow's.
    EXPECT_EQ(FramePixel(Wnd(), v.BarRect.left + 1, v.BarRect.bottom - 1), AsRgb(kArrowFace));
    Memo.reset();
    NewMemo(100, "ssBoth");
    ASSERT_TRUE(Sw().sBarHorz.fScrollVisible);
    const sk::TacScrollBar& vb = VBar();
    const sk::TacScrollBar& hb = Sw().sBarHorz;
    EXPECT_EQ(vb.BarRect.bottom, hb.BarRect.top);
    EXPECT_EQ(hb.BarRect.right, vb.BarRect.left);
    // The corner shows what lies behind the memo: the form's colour.
    EXPECT_EQ(FramePixel(Wnd(), vb.BarRect.left + 2, hb.BarRect.top + 2), AsRgb(rd::ColorToRGB(Form->Color())));
}

TEST_F(ScrollWndTest, DestroyingTheWindowMidPressClearsEverything) {
    NewMemo(400);
    PressAt(PartPoint(sk::spLineDown));
    ASSERT_EQ(GetCapture(), Wnd());
    const HWND wnd = Wnd();
    Memo.reset();  // the window goes while the arrow is held
    EXPECT_FALSE(IsWindow(wnd));
    EXPECT_EQ(sk::FindScrollWnd(wnd), nullptr);
    EXPECT_NE(GetCapture(), wnd);
    ReleaseLeft();
    PumpFor(200);  // no timer of the old window may run
}

TEST_F(ScrollWndTest, DetachGivesTheWindowItsNativeBarBack) {
    NewMemo(100);
    const HWND wnd = Wnd();
    RECT skinned{};
    GetClientRect(wnd, &skinned);
    sk::DetachEditWnd(wnd);
    PumpFor(30);
    EXPECT_EQ(GetPropW(wnd, sk::kScrollWndProp), nullptr);
    EXPECT_EQ(Memo->ListSW(), nullptr);
    RECT native{};
    GetClientRect(wnd, &native);
    EXPECT_EQ(native.right, skinned.right) << "the platform reserves the same width for its own bar";
    // The native bar works: a click on its down arrow scrolls one line.
    RECT wr{};
    GetWindowRect(wnd, &wr);
    const int x = (wr.right - wr.left) - 2 - GetSystemMetrics(SM_CXVSCROLL) / 2;
    const int y = (wr.bottom - wr.top) - 2 - GetSystemMetrics(SM_CYVSCROLL) / 2;
    EXPECT_EQ(SendMessageW(wnd, WM_NCHITTEST, 0, MAKELPARAM(wr.left + x, wr.top + y)), HTVSCROLL);
    // Press and release queued together: the platform's bar tracks the press in a loop of its own.
    MoveToWindowPoint(wnd, x, y);
    synthetic::queued_left_click();
    PumpFor(100);
    EXPECT_GT(Position(), 0);
}

}  // namespace
}  // namespace kvfw
