// The installer window's five effect labels and two web labels, read from the built installer's
// own description and painted with its own tinted skin: the stored shadow settings, text in the
// skin's colours over a highlight-coloured shadow, captions that fit their labels without
// overlapping, and the web labels' colours, hand cursor and addresses.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "controls/RegisterControls.h"
#include "controls/sLabel.h"
#include "installer/Unit1.h"
#include "skin/sConst.h"
#include "skinframework/sSkinManager.h"
#include "skinpaint/sTextOutput.h"

namespace {

const wchar_t* const kEffectLabels[] = {L"sLabelFX1", L"sLabelFX2", L"sLabelFX3", L"sLabelFX4", L"sLabelFX5"};
const wchar_t* const kWebLabels[] = {L"sWebLabel1", L"sWebLabel2"};
constexpr rd::TColor kStoredEffectFont = 0x00999589;
constexpr rd::TColor kStoredWebFont = 0x00EDA853;
constexpr uint32_t kBehind = 0x00202020;  // what the labels are painted over in these checks

std::string Narrow(const std::wstring& s) { return std::string(s.begin(), s.end()); }

uint32_t AsPixel(rd::TColor c) {
    const uint32_t v = static_cast<uint32_t>(rd::ColorToRGB(c));
    return ((v & 0xFF) << 16) | (v & 0xFF00) | ((v >> 16) & 0xFF);
}

struct InstallerWindow {
    std::unique_ptr<kv::TForm1> form;
    InstallerWindow() {
        sk::RegisterControlClasses();
        form = std::make_unique<kv::TForm1>(nullptr);
        form->HandleNeeded();
    }
    template <class T> T* Find(const wchar_t* name) { return dynamic_cast<T*>(form->FindComponent(name)); }
    const sk::TSkinModel& Model() { return form->sSkinManager1->Model(); }
};

// The label's pixels (0x00RRGGBB) painted over a plain colour.
std::vector<uint32_t> Painted(tk::TControl& label) {
    tk::TBitmap bmp(label.Width(), label.Height());
    for (int y = 0; y < bmp.Height(); ++y)
        for (int x = 0; x < bmp.Width(); ++x) bmp.ScanLine(y)[x] = kBehind;
    tk::TCanvas canvas(bmp.Canvas().Handle());
    label.Paint(canvas);
    GdiFlush();
    std::vector<uint32_t> pixels;
    for (int y = 0; y < bmp.Height(); ++y)
        for (int x = 0; x < bmp.Width(); ++x) pixels.push_back(bmp.ScanLine(y)[x] & 0xFFFFFF);
    return pixels;
}

int Count(const std::vector<uint32_t>& pixels, uint32_t rgb) {
    int n = 0;
    for (uint32_t p : pixels) n += p == rgb;
    return n;
}

// Where the caption's text lies in window coordinates (left-aligned, top layout).
RECT TextBox(tk::TLabel& label, int inset) {
    const SIZE s = rd::MeasureText(label.Font().Handle(), label.Caption(), 0, 0, false);
    return {label.Left() + inset, label.Top() + inset, label.Left() + inset + s.cx, label.Top() + inset + s.cy};
}

}  // namespace

TEST(InstallerLabels, TheEffectLabelsKeepTheirStoredShadow) {
    InstallerWindow w;
    for (const wchar_t* name : kEffectLabels) {
        auto* label = w.Find<sk::TsLabelFX>(name);
        ASSERT_NE(label, nullptr) << Narrow(name);
        EXPECT_EQ(label->Shadow().Mode(), sk::TsShadowMode::smCustom) << Narrow(name);
        EXPECT_EQ(label->Shadow().Color(), tk::clHighlight) << Narrow(name);
        const sk::TShadowData d = label->CurrentShadowData();
        EXPECT_EQ(d.Blur, 6) << Narrow(name);
        EXPECT_EQ(d.Offset, 1) << Narrow(name);
        EXPECT_EQ(label->Shadow().OffsetKeeper.LeftTop, -5) << Narrow(name);
        EXPECT_EQ(label->Shadow().OffsetKeeper.RightBottom, 7) << Narrow(name);
    }
}

