// Images on the skinned buttons and the check box: the push button's image placed by its
// alignment with the caption beside it and the image of each state; the speed button's glyph
// strip and image list laid out by Layout, Margin and Spacing, the frame of its state, check
// buttons down one per group; the check box's glyphs from an image list; a freed list is let go.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "controls/sButton.h"
#include "controls/sCheckBox.h"
#include "controls/sSpeedButton.h"
#include "tests/win_framework/button_support.h"

using namespace kvfw;

namespace {

// Image k of the list is filled with kColours[k] (opaque); strips are built the same way.
const std::vector<uint32_t> kColours = {0x00C01020u, 0x0020C010u, 0x001020C0u, 0x00808000u, 0x00008080u};

std::unique_ptr<tk::TBitmap> ColourStrip(int frameWidth, int height, size_t frames) {
    auto strip = std::make_unique<tk::TBitmap>(frameWidth * static_cast<int>(frames), height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < strip->Width(); ++x)
            strip->ScanLine(y)[x] = 0xFF000000u | kColours[static_cast<size_t>(x / frameWidth)];
    return strip;
}

std::unique_ptr<tk::TCustomImageList> ColourList(int width, int height) {
    auto list = std::make_unique<tk::TCustomImageList>(nullptr, width, height);
    list->Add(*ColourStrip(width, height, kColours.size()));
    return list;
}

class ButtonImagesTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        Manager = MakeManager(nullptr, SkinWith(kSpeedSection)).release();
        Form = new TTestForm(240, 160);
    }
    static void TearDownTestSuite() {
        delete Form;
        delete Manager;
    }
    void SetUp() override {
        SetCursorPos(2, 2);
        PumpFor(20);
    }
    std::unique_ptr<sk::TsButton> MakeButton(const std::wstring& caption) {
        return kvfw::MakeButton(Form, Manager, {20, 20, 140, 80}, caption);
    }
    std::unique_ptr<sk::TsSpeedButton> MakeSpeedButton(const std::wstring& caption, RECT at = {20, 80, 100, 120}) {
        return kvfw::MakeSpeedButton(Form, Manager, at, caption);
    }
    static sk::TsSkinManager* Manager;
    static TTestForm* Form;
};
sk::TsSkinManager* ButtonImagesTest::Manager = nullptr;
TTestForm* ButtonImagesTest::Form = nullptr;

}  // namespace

TEST_F(ButtonImagesTest, PushButtonPlacesItsImageByAlignmentWithTheCaptionBesideIt) {
    auto list = ColourList(16, 16);
    auto b = MakeButton(L"Go");
    b->SetImages(list.get());
    b->SetImageIndex(2);
    b->SetImageMargins({2, 1, 3, 4});
    const int cm = b->ContentMargin();  // 6
    const struct {
        const char* name;
        sk::TImageAlignment alignment;
        POINT image;  // expected top-left of the image
    } cases[] = {
        {"left", sk::TImageAlignment::iaLeft, {2 + cm, 22}},
        {"right", sk::TImageAlignment::iaRight, {120 - 3 - cm - 16, 22}},
        {"top", sk::TImageAlignment::iaTop, {52, 4 + cm}},
        {"bottom", sk::TImageAlignment::iaBottom, {52, 60 - 4 - cm - 16}},
        {"centre", sk::TImageAlignment::iaCenter, {52, 22}},
    };
    for (const auto& c : cases) {
        b->SetImageAlignment(c.alignment);
        ASSERT_TRUE(b->PrepareCache()) << c.name;
        const RECT g = b->GlyphRect();
        EXPECT_EQ(g.left, c.image.x) << c.name;
        EXPECT_EQ(g.top, c.image.y) << c.name;
        EXPECT_EQ(g.right - g.left, 16) << c.name;
        EXPECT_EQ(CachePixel(b->SkinData(), g.left, g.top), kColours[2]) << c.name << ": the image's first pixel";
        if (c.alignment == sk::TImageAlignment::iaCenter) continue;  // the caption is written over it
        EXPECT_EQ(CachePixel(b->SkinData(), g.right - 1, g.bottom - 1), kColours[2]) << c.name << ": its last";
        const RECT caption = b->CaptionRect();
        RECT overlap;
        EXPECT_FALSE(IntersectRect(&overlap, &caption, &g)) << c.name << ": the caption keeps clear of the image";
    }
    b->SetImageIndex(9);
    const RECT none = b->GlyphRect();
    EXPECT_TRUE(IsRectEmpty(&none)) << "an index outside the list is no image";
}

