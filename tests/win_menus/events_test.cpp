// The menu support's two data events: the extra line's section, caption, glyph and visibility
// asked once per menu picture (never for a "SkinSelectItem" menu), and an item's font asked when
// it is measured and drawn, its own colour replacing the section's.
#include <gtest/gtest.h>

#include "tests/win_menus/MenusFixture.h"

namespace {

using namespace kvmenus;

constexpr rd::TColor kGreen = 0x0000FF00;  // 0x00BBGGRR

class MenuEventsTest : public testing::Test {
protected:
    void SetUp() override {
        UseSkin(TMenuSkin::Full);
        Manager().MenuSupport.UseExtraLine = true;
        Manager().MenuSupport.AlphaBlend = 255;
        sk::ClearMenuInfoList();
    }
    void TearDown() override {
        Manager().MenuSupport.UseExtraLine = false;
        Menus().OnGetMenuExtraLineData = nullptr;
        Menus().OnGetPopupItemData = nullptr;
        sk::ClearMenuInfoList();
        sk::MenusMeasuring = false;
    }
    static sk::TacMenuInfo* Picture(tk::TPopupMenu& menu) {
        HDC dc = GetDC(nullptr);
        tk::TCanvas canvas(dc);
        sk::TacMenuInfo* info = Menus().GetMenuInfo(menu.Items()->Items(0), nullptr, &canvas);
        ReleaseDC(nullptr, dc);
        return info;
    }
};

// True when every pixel of the block has the colour.
bool Uniform(const tk::TBitmap& bmp, RECT block, rd::TColor color) {
    for (int y = block.top; y < block.bottom; ++y)
        for (int x = block.left; x < block.right; ++x)
            if (PicturePixel(bmp, x, y) != color) return false;
    return true;
}

TEST_F(MenuEventsTest, TheExtraLineShowsWhatTheHandlerGives) {
    struct TCase {
        const char* Name;
        std::function<void(sk::TacExtraLineData&)> Handle;
        bool Line;          // the menu has its extra line
        rd::TColor Strip;   // a pixel at the strip's left
        bool Blank;         // nothing written on the strip
    } cases[] = {
        {"defaults: a section the skin lacks leaves the background", [](sk::TacExtraLineData&) {}, true, kMenuColor,
         false},
        {"hidden", [](sk::TacExtraLineData& d) { d.LineVisible = false; }, false, kIcoLineColor, true},
        {"a section of the skin", [](sk::TacExtraLineData& d) { d.SkinSection = L"MENUCAPTION"; }, true, kCaptionColor,
         false},
        {"ampersands are dropped",
         [](sk::TacExtraLineData& d) {
             d.SkinSection = L"MENUCAPTION";
             d.Caption = L"&&&";
         },
         true, kCaptionColor, true},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        sk::ClearMenuInfoList();
        auto menu = MakeMenu({L"Open", L"Save", L"Close", L"Exit", L"More", L"Less"});
        std::vector<const tk::TMenuItem*> asked;
        Menus().OnGetMenuExtraLineData = [&](const tk::TMenuItem* first, sk::TacExtraLineData& d) {
            asked.push_back(first);
            c.Handle(d);
        };
        sk::TacMenuInfo* info = Picture(*menu);
        ASSERT_NE(info, nullptr);
        ASSERT_FALSE(asked.empty());
        EXPECT_EQ(asked.back(), menu->Items()->Items(0));
        EXPECT_EQ(info->HaveExtraLine, c.Line);
        EXPECT_EQ(Menus().ExtraWidth(info), c.Line ? 32 : 0);
        const int h = info->Bmp->Height();
        EXPECT_EQ(PicturePixel(*info->Bmp, 4, h / 2), c.Strip);
        if (c.Line) {
            EXPECT_EQ(Uniform(*info->Bmp, {3, 3, 3 + 32, h - 3}, c.Strip), c.Blank);
        }
    }
}

TEST_F(MenuEventsTest, AGlyphSitsCentredAboveTheStripsBottom) {
    Menus().OnGetMenuExtraLineData = [](const tk::TMenuItem*, sk::TacExtraLineData& d) {
        d.SkinSection = L"MENUCAPTION";
        d.Caption.clear();
        d.Glyph.SetSize(10, 10);
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 10; ++x) d.Glyph.ScanLine(y)[x] = 0xFF00FF00;
    };
    auto menu = MakeMenu({L"Open", L"Save", L"Close", L"Exit"});
    sk::TacMenuInfo* info = Picture(*menu);
    ASSERT_NE(info, nullptr);
    const int h = info->Bmp->Height(), bottom = h - 3;  // the strip ends above the 3-pixel border
    // Columns 3 + 11 .. 3 + 20, rows bottom - 12 - 10 .. bottom - 13 (composed with its alpha,
    // which may leave a channel one short of full).
    auto green = [&](int x, int y) {
        const rd::TColor p = PicturePixel(*info->Bmp, x, y);
        return (p & 0xFF00FF) == 0 && ((p >> 8) & 0xFF) >= 0xFD;
    };
    EXPECT_TRUE(green(3 + 11, bottom - 22));
    EXPECT_TRUE(green(3 + 20, bottom - 13));
    EXPECT_EQ(PicturePixel(*info->Bmp, 3 + 10, bottom - 13), kCaptionColor);
    EXPECT_EQ(PicturePixel(*info->Bmp, 3 + 15, bottom - 12), kCaptionColor);
}

