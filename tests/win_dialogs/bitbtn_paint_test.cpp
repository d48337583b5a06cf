// The bit button's own face: the glyph strip's frame of the state (or an image-list entry)
// at the place the layout gives, with the caption beside it and nothing else over the
// section's face; the disabled glyph; an ellipsis at the end of a caption that does not fit;
// and the default button's look, which follows the push button that holds the focus now.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "controls/sBitBtn.h"
#include "skinpaint/sTextOutput.h"
#include "tests/host/TestFiles.h"
#include "tests/win_framework/button_support.h"
#include "toolkit/DescriptionReader.h"
#include "toolkit/StdCtrls.h"

using namespace kvfw;

namespace {

// Frame k of a strip (and image k of a list) is filled with kFrames[k], opaque (0x00RRGGBB).
const std::vector<uint32_t> kFrames = {0x00C01020u, 0x0020C010u, 0x001020C0u, 0x00808000u};

void FillStrip(tk::TBitmap& strip, int frameWidth, int height, size_t frames) {
    strip.SetSize(frameWidth * static_cast<int>(frames), height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < strip.Width(); ++x) strip.ScanLine(y)[x] = 0xFF000000u | kFrames[static_cast<size_t>(x / frameWidth)];
}

// Whether every cache pixel of r has the colour c (0x00RRGGBB).
bool Filled(sk::TsCommonData& data, RECT r, uint32_t c) {
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if (CachePixel(data, x, y) != c) return false;
    return true;
}

// Pixels of the cache differing from face outside the given rectangles.
int DifferingOutside(sk::TsCommonData& data, const rd::TBitmap32& face, int w, int h, std::vector<RECT> keep) {
    int n = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const POINT p{x, y};
            bool kept = false;
            for (const RECT& r : keep) kept = kept || PtInRect(&r, p);
            if (!kept && CachePixel(data, x, y) != (rd::ReadPixel32(face, x, y) & 0x00FFFFFFu)) ++n;
        }
    return n;
}

// Whether the text inside r (pixels differing from face) ends with three dots: its last three
// column runs are each at most 3 x 3 pixels and sit on the same rows.
bool EndsWithThreeDots(sk::TsCommonData& data, const rd::TBitmap32& face, RECT r) {
    struct Run { int left, right, top, bottom; };
    std::vector<Run> runs;
    bool inRun = false;
    for (int x = r.left; x < r.right; ++x) {
        int top = INT_MAX, bottom = INT_MIN;
        for (int y = r.top; y < r.bottom; ++y)
            if (CachePixel(data, x, y) != (rd::ReadPixel32(face, x, y) & 0x00FFFFFFu)) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        if (top == INT_MAX) {
            inRun = false;
            continue;
        }
        if (!inRun) runs.push_back({x, x, top, bottom});
        Run& run = runs.back();
        run.right = x;
        run.top = std::min(run.top, top);
        run.bottom = std::max(run.bottom, bottom);
        inRun = true;
    }
    if (runs.size() < 4) return false;
    for (size_t i = runs.size() - 3; i < runs.size(); ++i) {
        const Run& d = runs[i];
        if (d.right - d.left > 2 || d.bottom - d.top > 2 || d.bottom != runs.back().bottom) return false;
    }
    return true;
}

class BitBtnPaintTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        Manager = MakeManager(nullptr, TestSkinOptions()).release();
        Form = new TTestForm(360, 200);
    }
    static void TearDownTestSuite() {
        delete Form;
        delete Manager;
        Form = nullptr;
        Manager = nullptr;
    }
    void SetUp() override {
        SetCursorPos(2, 2);
        PumpFor(20);
    }
    std::unique_ptr<sk::TsBitBtn> Make(const std::wstring& caption, RECT at = {20, 20, 140, 70}) {
        return MakeButton<sk::TsBitBtn>(Form, Manager, at, caption);
    }
    static rd::TMemBitmap32 Face(sk::TsBitBtn& b, int skinState) {
        return ReferenceFace(b.SkinData(), b.Width(), b.Height(), skinState);
    }
    static sk::TsSkinManager* Manager;
    static TTestForm* Form;
};
sk::TsSkinManager* BitBtnPaintTest::Manager = nullptr;
TTestForm* BitBtnPaintTest::Form = nullptr;

