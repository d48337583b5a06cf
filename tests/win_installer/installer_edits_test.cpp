// The installer window's directory field and language selector as the built installer's
// description and tinted skin make them: colours from the skin's "EDIT" and "COMBOBOX" sections
// instead of the stored ones, frames and faces painted from the skin while unfocused, the field's
// own button hidden while the "..." button beside it still runs the folder dialog with the
// after-dialog rule, and the selector showing its one language with the skin's drop-down glyph.
#include <gtest/gtest.h>

#include <memory>

#include "controls/RegisterControls.h"
#include "installer/Unit1.h"
#include "skinframework/sSkinManager.h"

namespace {

struct Installer {
    std::unique_ptr<kv::TForm1> form = std::make_unique<kv::TForm1>(nullptr);
    Installer() {
        SetCursorPos(1, 1);
        form->ShowNoActivate();
        RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
    }
    const sk::TSkinModel& Model() { return form->sSkinManager1->Model(); }
    const sk::TsGenState& Props(const wchar_t* section, int state) {
        const int index = Model().GetSkinIndex(section);
        EXPECT_GE(index, 0) << "the installer's skin has the section";
        return Model().gd[static_cast<size_t>(std::max(index, 0))].Props[state];
    }
};

uint32_t CachePixel(sk::TsCommonData& data, int x, int y) {
    sk::TacCacheBitmap* cache = data.FCacheBmp.get();
    if (!cache || x < 0 || y < 0 || x >= cache->Width() || y >= cache->Height()) return 0xFFFFFFFF;
    return cache->ScanLine(y)[x] & 0x00FFFFFF;
}

uint32_t WindowPixel(HWND window, int x, int y) {
    HDC dc = GetWindowDC(window);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

void Pump() {
    MSG msg;
    for (int i = 0; i < 20; ++i) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(10);
    }
}

}  // namespace

TEST(InstallerEdits, TakeTheirColoursFromTheSkinSectionsNotFromTheDescription) {
    Installer installer;
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
    Installer installer;
    Pump();
    sk::TsDirectoryEdit& field = *installer.form->sDirectoryEdit1;
    sk::TsComboBox& language = *installer.form->sComboBox1;
    if (field.Focused()) language.SetFocus();
    Pump();
    ASSERT_FALSE(field.Focused());
    EXPECT_NE(std::wstring::npos, field.GetText().find(L"Kalvetra")) << "the default path from FormCreate";
    for (int y = 0; y < field.Height(); y += 3)
        for (int x = 0; x < field.Width(); x += 5)
            ASSERT_EQ(CachePixel(field.SkinData(), x, y), WindowPixel(field.Handle(), x, y)) << x << ", " << y;
    int ink = 0;
    const uint32_t back = CachePixel(field.SkinData(), field.Width() - 6, field.Height() / 2);
    for (int y = 3; y < field.Height() - 3; ++y)
        for (int x = 3; x < 120; ++x) ink += CachePixel(field.SkinData(), x, y) != back;
    EXPECT_GT(ink, 30) << "the path is drawn by the skin";

    field.SetFocus();
    Pump();
    ASSERT_FALSE(language.Focused());
    ASSERT_TRUE(language.PrepareCache());
    const RECT b = language.ButtonRect();
    int glyph = 0;
    const uint32_t face = CachePixel(language.SkinData(), b.left - 4, language.Height() / 2);
    for (int y = 0; y < language.Height(); ++y)
        for (int x = b.left; x < b.right; ++x) glyph += CachePixel(language.SkinData(), x, y) != face;
    EXPECT_GT(glyph, 5) << "the skin's drop-down glyph";
    for (int y = 0; y < language.Height(); y += 2)
        for (int x = 0; x < language.Width(); x += 3)
            ASSERT_EQ(CachePixel(language.SkinData(), x, y), WindowPixel(language.Handle(), x, y)) << x << ", " << y;
}

TEST(InstallerEdits, TheFieldHidesItsButtonAndTheBrowseButtonStillRunsTheDialogWithTheAfterDialogRule) {
    Installer installer;
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
    Installer installer;
    sk::TsComboBox& language = *installer.form->sComboBox1;
    EXPECT_EQ(tk::TComboBoxStyle::csDropDown, language.Style());
    EXPECT_EQ(0, language.ItemIndex());
    EXPECT_EQ(L"\u0420\u0443\u0441\u0441\u043A\u0438\u0439", language.GetText());
    EXPECT_FALSE(language.ReadOnly());
}
