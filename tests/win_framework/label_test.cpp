// The skinned labels: the effect label's shadow (the text's own shape blurred, composed over
// what lies behind), its extents and the move that keeps the text in place, the embossed
// disabled look, its text colours; the plain label's colours and word ellipsis; the web label
// under real mouse input (colours, hover font, hand cursor) and opening its address on the press.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "controls/sLabel.h"
#include "render/sAlphaGraph.h"
#include "render/sGraphUtils.h"
#include "skinpaint/sTextOutput.h"
#include "tests/common/SyntheticInput.h"
#include "tests/win_framework/FrameworkFixture.h"
#include "tests/win_framework/TestControls.h"

using namespace sk;

namespace {

// Runs messages until done() or ms have passed; done()'s last answer.
bool PumpUntil(const std::function<bool()>& done, int ms = 2000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        kvfw::PumpMessages();
        Sleep(5);
    }
    return true;
}

void PumpFor(int ms) { PumpUntil([] { return false; }, ms); }

void SendMouse(DWORD flags) { synthetic::mouse(flags); }

// Moves the real cursor to a client point of a window and lets the moves arrive.
void MoveMouseTo(HWND window, int x, int y) {
    POINT p{x, y};
    ClientToScreen(window, &p);
    SetCursorPos(p.x, p.y);
    SendMouse(MOUSEEVENTF_MOVE);
    PumpFor(60);
}

constexpr rd::TColor kTextLeft = 0x0000D0F0;   // GLOBALINFO TCLEFT: effect labels' text
constexpr rd::TColor kWebHot = 0x000000E0;     // GLOBALINFO TCTOP: pcWebTextHot
constexpr rd::TColor kWebText = 0x00E00000;    // GLOBALINFO TCBOTTOM: pcWebText
constexpr rd::TColor kLabelText = 14474978;    // GLOBALINFO FONTCOLOR: pcLabelText
constexpr rd::TColor kPanelFont = 0x0000A000;  // PANEL FONTCOLOR
constexpr rd::TColor kBackground = 0x00403020;

std::string LabelSkin(const std::string& globalExtra = "") {
    std::string options = kvfw::TestSkinOptions();
    const std::string global = "[GLOBALINFO]\n";
    options.insert(global.size(), "TCLEFT=" + std::to_string(kTextLeft) + "\nTCTOP=" + std::to_string(kWebHot) +
                                      "\nTCBOTTOM=" + std::to_string(kWebText) + "\n" + globalExtra);
    const std::string panel = "[PANEL]\nSTATES=1\n";
    options.insert(options.find(panel) + panel.size(), "FONTCOLOR=" + std::to_string(kPanelFont) + "\n");
    return options;
}

// Pixels as 0x00RRGGBB, row by row.
using TPixels = std::vector<uint32_t>;

struct TPicture {
    int Width = 0, Height = 0;
    TPixels Pixels;
    uint32_t At(int x, int y) const { return Pixels[static_cast<size_t>(y) * static_cast<size_t>(Width) + static_cast<size_t>(x)]; }
};

TPicture Read(tk::TBitmap& bmp) {
    GdiFlush();
    TPicture p{bmp.Width(), bmp.Height(), {}};
    for (int y = 0; y < bmp.Height(); ++y)
        for (int x = 0; x < bmp.Width(); ++x) p.Pixels.push_back(bmp.ScanLine(y)[x] & 0xFFFFFF);
    return p;
}

void Fill(tk::TBitmap& bmp, rd::TColor color) {
    HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(rd::ColorToRGB(color)));
    RECT r{0, 0, bmp.Width(), bmp.Height()};
    FillRect(bmp.Canvas().Handle(), &r, brush);
    DeleteObject(brush);
}

// The label painted over a plain background, as its parent's paint would.
TPicture PaintOver(tk::TControl& label, rd::TColor background = kBackground) {
    tk::TBitmap bmp(label.Width(), label.Height());
    Fill(bmp, background);
    tk::TCanvas canvas(bmp.Canvas().Handle());
    label.Paint(canvas);
    return Read(bmp);
}

