// formc: text source -> tree -> binary object stream -> tree -> dump (docs/form-description.md).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "kfm.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// ---- byte builders for expected streams -----------------------------------------------

Bytes operator+(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}
Bytes u8(std::initializer_list<int> v) {
  Bytes b;
  for (int x : v) b.push_back(static_cast<std::uint8_t>(x));
  return b;
}
Bytes i32(std::int32_t v) {
  auto u = static_cast<std::uint32_t>(v);
  return u8({int(u & 0xFF), int((u >> 8) & 0xFF), int((u >> 16) & 0xFF), int(u >> 24)});
}
Bytes sstr(const std::string& s) {
  Bytes b;
  b.reserve(s.size() + 1);
  b.push_back(static_cast<std::uint8_t>(s.size()));
  for (char c : s) b.push_back(static_cast<std::uint8_t>(c));
  return b;
}
Bytes units(const std::u16string& s) {
  Bytes b = i32(static_cast<std::int32_t>(s.size()));
  for (char16_t c : s) b = b + u8({c & 0xFF, c >> 8});
  return b;
}
Bytes raw(const std::string& s) { return Bytes(s.begin(), s.end()); }
Bytes f64(std::uint64_t bits) {
  Bytes b;
  for (int k = 0; k < 8; ++k) b.push_back(static_cast<std::uint8_t>(bits >> (8 * k)));
  return b;
}

// In-memory files for `file` / `picture` values.
kfm::ParseOptions memoryFiles(std::map<std::string, Bytes> files) {
  kfm::ParseOptions o;
  o.loader = [files](const std::string& name, Bytes& out, std::string& searched) {
    searched = "memory";
    auto it = files.find(name);
    if (it == files.end()) return false;
    out = it->second;
    return true;
  };
  return o;
}

const std::map<std::string, Bytes> kFiles = {
    {"skin.kvp", u8({0x78, 0xDA, 0x03, 0x00})},
    {"kalvetra_picture.jpg", u8({0xFF, 0xD8, 0xFF, 0xD9})},
    {"empty.bin", {}},
};

std::string wrap(const std::string& value) { return "object A: TA\n  P = " + value + "\nend\n"; }

// ---- every value kind: parsed value and its exact encoding -----------------------------

struct ValueCase {
  const char* name;
  std::string source;  // the text after "P = "
  kfm::Value expected;
  Bytes encoded;       // tag + payload
};

kfm::Item item(std::vector<kfm::Property> props) { return kfm::Item{std::move(props)}; }
kfm::Property prop(std::string n, kfm::Value v) {
  kfm::Property p;
  p.name = std::move(n);
  p.value = std::move(v);
  return p;
}

