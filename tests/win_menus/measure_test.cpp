// Measuring real items with the screen's menu font: the default margins and spacing, dividers,
// caption items, the default item in bold and the extra line of the first column.
#include <gtest/gtest.h>

#include "tests/win_menus/MenusFixture.h"

namespace {

using namespace kvmenus;

// The text's size in the menu font as the platform lays it out (tabs expanded, one line).
SIZE TextSize(const std::wstring& text, bool bold = false) {
    tk::TFont font;
    tk::GetMenuFont(font);
    if (bold) {
        font.Style |= tk::fsBold;
        font.Changed();
    }
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font.Handle());
    RECT r{0, 0, 800, 0};
    DrawTextW(dc, text.c_str(), int(text.size()), &r, DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS | DT_WORDBREAK);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return SIZE{r.right, r.bottom};
}

class MeasureTest : public testing::Test {
protected:
    void SetUp() override {
        UseSkin(TMenuSkin::Full);
        Manager().MenuSupport.UseExtraLine = false;
    }
    void TearDown() override { Manager().MenuSupport.UseExtraLine = false; }
};

TEST_F(MeasureTest, NormalItemsAreTheirTextAndFortySixWide) {
    for (const wchar_t* caption : {L"Open", L"Save everything as...", L"&Close"}) {
        SCOPED_TRACE(testing::Message() << "caption length " << wcslen(caption));
        auto menu = MakeMenu({caption});
        const SIZE text = TextSize(caption);
        const SIZE s = Measure(menu->Items()->Items(0));
        EXPECT_EQ(s.cx, text.cx + 32 + 6 + 8);
        EXPECT_EQ(s.cy, std::max<int>(text.cy, 16) + 4 + 2);
    }
}

TEST_F(MeasureTest, ShortcutTextCountsIntoTheWidth) {
    auto menu = MakeMenu({L"Close"});
    tk::TMenuItem* item = menu->Items()->Items(0);
    item->ShortCutText = L"Alt+F4";
    EXPECT_EQ(Measure(item).cx, TextSize(L"CloseAlt+F4").cx + 46);
}

TEST_F(MeasureTest, DividersAndCaptionItems) {
    auto menu = MakeMenu({L"Open", L"-", L"-Tools-"});
    const SIZE divider = Measure(menu->Items()->Items(1));
    EXPECT_EQ(divider.cy, 2);
    EXPECT_EQ(divider.cx, 46);
    const SIZE caption = Measure(menu->Items()->Items(2));
    EXPECT_EQ(caption.cy, TextSize(L"--Tools--").cy + 2 * 2 + 3);
    EXPECT_EQ(caption.cx, TextSize(L"--Tools--").cx + 46);
}

TEST_F(MeasureTest, DefaultItemIsMeasuredBold) {
    const std::wstring caption = L"A rather long default command";
    auto menu = MakeMenu({caption});
    tk::TMenuItem* item = menu->Items()->Items(0);
    item->Default = true;
    EXPECT_EQ(Measure(item).cx, TextSize(caption, true).cx + 46);
}

TEST_F(MeasureTest, ExtraLineWidensOnlyTheFirstColumnAndNeverASkinSelectMenu) {
    Manager().MenuSupport.UseExtraLine = true;
    auto menu = MakeMenu({L"Open", L"Save", L"Close"});
    menu->Items()->Items(1)->Break = tk::TMenuBreak::mbBreak;
    const int open = TextSize(L"Open").cx + 46, save = TextSize(L"Save").cx + 46;
    EXPECT_EQ(Measure(menu->Items()->Items(0)).cx, open + 32);
    EXPECT_EQ(Measure(menu->Items()->Items(1)).cx, save);  // second column

    auto skins = MakeMenu({L"Open", L"Save"});
    skins->Items()->Items(0)->SetName(L"SkinSelectItem");
    EXPECT_EQ(Measure(skins->Items()->Items(0)).cx, open);
    EXPECT_EQ(Measure(skins->Items()->Items(1)).cx, save);
}

TEST_F(MeasureTest, MeasuringMarksTheMenusAsBeingMeasured) {
    sk::MenusMeasuring = false;
    auto menu = MakeMenu({L"Open"});
    Measure(menu->Items()->Items(0));
    EXPECT_TRUE(sk::MenusMeasuring);
    sk::MenusMeasuring = false;
}

}  // namespace