// The text alone drawn with the label's font at (x, y): white on black.
TPicture TextShape(tk::TLabel& label, int width, int height, int x, int y, UINT flags) {
    tk::TBitmap bmp(width, height);
    Fill(bmp, 0);
    HDC dc = bmp.Canvas().Handle();
    SelectObject(dc, label.Font().Handle());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, 0xFFFFFF);
    RECT r{x, y, width, height};
    const std::wstring text = label.Caption();
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, flags);
    return Read(bmp);
}

uint32_t Rgb(rd::TColor c) { return kvfw::AsRgb(rd::ColorToRGB(c)); }

uint8_t Channel(uint32_t rgb, int shift) { return static_cast<uint8_t>((rgb >> shift) & 0xFF); }

// The shadow as the label is meant to make it, written out plainly: the shape stamped at 255
// and smoothed in place with its four neighbours, `passes` times, then the shadow colour mixed
// over the background by coverage x alpha / 256; the text drawn on top afterwards.
TPicture ExpectedShadow(const TPicture& shape, int passes, uint32_t background, uint32_t shadow, int alpha) {
    const int w = shape.Width + 2, h = shape.Height + 2;
    std::vector<std::vector<int>> c(static_cast<size_t>(h), std::vector<int>(static_cast<size_t>(w), 0));
    for (int pass = 0; pass < passes; ++pass) {
        for (int y = 0; y < shape.Height; ++y)
            for (int x = 0; x < shape.Width; ++x)
                if (shape.At(x, y) & 0xFF) c[static_cast<size_t>(y + 1)][static_cast<size_t>(x + 1)] = 255;
        for (int y = 1; y < h - 1; ++y)
            for (int x = 1; x < w - 1; ++x) {
                auto& cell = c[static_cast<size_t>(y)][static_cast<size_t>(x)];
                cell = (c[static_cast<size_t>(y - 1)][static_cast<size_t>(x)] + c[static_cast<size_t>(y + 1)][static_cast<size_t>(x)] +
                        c[static_cast<size_t>(y)][static_cast<size_t>(x - 1)] + c[static_cast<size_t>(y)][static_cast<size_t>(x + 1)]) / 4;
            }
    }
    TPicture out{shape.Width, shape.Height, {}};
    for (int y = 0; y < shape.Height; ++y)
        for (int x = 0; x < shape.Width; ++x) {
            const int l = c[static_cast<size_t>(y + 1)][static_cast<size_t>(x + 1)] * alpha / 256;
            uint32_t pixel = 0;
            for (int shift : {0, 8, 16}) {
                const int mixed = Channel(background, shift) * (255 - l) / 256 + Channel(shadow, shift) * l / 256;
                pixel |= static_cast<uint32_t>(mixed) << shift;
            }
            out.Pixels.push_back(pixel);
        }
    return out;
}

// The expected picture with the text itself drawn over it in color at (x, y).
TPicture WithText(tk::TLabel& label, const TPicture& under, int x, int y, uint32_t color, UINT flags) {
    tk::TBitmap bmp(under.Width, under.Height);
    for (int row = 0; row < under.Height; ++row)
        for (int col = 0; col < under.Width; ++col) bmp.ScanLine(row)[col] = under.At(col, row);
    HDC dc = bmp.Canvas().Handle();
    SelectObject(dc, label.Font().Handle());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(Channel(color, 16), Channel(color, 8), Channel(color, 0)));
    RECT r{x, y, under.Width, under.Height};
    const std::wstring text = label.Caption();
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, flags);
    return Read(bmp);
}

int Differences(const TPicture& a, const TPicture& b) {
    if (a.Width != b.Width || a.Height != b.Height) return -1;
    int n = 0;
    for (size_t i = 0; i < a.Pixels.size(); ++i) n += a.Pixels[i] != b.Pixels[i];
    return n;
}