TEST_F(MenuEventsTest, ASkinSelectMenuIsNeverAsked) {
    int asked = 0;
    Menus().OnGetMenuExtraLineData = [&](const tk::TMenuItem*, sk::TacExtraLineData&) { ++asked; };
    auto menu = MakeMenu({L"Velmora", L"Other"});
    menu->Items()->Items(0)->SetName(L"SkinSelectItem");
    sk::TacMenuInfo* info = Picture(*menu);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(asked, 0);
    EXPECT_FALSE(info->HaveExtraLine);
}

TEST_F(MenuEventsTest, AnItemIsMeasuredInTheFontTheHandlerGives) {
    Manager().MenuSupport.UseExtraLine = false;
    auto menu = MakeMenu({L"Open"});
    tk::TMenuItem* item = menu->Items()->Items(0);
    const SIZE plain = Measure(item);
    std::vector<tk::TOwnerDrawState> states;
    Menus().OnGetPopupItemData = [&](tk::TMenuItem* asked, tk::TOwnerDrawState state, sk::TacMenuItemData& data) {
        EXPECT_EQ(asked, item);
        states.push_back(state);
        data.Font.Height = -40;
    };
    const SIZE large = Measure(item);
    ASSERT_EQ(states.size(), 1u);
    EXPECT_EQ(states[0], 0u) << "measured with an empty state";
    EXPECT_GT(large.cy, plain.cy + 15);
    EXPECT_GT(large.cx, plain.cx);
}

// The shown menu's pixels of the item rectangle (window coordinates) that have the colour.
int CountColour(HWND wnd, RECT r, rd::TColor colour) {
    int count = 0;
    HDC screen = GetDC(nullptr);
    RECT w{};
    GetWindowRect(wnd, &w);
    tk::TBitmap shot(r.right - r.left, r.bottom - r.top);
    BitBlt(shot.Canvas().Handle(), 0, 0, shot.Width(), shot.Height(), screen, w.left + r.left, w.top + r.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
    GdiFlush();
    for (int y = 0; y < shot.Height(); ++y)
        for (int x = 0; x < shot.Width(); ++x) count += PicturePixel(shot, x, y) == colour;
    return count;
}

TEST_F(MenuEventsTest, AColourTheHandlerGivesIsWrittenInsteadOfTheSections) {
    Manager().MenuSupport.UseExtraLine = false;
    struct TCase {
        const char* Name;
        bool SetColour;
    } cases[] = {{"own colour", true}, {"the section's colour", false}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        auto menu = MakeMenu({L"MMMM", L"WWWW"});
        Menus().HookPopupMenu(menu.get(), true);
        bool selectedSeen = false;
        Menus().OnGetPopupItemData = [&](tk::TMenuItem* item, tk::TOwnerDrawState state, sk::TacMenuItemData& data) {
            data.Font.Height = -24;
            data.Font.Style = tk::fsBold;
            if (c.SetColour) data.Font.Color = kGreen;
            if (item == menu->Items()->Items(0) && (state & ODS_SELECTED)) selectedSeen = true;
        };
        int green = 0, sectionColour = 0;
        PopupWithSteps(*menu, 200, 150,
                       {[](HWND wnd) { PressKey(wnd, VK_DOWN); },
                        [&](HWND wnd) {
                            RECT r{};
                            GetWindowRect(wnd, &r);
                            const RECT inside{3, 3, r.right - r.left - 3, r.bottom - r.top - 3};
                            green = CountColour(wnd, inside, kGreen);
                            sectionColour = CountColour(wnd, inside, kItemFont);
                        }});
        EXPECT_TRUE(selectedSeen) << "asked again with the selected state";
        if (c.SetColour) {
            EXPECT_GT(green, 20);
            EXPECT_EQ(sectionColour, 0);
        } else {
            EXPECT_EQ(green, 0);
            EXPECT_GT(sectionColour, 20);
        }
        Menus().OnGetPopupItemData = nullptr;
    }
}

}  // namespace