std::vector<ValueCase> valueCases() {
  using kfm::Value;
  std::vector<ValueCase> c;
  c.push_back({"IntegerDecimal", "375", Value::makeInteger(375), u8({1}) + i32(375)});
  c.push_back({"IntegerZero", "0", Value::makeInteger(0), u8({1}) + i32(0)});
  c.push_back({"IntegerNegative", "-11", Value::makeInteger(-11), u8({1, 0xF5, 0xFF, 0xFF, 0xFF})});
  c.push_back({"IntegerMax", "2147483647", Value::makeInteger(2147483647), u8({1}) + i32(2147483647)});
  c.push_back({"IntegerMin", "-2147483648", Value::makeInteger(INT32_MIN), u8({1, 0, 0, 0, 0x80})});
  c.push_back({"IntegerHexColour", "$00999589", Value::makeInteger(0x00999589), u8({1, 0x89, 0x95, 0x99, 0x00})});
  c.push_back({"IntegerHexLowerCase", "$eda853", Value::makeInteger(0xEDA853), u8({1}) + i32(0xEDA853)});
  c.push_back({"IntegerHexHighBit", "$8000000D", Value::makeInteger(static_cast<std::int32_t>(0x8000000Du)),
               u8({1, 0x0D, 0, 0, 0x80})});
  c.push_back({"IntegerHexAllOnes", "$FFFFFFFF", Value::makeInteger(-1), u8({1, 0xFF, 0xFF, 0xFF, 0xFF})});
  c.push_back({"IntegerNegativeHex", "-$10", Value::makeInteger(-16), u8({1}) + i32(-16)});

  c.push_back({"DoubleSimple", "1.5", Value::makeDouble(1.5), u8({10, 0, 0, 0, 0, 0, 0, 0xF8, 0x3F})});
  c.push_back({"DoubleNegative", "-0.25", Value::makeDouble(-0.25), u8({10}) + f64(0xBFD0000000000000ull)});
  c.push_back({"DoubleNegativeZero", "-0.0", Value::makeDouble(-0.0), u8({10}) + f64(0x8000000000000000ull)});
  c.push_back({"DoubleVersion", "9.14", Value::makeDouble(9.14), u8({10}) + f64(0x402247AE147AE148ull)});
  c.push_back({"DoubleBeyondInt32", "12345678901.5", Value::makeDouble(12345678901.5),
               u8({10}) + f64(0x4206FEE0E1AC0000ull)});
  c.push_back({"DoubleExponent", "2.5e-3", Value::makeDouble(0.0025), u8({10}) + f64(0x3F647AE147AE147Bull)});
  c.push_back({"DoubleLargeExponent", "1.5E+300", Value::makeDouble(1.5e300), u8({10}) + f64(0x7E41EB2D66005835ull)});
  c.push_back({"DoubleWholeNumber", "7.0", Value::makeDouble(7.0), u8({10}) + f64(0x401C000000000000ull)});

  c.push_back({"StringAscii", "'Kalvetra setup'", Value::makeString(u"Kalvetra setup"),
               u8({2}) + units(u"Kalvetra setup")});
  c.push_back({"StringEmpty", "''", Value::makeString(u""), u8({2, 0, 0, 0, 0})});
  c.push_back({"StringDoubledQuote", "'it''s'", Value::makeString(u"it's"), u8({2}) + units(u"it's")});
  c.push_back({"StringOnlyQuote", "''''", Value::makeString(u"'"), u8({2}) + units(u"'")});
  c.push_back({"StringCommentInside", "'a // b'", Value::makeString(u"a // b"), u8({2}) + units(u"a // b")});
  c.push_back({"StringPlus", "'Kal' + 'vetra'", Value::makeString(u"Kalvetra"), u8({2}) + units(u"Kalvetra")});
  c.push_back({"StringPlusAcrossLines", "'Kal' +\n    'vet' +\n    'ra'", Value::makeString(u"Kalvetra"),
               u8({2}) + units(u"Kalvetra")});
  c.push_back({"StringCharCodes", "'a'#13#10'b'", Value::makeString(u"a\r\nb"), u8({2}) + units(u"a\r\nb")});
  c.push_back({"StringCharCodeOnly", "#1050#1072", Value::makeString(u"Ка"), u8({2, 2, 0, 0, 0, 0x1A, 0x04, 0x30, 0x04})});
  c.push_back({"StringCharCodeZeroAndMax", "#0#65535", Value::makeString(std::u16string{u'\0', u'\xFFFF'}),
               u8({2, 2, 0, 0, 0, 0, 0, 0xFF, 0xFF})});
  c.push_back({"StringCharCodesAndPlus", "'a'#9 + #9'b'", Value::makeString(u"a\t\tb"), u8({2}) + units(u"a\t\tb")});
  c.push_back({"StringCyrillic", "'Русский'", Value::makeString(u"Русский"),
               u8({2, 7, 0, 0, 0, 0x20, 0x04, 0x43, 0x04, 0x41, 0x04, 0x41, 0x04, 0x3A, 0x04, 0x38, 0x04, 0x39, 0x04})});
  c.push_back({"StringCyrillicLong", "'Добро пожаловать в установку программы Kalvetra :)'",
               Value::makeString(u"Добро пожаловать в установку программы Kalvetra :)"),
               u8({2}) + units(u"Добро пожаловать в установку программы Kalvetra :)")});
  c.push_back({"StringSurrogatePair", "'\xF0\x9F\x8E\xB5'", Value::makeString(u"\U0001F3B5"),
               u8({2, 2, 0, 0, 0, 0x3C, 0xD8, 0xB5, 0xDF})});

  c.push_back({"Identifier", "clCream", Value::makeIdent("clCream"), u8({3}) + sstr("clCream")});
  c.push_back({"IdentifierHandler", "FormCreate", Value::makeIdent("FormCreate"), u8({3}) + sstr("FormCreate")});
  c.push_back({"IdentifierUnderscoreDigits", "_x1", Value::makeIdent("_x1"), u8({3}) + sstr("_x1")});
  c.push_back({"IdentifierDotted", "Form1.Image1", Value::makeIdent("Form1.Image1"), u8({3}) + sstr("Form1.Image1")});
  c.push_back({"True", "True", Value::makeBool(true), u8({4})});
  c.push_back({"False", "False", Value::makeBool(false), u8({5})});
  c.push_back({"TrueAnyCase", "TRUE", Value::makeBool(true), u8({4})});
  c.push_back({"FalseAnyCase", "false", Value::makeBool(false), u8({5})});

  c.push_back({"SetOne", "[biSystemMenu]", Value::makeSet({"biSystemMenu"}), u8({7}) + i32(1) + sstr("biSystemMenu")});
  c.push_back({"SetTwo", "[fsBold, fsItalic]", Value::makeSet({"fsBold", "fsItalic"}),
               u8({7}) + i32(2) + sstr("fsBold") + sstr("fsItalic")});
  c.push_back({"SetEmpty", "[]", Value::makeSet({}), u8({7}) + i32(0)});
  c.push_back({"SetAcrossLines", "[\n a,\n b ]", Value::makeSet({"a", "b"}), u8({7}) + i32(2) + sstr("a") + sstr("b")});

  c.push_back({"StringListOne", "(\n    'Русский')", Value::makeStringList({u"Русский"}),
               u8({8}) + i32(1) + units(u"Русский")});
  c.push_back({"StringListTwo", "( 'a' 'b' )", Value::makeStringList({u"a", u"b"}),
               u8({8}) + i32(2) + units(u"a") + units(u"b")});
  c.push_back({"StringListEmpty", "()", Value::makeStringList({}), u8({8}) + i32(0)});
  c.push_back({"StringListWithEmptyString", "('' 'x')", Value::makeStringList({u"", u"x"}),
               u8({8}) + i32(2) + units(u"") + units(u"x")});
  c.push_back({"StringListConcatenated", "( 'a' + 'b' #13 'c' )", Value::makeStringList({u"ab", u"\r", u"c"}),
               u8({8}) + i32(3) + units(u"ab") + units(u"\r") + units(u"c")});

  c.push_back({"CollectionEmpty", "<>", Value::makeCollection({}), u8({9}) + i32(0)});
  c.push_back({"CollectionEmptyItem", "<\n item\n end>", Value::makeCollection({item({})}), u8({9}) + i32(1) + u8({0})});
  c.push_back({"CollectionTwoItems",
               "<\n  item\n    Name = 'One'\n    Width = 5\n  end\n  item\n    Name = 'Two'\n    Options = [a]\n  end>",
               Value::makeCollection({item({prop("Name", Value::makeString(u"One")), prop("Width", Value::makeInteger(5))}),
                                      item({prop("Name", Value::makeString(u"Two")), prop("Options", Value::makeSet({"a"}))})}),
               u8({9}) + i32(2) + sstr("Name") + u8({2}) + units(u"One") + sstr("Width") + u8({1}) + i32(5) + u8({0}) +
                   sstr("Name") + u8({2}) + units(u"Two") + sstr("Options") + u8({7}) + i32(1) + sstr("a") + u8({0})});
  c.push_back({"CollectionNested",
               "< item Sub = < item X = 1 end > end >",
               Value::makeCollection({item({prop("Sub", Value::makeCollection({item({prop("X", Value::makeInteger(1))})}))})}),
               u8({9}) + i32(1) + sstr("Sub") + u8({9}) + i32(1) + sstr("X") + u8({1}) + i32(1) + u8({0}) + u8({0})});

  c.push_back({"BinaryLiteral", "{ 78 DA 01 }", Value::makeBinary(u8({0x78, 0xDA, 0x01})), u8({6}) + i32(3) + u8({0x78, 0xDA, 0x01})});
  c.push_back({"BinaryLiteralPacked", "{\n  78DA\n  0a0B}", Value::makeBinary(u8({0x78, 0xDA, 0x0A, 0x0B})),
               u8({6}) + i32(4) + u8({0x78, 0xDA, 0x0A, 0x0B})});
  c.push_back({"BinaryLiteralEmpty", "{}", Value::makeBinary({}), u8({6}) + i32(0)});
  c.push_back({"BinaryLiteralSplitByte", "{7 8}", Value::makeBinary(u8({0x78})), u8({6}) + i32(1) + u8({0x78})});
  c.push_back({"BinaryLiteralComment", "{ 01 // first\n 02 }", Value::makeBinary(u8({1, 2})), u8({6}) + i32(2) + u8({1, 2})});

  c.push_back({"BinaryFromFile", "file 'skin.kvp'", Value::makeBinary(kFiles.at("skin.kvp")),
               u8({6}) + i32(4) + kFiles.at("skin.kvp")});
  c.push_back({"BinaryFromEmptyFile", "file 'empty.bin'", Value::makeBinary({}), u8({6}) + i32(0)});
  Bytes pic = sstr("TJPEGImage") + i32(4) + kFiles.at("kalvetra_picture.jpg");
  c.push_back({"Picture", "picture TJPEGImage 'kalvetra_picture.jpg'", Value::makeBinary(pic),
               u8({6}) + i32(static_cast<std::int32_t>(pic.size())) + pic});
  return c;
}

