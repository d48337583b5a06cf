// Item kinds and the size rules of items and menus, as plain functions of their inputs.
#include <gtest/gtest.h>

#include "menus/sMenuInfo.h"
#include "tests/win_menus/MenusFixture.h"

namespace {

using sk::TsMenuItemType;

TEST(MenuItemKinds, CaptionDecidesTheKind) {
    struct Row {
        const wchar_t* Caption;
        TsMenuItemType Kind;
        const wchar_t* Shown;  // the text of a caption item
    } rows[] = {
        {L"-", TsMenuItemType::smDivider, L""},
        {L"-Options-", TsMenuItemType::smCaption, L"Options"},
        {L"--Tools--", TsMenuItemType::smCaption, L"Tools"},
        {L"-A-B-", TsMenuItemType::smCaption, L"A"},
        {L"--", TsMenuItemType::smCaption, L""},
        {L"-Open", TsMenuItemType::smNormal, L""},
        {L"Open-", TsMenuItemType::smNormal, L""},
        {L"&Close\tAlt+F4", TsMenuItemType::smNormal, L""},
        {L"", TsMenuItemType::smNormal, L""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "caption size " << wcslen(r.Caption));
        EXPECT_EQ(sk::ItemKind(r.Caption), r.Kind);
        if (r.Kind == TsMenuItemType::smCaption) {
            EXPECT_EQ(sk::CaptionItemText(r.Caption), r.Shown);
        }
    }
}

TEST(MenuItemSizes, WidthsAndHeightsWithTheDefaults) {
    const sk::TMenuMetrics defaults;  // margin 2, spacing 8, frame 3
    struct Row {
        const char* Rule;
        TsMenuItemType Kind;
        int TextWidth, TextHeight, ImageWidth, ImageHeight, Extra;
        int Width, Height;
    } rows[] = {
        // the default image width 16 counted twice, three margins and the spacing
        {"normal, no image", TsMenuItemType::smNormal, 50, 13, 16, 16, 0, 50 + 32 + 6 + 8, 16 + 4 + 2},
        {"normal, tall text", TsMenuItemType::smNormal, 70, 30, 16, 16, 0, 70 + 46, 30 + 6},
        {"normal, 24-pixel bitmap", TsMenuItemType::smNormal, 50, 13, 24, 24, 0, 50 + 48 + 14, 24 + 6},
        {"first column with the extra line", TsMenuItemType::smNormal, 50, 13, 16, 16, 32, 50 + 46 + 32, 22},
        {"divider: no text, 2 high", TsMenuItemType::smDivider, 99, 13, 16, 16, 0, 46, 2},
        {"caption item", TsMenuItemType::smCaption, 40, 13, 16, 16, 0, 40 + 46, 13 + 4 + 3},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.Rule);
        EXPECT_EQ(sk::MeasuredItemWidth(r.Kind, r.TextWidth, r.ImageWidth, defaults, r.Extra), r.Width);
        EXPECT_EQ(sk::MeasuredItemHeight(r.Kind, r.TextHeight, r.ImageHeight, defaults), r.Height);
    }
}

TEST(MenuSizes, ColumnsSideBySide) {
    const sk::TMenuMetrics m;
    struct Row {
        const char* Rule;
        std::vector<sk::TMeasuredItem> Items;
        SIZE Size;
    } rows[] = {
        {"one column", {{80, 20, false}, {60, 2, false}, {90, 20, false}}, {90 + 12 + 6, 42 + 6}},
        {"two columns", {{80, 20, false}, {60, 20, true}, {50, 20, false}}, {80 + 12 + 4 + 60 + 12 + 6, 40 + 6}},
        {"empty", {}, {6, 6}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.Rule);
        const SIZE s = sk::MenuSizeOf(r.Items, m);
        EXPECT_EQ(s.cx, r.Size.cx);
        EXPECT_EQ(s.cy, r.Size.cy);
    }
}

TEST(MenuColumns, FirstColumnEndsAtTheFirstBreak) {
    auto menu = kvmenus::MakeMenu({L"A", L"B", L"C", L"D"});
    tk::TMenuItem* items = menu->Items();
    items->Items(2)->Break = tk::TMenuBreak::mbBarBreak;
    EXPECT_TRUE(sk::InFirstColumn(items->Items(0)));
    EXPECT_TRUE(sk::InFirstColumn(items->Items(1)));
    EXPECT_FALSE(sk::InFirstColumn(items->Items(2)));
    EXPECT_FALSE(sk::InFirstColumn(items->Items(3)));
}

TEST(MenuImages, OwnBitmapElseSixteen) {
    auto menu = kvmenus::MakeMenu({L"A", L"B"});
    menu->Items()->Items(1)->Bitmap().SetSize(24, 20);
    const SIZE plain = sk::ItemImageSize(menu->Items()->Items(0));
    const SIZE own = sk::ItemImageSize(menu->Items()->Items(1));
    EXPECT_EQ(plain.cx, 16);
    EXPECT_EQ(plain.cy, 16);
    EXPECT_EQ(own.cx, 24);
    EXPECT_EQ(own.cy, 20);
}

}  // namespace
