// The skin manager's published settings objects with their defaults, and the class-name
// lists of controls that are skinned like one of the engine's kinds.
#pragma once
#include <array>
#include <string>
#include <vector>

namespace sk {

struct TacSkinEffects {
    bool AllowGlowing = true;
    bool AllowAeroBluring = true;
    bool AllowOuterEffects = false;
    bool DiscoloredGlyphs = false;
};

enum class TacAnimType : uint8_t { atFading, atAero };

struct TacAnimation {
    bool Active = true;
    int Time = 0;  // milliseconds
    TacAnimType Mode = TacAnimType::atAero;
};

struct TacBlendOnMoving {
    bool Active = false;
    int BlendValue = 170;
    int Time = 1000;
};

enum TacBtnEvent : uint8_t { beMouseEnter = 1, beMouseLeave = 2, beMouseDown = 4, beMouseUp = 8 };

struct TacAnimEffects {
    uint8_t ButtonEvents = beMouseEnter | beMouseLeave | beMouseDown | beMouseUp;
    TacAnimation DialogShow, FormShow, FormHide, DialogHide, PageChange;
    TacAnimation SkinChanging{true, 100, TacAnimType::atFading};
    TacAnimation Minimizing{true, 120, TacAnimType::atAero};
    TacBlendOnMoving BlendOnMoving;
};

struct TacButtonsSupport {
    bool ShowFocusRect = true;
    bool ShiftContentOnClick = true;
};

struct TacLabelsSupport {
    bool TransparentAlways = true;
};

struct TacMenuFont {
    std::wstring Name = L"Tahoma";
    int Height = -11;
};

struct TacMenuSupport {
    int AlphaBlend = 255;
    std::wstring IcoLineSkin;  // "ICOLINE" when empty after loading
    bool UseExtraLine = false;
    int ExtraLineWidth = 32;
    TacMenuFont ExtraLineFont;
};

enum class TacOptimizingPriority : uint8_t { opSpeed, opMemory };

struct TacOptions {
    bool CheckEmptyAlpha = false;
    bool NoMouseHover = false;
    bool NativeBordersMaximized = false;
    bool StdGlyphsOrder = false;
    TacOptimizingPriority OptimizingPriority = TacOptimizingPriority::opSpeed;
};

struct TacScrollBarsSupport {
    int ScrollSize = -1;   // -1: the platform's scroll-bar width
    int ButtonsSize = -1;
};

// The kinds, in the order of the manager's class-name lists.
enum TThirdKind : uint8_t {
    tpEdit, tpButton, tpBitBtn, tpCheckBox, tpComboBox, tpGrid, tpGroupBox, tpListView, tpPanel, tpTreeView,
    tpwwEdit, tpGridEh, tpVirtualTree, tpPageControl, tpTabControl, tpToolBar, tpStatusBar, tpSpeedButton,
    tpScrollControl, tpUpDown, tpScrollBar, tpStaticText, tpNativePaint, kThirdKindCount
};

// The published class-name properties: each holds class names, one per line.
class ThirdPartyList {
public:
    // Property names ("ThirdEdits", ...) in the kind order above.
    static const std::array<const char*, kThirdKindCount>& PropertyNames();
    // false for a name that is not one of the properties.
    bool Set(const std::string& propertyName, const std::wstring& text);
    const std::wstring& Get(TThirdKind kind) const { return FText[kind]; }
    // An empty property first receives its built-in default list.
    void FillEmptyWithDefaults();

private:
    std::array<std::wstring, kThirdKindCount> FText;
};

using TThirdLists = std::array<std::vector<std::wstring>, kThirdKindCount>;

// The case-sensitive lists from the properties (blank lines are dropped).
TThirdLists MakeThirdLists(const ThirdPartyList& properties);

}  // namespace sk