TEST_F(ButtonImagesTest, PushButtonPicksTheImageOfItsStateAndFallsBackToImageIndex) {
    auto list = ColourList(16, 16);
    auto b = MakeButton(L"Go");
    b->SetImages(list.get());
    b->SetImageIndex(0);
    const struct {
        const char* name;
        int hot, pressed, disabled;
        bool down, enabled;
        int expected;
    } cases[] = {
        {"normal", 1, 2, 3, false, true, 0},
        {"pressed (down)", 1, 2, 3, true, true, 2},
        {"pressed index outside the list", 1, 7, 3, true, true, 0},
        {"disabled", 1, 2, 3, false, false, 3},
        {"disabled index negative", 1, 2, -1, false, false, 0},
    };
    for (const auto& c : cases) {
        b->SetHotImageIndex(c.hot);
        b->SetPressedImageIndex(c.pressed);
        b->SetDisabledImageIndex(c.disabled);
        b->SetDown(c.down);
        b->SetEnabled(c.enabled);
        EXPECT_EQ(b->GlyphIndex(), c.expected) << c.name;
        if (c.enabled) {
            ASSERT_TRUE(b->PrepareCache());
            const RECT g = b->GlyphRect();
            EXPECT_EQ(CachePixel(b->SkinData(), g.left + 3, g.top + 3), kColours[static_cast<size_t>(c.expected)]) << c.name;
        }
    }
    b->SetEnabled(true);
    b->SetDown(false);
    list.reset();
    EXPECT_EQ(b->Images(), nullptr) << "a freed list is let go";
    EXPECT_EQ(b->GlyphIndex(), -1);
    EXPECT_TRUE(b->PrepareCache());
}

TEST_F(ButtonImagesTest, SpeedButtonLaysOutItsGlyphByLayoutMarginAndSpacing) {
    auto b = MakeSpeedButton(L"Open");  // 80 x 40
    b->Glyph().SetSize(0, 0);
    auto strip = ColourStrip(12, 10, 3);
    b->Glyph().SetSize(strip->Width(), strip->Height());
    for (int y = 0; y < strip->Height(); ++y)
        for (int x = 0; x < strip->Width(); ++x) b->Glyph().ScanLine(y)[x] = strip->ScanLine(y)[x];
    b->SetNumGlyphs(3);
    b->GlyphChanged();
    EXPECT_EQ(b->GlyphWidth(), 12);
    EXPECT_EQ(b->GlyphHeight(), 10);
    const SIZE text = b->TextRectSize();
    const int tw = static_cast<int>(text.cx), th = static_cast<int>(text.cy);
    const struct {
        const char* name;
        sk::TButtonLayout layout;
        int margin, spacing;
        POINT glyph, caption;  // expected top-left corners
    } cases[] = {
        {"left, centred", sk::TButtonLayout::blGlyphLeft, -1, 4, {(80 - 16 - tw) / 2, 15}, {(80 - 16 - tw) / 2 + 16, (40 - th) / 2}},
        {"left, margin 2", sk::TButtonLayout::blGlyphLeft, 2, 4, {5, 15}, {21, (40 - th) / 2}},
        {"right, centred", sk::TButtonLayout::blGlyphRight, -1, 6, {(80 - 18 - tw) / 2 + tw + 6, 15}, {(80 - 18 - tw) / 2, (40 - th) / 2}},
        {"top", sk::TButtonLayout::blGlyphTop, -1, 2, {34, (40 - 12 - th) / 2}, {(80 - tw) / 2, (40 - 12 - th) / 2 + 12}},
        {"bottom", sk::TButtonLayout::blGlyphBottom, -1, 2, {34, (40 - 12 - th) / 2 + th + 2}, {(80 - tw) / 2, (40 - 12 - th) / 2}},
    };
    for (const auto& c : cases) {
        b->SetLayout(c.layout);
        b->SetMargin(c.margin);
        b->SetSpacing(c.spacing);
        const RECT g = b->ImgRect(false), t = b->CaptionRect(false);
        EXPECT_EQ(g.left, c.glyph.x) << c.name;
        EXPECT_EQ(g.top, c.glyph.y) << c.name;
        EXPECT_EQ(t.left, c.caption.x) << c.name;
        EXPECT_EQ(t.top, c.caption.y) << c.name;
        ASSERT_TRUE(b->PrepareCache()) << c.name;
        EXPECT_EQ(CachePixel(b->SkinData(), g.left + 1, g.top + 1), kColours[0]) << c.name << ": frame 0 when normal";
    }
    b->SetDown(true);
    ASSERT_TRUE(b->PrepareCache());
    const RECT pressed = b->ImgRect(true);
    EXPECT_EQ(CachePixel(b->SkinData(), pressed.left + 1, pressed.top + 1), kColours[2]) << "frame 2 when down";
}

