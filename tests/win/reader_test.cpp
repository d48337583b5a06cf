// The window-description reader: stored order, Loaded after all properties, bad input.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>

#include "controls/RegisterControls.h"
#include "controls/sGauge.h"
#include "controls/sToolEdit.h"
#include "skinframework/sSkinManager.h"
#include "toolkit/DescriptionReader.h"
#include "toolkit/Forms.h"
#include "toolkit/StdCtrls.h"

using namespace tk;

namespace {

// Writes the binary form of a description, the way the form compiler does.
class Writer {
public:
    Writer() { bytes_ = {'K', 'F', 'M', '1'}; }
    Writer& Short(const std::string& s) { bytes_.push_back(static_cast<uint8_t>(s.size())); Raw(s.data(), s.size()); return *this; }
    Writer& I32(int32_t v) { Raw(&v, 4); return *this; }
    Writer& U8(uint8_t v) { bytes_.push_back(v); return *this; }
    Writer& Object(const std::string& cls, const std::string& name) { return Short(cls).Short(name); }
    Writer& Int(const std::string& prop, int32_t v) { return Short(prop).U8(1).I32(v); }
    Writer& Str(const std::string& prop, const std::wstring& v) {
        Short(prop).U8(2).I32(static_cast<int32_t>(v.size()));
        Raw(v.data(), v.size() * 2);
        return *this;
    }
    Writer& Ident(const std::string& prop, const std::string& v) { return Short(prop).U8(3).Short(v); }
    Writer& Bool(const std::string& prop, bool v) { return Short(prop).U8(v ? 4 : 5); }
    Writer& Real(const std::string& prop, double v) { Short(prop).U8(10); Raw(&v, 8); return *this; }
    Writer& Bin(const std::string& prop, const std::vector<uint8_t>& v) {
        Short(prop).U8(6).I32(static_cast<int32_t>(v.size()));
        Raw(v.data(), v.size());
        return *this;
    }
    Writer& Items(const std::string& prop, int32_t count) { return Short(prop).U8(9).I32(count); }
    Writer& EndProps() { return U8(0); }
    Writer& Child() { return U8(1); }
    Writer& EndChildren() { return U8(0); }
    std::vector<uint8_t>& Bytes() { return bytes_; }
private:
    void Raw(const void* p, size_t n) { auto* b = static_cast<const uint8_t*>(p); bytes_.insert(bytes_.end(), b, b + n); }
    std::vector<uint8_t> bytes_;
};

class TestForm : public TForm {
public:
    explicit TestForm(TComponent* owner) : TForm(owner) {}
    void Read(std::vector<uint8_t>& bytes) {
        TReader reader(bytes.data(), bytes.size());
        reader.SetMethods(&methods);
        reader.ReadRoot(*this);
    }
    TMethodTable methods;
};

// Records the order of property calls and Loaded calls across components.
std::vector<std::string> journal;

class TJournalComponent : public TComponent {
public:
    using TComponent::TComponent;
    void SetProperty(TReader& reader, const std::string& name, const TValue& v) override {
        journal.push_back(WideToUtf8(Name()) + "." + name + "=" + std::to_string(reader.Int(v)));
    }
    void Loaded() override {
        TComponent::Loaded();
        journal.push_back(WideToUtf8(Name()) + ".Loaded");
    }
};

class ReaderTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        sk::RegisterControlClasses();
        TClassRegistry::Register("TJournalComponent", [](TComponent* o) { return new TJournalComponent(o); });
    }
    void SetUp() override { journal.clear(); }
    TApplication app;
};

Writer FormWith(const std::function<void(Writer&)>& children) {
    Writer w;
    w.Object("TTestForm", "Form1").Str("Caption", L"Kalvetra setup").Int("ClientWidth", 680).EndProps();
    children(w);
    w.EndChildren();
    return w;
}

TEST_F(ReaderTest, CreatesControlsInStoredOrderAndCallsLoadedAfterAllProperties) {
    Writer w = FormWith([](Writer& w) {
        w.Child().Object("TJournalComponent", "first").Int("A", 1).Int("B", 2).EndProps().EndChildren();
        w.Child().Object("TJournalComponent", "second").Int("A", 3).EndProps().EndChildren();
    });
    TestForm form(nullptr);
    form.Read(w.Bytes());
    EXPECT_EQ(form.Caption(), L"Kalvetra setup");
    EXPECT_EQ(form.ClientWidth(), 680);
    std::vector<std::string> expected = {"first.A=1", "first.B=2", "second.A=3", "first.Loaded", "second.Loaded"};
    EXPECT_EQ(journal, expected);
    ASSERT_EQ(form.ComponentCount(), 2);
    EXPECT_EQ(form.Components(0)->Name(), L"first");
}