// Short names in test listings (CTest shows the parameter otherwise).
void PrintTo(const ValueCase& c, std::ostream* os) { *os << c.name; }

class FormcValue : public ::testing::TestWithParam<ValueCase> {};

TEST_P(FormcValue, ParsesAndEncodes) {
  const ValueCase& c = GetParam();
  kfm::Object o = kfm::parse(wrap(c.source), "value.kfm", memoryFiles(kFiles));
  ASSERT_EQ(o.properties.size(), 1u);
  EXPECT_EQ(o.properties[0].name, "P");
  EXPECT_EQ(o.properties[0].value.kind, c.expected.kind);
  EXPECT_TRUE(o.properties[0].value == c.expected);
  Bytes expected = raw("KFM1") + sstr("TA") + sstr("A") + sstr("P") + c.encoded + u8({0, 0});
  Bytes actual = kfm::encode(o);
  EXPECT_EQ(actual, expected);
}

TEST_P(FormcValue, RoundTripsThroughDecodeAndDump) {
  const ValueCase& c = GetParam();
  Bytes bin = kfm::compile(wrap(c.source), "value.kfm", memoryFiles(kFiles));
  kfm::Object decoded = kfm::decode(bin);
  EXPECT_TRUE(decoded.properties.at(0).value == c.expected);
  std::string text = kfm::dump(decoded);
  Bytes again = kfm::compile(text, "dump.kfm");
  EXPECT_EQ(again, bin) << text;
}

INSTANTIATE_TEST_SUITE_P(AllKinds, FormcValue, ::testing::ValuesIn(valueCases()));

// ---- structure ------------------------------------------------------------------------