TEST(InstallerLabels, EffectLabelsDrawTheSkinsTextColourOverAHighlightShadow) {
    InstallerWindow w;
    const sk::TSkinModel& model = w.Model();
    const int general = model.ConstData.IndexGLobalInfo;
    ASSERT_TRUE(model.IsValidSkinIndex(general));
    // The general section's left contour colour, or the label kind's colour (white) for a skin
    // without one, as the installer's own skin is.
    const rd::TColor left = model.gd[static_cast<size_t>(general)].Props[0].FontColor.Left;
    const rd::TColor textColor = left != -1 ? left : 0xFFFFFF;
    ASSERT_NE(rd::ColorToRGB(textColor), rd::ColorToRGB(kStoredEffectFont));
    for (const wchar_t* name : kEffectLabels) {
        auto* label = w.Find<sk::TsLabelFX>(name);
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->GetCurrentFontColor(), rd::ColorToRGB(textColor)) << Narrow(name);
        const std::vector<uint32_t> pixels = Painted(*label);
        EXPECT_GT(Count(pixels, AsPixel(textColor)), 3) << Narrow(name) << ": text in the skin's colour";
        EXPECT_EQ(Count(pixels, AsPixel(kStoredEffectFont)), 0) << Narrow(name) << ": not the stored font colour";
        // The shadow tints the background towards the highlight colour.
        const uint32_t hl = AsPixel(tk::clHighlight);
        int towardsHighlight = 0;
        for (uint32_t p : pixels) {
            if (p == kBehind || p == AsPixel(textColor)) continue;
            const int db = static_cast<int>(p & 0xFF) - static_cast<int>(kBehind & 0xFF);
            const int dhb = static_cast<int>(hl & 0xFF) - static_cast<int>(kBehind & 0xFF);
            towardsHighlight += (db > 0) == (dhb > 0) && db != 0;
        }
        EXPECT_GT(towardsHighlight, 20) << Narrow(name);
    }
}

TEST(InstallerLabels, CaptionsFitTheirLabelsAndDoNotOverlap) {
    InstallerWindow w;
    std::vector<std::pair<std::wstring, RECT>> boxes;
    for (const wchar_t* name : kEffectLabels) {
        auto* label = w.Find<sk::TsLabelFX>(name);
        ASSERT_NE(label, nullptr);
        const RECT text = TextBox(*label, 5);
        EXPECT_LE(text.right + 7, label->Left() + label->Width()) << Narrow(name) << " clips its caption or shadow";
        EXPECT_LE(text.bottom + 7, label->Top() + label->Height()) << Narrow(name) << " clips its caption or shadow";
        boxes.emplace_back(name, text);
    }
    for (const wchar_t* name : kWebLabels) {
        auto* label = w.Find<sk::TsWebLabel>(name);
        ASSERT_NE(label, nullptr);
        const RECT text = TextBox(*label, 0);
        EXPECT_LE(text.right, label->Left() + label->Width()) << Narrow(name);
        EXPECT_LE(text.bottom, label->Top() + label->Height()) << Narrow(name);
        boxes.emplace_back(name, text);
    }
    for (size_t i = 0; i < boxes.size(); ++i)
        for (size_t j = i + 1; j < boxes.size(); ++j) {
            RECT both;
            EXPECT_FALSE(IntersectRect(&both, &boxes[i].second, &boxes[j].second))
                << Narrow(boxes[i].first) << " and " << Narrow(boxes[j].first) << " overlap";
        }
}

TEST(InstallerLabels, WebLabelsTakeTheSkinsLinkColoursAndOpenTheirAddressOnThePress) {
    InstallerWindow w;
    const sk::TSkinModel& model = w.Model();
    const struct {
        const wchar_t* name;
        const wchar_t* url;
    } cases[] = {{L"sWebLabel1", L"https://kalvetra.ru"}, {L"sWebLabel2", L"https://vk.com/kalvetra"}};
    std::vector<std::wstring> opened;
    sk::TsWebLabel::UrlOpener = [&](const std::wstring& url, sk::TsWindowShowMode) { opened.push_back(url); };
    for (const auto& c : cases) {
        auto* label = w.Find<sk::TsWebLabel>(c.name);
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->URL(), c.url);
        EXPECT_EQ(label->Cursor(), tk::crHandPoint);
        const rd::TColor normal = label->GetCurrentFontColor();
        EXPECT_NE(normal, rd::ColorToRGB(kStoredWebFont)) << Narrow(c.name) << ": the skin's colour, not the stored one";
        EXPECT_GT(Count(Painted(*label), AsPixel(normal)), 3) << Narrow(c.name);
        label->Perform(tk::CM_MOUSEENTER);
        EXPECT_EQ(label->GetCurrentFontColor(), model.Palette[sk::pcWebTextHot]) << Narrow(c.name);
        EXPECT_GT(Count(Painted(*label), AsPixel(model.Palette[sk::pcWebTextHot])), 3) << Narrow(c.name);
        label->MouseDown(2, 2);
        label->MouseUp(2, 2);
        label->Perform(tk::CM_MOUSELEAVE);
        EXPECT_EQ(label->GetCurrentFontColor(), normal);
    }
    sk::TsWebLabel::UrlOpener = nullptr;
    EXPECT_EQ(opened, (std::vector<std::wstring>{L"https://kalvetra.ru", L"https://vk.com/kalvetra"}));
}
