// The installer window's directory field and language selector as the built installer's
// description and tinted skin make them: colours from the skin's "EDIT" and "COMBOBOX" sections
// instead of the stored ones, frames and faces painted from the skin while unfocused, the field's
// own button hidden while the "..." button beside it still runs the folder dialog with the
// after-dialog rule, and the selector showing its one language with the skin's drop-down glyph.
#include <gtest/gtest.h>

#include "tests/win_installer/installer_support.h"

TEST(InstallerEdits, TakeTheirColoursFromTheSkinSectionsNotFromTheDescription) {
    kvinst::ShownInstaller installer;
    sk::TsDirectoryEdit& field = *installer.form->sDirectoryEdit1;
    sk::TsComboBox& language = *installer.form->sComboBox1;
    ASSERT_TRUE(field.SkinData().Skinned());
    ASSERT_TRUE(language.SkinData().Skinned());
    EXPECT_EQ(L"COMBOBOX", language.SkinData().SkinSection());
    const sk::TsGenState& edit = installer.Props(L"EDIT", 0);
    const sk::TsGenState& combo = installer.Props(L"COMBOBOX", 0);
    EXPECT_EQ(edit.Color, field.Color());
    EXPECT_EQ(edit.FontColor.Color, field.Font().Color);
    EXPECT_NE(0x00999489, field.Font().Color) << "the stored font colour is replaced";
    EXPECT_EQ(combo.Color, language.Color());
    EXPECT_EQ(combo.FontColor.Color, language.Font().Color);
    EXPECT_NE(0x00878686, language.Font().Color) << "the stored font colour is replaced";
}

TEST(InstallerEdits, TheUnfocusedFieldAndSelectorArePaintedFromTheSkin) {
    kvinst::ShownInstaller installer;
    kvinst::PumpMessages();
    sk::TsDirectoryEdit& field = *installer.form->sDirectoryEdit1;
    sk::TsComboBox& language = *installer.form->sComboBox1;
    if (field.Focused()) language.SetFocus();
    kvinst::PumpMessages();
    ASSERT_FALSE(field.Focused());
    EXPECT_NE(std::wstring::npos, field.GetText().find(L"Kalvetra")) << "the default path from FormCreate";
    for (int y = 0; y < field.Height(); y += 3)
        for (int x = 0; x < field.Width(); x += 5)
            ASSERT_EQ(kvinst::CachePixel(field.SkinData(), x, y), kvinst::WindowPixel(field.Handle(), x, y)) << x << ", " << y;
    int ink = 0;
    const uint32_t back = kvinst::CachePixel(field.SkinData(), field.Width() - 6, field.Height() / 2);
    for (int y = 3; y < field.Height() - 3; ++y)
        for (int x = 3; x < 120; ++x) ink += kvinst::CachePixel(field.SkinData(), x, y) != back;
    EXPECT_GT(ink, 30) << "the path is drawn by the skin";

    field.SetFocus();
    kvinst::PumpMessages();
    ASSERT_FALSE(language.Focused());
    ASSERT_TRUE(language.PrepareCache());
    const RECT b = language.ButtonRect();
    int glyph = 0;
    const uint32_t face = kvinst::CachePixel(language.SkinData(), b.left - 4, language.Height() / 2);
    for (int y = 0; y < language.Height(); ++y)
        for (int x = b.left; x < b.right; ++x) glyph += kvinst::CachePixel(language.SkinData(), x, y) != face;
    EXPECT_GT(glyph, 5) << "the skin's drop-down glyph";
    for (int y = 0; y < language.Height(); y += 2)
        for (int x = 0; x < language.Width(); x += 3)
            ASSERT_EQ(kvinst::CachePixel(language.SkinData(), x, y), kvinst::WindowPixel(language.Handle(), x, y)) << x << ", " << y;
}

TEST(InstallerEdits, TheFieldHidesItsButtonAndTheBrowseButtonStillRunsTheDialogWithTheAfterDialogRule) {
    kvinst::ShownInstaller installer;
    sk::TsDirectoryEdit& field = *installer.form->sDirectoryEdit1;
    EXPECT_FALSE(field.ShowButton());
    EXPECT_FALSE(field.Button()->Visible());
    EXPECT_EQ(10, field.GlyphMode().Blend());
    EXPECT_TRUE(field.GlyphMode().Grayed());
    EXPECT_EQ(0, HIWORD(SendMessageW(field.Handle(), EM_GETMARGINS, 0, 0))) << "no room kept for a hidden button";
    EXPECT_EQ(255, field.MaxLength());

    std::wstring start;
    field.ExecuteDialog = [&](const std::wstring& s, std::wstring& chosen) {
        start = s;
        chosen = L"C:\\windows";
        return true;
    };
    installer.form->sSpeedButton1->Click();
    EXPECT_EQ(L"C:\\windows\\Kalvetra", field.GetText()) << "the product folder is appended";
    field.ExecuteDialog = [](const std::wstring&, std::wstring&) { return false; };
    installer.form->sSpeedButton1->Click();
    EXPECT_EQ(L"C:\\windows\\Kalvetra", field.GetText()) << "cancel leaves the field";
}

TEST(InstallerEdits, TheLanguageSelectorShowsItsOneLanguage) {
    kvinst::ShownInstaller installer;
    sk::TsComboBox& language = *installer.form->sComboBox1;
    EXPECT_EQ(tk::TComboBoxStyle::csDropDown, language.Style());
    EXPECT_EQ(0, language.ItemIndex());
    EXPECT_EQ(L"\u0420\u0443\u0441\u0441\u043A\u0438\u0439", language.GetText());
    EXPECT_FALSE(language.ReadOnly());
}
