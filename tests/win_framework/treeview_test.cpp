// The skinned tree view on a real window: colours from its "EDIT" section (the hot ones while
// focused), the selected item
// painted in the skin's highlight colour or with the "SELECTION" section while the tree has
// the focus (and not while it has not, with selections hidden), the system's colours again
// once the skin is gone.
#include <gtest/gtest.h>

#include "controls/sTreeView.h"
#include "tests/win_framework/FrameworkFixture.h"
#include "tests/win_framework/TestControls.h"

namespace {

using sk::TsTreeView;

constexpr rd::TColor kSelectionColor = 0x00106040, kSelectionHotColor = 0x002090C0;

std::string SkinWithSelection() {
    return kvfw::TestSkinOptions() + "[SELECTION]\nSTATES=2\nCOLOR=" + std::to_string(kSelectionColor) +
           "\nHOTCOLOR=" + std::to_string(kSelectionHotColor) + "\nFONTCOLOR=16777215\nHOTFONTCOLOR=16777215\n";
}

class SkinnedTree {
public:
    explicit SkinnedTree(const std::string& options) : manager(kvfw::MakeManager(nullptr, options)), form(260, 200) {
        tree = new TsTreeView(&form);
        tree->BeginLoading();
        tree->SkinData().SetSkinSection(L"EDIT");
        tree->SetBounds(10, 10, 220, 160);
        tree->SetParent(&form);
        tree->Loaded();
        tree->HandleNeeded();
        first = tree->Add(nullptr, L"First item");
        second = tree->Add(nullptr, L"Second");
        tree->SetSelected(first);
        SetForegroundWindow(form.Handle());
        tree->SetFocus();
        Repaint();
    }
    void Repaint() {
        RedrawWindow(tree->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        kvfw::PumpMessages();
    }
    // A pixel inside the item's row, right of its text.
    uint32_t RowEnd(tk::TTreeNode* node) {
        RECT r;
        TreeView_GetItemRect(tree->Handle(), node->ItemId(), &r, TRUE);
        return kvfw::ScreenPixel(tree->Handle(), r.right - 2, (r.top + r.bottom) / 2);
    }
    uint32_t Empty() { return kvfw::ScreenPixel(tree->Handle(), 150, 140); }

    std::unique_ptr<sk::TsSkinManager> manager;
    kvfw::TTestForm form;
    TsTreeView* tree = nullptr;
    tk::TTreeNode* first = nullptr;
    tk::TTreeNode* second = nullptr;
};

TEST(SkinnedTreeView, ColoursFromTheEditSectionAndTheHighlightForTheSelection) {
    SkinnedTree t(kvfw::TestSkinOptions());
    EXPECT_EQ(t.tree->Color(), kvfw::kEditHotColor);
    EXPECT_EQ(t.tree->Font().Color, kvfw::kEditHotFontColor);
    EXPECT_EQ(t.Empty(), kvfw::AsRgb(kvfw::kEditHotColor));
    EXPECT_EQ(t.RowEnd(t.second), kvfw::AsRgb(kvfw::kEditHotColor));
    EXPECT_EQ(t.RowEnd(t.first), kvfw::AsRgb(t.manager->Core().GetHighLightColor(true)));

    SetFocus(t.form.Handle());  // selections are hidden while the tree has no focus
    t.Repaint();
    EXPECT_EQ(t.tree->Color(), kvfw::kEditColor);
    EXPECT_EQ(t.Empty(), kvfw::AsRgb(kvfw::kEditColor));
    EXPECT_EQ(t.RowEnd(t.first), kvfw::AsRgb(kvfw::kEditColor));
}

TEST(SkinnedTreeView, TheSelectionSectionPaintsTheFocusedSelection) {
    SkinnedTree t(SkinWithSelection());
    EXPECT_EQ(t.RowEnd(t.first), kvfw::AsRgb(kSelectionHotColor));
    t.tree->SetSelected(t.second);
    t.Repaint();
    EXPECT_EQ(t.RowEnd(t.second), kvfw::AsRgb(kSelectionHotColor));
    EXPECT_EQ(t.RowEnd(t.first), kvfw::AsRgb(kvfw::kEditHotColor));
}

TEST(SkinnedTreeView, WithoutTheSkinTheSystemColoursReturn) {
    SkinnedTree t(kvfw::TestSkinOptions());
    t.manager->SetActive(false);
    t.Repaint();
    EXPECT_EQ(t.Empty(), kvfw::AsRgb(rd::ColorToRGB(tk::clWindow)));
}

}  // namespace
