// The skinned gauge: percentages with half-to-even rounding, the shown text (CalcPercents,
// Suffix, OnPaintText), which changes repaint and fire OnChange, the MinValue / MaxValue rules
// and their error text, the pair fixed after loading, the filled part and its light painted
// from the skin, the light's timer, and a skin without the gauge's sections.
#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>

#include "controls/sGauge.h"
#include "tests/win_framework/FrameworkFixture.h"
#include "tests/win_framework/TestControls.h"
#include "toolkit/Classes.h"

using namespace sk;

namespace {

constexpr rd::TColor kGaugeColor = 0x00102030;     // "GAUGE"
constexpr rd::TColor kProgressColor = 0x00205080;  // "PROGRESSH"

std::string GaugeSkin() {
    return kvfw::TestSkinOptions() + "[GAUGE]\nSTATES=1\nCOLOR=" + std::to_string(kGaugeColor) +
           "\nFONTCOLOR=14474978\n[PROGRESSH]\nSTATES=1\nCOLOR=" + std::to_string(kProgressColor) +
           "\nFONTCOLOR=0\n";
}

uint32_t Rgb(rd::TColor bgr) { return ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF); }

// Counts the paints the parent asks of it.
class TCountingGauge : public TsGauge {
public:
    using TsGauge::TsGauge;
    void Paint(tk::TCanvas& canvas) override {
        ++Paints;
        TsGauge::Paint(canvas);
    }
    int Paints = 0;
};

struct GaugeFixture : ::testing::Test {
    static void SetUpTestSuite() {
        Manager = kvfw::MakeManager(nullptr, GaugeSkin());
        Form = std::make_unique<kvfw::TTestForm>(320, 120);
    }
    static void TearDownTestSuite() {
        Form.reset();
        Manager.reset();
    }
    void SetUp() override {
        Gauge = new TCountingGauge(Form.get());
        Gauge->BeginLoading();
        Gauge->SkinData().SetSkinSection(L"GAUGE");
        Gauge->SetBounds(10, 10, 200, 25);
        Gauge->SetMaxValue(4);
        Gauge->SetProgress(0);
        Gauge->SetParent(Form.get());
        Gauge->Loaded();
        Gauge->SetAnimated(false);
        Gauge->OnChange = [this](tk::TObject*) { ++Changes; };
        kvfw::PumpMessages();
        Gauge->Paints = 0;
    }
    void TearDown() override { tk::TComponent::Free(Gauge); }
    uint32_t Pixel(int x, int y) { return kvfw::CachePixel(Gauge->SkinData(), x, y); }

    static std::unique_ptr<TsSkinManager> Manager;
    static std::unique_ptr<kvfw::TTestForm> Form;
    TCountingGauge* Gauge = nullptr;
    int Changes = 0;
};
std::unique_ptr<TsSkinManager> GaugeFixture::Manager;
std::unique_ptr<kvfw::TTestForm> GaugeFixture::Form;

TEST(GaugePercent, RoundsHalfToEven) {
    struct Case {
        int min, max, progress, percent;
    };
    const Case cases[] = {
        {0, 4, 1, 25},   {0, 4, 4, 100},   {0, 8, 1, 12},  {0, 8, 3, 38},   {0, 8, 5, 62},
        {0, 8, 7, 88},   {5, 5, 5, 0},     {0, 4, 0, 0},   {-10, 10, 0, 50}, {-8, 0, -7, 12},
        {0, 200, 1, 0},  {0, 200, 3, 2},   {INT_MIN, INT_MAX, 0, 50},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.percent, GaugePercent(c.min, c.max, c.progress)) << c.progress << " of " << c.min << ".." << c.max;
}

TEST_F(GaugeFixture, StepsBeyondTheMaximumChangeNothing) {
    const wchar_t* texts[] = {L"25%", L"50%", L"75%", L"100%", L"100%", L"100%"};
    const int paints[] = {1, 2, 3, 4, 4, 4};
    for (int i = 0; i < 6; ++i) {
        Gauge->SetProgress(Gauge->Progress() + 1);
        EXPECT_EQ(std::min(i + 1, 4), Gauge->Progress()) << "call " << i + 1;
        EXPECT_EQ(texts[i], Gauge->Text()) << "call " << i + 1;
        EXPECT_EQ(paints[i], Gauge->Paints) << "call " << i + 1;
    }
    EXPECT_EQ(4, Changes);
}

TEST_F(GaugeFixture, EqualLimitsShowZeroPercent) {
    Gauge->SetMaxValue(0);
    Gauge->SetProgress(7);
    EXPECT_EQ(0, Gauge->Progress());
    EXPECT_EQ(L"0%", Gauge->Text());
}

TEST_F(GaugeFixture, RawValueTextRepaintsWhenOnlyTheValueChanges) {
    Gauge->SetMaxValue(1000);
    Gauge->SetCalcPercents(false);
    Gauge->SetProgress(1);
    kvfw::PumpMessages();
    const int before = Gauge->Paints;
    Gauge->SetProgress(2);  // 0 % both times; the raw text changes
    EXPECT_EQ(L"2%", Gauge->Text());
    EXPECT_GT(Gauge->Paints, before);
    Gauge->SetMaxValue(4);
    Gauge->SetProgress(3);
    EXPECT_EQ(L"3%", Gauge->Text());
}

