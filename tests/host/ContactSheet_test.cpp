// The contact sheet: which cells it has, what the legend says about them, and that each face
// is exactly what the engine paints for that section.
#include <gtest/gtest.h>

#include "TestFiles.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "ContactSheet.h"
#include "SkinArt.h"
#include "SkinLoad.h"
#include "SkinPackFiles.h"
#include "skinpaint/sSectionPaint.h"
#include "skin/acCodePage.h"
#include "skin/acImageDecode.h"
#include "skin/acntUtils.h"

namespace {

namespace fs = std::filesystem;
using skintool::TSheetBackground;
using skintool::TSheetCell;

fs::path Fresh(const std::string& name) { return kvtest::FreshDir("sheet", name); }
using kvtest::Slurp;

using kvtest::Bmp24;

// Sections: GLOBALINFO, FORM (2 states, border of 2 frames with key-coloured corners),
// BUTTON (3 states, border of 3 frames), PANEL, CHILD of PANEL, GLASS of the transparent
// section, and the TRANSPARENT section the loader adds. Masks: BOXCHECKED (3 frames) and the
// two borders.
fs::path SheetSkin() {
    const fs::path dir = Fresh("skin") / "Sheet";
    fs::create_directories(dir);
    std::vector<uint32_t> px(64 * 32, 0x404040);
    for (int y = 0; y < 26; ++y)
        for (int x = 0; x < 64; ++x) px[size_t(y) * 64 + x] = 0x203040 + uint32_t(x * 3 + y * 5);
    for (int f = 0; f < 2; ++f) px[size_t(10) * 64 + f * 16] = px[size_t(10) * 64 + f * 16 + 1] = 0xFF00FF;
    std::ofstream(dir / "MASTER.BMP", std::ios::binary) << Bmp24(64, 32, px);
    std::ofstream(dir / "Options.dat", std::ios::binary)
        << "[GLOBALINFO]\r\nVERSION=7.20\r\nMASTERBITMAP=MASTER.BMP\r\nCOLOR=2171430\r\n"
           "BOXCHECKED=@0000@0000@0030@0010@3@0\r\n\r\n"
           "[FORM]\r\nSTATES=2\r\nCOLOR=255\r\nHOTCOLOR=65280\r\n"
           "BORDERSMASK=^0000^0010^0032^0026^0004^0004^0004^0004^2^0^0^0\r\n\r\n"
           "[BUTTON]\r\nSTATES=3\r\nCOLOR=16711680\r\nHOTCOLOR=255\r\nGRADIENTPERCENT=100\r\n"
           "GRADIENTDATA=16777215;0;100;0;0\r\n"
           "BORDERSMASK=^0032^0000^0062^0010^0003^0003^0003^0003^3^0^0^0\r\n\r\n"
           "[PANEL]\r\nSTATES=1\r\nCOLOR=1193046\r\n\r\n"
           "[CHILD]\r\nPARENTCLASS=PANEL\r\nTRANSPARENCY=40\r\n\r\n"
           "[GLASS]\r\nPARENTCLASS=TRANSPARENT\r\nSTATES=1\r\nTRANSPARENCY=100\r\n";
    return dir;
}

class ContactSheetTest : public ::testing::Test {
protected:
    void SetUp() override {
        sk::UseHostCodePage(sk::THostCodePage::cp1251);
        Manager = skintool::LoadSkin({SheetSkin(), {}});
    }
    const sk::TSkinModel& Model() const { return Manager->Model(); }

