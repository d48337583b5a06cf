// Bound labels: the label an edit attaches beside itself, where each layout puts it, how it
// follows the edit, and that either side may go first.
#include <gtest/gtest.h>

#include "controls/sBoundLabel.h"
#include "tests/win_framework/FrameworkFixture.h"
#include "toolkit/StdCtrls.h"

using namespace kvfw;

namespace {

constexpr RECT kEdit{100, 60, 220, 81};  // 120 x 21

// An edit that owns its bound label, as the skinned edits do.
class TLabelledEdit : public tk::TEdit {
public:
    explicit TLabelledEdit(tk::TWinControl* parent) : tk::TEdit(parent) {
        SetName(L"PathEdit");
        SetParent(parent);
        SetBounds(kEdit.left, kEdit.top, kEdit.right - kEdit.left, kEdit.bottom - kEdit.top);
    }
    sk::TsBoundLabel BoundLabel{this, nullptr};
};

struct TLabelledForm {
    TTestForm Form;
    TLabelledEdit* Edit = new TLabelledEdit(&Form);
    sk::TsBoundLabel& Bound() { return Edit->BoundLabel; }
    sk::TsEditLabel* Label() { return Edit->BoundLabel.TheLabel(); }
};

}  // namespace

TEST(BoundLabel, ActivationCreatesANamedLabelBesideTheEdit) {
    TLabelledForm t;
    const int children = t.Form.ControlCount();
    EXPECT_EQ(t.Label(), nullptr) << "not active: no label";
    t.Bound().SetActive(true);
    ASSERT_NE(t.Label(), nullptr);
    EXPECT_EQ(t.Label()->Name(), L"PathEditLabel");
    EXPECT_EQ(t.Label()->Caption(), L"PathEdit") << "no caption: the edit's name";
    EXPECT_EQ(t.Label()->Parent(), &t.Form);
    EXPECT_EQ(t.Label()->Owner(), t.Edit);
    EXPECT_GT(t.Label()->Width(), 0);
    t.Bound().SetCaption(L"Folder:");
    EXPECT_EQ(t.Label()->Caption(), L"Folder:");
    t.Bound().SetActive(false);
    EXPECT_EQ(t.Label(), nullptr);
    EXPECT_EQ(t.Form.ControlCount(), children);
}

TEST(BoundLabel, EachLayoutPlacesTheLabelAroundTheEdit) {
    constexpr int indent = 3;
    const struct {
        sk::TsCaptionLayout layout;
        int (*left)(int w);
        int (*top)(int h);
    } cases[] = {
        {sk::TsCaptionLayout::sclLeft, [](int w) { return 100 - indent - 4 - w; }, [](int h) { return 60 + (21 - h) / 2; }},
        {sk::TsCaptionLayout::sclLeftTop, [](int w) { return 100 - indent - 4 - w; }, [](int) { return 63; }},
        {sk::TsCaptionLayout::sclTopLeft, [](int) { return 100; }, [](int h) { return 60 - h - indent; }},
        {sk::TsCaptionLayout::sclTopCenter, [](int w) { return 100 + (120 - w) / 2; }, [](int h) { return 60 - h - indent; }},
        {sk::TsCaptionLayout::sclTopRight, [](int w) { return 220 - w; }, [](int h) { return 60 - h - indent; }},
        {sk::TsCaptionLayout::sclBottomLeft, [](int) { return 100; }, [](int) { return 81 + indent; }},
        {sk::TsCaptionLayout::sclBottomCenter, [](int w) { return 100 + (120 - w) / 2; }, [](int) { return 81 + indent; }},
        {sk::TsCaptionLayout::sclBottomRight, [](int w) { return 220 - w; }, [](int) { return 81 + indent; }},
    };
    for (const auto& c : cases) {
        TLabelledForm t;
        t.Bound().SetCaption(L"Folder:");
        t.Bound().SetIndent(indent);
        t.Bound().SetLayout(c.layout);
        t.Bound().SetActive(true);
        ASSERT_NE(t.Label(), nullptr);
        const int w = t.Label()->Width(), h = t.Label()->Height();
        EXPECT_EQ(t.Label()->Left(), c.left(w)) << static_cast<int>(c.layout);
        EXPECT_EQ(t.Label()->Top(), c.top(h)) << static_cast<int>(c.layout);
    }
}

