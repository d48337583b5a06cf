// skintool: packing a skin folder and back, listing, the model as JSON, and its errors.
#include <gtest/gtest.h>

#include "TestFiles.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <sys/wait.h>
#include <vector>

#include "ModelJson.h"
#include "SkinPackFiles.h"
#include "skin/acCodePage.h"
#include "skin/acSkinPack.h"
#include "skin/acntUtils.h"
#include "skin/sSkinManagerCore.h"

namespace {

namespace fs = std::filesystem;

fs::path Fresh(const std::string& name) { return kvtest::FreshDir("skintool", name); }
using kvtest::Slurp;

void WriteText(const fs::path& p, const std::string& s) { std::ofstream(p, std::ios::binary) << s; }

std::string Q(const fs::path& p) { return "'" + p.string() + "'"; }

// Runs skintool with the arguments; returns the exit status and the captured output.
int Skintool(const std::string& args, std::string* out = nullptr, std::string* err = nullptr) {
    const fs::path o = Fresh("cli-out") / "stdout", e = o.parent_path() / "stderr";
    const int rc = std::system((std::string(SKINTOOL_EXE) + " " + args + " >" + Q(o) + " 2>" + Q(e)).c_str());
    if (out) *out = Slurp(o);
    if (err) *err = Slurp(e);
    return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
}

using kvtest::Bmp24;

// The master bitmap of the small skin: check box glyphs (0,0)-(30,10), a button border
// (32,0)-(62,10) without the key colour, a form border (0,10)-(32,26) whose first frame has a
// key-coloured top-left pixel.
std::string SmallMaster() {
    std::vector<uint32_t> px(64 * 32, 0x404040);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 62; ++x) px[size_t(y) * 64 + x] = x < 30 ? 0x102030 * (x / 10 + 1) : 0x806040;
    px[size_t(10) * 64] = 0xFF00FF;
    return Bmp24(64, 32, px);
}

const char* const kSmallOptions =
    "[GLOBALINFO]\r\nVERSION=7.20\r\nMASTERBITMAP=MASTER.BMP\r\nCOLOR=2171430\r\n"
    "BOXCHECKED=@0000@0000@0030@0010@3@0\r\n\r\n"
    "[FORM]\r\nSTATES=2\r\nCOLOR=255\r\nHOTCOLOR=65280\r\n"
    "BORDERSMASK=^0000^0010^0032^0026^0004^0004^0004^0004^2^0^0^0\r\n\r\n"
    "[BUTTON]\r\nSTATES=3\r\nCOLOR=16711680\r\nHOTCOLOR=255\r\n"
    "BORDERSMASK=^0032^0000^0062^0010^0003^0003^0003^0003^3^0^0^0\r\n";

// A skin folder: the options text, the master bitmap and a second image whose name needs
// code page 1251.
fs::path SmallSkin(const std::string& name) {
    const fs::path dir = Fresh(name) / "Small";
    fs::create_directories(dir);
    WriteText(dir / "Options.dat", kSmallOptions);
    WriteText(dir / "MASTER.BMP", SmallMaster());
    WriteText(dir / sk::NativeSkinPath(L"КНОПКА.BMP"), Bmp24(3, 2, {1, 2, 3, 4, 5, 6}));
    WriteText(dir / "GLOW.PNG", std::string("\x89PNG not really an image", 24));
    return dir;
}

class SkintoolTest : public ::testing::Test {
protected:
    void SetUp() override { sk::UseHostCodePage(sk::THostCodePage::cp1251); }
};

TEST_F(SkintoolTest, PackListsOptionsFirstThenImagesByNameWithSizesAndBitmapFlags) {
    const fs::path dir = SmallSkin("list");
    const auto list = skintool::ListPackage(skintool::PackFolder(dir));
    struct TRow {
        std::wstring Name;
        size_t Size;
        bool IsBitmap;
    };
    const std::vector<TRow> expected = {{L"Options.dat", Slurp(dir / "Options.dat").size(), false},
                                        {L"GLOW.PNG", 24, false},
                                        {L"MASTER.BMP", SmallMaster().size(), true},
                                        {L"КНОПКА.BMP", Slurp(dir / sk::NativeSkinPath(L"КНОПКА.BMP")).size(), true}};
    ASSERT_EQ(list.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(list[i].Name, expected[i].Name) << i;
        EXPECT_EQ(list[i].Size, expected[i].Size) << sk::NarrowForMessage(expected[i].Name);
        EXPECT_EQ(list[i].IsBitmap, expected[i].IsBitmap) << sk::NarrowForMessage(expected[i].Name);
    }
}