    std::unique_ptr<sk::TSkinManagerCore> Manager;
};

const TSheetCell* Find(const skintool::TContactSheet& sheet, const std::wstring& name, int width, int state,
                       TSheetBackground bg) {
    for (const auto& c : sheet.Cells)
        if (!c.IsMask && c.Name == name && c.Rect.Width() == width && c.State == state && c.Background == bg)
            return &c;
    return nullptr;
}

// What PaintSectionFace gives for the cell's section, size and state over the cell's background.
std::unique_ptr<rd::TMemBitmap32> PaintedDirectly(const sk::TSkinModel& model, const TSheetCell& cell) {
    const int w = cell.Rect.Width(), h = cell.Rect.Height();
    auto face = std::make_unique<rd::TMemBitmap32>(w, h);
    auto checker = skintool::Checkerboard(w, h);
    rd::TCacheInfo bg;
    if (cell.Background == TSheetBackground::Checker) {
        rd::CopyWholeBitmap(*face, *checker);
        bg = rd::CacheInfoForBitmap(checker.get(), 0, 0);
    } else {
        rd::FillPixels32(face.get(), {0, 0, w, h}, cell.BackColor, 255);
        bg.FillColor = cell.BackColor;
    }
    rd::PaintSectionFace(model.GetSkinIndex(cell.Name), L"", bg, -1, -1, &model, face.get(), {0, 0}, {0, 0, w, h},
                         cell.State);
    return face;
}

// Colour channels of the sheet's cell against a picture of the cell's size; the first
// difference, or "" when they agree.
std::string CompareCell(const rd::TBitmap32& sheet, const TSheetCell& cell, const rd::TBitmap32& expected) {
    for (int y = 0; y < cell.Rect.Height(); ++y)
        for (int x = 0; x < cell.Rect.Width(); ++x) {
            const uint32_t got = rd::ReadPixel32(sheet, cell.Rect.Left + x, cell.Rect.Top + y) & 0xFFFFFF;
            const uint32_t want = rd::ReadPixel32(expected, x, y) & 0xFFFFFF;
            if (got != want) {
                std::ostringstream s;
                s << cell.Position << " (" << x << ", " << y << "): " << std::hex << got << " != " << want;
                return s.str();
            }
        }
    return "";
}

std::vector<std::string> LegendRows(const std::string& legend) {
    std::vector<std::string> rows;
    std::istringstream in(legend);
    for (std::string line; std::getline(in, line);)
        if (!line.empty() && line[0] != '#') rows.push_back(line);
    return rows;
}

TEST(ContactSheetColumns, ColumnNamesRunLikeSpreadsheetColumns) {
    const std::pair<int, const char*> cases[] = {{0, "A"},   {1, "B"},   {25, "Z"},   {26, "AA"},
                                                 {27, "AB"}, {51, "AZ"}, {52, "BA"},  {701, "ZZ"},
                                                 {702, "AAA"}};
    for (auto [column, name] : cases) EXPECT_EQ(skintool::ColumnName(column), name) << column;
}

TEST_F(ContactSheetTest, EverySectionSizeStateAndBackgroundAndEveryMaskFrameHasOneCell) {
    const auto sheet = skintool::BuildContactSheet(Model(), {});
    ASSERT_EQ(Model().gd.size(), 7u);
    const size_t faces = 7 * 3 * 3 * 2, frames = 3 + 2 + 3;
    EXPECT_EQ(sheet.Cells.size(), faces + frames);
    std::set<std::string> positions;
    std::set<std::tuple<std::wstring, int, int, TSheetBackground>> faceKeys;
    for (const auto& c : sheet.Cells) {
        EXPECT_TRUE(positions.insert(c.Position).second) << "twice: " << c.Position;
        if (!c.IsMask) faceKeys.insert({c.Name, c.Rect.Width() * 1000 + c.Rect.Height(), c.State, c.Background});
        EXPECT_GE(c.Rect.Left, 0);
        EXPECT_LE(c.Rect.Right, sheet.Image->Width);
        EXPECT_LE(c.Rect.Bottom, sheet.Image->Height);
    }
    EXPECT_EQ(faceKeys.size(), faces);
    const auto rows = LegendRows(skintool::SheetLegend(sheet, "t"));
    ASSERT_EQ(rows.size(), sheet.Cells.size());
    for (size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(rows[i].substr(0, rows[i].find('\t')), sheet.Cells[i].Position);
}

TEST_F(ContactSheetTest, CellsArePlacedByColumnLetterAndRowNumber) {
    const auto sheet = skintool::BuildContactSheet(Model(), {});
    const auto rows = LegendRows(skintool::SheetLegend(sheet, "t"));
    const std::vector<std::string> expected = {
        "A1\tface\t0\tGLOBALINFO\t14x14\tstate 0\tdrawn 0\tchecker",
        "B1\tface\t0\tGLOBALINFO\t75x25\tstate 0\tdrawn 0\tchecker",
        "F2\tface\t1\tFORM\t160x64\tstate 1\tdrawn 1\tchecker",
        "I2\tface\t1\tFORM\t160x64\tstate 2\tdrawn 1\tchecker",
        "J3\tface\t2\tBUTTON\t14x14\tstate 0\tdrawn 0\tcolour #262221 (main colour)",
        "R5\tface\t4\tCHILD\t160x64\tstate 2\tdrawn 0\tcolour #563412 (PANEL)",
        "J6\tface\t5\tGLASS\t14x14\tstate 0\tdrawn 0\tcolour #262221 (main colour)",
        "A8\tmask\t0\tGLOBALINFO.BOXCHECKED\t10x10\tframe 0 of 3\t-\tchecker",
        "C8\tmask\t0\tGLOBALINFO.BOXCHECKED\t10x10\tframe 2 of 3\t-\tchecker",
        "B9\tmask\t1\tFORM.BORDERSMASK\t16x16\tframe 1 of 2\t-\tchecker",
        "C10\tmask\t2\tBUTTON.BORDERSMASK\t10x10\tframe 2 of 3\t-\tchecker",
    };
    for (const auto& line : expected)
        EXPECT_NE(std::find(rows.begin(), rows.end(), line), rows.end()) << line;
    // Same row, same top; next column to the right.
    const auto at = [&](const std::string& p) {
        for (const auto& c : sheet.Cells)
            if (c.Position == p) return c.Rect;
        ADD_FAILURE() << p;
        return rd::TRect{};
    };
    EXPECT_EQ(at("A3").Top, at("R3").Top);
    EXPECT_LT(at("A3").Top, at("A4").Top);
    EXPECT_LT(at("A3").Right, at("B3").Left);
    EXPECT_LT(at("G7").Bottom, at("A8").Top);
}

TEST_F(ContactSheetTest, AFaceCellHoldsExactlyWhatPaintSectionFaceGives) {
    const auto sheet = skintool::BuildContactSheet(Model(), {});
    struct TCase {
        const wchar_t* Section;
        int Width, State;
        TSheetBackground Bg;
    };
    const TCase cases[] = {{L"BUTTON", 75, 1, TSheetBackground::Checker},  {L"BUTTON", 14, 2, TSheetBackground::ParentColor},
                           {L"FORM", 160, 0, TSheetBackground::Checker},   {L"FORM", 160, 1, TSheetBackground::ParentColor},
                           {L"CHILD", 75, 0, TSheetBackground::Checker},   {L"CHILD", 75, 0, TSheetBackground::ParentColor},
                           {L"GLASS", 160, 2, TSheetBackground::Checker}};
    for (const auto& c : cases) {
        const TSheetCell* cell = Find(sheet, c.Section, c.Width, c.State, c.Bg);
        ASSERT_NE(cell, nullptr) << sk::NarrowForMessage(c.Section);
        EXPECT_EQ(CompareCell(*sheet.Image, *cell, *PaintedDirectly(Model(), *cell)), "");
    }
    // The faces differ by state and background, so the comparison above sees them.
    const TSheetCell* hot = Find(sheet, L"BUTTON", 75, 1, TSheetBackground::Checker);
    const TSheetCell* normal = Find(sheet, L"BUTTON", 75, 0, TSheetBackground::Checker);
    EXPECT_NE(CompareCell(*sheet.Image, *hot, *PaintedDirectly(Model(), *normal)), "");
    const TSheetCell* glassOnColour = Find(sheet, L"GLASS", 160, 2, TSheetBackground::ParentColor);
    auto colour = std::make_unique<rd::TMemBitmap32>(160, 64);
    rd::FillPixels32(colour.get(), {0, 0, 160, 64}, glassOnColour->BackColor, 255);
    EXPECT_EQ(CompareCell(*sheet.Image, *glassOnColour, *colour), "");  // fully transparent: the colour
    EXPECT_EQ(CompareCell(*sheet.Image, *Find(sheet, L"GLASS", 160, 2, TSheetBackground::Checker),
                          *skintool::Checkerboard(160, 64)),
              "");
}

TEST_F(ContactSheetTest, ParentColourIsThatOfAnOpaqueParentClassElseTheMainColour) {
    std::wstring from;
    EXPECT_EQ(skintool::ParentColorOf(Model(), Model().GetSkinIndex(L"CHILD"), &from), 1193046);
    EXPECT_EQ(from, L"PANEL");
    EXPECT_EQ(skintool::ParentColorOf(Model(), Model().GetSkinIndex(L"GLASS"), &from), 2171430);
    EXPECT_EQ(from, L"main colour");
    EXPECT_EQ(skintool::ParentColorOf(Model(), Model().GetSkinIndex(L"BUTTON"), &from), 2171430);
}

TEST_F(ContactSheetTest, AMaskFrameCellShowsThatFrameOverTheCheckerboard) {
    const auto sheet = skintool::BuildContactSheet(Model(), {});
    const auto& mask = Model().ma[Model().GetMaskIndex(L"BUTTON", L"BORDERSMASK")];
    for (const auto& cell : sheet.Cells) {
        if (!cell.IsMask || cell.Name != L"BUTTON.BORDERSMASK") continue;
        auto expected = skintool::Checkerboard(10, 10);
        auto bg = skintool::Checkerboard(10, 10);
        rd::PaintMaskGlyph(expected.get(), {0, 0}, cell.State, rd::CacheInfoForBitmap(bg.get(), 0, 0), mask, 1);
        EXPECT_EQ(CompareCell(*sheet.Image, cell, *expected), "");
        // The frame's first pixel, straight from the master bitmap.
        EXPECT_EQ(rd::ReadPixel32(*sheet.Image, cell.Rect.Left, cell.Rect.Top) & 0xFFFFFF,
                  rd::ReadPixel32(*Model().MasterBitmap, 32 + 10 * cell.State, 0) & 0xFFFFFF);
    }
}

TEST_F(ContactSheetTest, StateOptionKeepsFacesOfThatStateOnlyAndEveryMaskFrame) {
    for (int state : {0, 1, 2}) {
        const auto sheet = skintool::BuildContactSheet(Model(), {state});
        size_t faces = 0, frames = 0;
        for (const auto& c : sheet.Cells) {
            if (c.IsMask) {
                ++frames;
                continue;
            }
            ++faces;
            EXPECT_EQ(c.State, state) << c.Position;
        }
        EXPECT_EQ(faces, 7u * 3 * 2) << state;
        EXPECT_EQ(frames, 8u) << state;
        const TSheetCell* cell = Find(sheet, L"BUTTON", 160, state, TSheetBackground::Checker);
        ASSERT_NE(cell, nullptr);
        EXPECT_EQ(cell->Position, "C3");
        EXPECT_EQ(CompareCell(*sheet.Image, *cell, *PaintedDirectly(Model(), *cell)), "");
    }
}

TEST_F(ContactSheetTest, GridCoordinatesAreDrawnAboveTheColumns) {
    const auto sheet = skintool::BuildContactSheet(Model(), {});
    const rd::TRect a1 = sheet.Cells.front().Rect;
    int dark = 0;
    for (int y = 0; y < a1.Top; ++y)
        for (int x = a1.Left; x < a1.Left + 4; ++x) dark += (rd::ReadPixel32(*sheet.Image, x, y) & 0xFF) < 0x80;
    EXPECT_GT(dark, 3);  // the letter "A"
}

TEST_F(ContactSheetTest, WrittenPictureAndLegendMatchTheSheet) {
    const fs::path out = Fresh("write") / "sheet.png";
    const auto sheet = skintool::BuildContactSheet(Model(), {});
    skintool::WriteContactSheet(sheet, out, "title line");
    EXPECT_EQ(skintool::LegendPath(out).filename(), "sheet.png.txt");
    const std::string legend = Slurp(skintool::LegendPath(out));
    EXPECT_EQ(legend, skintool::SheetLegend(sheet, "title line"));
    EXPECT_EQ(legend.rfind("# title line\n", 0), 0u);
    const std::string png = Slurp(out);
    const auto decoded = sk::DecodePng(reinterpret_cast<const uint8_t*>(png.data()), png.size());
    ASSERT_EQ(decoded.Bitmap->Width, sheet.Image->Width);
    ASSERT_EQ(decoded.Bitmap->Height, sheet.Image->Height);
    const TSheetCell* cell = Find(sheet, L"BUTTON", 75, 1, TSheetBackground::Checker);
    EXPECT_EQ(CompareCell(*decoded.Bitmap, *cell, *PaintedDirectly(Model(), *cell)), "");
    for (const auto& e : fs::directory_iterator(out.parent_path())) EXPECT_NE(e.path().extension(), ".tmp");
}

TEST_F(ContactSheetTest, SheetCommandWritesBothFilesAndTintsBySkinHue) {
    const fs::path dir = Fresh("cli");
    const fs::path skin = SheetSkin();
    const std::string base = std::string(SKINTOOL_EXE) + " sheet '" + skin.string() + "' '";
    ASSERT_EQ(std::system((base + (dir / "plain.png").string() + "' >/dev/null 2>&1").c_str()), 0);
    ASSERT_EQ(std::system((base + (dir / "hue.png").string() + "' --hue 120 --state 0 >/dev/null 2>&1").c_str()), 0);
    const auto plain = LegendRows(Slurp(dir / "plain.png.txt")), hue = LegendRows(Slurp(dir / "hue.png.txt"));
    EXPECT_EQ(plain.size(), 7u * 18 + 8);
    EXPECT_EQ(hue.size(), 7u * 6 + 8);
    // The main colour behind BUTTON is tinted too.
    EXPECT_NE(std::find(plain.begin(), plain.end(), "J3\tface\t2\tBUTTON\t14x14\tstate 0\tdrawn 0\tcolour #262221 (main colour)"),
              plain.end());
    EXPECT_EQ(std::find(hue.begin(), hue.end(), "D3\tface\t2\tBUTTON\t14x14\tstate 0\tdrawn 0\tcolour #262221 (main colour)"),
              hue.end());
}

// The internal skin as the installer tints it, read off its own sheet.
TEST(ContactSheetVelmora2, ActiveFramesPressedButtonsAndCloseGlowsLookAsMeant) {
    const fs::path dir = Fresh("velmora2") / "Velmora2";
    skinart::WriteVelmora2(fs::path(KALVETRA_SOURCE_DIR) / "assets/velmora2/Options.dat", dir);
    const fs::path kvp = dir.parent_path() / "velmora2.kvp";  // packed, as the build uses it
    skintool::WriteFileBytes(kvp, skintool::PackFolder(dir));
    const auto manager = skintool::LoadSkin({kvp, {skinart::kInstallerHueOffset, 0, 0}});
    const auto sheet = skintool::BuildContactSheet(manager->Model(), {});
    const rd::TBitmap32& img = *sheet.Image;
    auto pixel = [&](const TSheetCell* c, int x, int y) {
        EXPECT_NE(c, nullptr);
        return c ? rd::ReadPixel32(img, c->Rect.Left + x, c->Rect.Top + y) : 0u;
    };
    auto blue = [](uint32_t p) { return int(p & 0xFF); };
    auto red = [](uint32_t p) { return int((p >> 16) & 0xFF); };
    auto sum = [](uint32_t p) { return int(p & 0xFF) + int((p >> 8) & 0xFF) + int((p >> 16) & 0xFF); };
    // The accent line under the title belongs to the active window (state 1), not the inactive one.
    const uint32_t activeLine = pixel(Find(sheet, L"FORMTITLE", 160, 1, TSheetBackground::Checker), 80, 63);
    const uint32_t inactiveLine = pixel(Find(sheet, L"FORMTITLE", 160, 0, TSheetBackground::Checker), 80, 63);
    EXPECT_GT(blue(activeLine), red(activeLine) + 60);
    EXPECT_LT(std::abs(blue(inactiveLine) - red(inactiveLine)), 20);
    // Pressed is darker than hot in the middle of a button and near its left edge alike.
    for (int x : {2, 80}) {
        const uint32_t hot = pixel(Find(sheet, L"BUTTON", 160, 1, TSheetBackground::Checker), x, 32);
        const uint32_t pressed = pixel(Find(sheet, L"BUTTON", 160, 2, TSheetBackground::Checker), x, 32);
        EXPECT_LT(sum(pressed) + 60, sum(hot)) << x;
    }
    // The close glow stays red like the close button; the other glows turn azure.
    auto glowCentre = [&](const wchar_t* name) {
        for (const auto& c : sheet.Cells)
            if (c.IsMask && c.Name == name) return pixel(&c, c.Rect.Width() / 2, c.Rect.Height() / 2);
        ADD_FAILURE() << sk::NarrowForMessage(name);
        return 0u;
    };
    const uint32_t closeGlow = glowCentre(L"GLOBALINFO.BICONCLOSEGLOW0"), maxGlow = glowCentre(L"GLOBALINFO.BICONMAXGLOW0");
    EXPECT_GT(red(closeGlow), blue(closeGlow) + 30);
    EXPECT_GT(blue(maxGlow), red(maxGlow) + 30);
}

}  // namespace
