// The kind tables of skin data: which kinds never hover, are containers or edits, and which
// section a control of each kind binds to when its description names none.
#include <gtest/gtest.h>

#include "tests/win_framework/commondata_support.h"

using namespace kvfw;

namespace {

struct TKindSetCase {
    int Coc;
    bool NoHover, Container, Edit;
};

// Boundaries of every range, members and near misses, and codes above 255.
const TKindSetCase kKindSets[] = {
    {1, false, false, false},    {2, false, false, true},     {18, false, false, true},
    {19, true, false, false},    {20, false, false, false},   {41, false, false, true},
    {50, false, false, false},   {51, true, true, false},     {52, true, true, false},
    {53, true, false, false},    {55, true, false, false},    {56, true, true, false},
    {60, true, true, false},     {61, true, false, false},    {68, true, true, false},
    {74, true, true, false},     {75, false, false, false},   {76, false, false, true},
    {84, false, false, true},    {85, false, false, false},   {92, false, false, false},
    {96, false, false, true},    {110, true, true, false},    {130, false, false, false},
    {131, false, false, true},   {134, false, false, true},   {140, false, false, true},
    {141, true, true, false},    {142, true, false, false},   {151, true, true, false},
    {161, true, true, false},    {162, false, false, false},  {224, false, false, false},
    {226, false, true, false},   {231, false, false, true},   {256 + 2, false, false, false},
    {256 + 51, false, false, false}, {-1, false, false, false},
};

TEST(CommonDataKinds, EveryKindBelongsToExactlyTheSetsOfItsTable) {
    for (const TKindSetCase& c : kKindSets) {
        EXPECT_EQ(sk::IsNoHoverKind(c.Coc), c.NoHover) << "kind " << c.Coc;
        EXPECT_EQ(sk::IsContainerKind(c.Coc), c.Container) << "kind " << c.Coc;
        EXPECT_EQ(sk::IsEditKind(c.Coc), c.Edit) << "kind " << c.Coc;
    }
}

struct TDefaultSectionCase {
    int Coc;
    const wchar_t* Section;
};

const TDefaultSectionCase kDefaultSections[] = {
    {2, L"EDIT"},          {8, L"EDIT"},          {9, L""},              {10, L"EDIT"},
    {11, L"COMBOBOX"},     {18, L"COMBOBOX"},     {19, L"BAR"},          {20, L"BARTITLE"},
    {32, L"CHECKBOX"},     {33, L"CHECKBOX"},     {50, L"CHECKBOX"},     {152, L"CHECKBOX"},
    {51, L"PANEL"},        {59, L"PANEL"},        {68, L"PANEL"},        {73, L"PANEL"},
    {52, L"PANEL_LOW"},    {58, L"PANEL_LOW"},    {53, L"TOOLBAR"},      {54, L"TOOLBAR"},
    {60, L"TOOLBAR"},      {56, L"DRAGBAR"},      {57, L"TABSHEET"},     {74, L"GROUPBOX"},
    {226, L"GROUPBOX"},    {75, L"SPLITTER"},     {92, L"SPEEDBUTTON"},  {95, L"SPEEDBUTTON"},
    {93, L"BUTTON"},       {94, L"BUTTON"},       {98, L"TOOLBUTTON"},   {141, L"PAGECONTROL"},
    {143, L"PAGECONTROL"}, {151, L"STATUSBAR"},   {161, L"GAUGE"},       {165, L"TRACKBAR"},
    {7, L"EDIT"},          {3, L"EDIT"},          {41, L"EDIT"},         {76, L"EDIT"},
    {77, L""},             {78, L"EDIT"},         {81, L"COMBOBOX"},     {83, L"EDIT"},
    {85, L"EDIT"},         {96, L"EDIT"},         {131, L"EDIT"},        {132, L""},
    {134, L""},            {138, L""},            {140, L"EDIT"},        {230, L"EDIT"},
    {224, L""},            {300, L""},
};

TEST(CommonDataKinds, DefaultSectionFollowsTheKindTable) {
    for (const TDefaultSectionCase& c : kDefaultSections)
        EXPECT_EQ(sk::DefaultSectionForKind(c.Coc), c.Section) << "kind " << c.Coc;
}

struct TBindingCase {
    int Coc;
    const wchar_t* Section;  // bound section after loading
    bool Skinned;
};

// Controls created with an empty section, bound against the test skin.
const TBindingCase kBindings[] = {
    {93, L"BUTTON", true},
    {2, L"EDIT", true},
    {32, L"CHECKBOX", true},
    {51, L"PANEL", true},
    {52, L"PANEL_LOW", true},
    {161, L"GAUGE", false},            // the test skin has no gauge section
    {134, L"TTESTWINCONTROL", false},  // no kind section: the class name, upper-cased
    {34, L"PANEL_LOW", true},          // the first candidate the skin has
};

TEST(CommonDataKinds, AControlWithoutSectionBindsByItsKind) {
    auto manager = MakeManager();
    TTestForm form;
    for (const TBindingCase& c : kBindings) {
        TTestWinControl control(&form, c.Coc, {0, 0, 40, 20});
        EXPECT_EQ(control.SkinData.SkinSection(), c.Section) << "kind " << c.Coc;
        EXPECT_EQ(control.SkinData.Skinned(), c.Skinned) << "kind " << c.Coc;
        EXPECT_EQ(control.SkinData.SkinIndex >= 0, c.Skinned) << "kind " << c.Coc;
    }
}

TEST(CommonDataKinds, AWindowlessControlUsesItsOwnClassName) {
    auto manager = MakeManager();
    TTestForm form;
    TTestGraphicControl control(&form, 9, {0, 0, 40, 20});
    EXPECT_EQ(control.SkinData.SkinSection(), L"TTESTGRAPHICCONTROL");
    EXPECT_FALSE(control.SkinData.Skinned());
}

TEST(CommonDataKinds, KindThirtyFourWithoutAnyCandidateStaysUnskinned) {
    auto manager = MakeManager(nullptr, "[GLOBALINFO]\nVERSION=7.20\n[FORM]\nSTATES=1\n");
    TTestForm form;
    TTestWinControl control(&form, 34, {0, 0, 40, 20});
    EXPECT_EQ(control.SkinData.SkinIndex, -1);
    EXPECT_FALSE(control.SkinData.Skinned());
}

}  // namespace