TEST_F(SkintoolTest, UnpackRestoresEveryFileByteForByteThroughTheCommandLine) {
    const fs::path dir = SmallSkin("roundtrip");
    const fs::path kvp = dir.parent_path() / "small.kvp", back = dir.parent_path() / "back";
    std::string out, err;
    ASSERT_EQ(Skintool("pack " + Q(dir) + " " + Q(kvp)), 0);
    ASSERT_EQ(Skintool("unpack " + Q(kvp) + " " + Q(back), nullptr, &err), 0) << err;
    std::map<fs::path, std::string> original, restored;
    for (const auto& e : fs::directory_iterator(dir)) original[e.path().filename()] = Slurp(e.path());
    for (const auto& e : fs::directory_iterator(back)) restored[e.path().filename()] = Slurp(e.path());
    EXPECT_EQ(restored, original);
    EXPECT_TRUE(restored.count(sk::NativeSkinPath(L"КНОПКА.BMP")));
    // The name is stored in code page 1251 (one byte a letter), so `list` prints it back as UTF-8.
    ASSERT_EQ(Skintool("list " + Q(kvp), &out), 0);
    const auto size = std::to_string(fs::file_size(dir / sk::NativeSkinPath(L"КНОПКА.BMP")));
    EXPECT_NE(out.find("КНОПКА.BMP\t" + size + "\tbitmap\n"), std::string::npos) << out;
    EXPECT_NE(out.find("Options.dat\t"), std::string::npos) << out;
}

TEST_F(SkintoolTest, UnpackRefusesUnsafeNamesBeforeWritingAnything) {
    for (const std::wstring bad : {L"..\\up.bmp", L"dir/x.bmp", L"C:evil.bmp", L".."}) {
        const sk::TBytes package = sk::PackSkin({{L"Options.dat", {'[', 'A', ']'}}, {L"A.BMP", {1}}, {bad, {2}}});
        const fs::path dir = Fresh("unsafe") / "out";
        try {
            skintool::UnpackToFolder(package, dir);
            ADD_FAILURE() << "accepted " << sk::NarrowForMessage(bad);
        } catch (const sk::ESkinError& e) {
            EXPECT_NE(std::string(e.what()).find("unsafe file name"), std::string::npos) << e.what();
        }
        EXPECT_FALSE(fs::exists(dir)) << sk::NarrowForMessage(bad);
    }
}

TEST_F(SkintoolTest, ModelOfASmallSkinHasItsSectionsMasksCornerTypesAndPalette) {
    const fs::path dir = SmallSkin("model");
    const auto j = skintool::LoadModelJson({dir, {}});
    std::vector<std::string> sections;
    for (const auto& g : j["gd"]) sections.push_back(g["ClassName"]);
    EXPECT_EQ(sections, (std::vector<std::string>{"GLOBALINFO", "FORM", "BUTTON", "TRANSPARENT"}));
    EXPECT_EQ(j["gd"][1]["States"], 2);
    EXPECT_EQ(j["gd"][1]["Props"][0]["Color"], 255);
    EXPECT_EQ(j["gd"][1]["Props"][1]["Color"], 65280);
    EXPECT_EQ(j["gd"][3]["Props"][0]["Transparency"], 100);

    struct TMask {
        std::string Class, Property;
        int ImageCount, CornerType;
        std::vector<int> R;
    };
    const std::vector<TMask> masks = {{"GLOBALINFO", "BOXCHECKED", 3, 0, {0, 0, 30, 10}},
                                      {"FORM", "BORDERSMASK", 2, 1, {0, 10, 32, 26}},
                                      {"BUTTON", "BORDERSMASK", 3, 0, {32, 0, 62, 10}}};
    ASSERT_EQ(j["ma"].size(), masks.size());
    for (size_t i = 0; i < masks.size(); ++i) {
        EXPECT_EQ(j["ma"][i]["ClassName"], masks[i].Class) << i;
        EXPECT_EQ(j["ma"][i]["PropertyName"], masks[i].Property) << i;
        EXPECT_EQ(j["ma"][i]["ImageCount"], masks[i].ImageCount) << i;
        EXPECT_EQ(j["ma"][i]["CornerType"], masks[i].CornerType) << i;
        EXPECT_EQ(j["ma"][i]["R"].get<std::vector<int>>(), masks[i].R) << i;
    }
    EXPECT_EQ(j["gd"][1]["BorderIndex"], 1);
    EXPECT_EQ(j["gd"][2]["BorderIndex"], 2);
    EXPECT_EQ(j["MasterBitmap"], (nlohmann::json{64, 32}));
    EXPECT_EQ(j["Palette"].size(), 28u);
    EXPECT_EQ(j["Palette"][0], 2171430);  // pcMainColor: COLOR of GLOBALINFO
    EXPECT_EQ(j["CommonSkinData"]["Version"], 7.2);
    EXPECT_EQ(j["SkinIsPacked"], false);
}

TEST_F(SkintoolTest, PackedAndFolderSkinsGiveTheSameModel) {
    const fs::path dir = SmallSkin("packedmodel");
    const fs::path kvp = dir.parent_path() / "Small.kvp";
    skintool::WriteFileBytes(kvp, skintool::PackFolder(dir));
    auto folder = skintool::LoadModelJson({dir, {}}), packed = skintool::LoadModelJson({kvp, {}});
    EXPECT_EQ(packed["SkinIsPacked"], true);
    for (auto* j : {&folder, &packed}) {
        (*j)["SkinIsPacked"] = nullptr;
        (*j)["CommonSkinData"]["SkinPath"] = nullptr;
    }
    EXPECT_EQ(packed, folder);
}