const char* kDocExample = R"(object Form1: TForm1
  Left = 375
  Caption = 'Kalvetra setup'
  Color = clCream
  Font.Name = 'MS Sans Serif'
  BorderIcons = [biSystemMenu]
  Scaled = False
  OnCreate = FormCreate
  object Image1: TImage
    Picture.Data = picture TJPEGImage 'kalvetra_picture.jpg'
  end
  object sComboBox1: TsComboBox
    Items.Strings = (
      'Русский')
  end
  object sSkinManager1: TsSkinManager
    InternalSkins = <
      item
        Name = 'Velmora2 (internal)'
        Data = file 'velmora2.kvp'
      end>
  end
end
)";

kfm::ParseOptions docFiles() {
  return memoryFiles({{"kalvetra_picture.jpg", u8({0xFF, 0xD8, 0xFF, 0xE0, 0xFF, 0xD9})},
                      {"velmora2.kvp", u8({1, 2, 3})}});
}

TEST(Formc, DocumentExampleTree) {
  kfm::Object f = kfm::parse(kDocExample, "Unit1.kfm", docFiles());
  EXPECT_EQ(f.name, "Form1");
  EXPECT_EQ(f.cls, "TForm1");
  ASSERT_EQ(f.properties.size(), 7u);
  EXPECT_EQ(f.properties[0].name, "Left");
  EXPECT_EQ(f.properties[0].line, 2);
  EXPECT_EQ(f.properties[3].name, "Font.Name");
  EXPECT_TRUE(f.properties[3].value == kfm::Value::makeString(u"MS Sans Serif"));
  EXPECT_EQ(f.properties[5].value.kind, kfm::Kind::False);
  EXPECT_TRUE(f.properties[6].value == kfm::Value::makeIdent("FormCreate"));
  ASSERT_EQ(f.children.size(), 3u);
  EXPECT_EQ(f.children[0].name, "Image1");
  EXPECT_EQ(f.children[0].cls, "TImage");
  EXPECT_EQ(f.children[0].line, 9);
  EXPECT_EQ(f.children[2].cls, "TsSkinManager");
  const kfm::Property* skins = f.children[2].findProperty("InternalSkins");
  ASSERT_NE(skins, nullptr);
  ASSERT_EQ(skins->value.items.size(), 1u);
  EXPECT_TRUE(skins->value.items[0].properties[1].value == kfm::Value::makeBinary(u8({1, 2, 3})));
  const kfm::Property* pic = f.findChild("Image1")->findProperty("Picture.Data");
  ASSERT_NE(pic, nullptr);
  Bytes expectPic = sstr("TJPEGImage") + i32(6) + u8({0xFF, 0xD8, 0xFF, 0xE0, 0xFF, 0xD9});
  EXPECT_EQ(pic->value.bytes, expectPic);
}

TEST(Formc, DocumentExampleRoundTrip) {
  Bytes bin = kfm::compile(kDocExample, "Unit1.kfm", docFiles());
  ASSERT_GE(bin.size(), 4u);
  EXPECT_EQ(Bytes(bin.begin(), bin.begin() + 4), raw("KFM1"));
  kfm::Object decoded = kfm::decode(bin);
  EXPECT_TRUE(decoded == kfm::parse(kDocExample, "Unit1.kfm", docFiles()));
  std::string text = kfm::dump(decoded);
  EXPECT_NE(text.find("object Form1: TForm1\n"), std::string::npos) << text;
  EXPECT_NE(text.find("  Font.Name = 'MS Sans Serif'\n"), std::string::npos) << text;
  EXPECT_NE(text.find("'Русский')"), std::string::npos) << text;
  EXPECT_NE(text.find("picture TJPEGImage, 6 bytes"), std::string::npos) << text;
  EXPECT_EQ(kfm::compile(text, "dump.kfm"), bin) << text;
  // The dump of the dump is stable.
  EXPECT_EQ(kfm::dump(kfm::parse(text, "dump.kfm")), text);
}

TEST(Formc, NestedObjectsExactBytes) {
  const char* src =
      "// a comment line\n"
      "object F: TF  // trailing comment\n"
      "  A = 1\n"
      "  object B: TB\n"
      "    object C: TC\n"
      "      X = True\n"
      "    end\n"
      "  end\n"
      "  object D: TD\n"
      "  end\n"
      "end\n";
  kfm::Object f = kfm::parse(src, "n.kfm");
  ASSERT_EQ(f.children.size(), 2u);
  ASSERT_EQ(f.children[0].children.size(), 1u);
  EXPECT_EQ(f.children[0].children[0].name, "C");
  Bytes expected = raw("KFM1") + sstr("TF") + sstr("F") + sstr("A") + u8({1}) + i32(1) + u8({0}) +  //
                   u8({1}) + sstr("TB") + sstr("B") + u8({0}) +                                      //
                   u8({1}) + sstr("TC") + sstr("C") + sstr("X") + u8({4}) + u8({0}) + u8({0}) +      // C
                   u8({0}) +                                                                         // end B
                   u8({1}) + sstr("TD") + sstr("D") + u8({0}) + u8({0}) +                            // D
                   u8({0});                                                                          // end F
  EXPECT_EQ(kfm::encode(f), expected);
  EXPECT_TRUE(kfm::decode(expected) == f);
}