int Count(const TPicture& p, uint32_t rgb) {
    int n = 0;
    for (uint32_t v : p.Pixels) n += v == rgb;
    return n;
}

constexpr UINT kFxFlags = DT_EXPANDTABS | DT_SINGLELINE | DT_NOCLIP;

class LabelTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        Manager = kvfw::MakeManager(nullptr, LabelSkin()).release();
        Form = new kvfw::TTestForm(360, 200);
        Form->SetColor(kBackground);
        Panel = new kvfw::TTestWinControl(Form, kvfw::kPanelKind, {10, 10, 350, 190}, L"PANEL", L"Panel");
    }
    static void TearDownTestSuite() {
        delete Form;
        delete Manager;
        Form = nullptr;
        Manager = nullptr;
    }
    void TearDown() override { TsWebLabel::UrlOpener = nullptr; }

    // An effect label as the installer stores them: custom shadow, blur 6 in the system
    // highlight colour, distance 1.
    static std::unique_ptr<TsLabelFX> InstallerLikeFX(const std::wstring& caption, int left = 20, int top = 30) {
        auto label = std::make_unique<TsLabelFX>(nullptr);
        label->Font().Name = L"MS Sans Serif";
        label->Font().Height = -13;
        label->Font().Changed();
        label->Shadow().SetMode(TsShadowMode::smCustom);
        label->Shadow().SetColor(tk::clHighlight);
        label->Shadow().SetBlurCount(6);
        label->SetCaption(caption);
        label->SetBounds(left, top, label->Width(), label->Height());  // placed as the description places it
        return label;
    }

    static inline TsSkinManager* Manager = nullptr;
    static inline kvfw::TTestForm* Form = nullptr;
    static inline kvfw::TTestWinControl* Panel = nullptr;
};

TEST(LabelShadow, ExtentsAreSignedAndReachBlurBeyondTheOffset) {
    const struct {
        int offset, blur, leftTop, rightBottom;
    } cases[] = {
        {1, 6, -5, 7},  // the installer's labels
        {0, 0, 0, 0},   {1, 0, 0, 1},  {-3, 2, -5, 0}, {5, 2, 0, 7},
        {0, 4, -4, 4},  {2, 32, -30, 34},
    };
    for (const auto& c : cases) {
        const TShadowExtents e = ShadowExtents(c.offset, c.blur);
        EXPECT_EQ(e.LeftTop, c.leftTop) << c.offset << "," << c.blur;
        EXPECT_EQ(e.RightBottom, c.rightBottom) << c.offset << "," << c.blur;
    }
}

TEST_F(LabelTest, ShadowDataFollowsTheModeAndBoundsTheSkinsBlur) {
    const struct {
        const char* name;
        std::string globalKeys;  // shadow keys of the skin
        TsShadowMode mode;
        int blurCount;
        TShadowData expected;
    } cases[] = {
        {"custom", "", TsShadowMode::smCustom, 6, {tk::clHighlight, 6, 1, 255}},
        {"none", "", TsShadowMode::smNone, 6, {0, 0, 0, 0}},
        {"skin without its shadow: custom", "", TsShadowMode::smSkin1, 6, {tk::clHighlight, 6, 1, 255}},
        {"skin shadow", "SHADOW1COLOR=255\nSHADOW1BLUR=3\nSHADOW1OFFSET=2\n", TsShadowMode::smSkin1, 6, {255, 3, 2, 255}},
        {"skin blur clamped", "SHADOW1COLOR=255\nSHADOW1BLUR=100000\nSHADOW1OFFSET=1\n", TsShadowMode::smSkin1, 6,
         {255, kMaxShadowBlur, 1, 255}},
        {"negative blur count", "", TsShadowMode::smCustom, -4, {tk::clHighlight, 0, 1, 255}},
    };
    for (const auto& c : cases) {
        auto manager = kvfw::MakeManager(nullptr, LabelSkin(c.globalKeys));
        TsLabelFX label(nullptr);
        label.SetSkinManager(manager.get());
        label.Shadow().SetColor(tk::clHighlight);
        label.Shadow().SetMode(c.mode);
        label.Shadow().SetBlurCount(c.blurCount);
        const TShadowData d = label.CurrentShadowData();
        EXPECT_EQ(d.Color, c.expected.Color) << c.name;
        EXPECT_EQ(d.Blur, c.expected.Blur) << c.name;
        EXPECT_EQ(d.Offset, c.expected.Offset) << c.name;
        EXPECT_EQ(d.Alpha, c.expected.Alpha) << c.name;
    }
}

