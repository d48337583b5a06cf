// The gauge's light seen through the progress section's light-region mask ("LRGN"): the mask's
// red byte holds the light back (fully at 255, partly in between), the bar beyond the light is
// untouched, and without the mask the light falls on the whole filled part.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "controls/sGauge.h"
#include "tests/win_framework/FrameworkFixture.h"
#include "tests/win_framework/TestControls.h"

using namespace sk;

namespace {

constexpr rd::TColor kProgressColor = 0x00205080;
// The test master bitmap's 10 x 10 edit frame: a magenta top-left pixel, a 2-pixel ring of
// red byte 0x80 and a centre of red byte 0x18.
const std::string kRegionMask = "LRGN=^0000^0010^0010^0020^0002^0002^0002^0002^1^0^4^0\n";  // centre filled

std::string LightSkin() {
    const std::string bar = "STATES=1\nCOLOR=" + std::to_string(kProgressColor) + "\nFONTCOLOR=0\n";
    return kvfw::TestSkinOptions() + "[GAUGE]\nSTATES=1\nCOLOR=1056816\nFONTCOLOR=14474978\n[PROGRESSH]\n" + bar +
           kRegionMask + "[PROGRESSPLAIN]\n" + bar;
}

struct GaugeLightTest : ::testing::Test {
    static void SetUpTestSuite() {
        Manager = kvfw::MakeManager(nullptr, LightSkin());
        Form = std::make_unique<kvfw::TTestForm>(320, 120);
    }
    static void TearDownTestSuite() {
        Form.reset();
        Manager.reset();
    }
    // A full 200 x 25 bar whose light's middle column lies over x = 0 (a paint frees the
    // cache again: PrepareCache before reading it).
    TsGauge* LitGauge(const std::wstring& progressSkin) {
        auto* g = new TsGauge(Form.get());
        g->BeginLoading();
        g->SkinData().SetSkinSection(L"GAUGE");
        g->SetBounds(10, 10, 200, 25);
        g->SetMaxValue(4);
        g->SetParent(Form.get());
        g->Loaded();
        g->LightTimer().SetEnabled(false);
        g->SetShowText(false);
        g->SetProgressSkin(progressSkin);
        g->SetProgress(4);
        while (g->AnimPos() != -150) g->LightStep();
        return g;
    }
    static std::unique_ptr<TsSkinManager> Manager;
    static std::unique_ptr<kvfw::TTestForm> Form;
};
std::unique_ptr<TsSkinManager> GaugeLightTest::Manager;
std::unique_ptr<kvfw::TTestForm> GaugeLightTest::Form;

uint32_t Red(uint32_t rgb) { return (rgb >> 16) & 0xFF; }

}  // namespace

TEST(GaugeLightRegion, BlendsEachPixelByTheRegionsRedByte) {
    struct Case {
        uint32_t picture, light, region, expected;
    };
    // Channel 0x40 under a white light of alpha 128: 0x40 + 0xBF * a div 256.
    const Case cases[] = {
        {0xFF404040u, 0x80FFFFFFu, 0xFF000000u, 0xFF9F9F9Fu},  // m 0: a = 128, + 95
        {0xFF404040u, 0x80FFFFFFu, 0xFF800000u, 0xFF6F6F6Fu},  // m 128: a = 63, + 47
        {0xFF404040u, 0x80FFFFFFu, 0xFFFF0000u, 0xFF404040u},  // m 255: unchanged
        {0xFF404040u, 0x00FFFFFFu, 0xFF000000u, 0xFF404040u},  // no light at all
        {0x00C02010u, 0xFF000000u, 0xFF000000u, 0x00010101u},  // black at full alpha: c - c * 255 div 256
        {0xFF404040u, 0xFFFFFFFFu, 0xFF01FFFFu, 0xFFFCFCFCu},  // only the red byte counts: m 1, a = 253
    };
    for (const Case& c : cases) {
        rd::TMemBitmap32 picture(3, 1), light(1, 1), region(3, 1);
        for (int x = 0; x < 3; ++x) {
            picture.Row(0)[x] = c.picture;
            region.Row(0)[x] = c.region;
        }
        light.Row(0)[0] = c.light;
        // The light's only column lies over x = 1; the columns beside it stay as they were.
        BlendLightThroughRegion(picture, light, region, 1, 0, 3);
        EXPECT_EQ(picture.Row(0)[1], c.expected) << std::hex << c.picture << " " << c.light << " " << c.region;
        EXPECT_EQ(picture.Row(0)[0], c.picture);
        EXPECT_EQ(picture.Row(0)[2], c.picture);
    }
}

TEST(GaugeLightRegion, ReadsNothingOutsideThePictures) {
    rd::TMemBitmap32 picture(4, 2), light(300, 3), region(2, 1);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x) picture.Row(y)[x] = 0xFF404040u;
    for (int x = 0; x < 300; ++x)
        for (int y = 0; y < 3; ++y) light.Row(y)[x] = 0xFFFFFFFFu;
    // A light far to the left, columns asked far outside, and a region that ends before the
    // light begins: nothing is read or written outside the pictures, nothing changes.
    BlendLightThroughRegion(picture, light, region, -1000, -50, 5000);
    BlendLightThroughRegion(picture, light, region, 2, 0, 4);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(picture.Row(y)[x], 0xFF404040u) << x << "," << y;
    // Over the region's two columns and the picture's first row only (the region has one).
    BlendLightThroughRegion(picture, light, region, 0, 0, 4);
    EXPECT_EQ(picture.Row(0)[1], 0xFFFEFEFEu);  // 0x40 + 0xBF * 255 div 256
    EXPECT_EQ(picture.Row(0)[2], 0xFF404040u);
    EXPECT_EQ(picture.Row(1)[0], 0xFF404040u);
}

TEST_F(GaugeLightTest, TheRegionMaskHoldsTheLightBackWhereItIsLight) {
    TsGauge* masked = LitGauge(L"");
    TsGauge* plain = LitGauge(L"PROGRESSPLAIN");
    ASSERT_TRUE(masked->PrepareCache());
    ASSERT_TRUE(plain->PrepareCache());
    const auto at = [](TsGauge* g, int x, int y) { return kvfw::CachePixel(g->SkinData(), x, y); };
    const uint32_t bar = kvfw::AsRgb(kProgressColor);
    // The mask's magenta corner lies on white (red byte 255): no light there.
    EXPECT_EQ(at(masked, 0, 0), bar);
    EXPECT_GT(Red(at(plain, 0, 0)), Red(bar));
    // The ring (0x80) lets about half the light through, the centre (0x18) nearly all of it.
    for (int x : {5, 60}) {
        const uint32_t ring = Red(at(masked, x, 0)), centre = Red(at(masked, x, 12)), full = Red(at(plain, x, 12));
        EXPECT_GT(ring, Red(bar)) << x;
        EXPECT_LT(ring, Red(at(plain, x, 0))) << x;
        EXPECT_GT(centre, ring) << x;
        EXPECT_LT(centre, full) << x;
        EXPECT_GE(centre - Red(bar), (full - Red(bar)) * 8 / 10) << x;
    }
    // Beyond the light's end the bar is as painted.
    EXPECT_EQ(at(masked, 170, 12), bar);
    EXPECT_EQ(at(plain, 170, 12), bar);
    tk::TComponent::Free(masked);
    tk::TComponent::Free(plain);
}