TEST_F(ReaderTest, ControlsGetParentPlaceTextAndHandlers) {
    Writer w = FormWith([](Writer& w) {
        w.Child().Object("TsButton", "sButton1").Int("Left", 597).Int("Top", 470).Int("Width", 75).Int("Height", 25)
            .Str("Caption", L"Установить").Int("TabOrder", 0).Ident("OnClick", "sButton1Click")
            .Str("SkinData.SkinSection", L"BUTTON").EndProps().EndChildren();
        w.Child().Object("TsGauge", "sGauge1").Int("MaxValue", 4).Int("Progress", 0).EndProps().EndChildren();
        w.Child().Object("TsSkinManager", "sSkinManager1").Int("HueOffset", 196).Str("SkinName", L"Velmora2 (internal)")
            .EndProps().EndChildren();
    });
    TestForm form(nullptr);
    int clicks = 0;
    form.methods["sButton1Click"].Notify = [&](TObject*) { ++clicks; };
    form.Read(w.Bytes());
    auto* button = dynamic_cast<TButton*>(form.FindComponent(L"sButton1"));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->Parent(), &form);
    EXPECT_EQ(button->Left(), 597);
    EXPECT_EQ(button->Caption(), L"Установить");
    button->Click();
    EXPECT_EQ(clicks, 1);
    auto* gauge = dynamic_cast<sk::TsGauge*>(form.FindComponent(L"sGauge1"));
    ASSERT_NE(gauge, nullptr);
    EXPECT_EQ(gauge->MaxValue(), 4);
    EXPECT_EQ(gauge->Progress(), 0);
    auto* manager = dynamic_cast<sk::TsSkinManager*>(form.FindComponent(L"sSkinManager1"));
    ASSERT_NE(manager, nullptr);
    EXPECT_EQ(manager->HueOffset(), 196);
    EXPECT_EQ(manager->SkinName(), L"Velmora2 (internal)");
}

struct BadInput {
    const char* what;
    std::function<std::vector<uint8_t>()> make;
    const wchar_t* message;  // a part of the error text
};

class ReaderBadInput : public ReaderTest, public ::testing::WithParamInterface<BadInput> {};

TEST_P(ReaderBadInput, RaisesAReadError) {
    auto bytes = GetParam().make();
    TestForm form(nullptr);
    try {
        form.Read(bytes);
        FAIL() << GetParam().what << ": accepted";
    } catch (const EReadError& e) {
        EXPECT_NE(e.Message().find(GetParam().message), std::wstring::npos) << GetParam().what << ": " << e.what();
    }
}

std::vector<uint8_t> Truncated(size_t keep) {
    auto w = FormWith([](Writer& w) { w.Child().Object("TsButton", "b").Str("Caption", L"long caption").EndProps().EndChildren(); });
    auto b = w.Bytes();
    b.resize(std::min(keep, b.size()));
    return b;
}

INSTANTIATE_TEST_SUITE_P(Cases, ReaderBadInput, ::testing::Values(
    BadInput{"wrong signature", [] { auto b = FormWith([](Writer&) {}).Bytes(); b[0] = 'X'; return b; }, L"signature"},
    BadInput{"empty", [] { return std::vector<uint8_t>{}; }, L"signature"},
    BadInput{"cut inside a string", [] { return Truncated(40); }, L"window description"},
    BadInput{"cut before the end markers", [] { auto b = Truncated(1000); b.resize(b.size() - 2); return b; }, L"window description"},
    BadInput{"unknown class", [] { return FormWith([](Writer& w) { w.Child().Object("TNoSuchThing", "x").EndProps().EndChildren(); }).Bytes(); }, L"Class TNoSuchThing not found"},
    BadInput{"unknown property", [] { return FormWith([](Writer& w) { w.Child().Object("TsButton", "b").Int("Colour", 1).EndProps().EndChildren(); }).Bytes(); }, L"Property Colour does not exist"},
    BadInput{"wrong value type", [] { return FormWith([](Writer& w) { w.Child().Object("TsButton", "b").Int("Caption", 1).EndProps().EndChildren(); }).Bytes(); }, L"string expected"},
    BadInput{"unknown value tag", [] { Writer w; w.Object("TTestForm", "F").Short("Left").U8(77); return w.Bytes(); }, L"Unknown value type 77"},
    BadInput{"negative count", [] { Writer w; w.Object("TTestForm", "F").Short("Caption").U8(2).I32(-5); return w.Bytes(); }, L"Invalid count"},
    BadInput{"absurd count", [] { Writer w; w.Object("TTestForm", "F").Short("Caption").U8(6).I32(0x7FFFFFFF); return w.Bytes(); }, L"Invalid count"},
    BadInput{"double cut short", [] { Writer w; w.Object("TTestForm", "F").Short("Left").U8(10).I32(0); return w.Bytes(); }, L"Unexpected end"},
    BadInput{"double not finite", [] { return FormWith([](Writer& w) { w.Child().Object("TsSkinManager", "m").Items("InternalSkins", 1).Real("Version", std::numeric_limits<double>::infinity()).U8(0).EndProps().EndChildren(); }).Bytes(); }, L"Invalid floating-point value"},
    BadInput{"double where a string belongs", [] { return FormWith([](Writer& w) { w.Child().Object("TsButton", "b").Real("Caption", 1.5).EndProps().EndChildren(); }).Bytes(); }, L"string expected"},
    BadInput{"string where a double belongs", [] { return FormWith([](Writer& w) { w.Child().Object("TsSkinManager", "m").Items("InternalSkins", 1).Str("Version", L"9.14").U8(0).EndProps().EndChildren(); }).Bytes(); }, L"number expected"},
    BadInput{"unknown stored-skin property", [] { return FormWith([](Writer& w) { w.Child().Object("TsSkinManager", "m").Items("InternalSkins", 1).Int("Colour", 1).U8(0).EndProps().EndChildren(); }).Bytes(); }, L"Property InternalSkins.Colour does not exist"},
    BadInput{"unknown handler", [] { return FormWith([](Writer& w) { w.Child().Object("TsButton", "b").Ident("OnClick", "Nope").EndProps().EndChildren(); }).Bytes(); }, L"Method Nope not found"}));