TEST_F(LabelTest, TheShadowIsTheTextsOwnShapeBlurredInTheHighlightColour) {
    auto label = InstallerLikeFX(L"Путь установки");
    const int w = label->Width(), h = label->Height();
    const TPicture painted = PaintOver(*label);

    // Blur 6 at distance 1: the text 5 pixels in, the shadow's shape 1 pixel further.
    const TPicture shape = TextShape(*label, w, h, 6, 6, kFxFlags);
    const TPicture shadow = ExpectedShadow(shape, 6, Rgb(kBackground), Rgb(tk::clHighlight), 255);
    const TPicture expected = WithText(*label, shadow, 5, 5, Rgb(kTextLeft), kFxFlags);
    EXPECT_EQ(Differences(painted, expected), 0);

    // The text in the skin's colour; the shadow never reaches the full highlight colour,
    // because even the text's own pixels are averaged by the last pass.
    EXPECT_GT(Count(painted, Rgb(kTextLeft)), 10);
    EXPECT_EQ(Count(painted, Rgb(tk::clHighlight)), 0);
    const uint32_t bg = Rgb(kBackground);
    int shaded = 0;
    for (uint32_t v : painted.Pixels) shaded += v != bg && v != Rgb(kTextLeft);
    EXPECT_GT(shaded, 50) << "a soft shadow around the text";
}

TEST_F(LabelTest, NoBlurOrNoShadowColourDrawsOnlyTheText) {
    const struct {
        const char* name;
        int blur;
        rd::TColor color;
    } cases[] = {{"blur 0", 0, tk::clHighlight}, {"no colour", 6, rd::clNone}};
    for (const auto& c : cases) {
        auto label = InstallerLikeFX(L"Язык интерфейса");
        label->Shadow().SetBlurCount(c.blur);
        label->Shadow().SetColor(c.color);
        const TShadowExtents e = ShadowExtents(1, c.blur);
        const TPicture painted = PaintOver(*label);
        TPicture plain{label->Width(), label->Height(),
                       TPixels(static_cast<size_t>(label->Width() * label->Height()), Rgb(kBackground))};
        const TPicture expected = WithText(*label, plain, -e.LeftTop, -e.LeftTop, Rgb(kTextLeft), kFxFlags);
        EXPECT_EQ(Differences(painted, expected), 0) << c.name;
    }
}

TEST_F(LabelTest, AnAutoSizedLabelHoldsItsTextAndTheShadowExtents) {
    auto label = InstallerLikeFX(L"Добро пожаловать");
    const SIZE text = rd::MeasureText(label->Font().Handle(), L"Добро пожаловать", 0, 0, false);
    EXPECT_EQ(label->Width(), text.cx + 12);
    EXPECT_EQ(label->Height(), text.cy + 12);
    EXPECT_EQ(label->Shadow().OffsetKeeper.LeftTop, -5);
    EXPECT_EQ(label->Shadow().OffsetKeeper.RightBottom, 7);
}

