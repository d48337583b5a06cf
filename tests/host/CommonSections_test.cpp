// The manager's common-sections text: merged into the skin's options (its keys replace the
// skin's, other keys stay), new sections inherit from their parent, and a change reloads.
#include <gtest/gtest.h>

#include "skin/OptionsFile.h"
#include "skin/acSkinPack.h"
#include "skin/sSkinManagerCore.h"

using namespace sk;

namespace {

TBytes Bytes(const std::string& s) { return TBytes(s.begin(), s.end()); }

const TsGeneralData* Section(const TSkinModel& m, const wchar_t* name) {
    const int i = m.GetSkinIndex(name);
    return i < 0 ? nullptr : &m.gd[static_cast<size_t>(i)];
}

}  // namespace

TEST(OptionsMerge, KeysReplaceOrJoinAndNewSectionsAreAppended) {
    const auto own = TOptionsFile::FromText(L"[A]\nX=1\nY=2\n[B]\nZ=3\n");
    const auto merged = own.MergedWith(TOptionsFile::FromText(L"[A]\nY=20\nW=40\n[C]\nV=5\n"));
    struct Case {
        const wchar_t *section, *key, *value;
    } cases[] = {{L"A", L"X", L"1"}, {L"A", L"Y", L"20"}, {L"A", L"W", L"40"}, {L"B", L"Z", L"3"}, {L"C", L"V", L"5"}};
    for (const auto& c : cases) EXPECT_EQ(merged.ReadString(c.section, c.key, L"-"), c.value);
    ASSERT_EQ(merged.Sections().size(), 3u);
    EXPECT_EQ(merged.Sections()[2].Name, L"C");
    EXPECT_EQ(own.ReadString(L"A", L"Y", L"-"), L"2") << "the skin's own text is not changed";
}

TEST(CommonSections, MergedIntoTheLoadedSkinAndReloadedOnChange) {
    TSkinManagerCore core{TSkinManagerHost{}};
    core.SetSkinDirectory(L"Z:\\no\\such\\skins");
    core.InternalSkins().push_back(
        {L"Skin", PackSkin({{L"Options.dat", Bytes("[GLOBALINFO]\nVERSION=7.50\n[FORM]\nCOLOR=255\nTRANSPARENCY=40\n")}})});
    core.SetSkinName(L"Skin");
    ASSERT_TRUE(core.SkinLoaded());
    const size_t plainCount = core.Model().gd.size();

    core.SetCommonSections(L"[FORM]\nCOLOR=100\n[MYPANEL]\nPARENTCLASS=FORM\n");
    const TsGeneralData* form = Section(core.Model(), L"FORM");
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->Props[0].Color, 100) << "the common key replaces the skin's";
    EXPECT_EQ(form->Props[0].Transparency, 40) << "keys the common text lacks stay";
    const TsGeneralData* panel = Section(core.Model(), L"MYPANEL");
    ASSERT_NE(panel, nullptr) << "a new section is appended";
    EXPECT_EQ(panel->Props[0].Color, 100) << "it starts from its parent";
    EXPECT_EQ(panel->Props[0].Transparency, 40);
    EXPECT_EQ(core.Model().gd.size(), plainCount + 1);

    core.SetCommonSections(L"");
    EXPECT_EQ(Section(core.Model(), L"FORM")->Props[0].Color, 255);
    EXPECT_EQ(Section(core.Model(), L"MYPANEL"), nullptr);
}
