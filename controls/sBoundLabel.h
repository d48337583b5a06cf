// The caption label an edit-like control can attach beside itself: created while active, placed
// by its layout around the edit, and following the edit's position, visibility and enabled state.
#pragma once
#include <memory>
#include <string>

#include "controls/sLabel.h"
#include "skinframework/sCommonData.h"

namespace sk {

enum class TsCaptionLayout {
    sclLeft,
    sclTopLeft,
    sclTopCenter,
    sclTopRight,
    sclLeftTop,
    sclBottomLeft,
    sclBottomCenter,
    sclBottomRight,
};

class TsBoundLabel;

// The label control of a bound label, owned by the edit and parented to the edit's parent.
class TsEditLabel : public TsLabel {
public:
    TsEditLabel(tk::TComponent* owner, TsBoundLabel* boundLabel);
    // Switches the bound label off (it no longer has a label).
    ~TsEditLabel() override;
    TsBoundLabel* BoundLabel() const { return FBoundLabel; }
    // Sizes the label to its text; with maxWidth > 0 a label reaching maxWidth - 4 wraps its
    // words within maxWidth.
    void FitText(int maxWidth);

private:
    friend class TsBoundLabel;
    TsBoundLabel* FBoundLabel;
};

class TsBoundLabel : public tk::TObject {
public:
    // edit: the control the label belongs to; commonData: its skin data (may be null).
    TsBoundLabel(tk::TWinControl* edit, TsCommonData* commonData);
    ~TsBoundLabel() override;
    TsBoundLabel(const TsBoundLabel&) = delete;
    TsBoundLabel& operator=(const TsBoundLabel&) = delete;

    bool Active() const { return FActive; }
    // On: creates and places the label (once the edit has finished loading); off: frees it.
    void SetActive(bool value);
    const std::wstring& Caption() const { return FText; }
    void SetCaption(const std::wstring& value);
    int Indent() const { return FIndent; }
    void SetIndent(int value);
    TsCaptionLayout Layout() const { return FLayout; }
    void SetLayout(TsCaptionLayout value);
    int MaxWidth() const { return FMaxWidth; }
    void SetMaxWidth(int value);
    bool EnabledAlways() const { return FEnabledAlways; }
    void SetEnabledAlways(bool value);
    bool UseSkinColor() const { return FUseSkinColor; }
    void SetUseSkinColor(bool value);
    // The label's font while it exists, else the font it will be created with.
    tk::TFont& Font();
    TsEditLabel* TheLabel() const { return FTheLabel; }
    TsCommonData* CommonData() const { return FCommonData; }

    // Stored settings ("BoundLabel.*" of a window description); false for any other property.
    bool ReadProperty(tk::TReader& reader, const std::string& name, const tk::TValue& value);
    // The edit has finished loading: an active bound label creates its label now.
    void Loaded();
    // Places the label by its layout around the edit and makes it follow the edit's parent,
    // visibility and enabled state. Runs by itself when the edit's window moves or sizes and
    // when the edit is shown, hidden, enabled or disabled.
    void AlignLabel();

private:
    friend class TsEditLabel;
    struct THookCell;
    struct TEditHook;
    void CreateLabel();
    void FreeLabel();
    void HookEdit();
    void UnhookEdit();
    void EditMessage(const tk::TMessage& m);
    void Refit();

    tk::TWinControl* FEdit;
    TsCommonData* FCommonData;
    tk::TFont FFont;
    bool FActive = false;
    bool FEnabledAlways = false;
    bool FUseSkinColor = true;
    std::wstring FText;
    int FIndent = 0;
    TsCaptionLayout FLayout = TsCaptionLayout::sclLeft;
    int FMaxWidth = 0;
    TsEditLabel* FTheLabel = nullptr;
    std::shared_ptr<THookCell> FHook;  // the edit's message hook, while the label exists
};

}  // namespace sk
