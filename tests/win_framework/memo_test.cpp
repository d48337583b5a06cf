// The skinned memo: colours from its section instead of the stored ones, the scroll-window
// object attached only while skinned, the native look (fully usable) with a skin that lacks
// the scroll sections or "EDIT", and its text kept whole - 64 KB, right-to-left and characters
// outside the basic plane - through painting, scrolling and the re-creation of its window
// when the skin is removed.
#include <gtest/gtest.h>

#include <memory>

#include "tests/common/SyntheticInput.h"
#include "tests/win_framework/scrollwnd_support.h"

namespace kvfw {
namespace {

// 64 KB of lines mixing Latin, Hebrew, Arabic and surrogate pairs (musical symbols, emoji).
std::wstring LongMixedText() {
    const std::wstring samples[] = {L"plain ascii line", L"\u05E9\u05DC\u05D5\u05DD \u05E2\u05D5\u05DC\u05DD",
                                    L"\u0645\u0631\u062D\u0628\u0627 \u0628\u0627\u0644\u0639\u0627\u0644\u0645",
                                    L"clef \U0001D11E and face \U0001F600 here", L"\u202Emirrored\u202C end"};
    std::wstring text;
    for (int i = 0; text.size() < 65536; ++i) text += samples[i % 5] + L" " + std::to_wstring(i) + L"\r\n";
    return text;
}

struct MemoOnForm {
    std::unique_ptr<sk::TsSkinManager> manager;
    std::unique_ptr<TTestForm> form;
    std::unique_ptr<TRecordingMemo> memo;
    explicit MemoOnForm(const std::string& options, const std::wstring& section = L"EDIT") {
        manager = MakeManager(nullptr, options);
        form = std::make_unique<TTestForm>(300, 220);
        memo = std::make_unique<TRecordingMemo>(form.get(), RECT{10, 10, 210, 160}, "ssVertical", section);
        memo->HandleNeeded();
        PumpFor(60);
    }
    ~MemoOnForm() {
        memo.reset();
        form.reset();
        manager.reset();
    }
};

TEST(SkinnedMemo, TakesItsSectionColoursAndFocusColours) {
    MemoOnForm f(ScrollSkinOptions());
    sk::TsMemo& memo = *f.memo;
    EXPECT_EQ(memo.Color(), kEditColor);
    EXPECT_EQ(memo.Font().Color, kEditFontColor);
    memo.SetFocus();
    PumpFor(60);
    EXPECT_EQ(memo.Color(), kEditHotColor);
    EXPECT_EQ(memo.Font().Color, kEditHotFontColor);
    // The frame follows: its outer ring is the hot frame of the border mask (0xF0F0F0).
    EXPECT_EQ(FramePixel(memo.Handle(), 1, 40), 0xF0F0F0u);
    f.form->SetFocus();
    SetFocus(f.form->Handle());
    PumpFor(60);
    EXPECT_EQ(memo.Color(), kEditColor);
    EXPECT_EQ(FramePixel(memo.Handle(), 1, 40), 0x808080u);
}

struct SkinCase {
    const char* name;
    std::string options;
    bool attached;     // a scroll-window object on the memo
    bool skinnedBars;  // its bars drawn from the skin
};

TEST(SkinnedMemo, SkinsWithoutScrollSectionsOrEditKeepTheNativeBarUsable) {
    const SkinCase cases[] = {
        {"all sections", ScrollSkinOptions(), true, true},
        {"no scroll sections", TestSkinOptions(), true, false},
        {"no EDIT section", SkinWithout("EDIT") + ScrollSections(), false, false},
    };
    for (const SkinCase& c : cases) {
        MemoOnForm f(c.options);
        sk::TsMemo& memo = *f.memo;
        memo.SetText(NumberedLines(100));
        PumpFor(40);
        const HWND wnd = memo.Handle();
        sk::TacEditWnd* sw = memo.ListSW();
        EXPECT_EQ(sw != nullptr, c.attached) << c.name;
        if (sw) {
            EXPECT_EQ(sw->sBarVert.fScrollVisible, c.skinnedBars) << c.name;
        }
        // Whatever paints it, the bar answers the hit test and its down arrow scrolls.
        RECT wr{};
        GetWindowRect(wnd, &wr);
        const int x = wr.right - 2 - GetSystemMetrics(SM_CXVSCROLL) / 2;
        const int y = wr.bottom - 2 - GetSystemMetrics(SM_CXVSCROLL) / 2;
        EXPECT_EQ(SendMessageW(wnd, WM_NCHITTEST, 0, MAKELPARAM(x, y)), HTVSCROLL) << c.name;
        SetForegroundWindow(f.form->Handle());
        synthetic::move_cursor({x, y});
        synthetic::queued_left_click();
        PumpFor(150);
        EXPECT_GT(GetScrollPos(wnd, SB_VERT), 0) << c.name;
        EXPECT_EQ(memo.Lines().Count(), 100) << c.name;
    }
}

TEST(SkinnedMemo, LongRightToLeftAndSurrogateTextSurvivesPaintScrollAndRecreation) {
    MemoOnForm f(ScrollSkinOptions());
    sk::TsMemo& memo = *f.memo;
    const std::wstring text = LongMixedText();
    ASSERT_GE(text.size(), 65536u);
    memo.SetText(text);
    PumpFor(80);
    EXPECT_EQ(memo.GetText(), text);
    sk::TacEditWnd* sw = memo.ListSW();
    ASSERT_NE(sw, nullptr);
    sw->sBarVert.ReadScrollInfo(memo.Handle());
    EXPECT_GT(sw->sBarVert.Thumb().Length, 0);
    // Scrolled to the end and back by the bar's own messages.
    SendMessageW(memo.Handle(), WM_VSCROLL, SB_BOTTOM, 0);
    PumpFor(40);
    SendMessageW(memo.Handle(), WM_VSCROLL, SB_TOP, 0);
    PumpFor(40);
    EXPECT_EQ(memo.GetText(), text);

    // Removing the skin re-creates the window in the native look: the text stays whole.
    const HWND before = memo.Handle();
    f.manager->SetActive(false);
    PumpFor(80);
    EXPECT_NE(memo.Handle(), before) << "the window was re-created";
    EXPECT_EQ(memo.ListSW(), nullptr);
    EXPECT_EQ(GetPropW(memo.Handle(), sk::kScrollWndProp), nullptr);
    EXPECT_EQ(memo.GetText(), text);
    EXPECT_TRUE(GetWindowLongPtrW(memo.Handle(), GWL_STYLE) & WS_VSCROLL);

    // And the skin back: the object again, the text still whole.
    f.manager->SetActive(true);
    PumpFor(80);
    EXPECT_NE(memo.ListSW(), nullptr);
    EXPECT_EQ(memo.GetText(), text);
}

// Each added line makes the edit update its bar, which the platform draws in its own look at
// once; the skinned bar must be back on the screen before any message is pumped (an install
// adds its log lines between pumps).
TEST(SkinnedMemo, LinesAddedBetweenPumpsLeaveTheSkinnedBarOnTheScreen) {
    MemoOnForm f(ScrollSkinOptions());
    sk::TsMemo& memo = *f.memo;
    ShowWindow(f.form->Handle(), SW_SHOWNOACTIVATE);
    PumpFor(60);
    const HWND wnd = memo.Handle();
    sk::TacEditWnd* sw = memo.ListSW();
    ASSERT_NE(sw, nullptr);
    for (int i = 0; i < 40; ++i) memo.Lines().Add(L"line " + std::to_wstring(i));
    const RECT bar = sw->sBarVert.BarRect;
    const int x = (bar.left + bar.right) / 2;
    const int y = bar.bottom - GetSystemMetrics(SM_CYVSCROLL) - 3;  // the track at its end
    const uint32_t unpumped = FramePixel(wnd, x, y);
    PumpFor(80);
    const uint32_t settled = FramePixel(wnd, x, y);
    EXPECT_EQ(unpumped, settled);
    EXPECT_TRUE(settled == AsRgb(kTrackAfter) || settled == AsRgb(kThumbColor)) << std::hex << settled;
}

}  // namespace
}  // namespace kvfw