TEST_F(LabelTest, ChangingTheBlurMovesTheLabelSoTheTextStaysInPlace) {
    const struct {
        bool autoSize;
        int blur, left, top, widthChange;
    } cases[] = {
        {true, 2, 24, 34, -8},  {true, 10, 16, 26, 8}, {true, 6, 20, 30, 0},
        {false, 2, 24, 34, -8}, {false, 0, 25, 35, -11},
    };
    for (const auto& c : cases) {
        auto label = InstallerLikeFX(L"?");
        label->SetAutoSize(c.autoSize);
        const int width = label->Width(), height = label->Height();
        label->Shadow().SetBlurCount(c.blur);
        EXPECT_EQ(label->Left(), c.left) << c.blur;
        EXPECT_EQ(label->Top(), c.top) << c.blur;
        EXPECT_EQ(label->Width(), width + c.widthChange) << c.blur;
        EXPECT_EQ(label->Height(), height + c.widthChange) << c.blur;
    }
    // A move from outside is the new base of the next change.
    auto label = InstallerLikeFX(L"?");
    label->SetBounds(100, 50, label->Width(), label->Height());
    label->Shadow().SetBlurCount(2);
    EXPECT_EQ(label->Left(), 104);
    EXPECT_EQ(label->Top(), 54);
}

TEST_F(LabelTest, ADisabledEffectLabelIsEmbossedWithoutShadow) {
    auto label = InstallerLikeFX(L"Путь установки");
    label->SetParent(Form);
    label->SetEnabled(false);
    const TPicture painted = PaintOver(*label);
    label->SetParent(nullptr);
    const uint32_t bg = Rgb(kBackground), light = Rgb(tk::clBtnHighlight), dark = Rgb(tk::clBtnShadow);
    TPicture plain{label->Width(), label->Height(), TPixels(static_cast<size_t>(label->Width() * label->Height()), bg)};
    const TPicture expected = WithText(*label, WithText(*label, plain, 6, 6, light, kFxFlags), 5, 5, dark, kFxFlags);
    EXPECT_EQ(Differences(painted, expected), 0);
    EXPECT_GT(Count(painted, dark), 10);
    EXPECT_GT(Count(painted, light), 10);
}

TEST_F(LabelTest, TheEffectTextColourComesFromItsKind) {
    const struct {
        const char* name;
        TsKindType kind;
        std::wstring section;
        std::string skin;
        rd::TColor expected;
    } cases[] = {
        {"standard: the label's colour", TsKindType::ktStandard, L"", LabelSkin(), 0x00123456},
        {"custom: the kind's colour", TsKindType::ktCustom, L"", LabelSkin(), 0x00654321},
        {"skin: the general section's left contour", TsKindType::ktSkin, L"", LabelSkin(), kTextLeft},
        {"skin with a section: its font colour", TsKindType::ktSkin, L"BUTTON", LabelSkin(), 14474978},
        {"skin without a left contour: the kind's colour", TsKindType::ktSkin, L"", kvfw::TestSkinOptions(),
         0x00654321},
    };
    for (const auto& c : cases) {
        auto manager = kvfw::MakeManager(nullptr, c.skin);
        TsLabelFX label(nullptr);
        label.SetSkinManager(manager.get());
        label.SetColor(0x00123456);
        label.SetKind({c.kind, 0x00654321});
        label.SetSkinSection(c.section);
        EXPECT_EQ(label.GetCurrentFontColor(), c.expected) << c.name;
    }
}

