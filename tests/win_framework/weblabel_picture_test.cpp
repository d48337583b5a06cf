// The web label keeps its picture: a repaint with nothing changed copies it, and a change of
// text, font, hover state, enabled state, colour, or a skin command builds it again as a new
// label would paint. With ParentFont it follows its parent's font but keeps its own colour,
// and its hover font takes the parent font's name and size.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "controls/sLabel.h"
#include "skinframework/sSkinCmd.h"
#include "tests/win_framework/FrameworkFixture.h"
#include "tests/win_framework/label_support.h"

using kvfw::PaintOver;

namespace {

constexpr rd::TColor kFirstBackground = 0x00403020, kSecondBackground = 0x00205080;

std::unique_ptr<sk::TsWebLabel> WebLabel() {
    auto label = std::make_unique<sk::TsWebLabel>(nullptr);
    label->Font().Height = -13;
    label->Font().Changed();
    label->HoverFont().Height = -13;
    label->HoverFont().Style = tk::fsUnderline;
    label->HoverFont().Changed();
    label->SetCaption(L"Официальный сайт");
    label->SetBounds(20, 30, label->Width(), label->Height());
    return label;
}

}  // namespace

TEST(WebLabelPicture, ARepaintCopiesThePictureAndEveryChangeBuildsItAgain) {
    auto manager = kvfw::MakeManager(nullptr, kvfw::TestSkinOptions());
    const struct {
        const char* name;
        std::function<void(sk::TsWebLabel&)> change;
    } cases[] = {
        {"text", [](sk::TsWebLabel& l) { l.SetCaption(L"Паблик VK"); }},
        {"font", [](sk::TsWebLabel& l) { l.Font().Height = -16; l.Font().Changed(); }},
        {"mouse above (hover colour and font)", [](sk::TsWebLabel& l) { l.Perform(tk::CM_MOUSEENTER); }},
        {"disabled", [](sk::TsWebLabel& l) { l.SetEnabled(false); }},
        {"skin colour off", [](sk::TsWebLabel& l) {
             l.Font().Color = 0x000000FF;
             l.SetUseSkinColor(false);
         }},
        {"repaint asked for", [](sk::TsWebLabel& l) { l.Invalidate(); }},
        {"skin refreshed", [](sk::TsWebLabel& l) { l.Perform(sk::SM_SKINCMD, MAKEWPARAM(0, sk::SC_REFRESH), 0); }},
    };
    for (const auto& c : cases) {
        auto label = WebLabel();
        const auto first = PaintOver(*label, kFirstBackground);
        // Nothing told the label that its background changed: the picture is copied as it was.
        EXPECT_EQ(PaintOver(*label, kSecondBackground), first) << c.name << ": copied from the picture";
        c.change(*label);
        auto fresh = WebLabel();
        c.change(*fresh);
        fresh->SetBounds(label->Left(), label->Top(), label->Width(), label->Height());
        const auto expected = PaintOver(*fresh, kSecondBackground);
        const auto painted = PaintOver(*label, kSecondBackground);
        EXPECT_EQ(painted, expected) << c.name << ": built again as a new label paints";
        EXPECT_NE(painted, first) << c.name;
    }
}

TEST(WebLabelPicture, LeavingTheLabelShowsTheNormalLookAgain) {
    auto manager = kvfw::MakeManager(nullptr, kvfw::TestSkinOptions());
    auto label = WebLabel();
    const auto normal = PaintOver(*label, kFirstBackground);
    label->Perform(tk::CM_MOUSEENTER);
    const auto hovered = PaintOver(*label, kFirstBackground);
    label->Perform(tk::CM_MOUSELEAVE);
    EXPECT_NE(hovered, normal);
    EXPECT_EQ(PaintOver(*label, kFirstBackground), normal);
}

TEST(WebLabelFont, FollowsTheParentFontButKeepsItsColourAndTheHoverFontTakesNameAndSize) {
    auto manager = kvfw::MakeManager(nullptr, kvfw::TestSkinOptions());
    kvfw::TTestForm form(200, 100);
    struct Case {
        const char* name;
        bool parentFont;
    };
    for (const Case c : {Case{"ParentFont", true}, Case{"own font", false}}) {
        auto* label = new sk::TsWebLabel(&form);
        label->BeginLoading();
        label->SetCaption(L"Kalvetra");
        label->SetParentFont(c.parentFont);
        label->Font().Name = L"Tahoma";
        label->Font().Height = -11;
        label->Font().Color = 0x00EDA853;
        label->HoverFont().Name = L"Tahoma";
        label->HoverFont().Height = -11;
        label->HoverFont().Color = 0x000000FF;
        label->HoverFont().Style = tk::fsUnderline;
        label->SetParent(&form);
        label->Loaded();
        if (c.parentFont) label->SetParentFont(true);

        form.Font().Name = L"Arial";
        form.Font().Height = -15;
        form.Font().Color = 0x00112233;
        form.Font().Changed();

        const bool follows = c.parentFont;
        EXPECT_EQ(label->Font().Name, follows ? L"Arial" : L"Tahoma") << c.name;
        EXPECT_EQ(label->Font().Height, follows ? -15 : -11) << c.name;
        EXPECT_EQ(label->Font().Color, 0x00EDA853) << c.name << ": the label's own colour stays";
        EXPECT_EQ(label->HoverFont().Name, follows ? L"Arial" : L"Tahoma") << c.name;
        EXPECT_EQ(label->HoverFont().Height, follows ? -15 : -11) << c.name;
        EXPECT_EQ(label->HoverFont().Color, 0x000000FF) << c.name;
        EXPECT_EQ(label->HoverFont().Style, static_cast<unsigned>(tk::fsUnderline)) << c.name;
        tk::TComponent::Free(label);
        form.Font().Name = L"MS Sans Serif";
        form.Font().Height = -11;
        form.Font().Changed();
    }
}
