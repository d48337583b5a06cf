// The host tools as the build runs them: exit codes, outputs, error messages.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <vector>

#include "kfm.h"
#include "zpack.h"

namespace {

namespace fs = std::filesystem;

fs::path tmp(const std::string& name) {
  fs::path d = fs::path(KALVETRA_TEST_TMP) / "cli";
  fs::create_directories(d);
  return d / name;
}

std::string q(const fs::path& p) { return "'" + p.string() + "'"; }

// Runs a shell command; returns the exit status and fills the captured stdout / stderr.
int run(const std::string& cmd, std::string* out = nullptr, std::string* err = nullptr) {
  fs::path o = tmp("stdout.txt"), e = tmp("stderr.txt");
  int rc = std::system((cmd + " >" + q(o) + " 2>" + q(e)).c_str());
  auto slurp = [](const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  };
  if (out) *out = slurp(o);
  if (err) *err = slurp(e);
  return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
}

std::vector<std::uint8_t> readBytes(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::vector<std::uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void writeText(const fs::path& p, const std::string& s) { std::ofstream(p, std::ios::binary) << s; }

TEST(FormcCli, CompilesWithIncludeDirsAndDepfile) {
  fs::create_directories(tmp("inc"));
  writeText(tmp("inc") / "data.bin", "DATA");
  writeText(tmp("form.kfm"),
            "object Form1: TForm1\n  Caption = 'Kalvetra setup'\n  D = file 'data.bin'\n"
            "  object L: TsLabelFX\n    Caption = 'Язык интерфейса'\n  end\nend\n");
  fs::remove(tmp("form.bin"));
  std::string err;
  ASSERT_EQ(run(std::string(FORMC_EXE) + " -I " + q(tmp("inc")) + " --depfile " + q(tmp("form.d")) + " " +
                    q(tmp("form.kfm")) + " " + q(tmp("form.bin")),
                nullptr, &err),
            0)
      << err;
  auto bin = readBytes(tmp("form.bin"));
  kfm::Object f = kfm::decode(bin);
  EXPECT_EQ(f.findProperty("D")->value.bytes, std::vector<std::uint8_t>({'D', 'A', 'T', 'A'}));
  EXPECT_EQ(f.children.at(0).properties.at(0).value.string, u"Язык интерфейса");
  std::ifstream dep(tmp("form.d"));
  std::string deps((std::istreambuf_iterator<char>(dep)), std::istreambuf_iterator<char>());
  EXPECT_NE(deps.find("form.bin:"), std::string::npos) << deps;
  EXPECT_NE(deps.find("data.bin"), std::string::npos) << deps;

  // -IDIR spelling works too.
  ASSERT_EQ(run(std::string(FORMC_EXE) + " -I" + q(tmp("inc")) + " " + q(tmp("form.kfm")) + " " + q(tmp("form2.bin"))), 0);
  EXPECT_EQ(readBytes(tmp("form2.bin")), bin);

  std::string out;
  ASSERT_EQ(run(std::string(FORMC_EXE) + " --dump " + q(tmp("form.bin")), &out, &err), 0) << err;
  EXPECT_NE(out.find("object Form1: TForm1\n"), std::string::npos) << out;
  EXPECT_NE(out.find("Caption = 'Язык интерфейса'"), std::string::npos) << out;
  writeText(tmp("dumped.kfm"), out);
  ASSERT_EQ(run(std::string(FORMC_EXE) + " " + q(tmp("dumped.kfm")) + " " + q(tmp("dumped.bin"))), 0);
  EXPECT_EQ(readBytes(tmp("dumped.bin")), bin);
}

TEST(FormcCli, SyntaxErrorGivesFileLineAndNoOutput) {
  writeText(tmp("bad.kfm"), "object Form1: TForm1\n  Caption = 'oops\nend\n");
  fs::remove(tmp("bad.bin"));
  std::string err;
  EXPECT_NE(run(std::string(FORMC_EXE) + " " + q(tmp("bad.kfm")) + " " + q(tmp("bad.bin")), nullptr, &err), 0);
  EXPECT_NE(err.find("bad.kfm:2: error: unterminated string"), std::string::npos) << err;
  EXPECT_FALSE(fs::exists(tmp("bad.bin")));
}

TEST(FormcCli, MissingFileAndUsage) {
  std::string err;
  EXPECT_NE(run(std::string(FORMC_EXE) + " " + q(tmp("does-not-exist.kfm")) + " " + q(tmp("x.bin")), nullptr, &err), 0);
  EXPECT_NE(err.find("does-not-exist.kfm"), std::string::npos) << err;
  EXPECT_NE(run(std::string(FORMC_EXE)), 0);
  EXPECT_NE(run(std::string(FORMC_EXE) + " --bogus a b"), 0);
  writeText(tmp("junk.bin"), "KFM1\x02TA");
  EXPECT_NE(run(std::string(FORMC_EXE) + " --dump " + q(tmp("junk.bin")), nullptr, &err), 0);
  EXPECT_NE(err.find("at offset"), std::string::npos) << err;
}

TEST(ZpackCli, WritesOneStreamAndTruncates) {
  std::string text;
  for (int i = 0; i < 2000; ++i) text += "Kalvetra payload line " + std::to_string(i) + "\n";
  writeText(tmp("payload.txt"), text);
  ASSERT_EQ(run(std::string(ZPACK_EXE) + " " + q(tmp("payload.txt")) + " " + q(tmp("payload.z"))), 0);
  auto z = readBytes(tmp("payload.z"));
  ASSERT_GE(z.size(), 2u);
  EXPECT_EQ(z[0], 0x78);
  EXPECT_EQ(z[1], 0xDA);
  auto back = zpack::decompress(z);
  EXPECT_EQ(std::string(back.begin(), back.end()), text);
  EXPECT_EQ(z, zpack::compress(std::vector<std::uint8_t>(text.begin(), text.end())));

  ASSERT_EQ(run(std::string(ZPACK_EXE) + " --truncate 100 " + q(tmp("payload.txt")) + " " + q(tmp("broken.z"))), 0);
  auto broken = readBytes(tmp("broken.z"));
  ASSERT_EQ(broken.size(), 100u);
  EXPECT_TRUE(std::equal(broken.begin(), broken.end(), z.begin()));
  EXPECT_THROW(zpack::decompress(broken), std::runtime_error);

  EXPECT_NE(run(std::string(ZPACK_EXE) + " --truncate x " + q(tmp("payload.txt")) + " " + q(tmp("b.z"))), 0);
  EXPECT_NE(run(std::string(ZPACK_EXE) + " " + q(tmp("no-such-file")) + " " + q(tmp("b.z"))), 0);
  EXPECT_NE(run(std::string(ZPACK_EXE) + " onlyone"), 0);
}

TEST(GeneratorsCli, WritePictureAndIcon) {
  fs::remove(tmp("pic.jpg"));
  fs::remove(tmp("icon.ico"));
  ASSERT_EQ(run(std::string(GENPICTURE_EXE) + " " + q(tmp("pic.jpg"))), 0);
  ASSERT_EQ(run(std::string(GENICON_EXE) + " " + q(tmp("icon.ico"))), 0);
  auto jpg = readBytes(tmp("pic.jpg"));
  ASSERT_GT(jpg.size(), 1000u);
  EXPECT_EQ(jpg[0], 0xFF);
  EXPECT_EQ(jpg[1], 0xD8);
  auto ico = readBytes(tmp("icon.ico"));
  ASSERT_GT(ico.size(), 6u);
  EXPECT_EQ(ico[2], 1);
  EXPECT_EQ(ico[4], 4);
  EXPECT_NE(run(std::string(GENPICTURE_EXE)), 0);
  EXPECT_NE(run(std::string(GENICON_EXE)), 0);
}

}  // namespace