TEST_F(BitBtnPaintTest, TheGlyphFrameSitsWhereTheLayoutPutsItWithTheCaptionBeside) {
    auto b = Make(L"Go");
    FillStrip(b->Glyph(), 12, 12, 2);
    b->SetNumGlyphs(2);
    b->GlyphChanged();
    const SIZE text = rd::MeasureText(b->Font().Handle(), L"Go", DT_EXPANDTABS | DT_CENTER, 120, true);
    const int tw = static_cast<int>(text.cx), th = static_cast<int>(text.cy), W = 120, H = 50, G = 12, S = 4;
    const struct {
        const char* name;
        sk::TButtonLayout layout;
        POINT glyph;
    } cases[] = {
        {"left", sk::TButtonLayout::blGlyphLeft, {(W - tw - S - G) / 2, (H - G + 1) / 2}},
        {"right", sk::TButtonLayout::blGlyphRight, {(W - tw - S - G) / 2 + S + tw, (H - G + 1) / 2}},
        {"top", sk::TButtonLayout::blGlyphTop, {(W - G + 1) / 2, (H - G - S - th) / 2}},
        {"bottom", sk::TButtonLayout::blGlyphBottom, {(W - G + 1) / 2, H - G - (H - G - S - th) / 2}},
    };
    const rd::TMemBitmap32 face = Face(*b, 0);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        b->SetLayout(c.layout);
        EXPECT_TRUE(b->SkinData().BGChanged) << "a new layout makes the face stale";
        ASSERT_TRUE(b->PrepareCache());
        ASSERT_EQ(b->CurrentState(), sk::bsNormal);
        const RECT glyph{c.glyph.x, c.glyph.y, c.glyph.x + G, c.glyph.y + G};
        EXPECT_TRUE(Filled(b->SkinData(), glyph, kFrames[0])) << "frame 0 of the strip, whole, at its place";
        const RECT caption = b->ContentLayout().CaptionRect;
        EXPECT_EQ(DifferingOutside(b->SkinData(), face, W, H, {glyph}) > 0, true) << "the caption is painted";
        EXPECT_EQ(DifferingOutside(b->SkinData(), face, W, H, {glyph, caption}), 0)
            << "nothing but the glyph and the caption over the section's face";
    }
}

TEST_F(BitBtnPaintTest, TheFrameFollowsTheStateAndPressedContentShifts) {
    auto b = Make(L"", {20, 80, 80, 120});
    FillStrip(b->Glyph(), 10, 10, 3);
    b->SetNumGlyphs(3);
    b->GlyphChanged();
    const RECT at = b->ImgRect(sk::bsNormal);
    ASSERT_EQ(at.left, (60 - 10 + 1) / 2);  // no caption: the glyph alone, centred
    MoveMouseTo(b->Handle(), 30, 20);
    ASSERT_TRUE(PumpUntil([&] { return b->CurrentState() == sk::bsHot; }));
    ASSERT_TRUE(b->PrepareCache());
    EXPECT_TRUE(Filled(b->SkinData(), at, kFrames[1])) << "hot: frame 1";
    SetCursorPos(2, 2);
    PumpUntil([&] { return b->CurrentState() == sk::bsNormal; });
    b->SetDown(true);
    ASSERT_TRUE(b->PrepareCache());
    RECT shifted = at;
    OffsetRect(&shifted, 1, 1);
    EXPECT_TRUE(Filled(b->SkinData(), shifted, kFrames[2])) << "down: frame 2, moved by one pixel";
    EXPECT_NE(CachePixel(b->SkinData(), at.left, at.top), kFrames[2]);
}

TEST_F(BitBtnPaintTest, AnImageListEntryComesBeforeTheGlyph) {
    auto b = Make(L"");
    FillStrip(b->Glyph(), 12, 12, 1);
    b->GlyphChanged();
    tk::TBitmap strip;
    FillStrip(strip, 16, 16, 4);
    tk::TCustomImageList list(nullptr, 16, 16);
    list.Add(strip);
    b->SetImages(&list);
    const struct {
        int index;
        SIZE size;
        uint32_t colour;
    } cases[] = {
        {2, {16, 16}, kFrames[2]},  // a valid entry: the list's
        {7, {12, 12}, kFrames[0]},  // outside the list: the glyph
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.index);
        b->SetImageIndex(c.index);
        EXPECT_EQ(b->ImageSize().cx, c.size.cx);
        ASSERT_TRUE(b->PrepareCache());
        EXPECT_TRUE(Filled(b->SkinData(), b->ImgRect(sk::bsNormal), c.colour));
    }
    b->SetImages(nullptr);
}

TEST_F(BitBtnPaintTest, ADisabledGlyphIsBlendedOrGreyed) {
    auto b = Make(L"");
    FillStrip(b->Glyph(), 12, 12, 1);
    b->GlyphChanged();
    b->SetDisabledKind(0);  // the face itself stays as it is, so the glyph alone is seen
    b->SetEnabled(false);
    const rd::TMemBitmap32 face = Face(*b, 0);
    const uint32_t g = kFrames[0];
    auto mix = [](uint32_t d, uint32_t s) {
        uint32_t out = 0;
        for (int shift = 0; shift < 24; shift += 8) {
            const int dc = static_cast<int>((d >> shift) & 0xFF), sc = static_cast<int>((s >> shift) & 0xFF);
            out |= static_cast<uint32_t>(dc + (sc - dc) * 128 / 255) << shift;
        }
        return out;
    };
    b->SetDisabledGlyphKind(sk::dgBlended);
    ASSERT_TRUE(b->PrepareCache());
    const RECT r = b->ImgRect(sk::bsNormal);
    const uint32_t behind = rd::ReadPixel32(face, r.left, r.top) & 0x00FFFFFFu;
    EXPECT_EQ(CachePixel(b->SkinData(), r.left, r.top), mix(behind, g)) << "half over the face";
    b->SetDisabledGlyphKind(sk::dgGrayed);
    ASSERT_TRUE(b->PrepareCache());
    const uint32_t grey = CachePixel(b->SkinData(), r.left + 3, r.top + 3);
    EXPECT_EQ(grey & 0xFF, (grey >> 8) & 0xFF);
    EXPECT_EQ(grey & 0xFF, (grey >> 16) & 0xFF);
    EXPECT_NE(grey, behind);
}