TEST_F(ReaderTest, StoredSkinsKeepEveryValueOfTheDescription) {
    const std::vector<uint8_t> bmp = {'B', 'M', 0x3A, 0, 0, 0, 0, 0, 0, 0, 0x36, 0, 0, 0};
    Writer w = FormWith([&](Writer& w) {
        w.Child().Object("TsSkinManager", "sSkinManager1").Bool("Active", false).Items("InternalSkins", 2);
        w.Str("Name", L"Velmora2 (internal)").Bin("Data", {1, 2, 3}).Bin("MasterBitmap.Data", bmp)
            .Int("Shadow1Color", 0x00123456).Int("Shadow1Offset", 3).Int("Shadow1Blur", 7).Int("Shadow1Transparency", 40)
            .Ident("BorderColor", "clBlack").Real("Version", 9.14).Str("Author", L"Автор").Str("Description", L"Blue").U8(0);
        w.Str("Name", L"Second").Int("Version", 7).U8(0);  // an integer is a double too
        w.EndProps().EndChildren();
    });
    TestForm form(nullptr);
    form.Read(w.Bytes());
    auto* manager = dynamic_cast<sk::TsSkinManager*>(form.FindComponent(L"sSkinManager1"));
    ASSERT_NE(manager, nullptr);
    const sk::TsStoredSkins& skins = manager->InternalSkins();
    ASSERT_EQ(skins.size(), 2u);
    const sk::TsStoredSkin& s = skins[0];
    EXPECT_EQ(s.Name, L"Velmora2 (internal)");
    EXPECT_EQ(s.Data, (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_EQ(s.MasterBitmap, bmp);
    EXPECT_EQ(s.Shadow1Color, 0x00123456);
    EXPECT_EQ(s.Shadow1Offset, 3);
    EXPECT_EQ(s.Shadow1Blur, 7);
    EXPECT_EQ(s.Shadow1Transparency, 40);
    EXPECT_EQ(s.BorderColor, 0);
    EXPECT_EQ(s.Version, 9.14);
    EXPECT_EQ(s.Author, L"Автор");
    EXPECT_EQ(s.Description, L"Blue");
    // Values not stored keep their defaults.
    EXPECT_EQ(skins[1].Version, 7.0);
    EXPECT_EQ(skins[1].Shadow1Blur, -1);
    EXPECT_EQ(skins[1].BorderColor, 0x00FF00FF);
    EXPECT_TRUE(skins[1].MasterBitmap.empty());
    EXPECT_EQ(skins.IndexOf(L"Second"), 1);
}

TEST_F(ReaderTest, ErrorsNameTheComponentAndProperty) {
    auto w = FormWith([](Writer& w) { w.Child().Object("TsButton", "sButton1").Int("Caption", 1).EndProps().EndChildren(); });
    TestForm form(nullptr);
    try {
        form.Read(w.Bytes());
        FAIL();
    } catch (const EReadError& e) {
        EXPECT_NE(e.Message().find(L"sButton1.Caption"), std::wstring::npos) << e.what();
    }
}

}  // namespace