TEST_F(LabelTest, APlainLabelTakesItsSectionsOrItsParentsFontColour) {
    const struct {
        const char* name;
        bool useSkinColor, enabled;
        std::wstring section;
        tk::TWinControl* parent;
        rd::TColor expected;
    } cases[] = {
        {"skin colours off: the font's", false, true, L"BUTTON", Panel, 0x00345678},
        {"its own section", true, true, L"BUTTON", Panel, 14474978},
        {"a fully transparent section shows the parent's", true, true, L"CHECKBOX", Panel, kPanelFont},
        {"no section: the parent's", true, true, L"", Panel, kPanelFont},
        {"a parent without a section: the label colour", true, true, L"", Form, kLabelText},
        {"disabled: 40 % over the parent's colour", true, false, L"BUTTON", Form,
         static_cast<rd::TColor>(rd::InterpolateColor(14474978, static_cast<uint32_t>(rd::ColorToRGB(kBackground)),
                                                      rd::DisabledBlendLevel))},
    };
    for (const auto& c : cases) {
        auto label = std::make_unique<TsLabel>(nullptr);
        label->SetParent(c.parent);
        label->Font().Color = 0x00345678;
        label->SetUseSkinColor(c.useSkinColor);
        label->SetSkinSection(c.section);
        label->SetEnabled(c.enabled);
        EXPECT_EQ(label->GetCurrentFontColor(), c.expected) << c.name;
        label->SetParent(nullptr);
    }
}

TEST(LabelEllipsis, WordsAreCutUntilTheTextFitsAndAWordAloneEndsTheLoop) {
    HDC dc = GetDC(nullptr);
    tk::TFont font;
    SelectObject(dc, font.Handle());
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    const int line = tm.tmHeight;
    const UINT flags = DT_WORDBREAK | DT_END_ELLIPSIS;
    const struct {
        const char* name;
        std::wstring text;
        int width, maxHeight;
        std::wstring expected;
    } cases[] = {
        {"fits: unchanged", L"one two", 400, line, L"one two"},
        {"a long word alone stays one line: unchanged", L"Supercalifragilisticexpialidocious", 20, line,
         L"Supercalifragilisticexpialidocious"},
        {"no room at all: the last word alone ends the loop", L"Supercalifragilisticexpialidocious", 20, 0,
         L"Supercalifragilisticexpialidocious..."},
        {"tabs are separators too", L"alpha\tbeta\tgamma\tdelta", 1, 0, L"alpha..."},
    };
    for (const auto& c : cases) EXPECT_EQ(CutWordsToFit(dc, c.text, c.width, c.maxHeight, flags), c.expected) << c.name;

    // A long sentence in two lines' room keeps whole words and fits.
    const std::wstring sentence = L"the quick brown fox jumps over the lazy dog again and again";
    SIZE whole{};
    GetTextExtentPoint32W(dc, sentence.c_str(), static_cast<int>(sentence.size()), &whole);
    const std::wstring cut = CutWordsToFit(dc, sentence, whole.cx / 3, 2 * line, flags);
    ASSERT_GE(cut.size(), 4u);
    EXPECT_EQ(cut.substr(cut.size() - 3), L"...");
    EXPECT_EQ(sentence.rfind(cut.substr(0, cut.size() - 3), 0), 0u) << "a prefix of whole words";
    RECT r{0, 0, whole.cx / 3, 0};
    DrawTextW(dc, cut.c_str(), static_cast<int>(cut.size()), &r, DT_WORDBREAK | DT_CALCRECT);
    EXPECT_LE(r.bottom, 2 * line);
    ReleaseDC(nullptr, dc);
}

TEST(LabelText, TheAcceleratorMarkIsNotDrawnAndAnEmptyLabelKeepsALine) {
    tk::TLabel withMark(nullptr), plain(nullptr), literal(nullptr), empty(nullptr);
    withMark.SetCaption(L"&Folder");
    plain.SetCaption(L"Folder");
    literal.SetShowAccelChar(false);
    literal.SetCaption(L"&Folder");
    EXPECT_EQ(withMark.Width(), plain.Width());
    EXPECT_GT(literal.Width(), plain.Width());
    EXPECT_EQ(empty.DrawnText(), L" ");
    withMark.SetCaption(L"&");
    EXPECT_EQ(withMark.DrawnText(), L"& ");
    empty.SetCaption(L"x");
    empty.SetCaption(L"");
    EXPECT_GT(empty.Height(), 0);
}