TEST_F(GaugeFixture, SuffixAndOnPaintText) {
    Gauge->SetProgress(2);
    Gauge->SetSuffix(L" pct");
    EXPECT_EQ(L"50 pct", Gauge->Text());
    Gauge->OnPaintText = [](tk::TObject*, std::wstring& text) { text = L"[" + text + L"]"; };
    EXPECT_EQ(L"[50 pct]", Gauge->Text());
    Gauge->OnPaintText = nullptr;
}

TEST_F(GaugeFixture, RangeRulesAndTheirMessages) {
    struct Case {
        int min, max;  // the range set before
        bool setMin;   // set MinValue (else MaxValue)
        int value;
        const wchar_t* message;
    };
    const Case cases[] = {
        {0, 100, true, 101, L"Value must be between -2147483647 and 99"},
        {0, 100, false, -1, L"Value must be between 1 and 2147483647"},
        {INT_MIN, INT_MIN, true, 0, L"Value must be between -2147483647 and -2147483649"},
        {INT_MAX, INT_MAX, false, 0, L"Value must be between 2147483648 and 2147483647"},
    };
    for (const Case& c : cases) {
        Gauge->BeginLoading();
        Gauge->SetMinValue(c.min);
        Gauge->SetMaxValue(c.max);
        Gauge->SetMinValue(c.min);
        Gauge->Loaded();
        Gauge->SetAnimated(false);
        try {
            if (c.setMin) Gauge->SetMinValue(c.value);
            else Gauge->SetMaxValue(c.value);
            ADD_FAILURE() << "no error for " << c.value;
        } catch (const tk::Exception& e) {
            EXPECT_EQ(c.message, e.Message());
        }
        EXPECT_EQ(c.min, Gauge->MinValue());
        EXPECT_EQ(c.max, Gauge->MaxValue());
    }
}

TEST_F(GaugeFixture, ReversedStoredRangeIsPutRightAfterLoading) {
    Gauge->BeginLoading();
    Gauge->SetMinValue(0);
    Gauge->SetMaxValue(0);
    Gauge->SetMinValue(50);  // stored values arrive in any order: accepted while loading
    Gauge->SetMaxValue(10);
    Gauge->Loaded();
    EXPECT_LE(Gauge->MinValue(), Gauge->MaxValue());
    EXPECT_EQ(10, Gauge->MinValue());
    EXPECT_EQ(50, Gauge->MaxValue());
    EXPECT_GE(Gauge->Progress(), 10);
}

TEST_F(GaugeFixture, MinAndMaxPullTheValueAlong) {
    Gauge->SetMaxValue(100);
    Gauge->SetProgress(40);
    Gauge->SetMinValue(60);
    EXPECT_EQ(60, Gauge->Progress());
    Gauge->SetMaxValue(70);
    Gauge->SetProgress(70);
    Gauge->SetMaxValue(65);
    EXPECT_EQ(65, Gauge->Progress());
}

TEST_F(GaugeFixture, FilledPartFromTheProgressSection) {
    Gauge->SetShowText(false);
    struct Case {
        int progress, filled;
    };
    const Case cases[] = {{0, 0}, {1, 50}, {2, 100}, {3, 150}, {4, 200}};
    for (const Case& c : cases) {
        Gauge->SetProgress(c.progress);
        ASSERT_TRUE(Gauge->PrepareCache());
        EXPECT_EQ(c.filled, Gauge->FilledWidth());
        if (c.filled > 0) {
            EXPECT_EQ(Rgb(kProgressColor), Pixel(c.filled - 1, 12)) << c.progress;
        }
        if (c.filled < 200) {
            EXPECT_EQ(Rgb(kGaugeColor), Pixel(c.filled, 12)) << c.progress;
        }
    }
}

TEST_F(GaugeFixture, VerticalBarFillsFromTheBottomWithAndWithoutTheLight) {
    Gauge->SetShowText(false);
    Gauge->SetKind(TsGaugeKind::gkVerticalBar);
    Gauge->SetProgress(2);
    EXPECT_EQ(12, Gauge->FilledHeight()) << "round(25 * 50 / 100), half to even";
    for (bool animated : {false, true}) {
        Gauge->SetAnimated(animated);
        Gauge->LightTimer().SetEnabled(false);
        ASSERT_TRUE(Gauge->PrepareCache());
        EXPECT_EQ(Rgb(kProgressColor), Pixel(5, 24)) << "animated " << animated;
        EXPECT_EQ(Rgb(kProgressColor), Pixel(195, 13)) << "animated " << animated;
        EXPECT_EQ(Rgb(kGaugeColor), Pixel(5, 12)) << "animated " << animated;
        EXPECT_EQ(Rgb(kGaugeColor), Pixel(195, 0)) << "animated " << animated;
    }
}

