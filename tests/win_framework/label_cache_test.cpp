// The effect label keeps its composed picture (background, shadow and text): a repaint with
// nothing changed copies it, and a change of text, font, size, place, colours, enabled state,
// shadow, or a skin command rebuilds it exactly as a new label would paint.
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

// An effect label as the installer has them: blur 6 in the highlight colour, distance 1.
std::unique_ptr<sk::TsLabelFX> EffectLabel() {
    auto label = std::make_unique<sk::TsLabelFX>(nullptr);
    label->Font().Height = -13;
    label->Font().Changed();
    label->Shadow().SetMode(sk::TsShadowMode::smCustom);
    label->Shadow().SetColor(tk::clHighlight);
    label->Shadow().SetBlurCount(6);
    label->SetCaption(L"Kalvetra");
    label->SetBounds(20, 30, label->Width(), label->Height());
    return label;
}

}  // namespace

TEST(EffectLabelCache, ARepaintCopiesThePictureAndEveryChangeRebuildsIt) {
    auto manager = kvfw::MakeManager(nullptr, kvfw::TestSkinOptions());
    const struct {
        const char* name;
        std::function<void(sk::TsLabelFX&)> change;
    } cases[] = {
        {"text", [](sk::TsLabelFX& l) { l.SetCaption(L"Kalvetra setup"); }},
        {"font", [](sk::TsLabelFX& l) { l.Font().Height = -16; l.Font().Changed(); }},
        {"font colour of a custom kind", [](sk::TsLabelFX& l) {
             sk::TsKind kind = l.Kind();
             kind.KindType = sk::TsKindType::ktCustom;
             kind.Color = 0x0000FF00;
             l.SetKind(kind);
         }},
        {"size", [](sk::TsLabelFX& l) { l.SetBounds(l.Left(), l.Top(), l.Width() + 10, l.Height()); }},
        {"place (what lies behind)", [](sk::TsLabelFX& l) { l.SetBounds(l.Left() + 5, l.Top(), l.Width(), l.Height()); }},
        {"disabled", [](sk::TsLabelFX& l) { l.SetEnabled(false); }},
        {"shadow colour", [](sk::TsLabelFX& l) { l.Shadow().SetColor(0x000000FF); }},
        {"shadow blur", [](sk::TsLabelFX& l) { l.Shadow().SetBlurCount(2); }},
        {"repaint asked for", [](sk::TsLabelFX& l) { l.Invalidate(); }},
        {"skin refreshed", [](sk::TsLabelFX& l) { l.Perform(sk::SM_SKINCMD, MAKEWPARAM(0, sk::SC_REFRESH), 0); }},
    };
    for (const auto& c : cases) {
        auto label = EffectLabel();
        const auto first = PaintOver(*label, kFirstBackground);
        // Nothing told the label that its background changed: the picture is copied as it was.
        EXPECT_EQ(PaintOver(*label, kSecondBackground), first) << c.name << ": copied from the picture";
        c.change(*label);
        auto fresh = EffectLabel();
        c.change(*fresh);
        fresh->SetBounds(label->Left(), label->Top(), label->Width(), label->Height());
        const auto expected = PaintOver(*fresh, kSecondBackground);
        const auto painted = PaintOver(*label, kSecondBackground);
        EXPECT_EQ(painted, expected) << c.name << ": rebuilt as a new label paints";
        EXPECT_NE(painted, first) << c.name;
    }
}