TEST(Formc, UnnamedObjectAndKeywordCase) {
  kfm::Object f = kfm::parse("OBJECT TPanel\n  Tag = 3\nEnd\n", "u.kfm");
  EXPECT_EQ(f.name, "");
  EXPECT_EQ(f.cls, "TPanel");
  Bytes bin = kfm::encode(f);
  EXPECT_EQ(bin, raw("KFM1") + sstr("TPanel") + u8({0}) + sstr("Tag") + u8({1}) + i32(3) + u8({0, 0}));
  EXPECT_EQ(kfm::compile(kfm::dump(kfm::decode(bin)), "d.kfm"), bin);
}

TEST(Formc, ByteOrderMarkAndCrLf) {
  std::string src = "\xEF\xBB\xBFobject A: TA\r\n  S = 'x'\r\n  N = 2\r\nend\r\n";
  kfm::Object f = kfm::parse(src, "bom.kfm");
  ASSERT_EQ(f.properties.size(), 2u);
  EXPECT_EQ(f.properties[1].line, 3);
  EXPECT_TRUE(f.properties[0].value == kfm::Value::makeString(u"x"));
}

TEST(Formc, PropertyOrderIsKept) {
  // The reader applies properties in stored order (HueOffset before SkinName).
  kfm::Object f = kfm::parse("object M: TsSkinManager\n  HueOffset = 196\n  SkinName = 'Velmora2 (internal)'\nend", "m.kfm");
  ASSERT_EQ(f.properties.size(), 2u);
  EXPECT_EQ(f.properties[0].name, "HueOffset");
  EXPECT_EQ(f.properties[1].name, "SkinName");
}

TEST(Formc, Names255BytesAreAccepted) {
  std::string n(255, 'a');
  kfm::Object f = kfm::parse("object " + n + ": T" + std::string(254, 'c') + "\n  " + n + " = " + n + "\nend\n", "l.kfm");
  Bytes bin = kfm::encode(f);
  EXPECT_TRUE(kfm::decode(bin) == f);
}

TEST(Formc, Utf8Conversion) {
  EXPECT_EQ(kfm::utf8ToUtf16("Язык интерфейса"), u"Язык интерфейса");
  EXPECT_EQ(kfm::utf16ToUtf8(u"Путь установки"), "Путь установки");
  EXPECT_EQ(kfm::utf8ToUtf16("\xF0\x9F\x8E\xB5"), u"\U0001F3B5");
  EXPECT_THROW(kfm::utf8ToUtf16("\xC0\x80"), std::invalid_argument);  // overlong
  EXPECT_THROW(kfm::utf8ToUtf16("\xED\xA0\x80"), std::invalid_argument);  // surrogate
  EXPECT_THROW(kfm::utf8ToUtf16("\xE2\x82"), std::invalid_argument);  // truncated
  EXPECT_THROW(kfm::utf16ToUtf8(std::u16string(1, char16_t(0xD800))), std::invalid_argument);
}

TEST(Formc, DumpWritesControlCharactersAsCodes) {
  kfm::Object f = kfm::parse(wrap("'a'#13#10'it''s'#55296"), "c.kfm");  // #55296 = unpaired surrogate
  std::string text = kfm::dump(f);
  EXPECT_NE(text.find("P = 'a'#13#10'it''s'#55296\n"), std::string::npos) << text;
  EXPECT_EQ(kfm::compile(text, "d.kfm"), kfm::encode(f));
}

// ---- files on disk: -I directories in order, then beside the source -------------------

class FormcFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = std::filesystem::path(KALVETRA_TEST_TMP) / "formc_files";
    std::filesystem::remove_all(root_);
    for (const char* d : {"src", "inc1", "inc2"}) std::filesystem::create_directories(root_ / d);
  }
  void write(const std::string& rel, const std::string& content) {
    std::filesystem::create_directories((root_ / rel).parent_path());
    std::ofstream(root_ / rel, std::ios::binary) << content;
  }
  std::filesystem::path root_;
};

TEST_F(FormcFiles, SearchOrder) {
  write("src/form.kfm", "object A: TA\n  D = file 'data.bin'\nend\n");
  write("src/data.bin", "beside");
  write("inc2/data.bin", "second");
  kfm::ParseOptions o;
  o.includeDirs = {(root_ / "inc1").string(), (root_ / "inc2").string()};
  std::vector<std::string> deps;
  o.dependencies = &deps;
  auto value = [&] { return kfm::parseFile((root_ / "src/form.kfm").string(), o).properties[0].value.bytes; };
  EXPECT_EQ(value(), raw("second"));
  ASSERT_EQ(deps.size(), 1u);
  EXPECT_EQ(std::filesystem::path(deps[0]), root_ / "inc2" / "data.bin");
  write("inc1/data.bin", "first");
  EXPECT_EQ(value(), raw("first"));
  std::filesystem::remove(root_ / "inc1/data.bin");
  std::filesystem::remove(root_ / "inc2/data.bin");
  EXPECT_EQ(value(), raw("beside"));
  std::filesystem::remove(root_ / "src/data.bin");
  try {
    value();
    FAIL() << "expected an error";
  } catch (const kfm::Error& e) {
    EXPECT_EQ(e.line(), 2);
    EXPECT_NE(std::string(e.what()).find("file not found: 'data.bin'"), std::string::npos) << e.what();
    EXPECT_NE(std::string(e.what()).find("inc1"), std::string::npos) << e.what();
  }
}

