// Owner-drawn combo box items in the opened list, chosen with the real keyboard: the item height
// taken by the list, the selected item on the "SELECTION" section's face, or in the skin's
// highlight colours without that section, or in the system's colours without a combo section;
// the other items on the combo's colour, every item with its text.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "controls/sComboBox.h"
#include "tests/win_framework/edit_support.h"
#include "toolkit/StdCtrls.h"

using namespace sk;
using namespace kvfw;

namespace {

constexpr rd::TColor kSelectionColor = 0x00106040, kSelectionHotColor = 0x002090C0;
constexpr int kItemHeight = 20;
const std::wstring kItems[] = {L"English", L"Deutsch", L"Fran\u00E7ais", L"Espa\u00F1ol"};

std::string ComboSkinWithSelection() {
    return ComboSkin() + "[SELECTION]\nSTATES=2\nCOLOR=" + std::to_string(kSelectionColor) +
           "\nHOTCOLOR=" + std::to_string(kSelectionHotColor) + "\nFONTCOLOR=16777215\nHOTFONTCOLOR=16777215\n";
}

struct ItemLook {
    const char* name;
    std::function<std::string()> skin;
    bool skinned;
    // The colour of a selected item's background (0x00RRGGBB) under the manager of the case.
    std::function<uint32_t(TsSkinManager&)> selected;
};

const ItemLook kLooks[] = {
    {"selection section", ComboSkinWithSelection, true, [](TsSkinManager&) { return AsRgb(kSelectionHotColor); }},
    {"highlight colours", ComboSkin, true,
     [](TsSkinManager& m) { return AsRgb(m.Core().GetHighLightColor(true)); }},
    {"no combo section", [] { return SkinWithout("EDIT"); }, false,
     [](TsSkinManager&) { return SysRgb(COLOR_HIGHLIGHT); }},
};

// Pixels of an item's row in the list that differ from colour (its text).
int InkInRow(HWND list, const RECT& item, uint32_t colour) {
    int n = 0;
    for (int y = item.top + 2; y < item.bottom - 2; ++y)
        for (int x = item.left + 2; x < item.left + 60; ++x) n += ScreenPixel(list, x, y) != colour;
    return n;
}

RECT ItemRect(HWND list, int index) {
    RECT r{};
    SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
    return r;
}

uint32_t RowBackground(HWND list, int index) {
    const RECT r = ItemRect(list, index);
    return ScreenPixel(list, r.right - 4, (r.top + r.bottom) / 2);
}

}  // namespace

TEST(ComboOwnerDrawnItems, DrawnFromTheSkinWithTheItemHeightAndFollowTheKeyboard) {
    for (const ItemLook& look : kLooks) {
        SCOPED_TRACE(look.name);
        auto manager = MakeManager(nullptr, look.skin());
        TTestForm form(320, 240);
        SetForegroundWindow(form.Handle());
        auto* combo = new TsComboBox(&form);
        combo->BeginLoading();
        combo->SetBounds(20, 20, 200, 24);
        combo->SetStyle(tk::TComboBoxStyle::csOwnerDrawFixed);
        combo->SetItemHeight(kItemHeight);
        for (const auto& item : kItems) combo->Items().Add(item);
        combo->SetItemIndex(1);
        combo->SetParent(&form);
        combo->Loaded();
        combo->HandleNeeded();
        ASSERT_EQ(look.skinned, combo->SkinData().Skinned());
        EXPECT_EQ(kItemHeight, SendMessageW(combo->Handle(), CB_GETITEMHEIGHT, 0, 0));

        MoveMouseTo(combo->Handle(), 40, 10);
        PressLeft();
        ReleaseLeft();
        ASSERT_TRUE(PumpUntil([&] { return combo->DroppedDown(); })) << "a click opens the list";
        PumpFor(150);
        const HWND list = combo->ListHandle();
        ASSERT_NE(nullptr, list);
        EXPECT_EQ(kItemHeight, ItemRect(list, 2).bottom - ItemRect(list, 2).top);
        const uint32_t plain = look.skinned ? AsRgb(combo->Color()) : SysRgb(COLOR_WINDOW);
        const uint32_t selected = look.selected(*manager);
        ASSERT_NE(plain, selected);
        EXPECT_EQ(selected, RowBackground(list, 1)) << "the chosen item is selected";
        EXPECT_EQ(plain, RowBackground(list, 2));
        EXPECT_GT(InkInRow(list, ItemRect(list, 1), selected), 10) << "the selected item's text";
        EXPECT_GT(InkInRow(list, ItemRect(list, 2), plain), 10) << "another item's text";

        Press(VK_DOWN);
        PumpFor(100);
        EXPECT_EQ(selected, RowBackground(list, 2)) << "the selection followed the arrow key";
        EXPECT_EQ(plain, RowBackground(list, 1));
        Press(VK_RETURN);
        EXPECT_TRUE(PumpUntil([&] { return !combo->DroppedDown(); }));
        EXPECT_EQ(2, combo->ItemIndex());
        EXPECT_EQ(kItems[2], combo->ItemText(combo->ItemIndex()));
        tk::TComponent::Free(combo);
        PumpMessages();
    }
}