TEST_F(ButtonImagesTest, SpeedButtonDrawsAnImageOfItsListAndLetsGoOfAFreedList) {
    auto list = ColourList(10, 10);
    auto b = MakeSpeedButton(L"");
    b->SetImages(list.get());
    b->SetImageIndex(4);
    ASSERT_TRUE(b->PrepareCache());
    const RECT g = b->ImgRect(false);
    EXPECT_EQ(g.left, (80 - 10) / 2);
    EXPECT_EQ(CachePixel(b->SkinData(), g.left + 5, g.top + 5), kColours[4]);
    b->SetImageIndex(5);
    EXPECT_EQ(b->GlyphWidth(), 0) << "outside the list: no image";
    b->SetImageIndex(1);
    list.reset();
    EXPECT_EQ(b->Images(), nullptr);
    EXPECT_TRUE(b->PrepareCache());
}

TEST_F(ButtonImagesTest, CheckButtonsOfAGroupAreDownOneAtATime) {
    std::vector<std::unique_ptr<sk::TsSpeedButton>> group;
    for (int i = 0; i < 3; ++i) {
        group.push_back(MakeSpeedButton(L"", {20 + 30 * i, 80, 45 + 30 * i, 100}));
        group.back()->SetButtonStyle(sk::tbsCheck);
        group.back()->SetGroupIndex(1);
    }
    auto alone = MakeSpeedButton(L"", {120, 80, 145, 100});
    alone->SetButtonStyle(sk::tbsCheck);
    const auto downs = [&] {
        std::vector<bool> d;
        for (auto& b : group) d.push_back(b->Down());
        return d;
    };
    group[0]->Click();
    EXPECT_EQ(downs(), (std::vector<bool>{true, false, false}));
    group[2]->Click();
    EXPECT_EQ(downs(), (std::vector<bool>{false, false, true}));
    group[2]->Click();
    EXPECT_EQ(downs(), (std::vector<bool>{false, false, true})) << "without AllowAllUp the down one stays down";
    group[2]->SetAllowAllUp(true);
    group[2]->Click();
    EXPECT_EQ(downs(), (std::vector<bool>{false, false, false}));
    alone->Click();
    EXPECT_TRUE(alone->Down()) << "no group: a click toggles";
    alone->Click();
    EXPECT_FALSE(alone->Down());
    EXPECT_EQ(alone->CurrentState(), 0);
    alone->Click();
    EXPECT_EQ(alone->CurrentState(), 2) << "down shows pressed";
}

