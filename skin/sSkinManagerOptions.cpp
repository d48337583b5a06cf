#include "skin/sSkinManagerOptions.h"

#include <algorithm>

#include "skin/acntUtils.h"

namespace sk {

namespace {

const std::array<const char*, kThirdKindCount> kPropertyNames = {
    "ThirdEdits",      "ThirdButtons",     "ThirdBitBtns",      "ThirdCheckBoxes",  "ThirdComboBoxes",
    "ThirdGrids",      "ThirdGroupBoxes",  "ThirdListViews",    "ThirdPanels",      "ThirdTreeViews",
    "ThirdWWEdits",    "ThirdGridEh",      "ThirdVirtualTrees", "ThirdPageControl", "ThirdTabControl",
    "ThirdToolBar",    "ThirdStatusBar",   "ThirdSpeedButton",  "ThirdScrollControl", "ThirdUpDown",
    "ThirdScrollBar",  "ThirdStaticText",  "ThirdNativePaint"};

// The platform's own control classes of each kind.
const std::array<const wchar_t*, kThirdKindCount> kDefaultLists = {
    L"TEdit\nTMemo\nTMaskEdit\nTLabeledEdit\nTHotKey\nTRichEdit\nTListBox\nTCheckListBox",
    L"TButton",
    L"TBitBtn",
    L"TCheckBox\nTRadioButton",
    L"TComboBox\nTColorBox",
    L"TStringGrid\nTDrawGrid",
    L"TGroupBox\nTRadioGroup",
    L"TListView",
    L"TPanel",
    L"TTreeView",
    L"",
    L"",
    L"",
    L"TPageControl",
    L"TTabControl",
    L"TToolBar",
    L"TStatusBar",
    L"TSpeedButton",
    L"TScrollBox",
    L"TUpDown",
    L"TScrollBar",
    L"TStaticText",
    L"",
};

}  // namespace

const std::array<const char*, kThirdKindCount>& ThirdPartyList::PropertyNames() { return kPropertyNames; }

bool ThirdPartyList::Set(const std::string& propertyName, const std::wstring& text) {
    const auto found = std::find_if(kPropertyNames.begin(), kPropertyNames.end(),
                                    [&](const char* n) { return propertyName == n; });
    if (found == kPropertyNames.end()) return false;
    FText[static_cast<size_t>(found - kPropertyNames.begin())] = text;
    return true;
}

void ThirdPartyList::FillEmptyWithDefaults() {
    for (size_t i = 0; i < FText.size(); ++i)
        if (FText[i].empty()) FText[i] = kDefaultLists[i];
}

TThirdLists MakeThirdLists(const ThirdPartyList& properties) {
    TThirdLists lists;
    for (size_t i = 0; i < lists.size(); ++i) {
        const std::wstring& text = properties.Get(static_cast<TThirdKind>(i));
        size_t start = 0;
        while (start <= text.size()) {
            size_t end = text.find(L'\n', start);
            if (end == std::wstring::npos) end = text.size();
            std::wstring line = TrimBlanks(std::wstring_view(text).substr(start, end - start));
            if (!line.empty()) lists[i].push_back(std::move(line));
            start = end + 1;
        }
    }
    return lists;
}

}  // namespace sk
