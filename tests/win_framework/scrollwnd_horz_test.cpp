// The skinned horizontal scroll bar of a memo under the real mouse: a click on each arrow and
// page area sends its scroll code once and then the end of the scroll, moving the text the
// right way; a held arrow repeats once per timer tick; the thumb dragged past either end shows
// the last and the first columns.
#include <gtest/gtest.h>

#include <memory>

#include "controls/acSBUtils.h"
#include "tests/win_framework/scrollwnd_support.h"

namespace kvfw {
namespace {

// Lines far wider than the memo.
std::wstring WideLines(int lines, int width) {
    std::wstring text;
    for (int i = 0; i < lines; ++i) text += std::wstring(static_cast<size_t>(width), static_cast<wchar_t>(L'a' + i)) + L"\r\n";
    return text;
}

class HorzScrollTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        Manager = MakeManager(nullptr, ScrollSkinOptions()).release();
        Form = new TTestForm(360, 300);
        ShowWindow(Form->Handle(), SW_SHOW);
    }
    static void TearDownTestSuite() {
        delete Form;
        Form = nullptr;
        delete Manager;
        Manager = nullptr;
    }
    void SetUp() override {
        Memo = std::make_unique<TRecordingMemo>(Form, RECT{20, 20, 260, 170}, "ssHorizontal");
        Memo->SetText(WideLines(5, 400));
        Memo->HandleNeeded();
        SetForegroundWindow(Form->Handle());
        PumpFor(80);
        ASSERT_NE(nullptr, Memo->ListSW());
        ASSERT_TRUE(Bar().fScrollVisible);
    }
    void TearDown() override {
        ReleaseLeft();
        Memo.reset();
        PumpFor(30);
    }
    HWND Wnd() { return Memo->Handle(); }
    sk::TacEditWnd& Sw() { return *Memo->ListSW(); }
    sk::TacScrollBar& Bar() { return Sw().sBarHorz; }
    int Position() { return GetScrollPos(Wnd(), SB_HORZ); }
    // Window coordinates of the middle of a part of the horizontal bar.
    POINT PartPoint(sk::TacScrollPart part) {
        sk::TacScrollBar& bar = Bar();
        bar.ReadScrollInfo(Wnd());
        const int y = (bar.BarRect.top + bar.BarRect.bottom) / 2, left = bar.BarRect.left;
        const int a = bar.ButtonLength, length = bar.Length();
        const sk::TacThumb t = bar.Thumb();
        switch (part) {
            case sk::spLineUp: return {left + a / 2, y};
            case sk::spLineDown: return {left + length - a / 2, y};
            case sk::spThumb: return {left + a + t.Offset + t.Length / 2, y};
            case sk::spPageUp: return {left + a + t.Offset / 2, y};
            default: return {left + a + t.Offset + t.Length + (bar.TrackLength() - t.Offset - t.Length) / 2, y};
        }
    }
    void PressAt(POINT p) {
        MoveToWindowPoint(Wnd(), p.x, p.y);
        PressLeft();
        PumpFor(30);
    }
    void ScrollToColumn(int column) {
        SendMessageW(Wnd(), WM_HSCROLL, MAKEWPARAM(SB_LEFT, 0), 0);
        SendMessageW(Wnd(), EM_LINESCROLL, static_cast<WPARAM>(column), 0);
        PumpFor(30);
    }

    static sk::TsSkinManager* Manager;
    static TTestForm* Form;
    std::unique_ptr<TRecordingMemo> Memo;
};

sk::TsSkinManager* HorzScrollTest::Manager = nullptr;
TTestForm* HorzScrollTest::Form = nullptr;

struct HorzClick {
    const char* name;
    sk::TacScrollPart part;
    int startColumn;
    int expectedCode;
    int direction;  // sign of the position change
};

}  // namespace

TEST_F(HorzScrollTest, ClickOnEachPartSendsItsScrollCodeOnceThenEndScroll) {
    const HorzClick cases[] = {
        {"arrow right", sk::spLineDown, 0, SB_LINERIGHT, 1},
        {"arrow left", sk::spLineUp, 100, SB_LINELEFT, -1},
        {"page right", sk::spPageDown, 0, SB_PAGERIGHT, 1},
        {"page left", sk::spPageUp, 200, SB_PAGELEFT, -1},
    };
    for (const HorzClick& c : cases) {
        ScrollToColumn(c.startColumn);
        ExpectOneScrollPerClick(*Memo, Sw(), [&] { PressAt(PartPoint(c.part)); }, [&] { return Position(); }, c.name,
                                c.expectedCode, c.direction);
    }
}

TEST_F(HorzScrollTest, HeldRightArrowRepeatsOncePerTick) {
    PressAt(PartPoint(sk::spLineDown));
    EXPECT_EQ(Memo->Count(SB_LINERIGHT), 1);
    ASSERT_TRUE(PumpUntil([&] { return Sw().RepeatTicks() >= 4; }));
    EXPECT_EQ(Memo->Count(SB_LINERIGHT), 1 + Sw().RepeatTicks());
    ReleaseLeft();
    PumpFor(40);
    EXPECT_EQ(Memo->Codes.back(), SB_ENDSCROLL);
    EXPECT_GT(Position(), 0);
}

TEST_F(HorzScrollTest, DraggingTheThumbPastEitherEndShowsTheLastAndFirstColumns) {
    const POINT thumb = PartPoint(sk::spThumb);
    PressAt(thumb);
    EXPECT_TRUE(Sw().fThumbTracking);
    MoveToWindowPoint(Wnd(), thumb.x + 30, thumb.y);
    EXPECT_GT(Memo->Count(SB_THUMBTRACK), 0);
    MoveToWindowPoint(Wnd(), thumb.x + 800, thumb.y);
    ReleaseLeft();
    PumpFor(40);
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    GetScrollInfo(Wnd(), SB_HORZ, &si);
    EXPECT_EQ(si.nPos, sk::LastScrollPosition(si));
    EXPECT_GT(si.nPos, 0);
    EXPECT_EQ(Memo->Codes.back(), SB_ENDSCROLL);
    EXPECT_FALSE(Sw().fThumbTracking);

    PressAt(PartPoint(sk::spThumb));
    MoveToWindowPoint(Wnd(), -300, thumb.y);
    ReleaseLeft();
    PumpFor(40);
    EXPECT_EQ(Position(), 0);
}

}  // namespace kvfw