TEST_F(ButtonImagesTest, CheckBoxTakesItsGlyphsFromAnImageList) {
    auto box = std::make_unique<sk::TsCheckBox>(nullptr);
    box->BeginLoading();
    box->SkinData().SetSkinSection(L"CHECKBOX");
    box->SkinData().SetSkinManager(Manager);
    box->SetBounds(20, 120, 120, 24);
    box->SetCaption(L"Option");
    box->SetParent(Form);
    box->Loaded();
    box->HandleNeeded();
    auto square = ColourList(14, 14);
    // A list whose images are strips of three 8 x 8 frames (normal, hot, pressed).
    auto strips = std::make_unique<tk::TCustomImageList>(nullptr, 24, 8);
    strips->Add(*ColourStrip(8, 8, 3));
    const struct {
        const char* name;
        tk::TCustomImageList* list;
        int checkedIndex, uncheckedIndex;
        bool checked;
        SIZE glyph;
        uint32_t expected;
    } cases[] = {
        {"checked image", square.get(), 1, 3, true, {14, 14}, kColours[1]},
        {"unchecked image", square.get(), 1, 3, false, {14, 14}, kColours[3]},
        {"strip: normal frame", strips.get(), 0, 0, true, {8, 8}, kColours[0]},
    };
    for (const auto& c : cases) {
        box->SetImages(c.list);
        box->SetImgChecked(c.checkedIndex);
        box->SetImgUnchecked(c.uncheckedIndex);
        box->SetChecked(c.checked);
        const SIZE g = box->GlyphSize();
        EXPECT_EQ(g.cx, c.glyph.cx) << c.name;
        EXPECT_EQ(g.cy, c.glyph.cy) << c.name;
        ASSERT_TRUE(box->PrepareCache()) << c.name;
        const RECT at = box->GlyphRect();
        EXPECT_EQ(CachePixel(box->SkinData(), at.left + 2, at.top + 2), c.expected) << c.name;
        EXPECT_EQ(CachePixel(box->SkinData(), at.right - 1, at.bottom - 1), c.expected) << c.name << ": one frame only";
    }
    box->SetImgUnchecked(-1);
    EXPECT_EQ(box->GlyphSize().cx, 16) << "a negative index: the skin's glyph (none here: 16 x 16) again";
    box->SetImgUnchecked(0);
    strips.reset();
    square.reset();
    EXPECT_EQ(box->Images(), nullptr);
    EXPECT_TRUE(box->PrepareCache());
}

namespace {

// A window-less control that fills itself with one colour.
class TFiller : public tk::TGraphicControl {
public:
    TFiller(tk::TWinControl* parent, RECT at, rd::TColor colour) : tk::TGraphicControl(nullptr), Colour(colour) {
        SetBounds(at.left, at.top, at.right - at.left, at.bottom - at.top);
        SetParent(parent);
    }
    void Paint(tk::TCanvas& canvas) override {
        canvas.Brush.Color = Colour;
        canvas.FillRect({0, 0, Width(), Height()});
    }
    rd::TColor Colour;
};

}  // namespace

TEST_F(ButtonImagesTest, ControlsLyingOverTheSpeedButtonArePaintedIntoItsCache) {
    constexpr rd::TColor kFill = 0x00123456;  // 0x00BBGGRR
    const struct {
        const char* name;
        bool before;     // added before the button (lies under it)
        RECT at;         // in the form
        POINT probe;     // cache point to read
        bool painted;
    } cases[] = {
        {"top-left corner inside, above the button", false, {90, 110, 110, 130}, {72, 32}, true},
        {"bottom-right corner inside", false, {10, 70, 30, 90}, {5, 5}, true},
        {"under the button", true, {90, 110, 110, 130}, {72, 32}, false},
        {"over it but no corner inside", false, {10, 90, 110, 100}, {40, 15}, false},
    };
    for (const auto& c : cases) {
        std::unique_ptr<TFiller> under;
        if (c.before) under = std::make_unique<TFiller>(Form, c.at, kFill);
        auto b = MakeSpeedButton(L"");
        std::unique_ptr<TFiller> over;
        if (!c.before) over = std::make_unique<TFiller>(Form, c.at, kFill);
        ASSERT_TRUE(b->PrepareCache()) << c.name;
        const bool filled = CachePixel(b->SkinData(), c.probe.x, c.probe.y) == AsRgb(kFill);
        EXPECT_EQ(filled, c.painted) << c.name;
    }
}