TEST_F(GaugeFixture, TextIsWrittenOverBothParts) {
    Gauge->SetProgress(2);
    ASSERT_TRUE(Gauge->PrepareCache());
    int onEmpty = 0, onFilled = 0;
    for (int y = 0; y < 25; ++y)
        for (int x = 0; x < 200; ++x) {
            const uint32_t p = Pixel(x, y);
            if (x < 100 && p != Rgb(kProgressColor)) ++onFilled;
            if (x >= 100 && p != Rgb(kGaugeColor)) ++onEmpty;
        }
    EXPECT_GT(onFilled, 0) << "text over the filled part";
    EXPECT_GT(onEmpty, 0) << "text over the empty part";
}

TEST_F(GaugeFixture, LightRunsOnItsTimerAcrossTheFilledPart) {
    EXPECT_EQ(kGaugeLightIntervalMs, Gauge->LightTimer().Interval());
    Gauge->SetAnimated(true);
    EXPECT_TRUE(Gauge->LightTimer().Enabled());
    Gauge->SetShowText(false);
    Gauge->SetProgress(4);
    // Ticks: the first only counts time (a run starts once more than 2222 ms passed); the
    // second starts a run at -300 and moves by max(15, round(200 / 50.5)) = 15.
    Gauge->LightStep();
    EXPECT_EQ(9999, Gauge->AnimPos());
    Gauge->LightStep();
    EXPECT_EQ(-300 + 15, Gauge->AnimPos());
    EXPECT_EQ(22, Gauge->LongTime());
    while (Gauge->AnimPos() < -150) Gauge->LightStep();
    ASSERT_TRUE(Gauge->PrepareCache());
    // The light's middle lies at AnimPos + 150: lighter than the bar there, the bar beyond it.
    const int middle = Gauge->AnimPos() + 150;
    const uint32_t lit = Pixel(middle, 12), plain = Pixel(middle + 160, 12);
    EXPECT_EQ(Rgb(kProgressColor), plain);
    EXPECT_GT(lit & 0xFF, plain & 0xFF);
    EXPECT_GT((lit >> 16) & 0xFF, (plain >> 16) & 0xFF);
    Gauge->SetAnimated(false);
    EXPECT_FALSE(Gauge->LightTimer().Enabled());
}

TEST_F(GaugeFixture, LightRunsEndAndRestart) {
    Gauge->SetProgress(1);
    Gauge->LightStep();
    Gauge->LightStep();
    int ticks = 0;
    while (Gauge->AnimPos() < Gauge->Width() && ticks < 1000) {
        Gauge->LightStep();
        ++ticks;
    }
    const int endPos = Gauge->AnimPos();
    Gauge->LightStep();
    EXPECT_EQ(endPos, Gauge->AnimPos()) << "the run is over: the light waits";
    while (Gauge->LongTime() <= kGaugeLightRunMs) Gauge->LightStep();
    Gauge->LightStep();
    EXPECT_EQ(-300 + 15, Gauge->AnimPos()) << "a new run";
}

TEST_F(GaugeFixture, LightBitmapRisesToTheMiddle) {
    tk::TBitmap light;
    MakeGaugeLight(light, kGaugeLightLength, 20);
    auto alpha = [&](int x, int y) { return light.ScanLine(y)[x] >> 24; };
    EXPECT_EQ(0u, alpha(0, 10));
    EXPECT_EQ(0u, alpha(299, 10));
    EXPECT_GT(alpha(150, 0), alpha(150, 10)) << "stronger in the top row";
    EXPECT_GT(alpha(150, 10), alpha(60, 10));
    EXPECT_EQ(0x00FFFFFFu, light.ScanLine(5)[100] & 0x00FFFFFFu);
}

TEST_F(GaugeFixture, PieAndNeedleDrawInForeColor) {
    Gauge->SetShowText(false);
    Gauge->SetForeColor(0x0000FF);
    for (TsGaugeKind kind : {TsGaugeKind::gkPie, TsGaugeKind::gkNeedle}) {
        Gauge->SetKind(kind);
        Gauge->SetProgress(3);
        ASSERT_TRUE(Gauge->PrepareCache());
        int red = 0;
        for (int y = 0; y < 25; ++y)
            for (int x = 0; x < 200; ++x) red += Pixel(x, y) == 0xFF0000;
        EXPECT_GT(red, 0) << static_cast<int>(kind);
    }
}

TEST(GaugeWithoutSections, PaintsTheTextAndNoBar) {
    auto manager = kvfw::MakeManager();  // no "GAUGE", no "PROGRESSH"
    kvfw::TTestForm form(200, 60);
    auto* gauge = new TsGauge(&form);
    gauge->BeginLoading();
    gauge->SetBounds(5, 5, 120, 30);
    gauge->SetMaxValue(4);
    gauge->SetProgress(4);
    gauge->SetParent(&form);
    gauge->Loaded();
    EXPECT_EQ(120, gauge->FilledWidth());
    gauge->PrepareCache();
    gauge->LightStep();
    gauge->LightStep();
    UpdateWindow(form.Handle());
    EXPECT_EQ(L"100%", gauge->Text());
    tk::TComponent::Free(gauge);
}

}  // namespace