// The web label on the PANEL section under real mouse input.
class WebLabelTest : public LabelTest {
protected:
    void SetUp() override {
        Label = new TsWebLabel(Panel);
        Label->SetParent(Panel);
        Label->SetBounds(40, 40, 10, 10);
        Label->Font().Color = 0x00777777;
        Label->HoverFont().Color = 0x00888888;
        Label->HoverFont().Height = -16;
        Label->SetCaption(L"Официальный сайт");
        Label->SetURL(L"https://example.invalid/kalvetra");
        TsWebLabel::UrlOpener = [this](const std::wstring& url, TsWindowShowMode mode) {
            Opened.push_back(url);
            Modes.push_back(mode);
        };
        MoveMouseTo(Form->Handle(), 5, 5);
        PumpFor(50);
    }
    void TearDown() override {
        MoveMouseTo(Form->Handle(), 5, 5);
        delete Label;
        LabelTest::TearDown();
    }
    POINT Centre() const { return {10 + Label->Left() + Label->Width() / 2, 10 + Label->Top() + Label->Height() / 2}; }
    TsWebLabel* Label = nullptr;
    std::vector<std::wstring> Opened;
    std::vector<TsWindowShowMode> Modes;
};

TEST_F(WebLabelTest, ItsColourFollowsTheParentSectionAndTheHotPaletteEntryUnderTheMouse) {
    EXPECT_EQ(Label->GetCurrentFontColor(), kPanelFont) << "not its font colour";
    const int normalHeight = Label->Height();
    const POINT c = Centre();
    MoveMouseTo(Form->Handle(), c.x, c.y);
    ASSERT_TRUE(PumpUntil([&] { return Label->MouseAbove(); }));
    EXPECT_EQ(Label->GetCurrentFontColor(), kWebHot) << "not the hover font's colour";
    EXPECT_EQ(&Label->GetCurrentFont(), &Label->HoverFont());
    EXPECT_GT(Label->Height(), normalHeight) << "auto size follows the larger hover font";
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_HAND));
    PumpFor(100);
    EXPECT_GT(Count(PaintOver(*Label), Rgb(kWebHot)), 10);

    MoveMouseTo(Form->Handle(), 5, 5);
    ASSERT_TRUE(PumpUntil([&] { return !Label->MouseAbove(); }));
    EXPECT_EQ(Label->GetCurrentFontColor(), kPanelFont);
    EXPECT_EQ(Label->Height(), normalHeight);
}

TEST_F(WebLabelTest, WithoutSkinColoursItUsesItsFonts) {
    Label->SetUseSkinColor(false);
    EXPECT_EQ(Label->GetCurrentFontColor(), 0x00777777);
    const POINT c = Centre();
    MoveMouseTo(Form->Handle(), c.x, c.y);
    ASSERT_TRUE(PumpUntil([&] { return Label->MouseAbove(); }));
    EXPECT_EQ(Label->GetCurrentFontColor(), 0x00888888);
}

TEST_F(WebLabelTest, PressingOpensTheAddressOnceOnThePressAndNothingWithoutOne) {
    const POINT c = Centre();
    MoveMouseTo(Form->Handle(), c.x, c.y);
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    ASSERT_TRUE(PumpUntil([&] { return !Opened.empty(); }));
    EXPECT_EQ(Opened, std::vector<std::wstring>{L"https://example.invalid/kalvetra"}) << "before the release";
    EXPECT_EQ(Modes.front(), TsWindowShowMode::soDefault);
    SendMouse(MOUSEEVENTF_LEFTUP);
    PumpFor(100);
    EXPECT_EQ(Opened.size(), 1u) << "the release opens nothing more";

    Label->SetURL(L"");
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    PumpFor(100);
    SendMouse(MOUSEEVENTF_LEFTUP);
    PumpFor(100);
    EXPECT_EQ(Opened.size(), 1u) << "an empty address opens nothing";
}

}  // namespace