TEST_F(SkintoolTest, HueTurnsSectionColoursAndThePaletteButNotGreys) {
    const fs::path dir = SmallSkin("hue");
    std::string plain, tinted, err;
    ASSERT_EQ(Skintool("model " + Q(dir), &plain, &err), 0) << err;
    ASSERT_EQ(Skintool("model " + Q(dir) + " --hue 120", &tinted, &err), 0) << err;
    const auto a = nlohmann::json::parse(plain), b = nlohmann::json::parse(tinted);
    // Colour values are 0x00BBGGRR: pure red turns green, pure blue turns red.
    EXPECT_EQ(b["gd"][1]["Props"][0]["Color"], 0x00FF00);
    EXPECT_EQ(b["gd"][2]["Props"][0]["Color"], 0x0000FF);
    EXPECT_NE(b["Palette"][0], a["Palette"][0]);
    EXPECT_EQ(b["gd"][3]["Props"][0]["Color"], 0xFFFFFF);  // white has no hue
}

struct TErrorCase {
    const char* Name;
    std::string Args;  // "{dir}" stands for a fresh folder, "{skin}" for the small skin
    int Exit;
    const char* Message;  // part of stderr
};

TEST_F(SkintoolTest, BadInputGivesAClearErrorAndTheRightExitCode) {
    const std::vector<TErrorCase> cases = {
        {"no command", "", 2, "usage:"},
        {"unknown command", "frob x", 2, "usage:"},
        {"pack without output", "pack {skin}", 2, "usage:"},
        {"pack a missing folder", "pack {dir}/none {dir}/o.kvp", 1, "no skin folder"},
        {"pack without options", "pack {dir} {dir}/o.kvp", 1, "no Options.dat"},
        {"pack into a missing folder", "pack {skin} {dir}/no/such/o.kvp", 1, "cannot write"},
        {"unpack a non-package", "unpack {skin}/MASTER.BMP {dir}/out", 1, "not a packed"},
        {"list a missing file", "list {dir}/none.kvp", 1, "cannot read"},
        {"model of a folder without options", "model {dir}", 1, "no skin folder or .kvp file"},
        {"model of a missing package", "model {dir}/none.kvp", 1, "no skin folder or .kvp file"},
        {"hue not a number", "model {skin} --hue abc", 1, "not a number: abc"},
        {"hue half a number", "model {skin} --hue 12x", 1, "not a number: 12x"},
        {"option without value", "model {skin} --hue", 2, "usage:"},
        {"unknown option", "model {skin} --state 1", 2, "usage:"},
        {"sheet without output", "sheet {skin}", 2, "usage:"},
        {"sheet state out of range", "sheet {skin} {dir}/s.png --state 3", 1, "--state must be 0, 1 or 2"},
    };
    const fs::path skin = SmallSkin("errors");
    for (const auto& c : cases) {
        const fs::path dir = Fresh("errors-case");
        std::string args = c.Args;
        for (auto [key, value] : {std::pair{std::string("{dir}"), dir}, std::pair{std::string("{skin}"), skin}})
            for (size_t at; (at = args.find(key)) != std::string::npos;) args.replace(at, key.size(), value.string());
        std::string err;
        EXPECT_EQ(Skintool(args, nullptr, &err), c.Exit) << c.Name;
        EXPECT_NE(err.find(c.Message), std::string::npos) << c.Name << ": " << err;
        for (const auto& e : fs::recursive_directory_iterator(dir))
            EXPECT_NE(e.path().extension(), ".tmp") << c.Name << ": left " << e.path();
        EXPECT_FALSE(fs::exists(dir / "s.png")) << c.Name;
    }
}

TEST_F(SkintoolTest, ABrokenOptionsTextIsReportedWithTheLoadersMessage) {
    const fs::path dir = SmallSkin("broken");
    WriteText(dir / "Options.dat", "[GLOBALINFO]\r\nVERSION=7.20\r\n[FORM]\r\nBORDERSMASK=^00x0^0000^0010^0010^0001^0001^0001^0001^1^0^0^0\r\n");
    std::string err;
    EXPECT_EQ(Skintool("model " + Q(dir), nullptr, &err), 1);
    EXPECT_NE(err.find("skintool: "), std::string::npos) << err;
    EXPECT_NE(err.find("00x0"), std::string::npos) << err;
}

TEST_F(SkintoolTest, AFailedWriteKeepsTheOldFileAndLeavesNoTemporaryFile) {
    const fs::path dir = Fresh("write");
    const fs::path target = dir / "kept.kvp";
    skintool::WriteFileBytes(target, {1, 2, 3});
    fs::create_directory(dir / "kept.kvp.tmp");  // the temporary name is taken: the write must fail
    EXPECT_THROW(skintool::WriteFileBytes(target, {9}), sk::ESkinError);
    EXPECT_EQ(Slurp(target), std::string("\x01\x02\x03", 3));
}

}  // namespace