TEST_F(FormcFiles, SubdirectoryNameAndPicture) {
  write("src/form.kfm", "object A: TA\n  P = picture TJPEGImage 'art/pic.jpg'\nend\n");
  write("inc1/art/pic.jpg", "JPEG");
  kfm::ParseOptions o;
  o.includeDirs = {(root_ / "inc1").string()};
  auto f = kfm::parseFile((root_ / "src/form.kfm").string(), o);
  EXPECT_EQ(f.properties[0].value.bytes, sstr("TJPEGImage") + i32(4) + raw("JPEG"));
}

TEST_F(FormcFiles, MissingSourceFile) {
  EXPECT_THROW(kfm::parseFile((root_ / "nope.kfm").string()), kfm::Error);
}

// ---- syntax errors: message and line ---------------------------------------------------

struct ErrorCase {
  const char* name;
  std::string source;
  int line;
  const char* message;  // substring of the message
};

std::vector<ErrorCase> errorCases() {
  const std::string longName(256, 'n');
  return {
      {"Empty", "", 1, "empty source"},
      {"OnlyComment", "// nothing\n", 1, "empty source"},
      {"NotObject", "thing A: TA\nend\n", 1, "expected 'object'"},
      {"UnterminatedString", "object A: TA\n  P = 'abc\nend\n", 2, "unterminated string"},
      {"UnterminatedStringAtEof", "object A: TA\n  P = 'abc", 2, "unterminated string"},
      {"UnterminatedStringInList", "object A: TA\n  P = (\n    'a'\n    'b\n  )\nend\n", 4, "unterminated string"},
      {"MissingEnd", "object A: TA\n  P = 1\n", 2, "missing 'end' for object 'A' (opened at line 1)"},
      {"MissingEndNested", "object A: TA\n  object B: TB\n    P = 1\n  end\n\n", 4, "missing 'end' for object 'A'"},
      {"MissingEndInner", "object A: TA\n  object B: TB\n    P = 1\n", 3, "missing 'end' for object 'B' (opened at line 2)"},
      {"TrailingTokens", "object A: TA\nend\nend\n", 3, "after the final 'end'"},
      {"TwoRoots", "object A: TA\nend\nobject B: TB\nend\n", 3, "only one top-level object"},
      {"MissingClass", "object A:\nend\n", 2, "expected a class name"},
      {"DottedClass", "object A: T.B\nend\n", 1, "must not contain '.'"},
      {"MissingEquals", "object A: TA\n  Left 375\nend\n", 2, "expected '=' after property name 'Left'"},
      {"MissingValue", "object A: TA\n  Left =\nend\n", 3, "found keyword 'end'"},
      {"MissingValueAtEof", "object A: TA\n  Left =", 2, "missing value for property 'Left'"},
      {"UnknownValueChar", "object A: TA\n  Left = @5\nend\n", 2, "unexpected character '@'"},
      {"UnknownValuePunct", "object A: TA\n  Left = )\nend\n", 2, "unknown value for property 'Left'"},
      {"UnknownValueFloat", "object A: TA\n  Left = 1.5.2\nend\n", 2, "not a valid number"},
      {"DoubleSuffix", "object A: TA\n  V = 1.5px\nend\n", 2, "not a valid number"},
      {"DoubleNoFraction", "object A: TA\n  V = 1.\nend\n", 2, "not a valid integer"},
      {"DoubleExponentNoDigits", "object A: TA\n  V = 1.5e\nend\n", 2, "exponent without digits"},
      {"DoubleTooLarge", "object A: TA\n  V = 1.0e999\nend\n", 2, "number out of range (double)"},
      {"DoubleHex", "object A: TA\n  V = $1.5\nend\n", 2, "not a valid integer"},
      {"UnknownValueSuffix", "object A: TA\n  Left = 12px\nend\n", 2, "not a valid integer"},
      {"IntegerTooLarge", "object A: TA\n  Left = 2147483648\nend\n", 2, "integer out of range"},
      {"IntegerTooSmall", "object A: TA\n  Left = -2147483649\nend\n", 2, "integer out of range"},
      {"HexTooLarge", "object A: TA\n  Color = $100000000\nend\n", 2, "does not fit in 32 bits"},
      {"HexNoDigits", "object A: TA\n  Color = $\nend\n", 2, "hexadecimal digits"},
      {"MinusAlone", "object A: TA\n  Left = - 5\nend\n", 2, "'-' must be followed by a number"},
      {"PlusWithoutString", "object A: TA\n  S = 'a' +\nend\n", 2, "expected a string after '+'"},
      {"PlusWithNumber", "object A: TA\n  S = 'a' + 5\nend\n", 2, "expected a string after '+'"},
      {"CharCodeTooLarge", "object A: TA\n  S = #65536\nend\n", 2, "larger than 65535"},
      {"CharCodeNoDigits", "object A: TA\n  S = 'a'#\nend\n", 2, "'#' must be followed by a decimal"},
      {"TextAfterString", "object A: TA\n  S = 'a'b\nend\n", 2, "unexpected text after a string"},
      {"InvalidUtf8", "object A: TA\n  S = '\xC3('\nend\n", 2, "invalid UTF-8"},
      {"NonAsciiName", "object A: TA\n  \xD0\x9F = 1\nend\n", 2, "unexpected byte 0xD0"},
      {"PropertyNameTooLong", "object A: TA\n  " + longName + " = 1\nend\n", 2, "property name is longer than 255 bytes (256 bytes)"},
      {"ObjectNameTooLong", "object " + longName + ": TA\nend\n", 1, "longer than 255 bytes"},
      {"ClassNameTooLong", "object A: " + longName + "\nend\n", 1, "class name is longer than 255 bytes"},
      {"IdentifierTooLong", "object A: TA\n\n  P = " + longName + "\nend\n", 3, "identifier is longer than 255 bytes"},
      {"SetElementTooLong", "object A: TA\n  P = [a, " + longName + "]\nend\n", 2, "set element is longer than 255 bytes"},
      {"PictureClassTooLong", "object A: TA\n  P = picture " + longName + " 'x'\nend\n", 2, "longer than 255 bytes"},
      {"TrailingDot", "object A: TA\n  Font. = 1\nend\n", 2, "invalid name 'Font.'"},
      {"PropertyAfterChild", "object A: TA\n  object B: TB\n  end\n  Left = 1\nend\n", 4, "properties must come before child objects"},
      {"SetMissingComma", "object A: TA\n  P = [a b]\nend\n", 2, "expected ',' between set elements"},
      {"SetTrailingComma", "object A: TA\n  P = [a,]\nend\n", 2, "expected an identifier in set"},
      {"SetNumber", "object A: TA\n  P = [1]\nend\n", 2, "expected an identifier in set"},
      {"SetUnclosed", "object A: TA\n  P = [a,\n", 2, "missing ']'"},
      {"ListNumber", "object A: TA\n  P = ( 'a' 5 )\nend\n", 2, "expected a string or ')' in string list"},
      {"ListUnclosed", "object A: TA\n  P = (\n  'a'\n", 3, "missing ')' for the string list opened at line 2"},
      {"CollectionNoItem", "object A: TA\n  P = <\n    thing\n  >\nend\n", 3, "expected 'item' or '>'"},
      {"CollectionItemNoEnd", "object A: TA\n  P = <\n    item\n      X = 1\n", 4, "missing 'end' for the collection item opened at line 3"},
      {"CollectionUnclosed", "object A: TA\n  P = <\n    item\n    end\n", 4, "missing '>' for the collection opened at line 2"},
      {"CollectionChildObject", "object A: TA\n  P = <\n    item\n      object B: TB\n", 4, "expected a property name or 'end' in collection item"},
      {"BinaryOdd", "object A: TA\n  P = {\n    78D\n  }\nend\n", 4, "odd number of hex digits"},
      {"BinaryBadChar", "object A: TA\n  P = {\n    78 ZZ\n  }\nend\n", 3, "invalid character 'Z' in binary literal"},
      {"BinaryUnterminated", "object A: TA\n  P = { 78 DA\n  01\n", 2, "unterminated binary literal"},
      {"BinaryEndInside", "object A: TA\n  P = { 78 DA\nend\n", 3, "invalid character 'n' in binary literal"},
      {"StrayBrace", "object A: TA\n  P = }\nend\n", 2, "'}' without a matching '{'"},
      {"FileNotFound", "object A: TA\n  D = file 'missing.kvp'\nend\n", 2, "file not found: 'missing.kvp'"},
      {"FileNoName", "object A: TA\n  D = file missing\nend\n", 2, "expected a quoted file name after 'file'"},
      {"FileEmptyName", "object A: TA\n  D = file ''\nend\n", 2, "empty file name"},
      {"PictureNotFound", "object A: TA\n\n  D = picture TJPEGImage 'none.jpg'\nend\n", 3, "file not found: 'none.jpg'"},
      {"PictureNoClass", "object A: TA\n  D = picture 'a.jpg'\nend\n", 2, "expected a picture class name"},
      {"PictureNoName", "object A: TA\n  D = picture TJPEGImage\nend\n", 3, "expected a quoted file name after 'picture TJPEGImage'"},
  };
}

