// Shared enumerations and the constant skin indexes computed once per skin load.
#pragma once
#include <array>
#include <cstdint>
#include <string>

namespace sk {

enum TacPaletteColors {
    pcMainColor, pcLabelText, pcWebText, pcWebTextHot, pcEditText, pcEditBG, pcSelectionBG, pcSelectionText,
    pcSelectionBG_Focused, pcSelectionText_Focused, pcEditBG_Inverted, pcEditText_Inverted, pcEditBG_OddRow,
    pcEditBG_EvenRow, pcEditText_Ok, pcEditText_Warning, pcEditText_Alert, pcEditText_Caution, pcEditText_Bypassed,
    pcEditBG_Ok, pcEditBG_Warning, pcEditBG_Alert, pcEditBG_Caution, pcEditBG_Bypassed, pcEditText_Highlight1,
    pcEditText_Highlight2, pcEditText_Highlight3, pcBorder,
    pcCount
};
using TacPaletteArray = std::array<int32_t, pcCount>;

// One element drawn from its own section.
struct TacConstElementData {
    int SkinIndex = -1;
    int MaskIndex = -1;                 // "BORDERSMASK"
    int GlyphIndex = -1;                // "GLYPHMASK"
    std::array<int, 2> BGIndex{-1, -1};  // "PATTERN", "HOTPATTERN" (as masks)
    std::wstring SkinSection;
};

enum TacSide { asLeft, asTop, asRight, asBottom };
using TacSideElements = std::array<TacConstElementData, 4>;
using TacBoolElements = std::array<TacConstElementData, 2>;  // [false], [true]
enum TacSection { ssMenuItem, ssToolButton, ssCheckBox, ssTransparent, ssGroupBox, ssWebBtn };
using TacIntSections = std::array<int, 6>;

struct TConstantSkinData {
    int IndexGLobalInfo = -1;
    int ExBorder = -1;
    TacSideElements Tabs;
    TacSideElements ScrollBtns;
    TacSideElements Scrolls;
    TacBoolElements Sliders;
    TacConstElementData ComboBtn;
    int MaskCloseBtn = -1, MaskCloseAloneBtn = -1, MaskMaxBtn = -1, MaskNormBtn = -1, MaskMinBtn = -1,
        MaskHelpBtn = -1;
    int MaskCloseSmall = -1, MaskMaxSmall = -1, MaskNormSmall = -1, MaskMinSmall = -1, MaskHelpSmall = -1;
    int CheckBoxChecked = -1, CheckBoxUnChecked = -1, CheckBoxGrayed = -1;
    int RadioButtonChecked = -1, RadioButtonUnChecked = -1, RadioButtonGrayed = -1;
    int SmallCheckBoxChecked = -1, SmallCheckBoxUnChecked = -1, SmallCheckBoxGrayed = -1;
    int GripRightBottom = -1, GripHorizontal = -1, GripVertical = -1;
    TacIntSections Sections{-1, -1, -1, -1, -1, -1};
};

}  // namespace sk