TEST_F(BitBtnPaintTest, ACaptionThatDoesNotFitEndsWithAnEllipsis) {
    const struct {
        const char* name;
        RECT at;
        bool dots;
    } cases[] = {
        {"narrow", {20, 130, 80, 155}, true},
        {"wide enough", {20, 130, 300, 155}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto b = Make(L"Extraordinarily", c.at);
        ASSERT_TRUE(b->PrepareCache());
        const rd::TMemBitmap32 face = Face(*b, 0);
        const RECT caption = b->ContentLayout().CaptionRect;
        EXPECT_GE(caption.left, 0);
        EXPECT_LE(caption.right, b->Width());
        EXPECT_EQ(DifferingOutside(b->SkinData(), face, b->Width(), b->Height(), {caption}), 0)
            << "the caption stays inside its rectangle";
        EXPECT_EQ(EndsWithThreeDots(b->SkinData(), face, caption), c.dots);
    }
}

TEST_F(BitBtnPaintTest, TheDefaultLookFollowsThePushButtonThatHoldsTheFocusNow) {
    auto ok = Make(L"OK", {20, 150, 100, 175});
    auto cancel = Make(L"Cancel", {110, 150, 190, 175});
    ok->SetDefault(true);
    tk::TEdit edit(nullptr);
    edit.SetBounds(200, 150, 100, 22);
    edit.SetParent(Form);
    edit.HandleNeeded();
    SetForegroundWindow(Form->Handle());
    PumpFor(30);
    // The caption and its focus frame are left out: the band above them shows the face alone.
    const RECT band{0, 0, ok->Width(), 4};
    const rd::TMemBitmap32 normal = Face(*ok, 0), hot = Face(*ok, 1);
    const struct {
        const char* name;
        HWND focus;
        int state;
        const rd::TMemBitmap32* face;
    } cases[] = {
        {"an edit focused: default, painted as hot in three states", edit.Handle(), sk::bsDefault, &hot},
        {"Cancel focused: normal", cancel->Handle(), sk::bsNormal, &normal},
        {"no window focused: default", nullptr, sk::bsDefault, &hot},
    };
    int differ = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SetFocus(c.focus);
        PumpFor(20);
        ASSERT_EQ(GetFocus(), c.focus);
        EXPECT_EQ(ok->CurrentState(), c.state);
        ASSERT_TRUE(ok->PrepareCache());
        EXPECT_EQ(DifferingPixels(ok->SkinData(), *c.face, band), 0);
        differ += DifferingPixels(ok->SkinData(), c.face == &hot ? normal : hot, band);
    }
    EXPECT_GT(differ, 0) << "the normal and the hot face differ in the band";
}

// The glyph stored in a description: read whole, refused (and the old one kept) when cut short.
TEST(BitBtnGlyphData, TheStoredGlyphIsReadAsUntrustedData) {
    const std::string bitmap = kvtest::Bmp24(4, 2, {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF,
                                                     0x000000, 0xFF00FF, 0x808080, 0x101010});
    tk::TValue value;
    value.Kind = tk::TValueKind::Binary;
    value.Bytes.resize(4 + bitmap.size());
    for (size_t i = 0; i < 4; ++i) value.Bytes[i] = static_cast<uint8_t>(bitmap.size() >> (8 * i));
    for (size_t i = 0; i < bitmap.size(); ++i) value.Bytes[4 + i] = static_cast<uint8_t>(bitmap[i]);
    sk::TsBitBtn button(nullptr);
    tk::TReader reader(nullptr, 0);
    tk::TValue glyphs;
    glyphs.Kind = tk::TValueKind::Integer;
    glyphs.Int = 2;
    button.SetProperty(reader, "NumGlyphs", glyphs);
    button.SetProperty(reader, "Glyph.Data", value);
    EXPECT_EQ(button.ImageSize().cx, 2) << "a frame of the two-glyph strip";
    EXPECT_EQ(button.ImageSize().cy, 2);
    value.Bytes.resize(value.Bytes.size() - 5);
    EXPECT_THROW(button.SetProperty(reader, "Glyph.Data", value), tk::EReadError);
    EXPECT_EQ(button.Glyph().Width(), 4) << "the glyph read before stays";
}

}  // namespace