void PrintTo(const ErrorCase& c, std::ostream* os) { *os << c.name; }

class FormcError : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(FormcError, ReportsFileLineAndMessage) {
  const ErrorCase& c = GetParam();
  try {
    kfm::parse(c.source, "form.kfm", memoryFiles(kFiles));
    FAIL() << "expected a syntax error";
  } catch (const kfm::Error& e) {
    EXPECT_EQ(e.file(), "form.kfm");
    EXPECT_EQ(e.line(), c.line) << e.what();
    EXPECT_NE(e.message().find(c.message), std::string::npos) << e.what();
    std::string prefix = "form.kfm:" + std::to_string(c.line) + ": error: ";
    EXPECT_EQ(std::string(e.what()).substr(0, prefix.size()), prefix) << e.what();
  }
}

INSTANTIATE_TEST_SUITE_P(Syntax, FormcError, ::testing::ValuesIn(errorCases()));

// ---- decoder: malformed streams --------------------------------------------------------

struct DecodeErrorCase {
  const char* name;
  Bytes data;
  const char* message;
};

std::vector<DecodeErrorCase> decodeErrorCases() {
  Bytes head = raw("KFM1") + sstr("TA") + sstr("A");
  return {
      {"Empty", {}, "signature"},
      {"BadMagic", raw("KFM2") + sstr("TA") + sstr("A") + u8({0, 0}), "signature"},
      {"Truncated", head, "runs past the end"},
      {"TruncatedShortstr", raw("KFM1") + u8({5, 'T'}), "runs past the end"},
      {"EmptyClass", raw("KFM1") + u8({0}) + sstr("A") + u8({0, 0}), "empty class name"},
      {"UnknownTag", head + sstr("P") + u8({11}) + u8({0, 0}), "unknown value tag 11"},
      {"DoublePastEnd", head + sstr("P") + u8({10, 0, 0, 0, 0}), "runs past the end"},
      {"DoubleNotANumber", head + sstr("P") + u8({10}) + f64(0x7FF8000000000000ull) + u8({0, 0}), "not a finite number"},
      {"DoubleInfinite", head + sstr("P") + u8({10}) + f64(0xFFF0000000000000ull) + u8({0, 0}), "not a finite number"},
      {"TagZero", head + sstr("P") + u8({0}) + u8({0, 0}), "unknown value tag 0"},
      {"NegativeStringCount", head + sstr("P") + u8({2}) + i32(-1) + u8({0, 0}), "negative string length"},
      {"StringPastEnd", head + sstr("P") + u8({2}) + i32(100) + u8({0x41, 0, 0, 0}), "runs past the end"},
      {"NegativeBinaryCount", head + sstr("P") + u8({6}) + i32(-5) + u8({0, 0}), "negative binary byte count"},
      {"BinaryPastEnd", head + sstr("P") + u8({6}) + i32(1000) + u8({1, 2, 0, 0}), "runs past the end"},
      {"HugeSetCount", head + sstr("P") + u8({7}) + i32(0x7FFFFFFF) + u8({0, 0}), "runs past the end"},
      {"NegativeListCount", head + sstr("P") + u8({8}) + i32(INT32_MIN) + u8({0, 0}), "negative string list count"},
      {"NegativeCollectionCount", head + sstr("P") + u8({9}) + i32(-2) + u8({0, 0}), "negative collection item count"},
      {"CollectionItemUnterminated", head + sstr("P") + u8({9}) + i32(1) + sstr("X") + u8({4}), "runs past the end"},
      {"IntegerPastEnd", head + sstr("P") + u8({1, 1, 2}), "runs past the end"},
      {"BadChildMarker", head + u8({0, 2}), "expected child marker"},
      {"MissingChildEnd", head + u8({0}), "runs past the end"},
      {"TrailingBytes", head + u8({0, 0, 0}), "trailing bytes"},
      {"NonAsciiName", raw("KFM1") + sstr("T\xC3") + sstr("A") + u8({0, 0}), "non-ASCII"},
  };
}