TEST(BoundLabel, FollowsTheEditsPositionVisibilityAndEnabledState) {
    TLabelledForm t;
    t.Bound().SetLayout(sk::TsCaptionLayout::sclTopLeft);
    t.Bound().SetActive(true);
    ASSERT_TRUE(t.Edit->HandleAllocated());
    t.Edit->SetBounds(150, 120, 120, 21);
    EXPECT_EQ(t.Label()->Left(), 150);
    EXPECT_EQ(t.Label()->Top(), 120 - t.Label()->Height());
    t.Edit->SetVisible(false);
    EXPECT_FALSE(t.Label()->Visible());
    t.Edit->SetVisible(true);
    EXPECT_TRUE(t.Label()->Visible());
    t.Edit->SetEnabled(false);
    EXPECT_FALSE(t.Label()->Enabled());
    t.Bound().SetEnabledAlways(true);
    EXPECT_TRUE(t.Label()->Enabled());
}

TEST(BoundLabel, MaxWidthWrapsALongCaption) {
    const std::wstring caption = L"A rather long caption for a narrow place";
    TLabelledForm wide, narrow;
    wide.Bound().SetCaption(caption);
    wide.Bound().SetActive(true);
    narrow.Bound().SetCaption(caption);
    narrow.Bound().SetMaxWidth(60);
    narrow.Bound().SetActive(true);
    ASSERT_GT(wide.Label()->Width(), 60);
    EXPECT_LE(narrow.Label()->Width(), 60);
    EXPECT_GT(narrow.Label()->Height(), wide.Label()->Height()) << "wrapped onto more lines";
    TLabelledForm shortOne;
    shortOne.Bound().SetCaption(L"Ab");
    shortOne.Bound().SetMaxWidth(200);
    shortOne.Bound().SetActive(true);
    EXPECT_LT(shortOne.Label()->Width(), 196) << "a short caption keeps its own width";
}

TEST(BoundLabel, FreeingTheLabelSwitchesTheBoundLabelOff) {
    TLabelledForm t;
    t.Bound().SetActive(true);
    tk::TComponent::Free(t.Label());
    EXPECT_FALSE(t.Bound().Active());
    EXPECT_EQ(t.Label(), nullptr);
    t.Edit->SetBounds(10, 10, 50, 21);  // the edit's messages still arrive where they did
    EXPECT_EQ(t.Edit->Left(), 10);
    t.Bound().SetActive(true);
    EXPECT_NE(t.Label(), nullptr) << "it can be switched on again";
}

TEST(BoundLabel, AnEditWithAnActiveLabelCanBeFreed) {
    TTestForm form;
    const int children = form.ControlCount();
    auto* edit = new TLabelledEdit(&form);
    edit->BoundLabel.SetActive(true);
    ASSERT_EQ(form.ControlCount(), children + 2);
    tk::TComponent::Free(edit);
    EXPECT_EQ(form.ControlCount(), children);
}

TEST(BoundLabel, AHookPlacedAfterTheLabelsKeepsWorking) {
    TLabelledForm t;
    t.Bound().SetActive(true);
    int seen = 0;
    tk::TWndMethod previous = t.Edit->WindowProc;
    t.Edit->WindowProc = [&seen, previous](tk::TMessage& m) {
        if (m.Msg == tk::CM_VISIBLECHANGED) ++seen;
        previous(m);
    };
    t.Bound().SetActive(false);
    t.Edit->SetVisible(false);
    EXPECT_EQ(seen, 1);
    EXPECT_FALSE(t.Edit->Visible());
    t.Edit->WindowProc = previous;
}