void PrintTo(const DecodeErrorCase& c, std::ostream* os) { *os << c.name; }

class FormcDecodeError : public ::testing::TestWithParam<DecodeErrorCase> {};

TEST_P(FormcDecodeError, Rejects) {
  const auto& c = GetParam();
  try {
    kfm::decode(c.data);
    FAIL() << "expected a decode error";
  } catch (const kfm::Error& e) {
    EXPECT_NE(e.message().find(c.message), std::string::npos) << e.what();
    EXPECT_NE(std::string(e.what()).find("at offset"), std::string::npos) << e.what();
    EXPECT_LE(e.offset(), c.data.size());
  }
}

INSTANTIATE_TEST_SUITE_P(Malformed, FormcDecodeError, ::testing::ValuesIn(decodeErrorCases()));

TEST(FormcDecode, OffsetPointsAtBadTag) {
  Bytes data = raw("KFM1") + sstr("TA") + sstr("A") + sstr("P") + u8({42}) + u8({0, 0});
  try {
    kfm::decode(data);
    FAIL();
  } catch (const kfm::Error& e) {
    EXPECT_EQ(e.offset(), 4u + 3 + 2 + 2);  // magic, "TA", "A", "P"
  }
}

TEST(FormcDecode, EveryTruncationIsRejected) {
  Bytes bin = kfm::compile(kDocExample, "Unit1.kfm", docFiles());
  for (std::size_t n = 0; n < bin.size(); ++n) {
    Bytes cut(bin.begin(), bin.begin() + static_cast<std::ptrdiff_t>(n));
    EXPECT_THROW(kfm::decode(cut), kfm::Error) << "length " << n;
  }
}

TEST(FormcEncode, RejectsWhatTheFormatCannotHold) {
  kfm::Object o;
  o.cls = "TA";
  o.name = std::string(256, 'x');
  EXPECT_THROW(kfm::encode(o), std::length_error);
  o.name = "A";
  o.properties.push_back(prop("", kfm::Value::makeInteger(1)));
  EXPECT_THROW(kfm::encode(o), std::invalid_argument);
}

}  // namespace

namespace {

TEST(Formc, BriefDumpCutsLongBinaries) {
  kfm::Object o = kfm::parse(wrap("{" + std::string(200, 'A') + "}"), "b.kfm");
  std::string brief = kfm::dump(o, 8);
  EXPECT_NE(brief.find("AAAAAAAAAAAAAAAA  // ... 92 more bytes not shown"), std::string::npos) << brief;
  EXPECT_EQ(kfm::parse(brief, "brief.kfm").properties[0].value.bytes.size(), 8u);  // still readable
  EXPECT_EQ(kfm::dump(o), kfm::dump(o, 100));  // nothing to cut
}

}  // namespace
