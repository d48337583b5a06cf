// A tree view painted by the skin: the control's colours come from its section ("EDIT"), and
// every item is drawn after the system's own drawing, with the "SELECTION" section (or the
// skin's highlight colours) for the selected or hot item.
#pragma once
#include "controls/sBoundLabel.h"
#include "skinframework/sCommonData.h"
#include "toolkit/ComCtrls.h"

namespace sk {

class TsTreeView : public tk::TTreeView {
public:
    explicit TsTreeView(tk::TComponent* owner, int coc = 96);
    ~TsTreeView() override;
    TsScrollWndData& SkinData() { return FSkinData; }
    TsBoundLabel& BoundLabel() { return FBoundLabel; }
    bool HotTrack = false;
    // The program's own drawing of an item, called before the skin's (the stage and the
    // platform's record as it came).
    std::function<void(NMTVCUSTOMDRAW&, LRESULT& result)> OnCustomDrawItem;

    void WndProc(tk::TMessage& m) override;
    void Loaded() override;
    void SetProperty(tk::TReader& reader, const std::string& name, const tk::TValue& value) override;

    // Attaches the skinned frame and scroll bars to the tree's window while skinned, and lets
    // them go otherwise.
    void UpdateScrollWnd();

    // Whether an item shows the selected look now (selected, or hot with hot tracking; only
    // while focused unless selections stay shown).
    bool ShowsSelection(HTREEITEM item, UINT itemState) const;

protected:
    void InitializeWnd() override;
    // Draws one item over the system's drawing: selection look, image, text, focus frame.
    void PaintItem(const NMTVCUSTOMDRAW& cd);

private:
    bool CustomDraw(tk::TMessage& m);
    void ApplyColors();
    HTREEITEM HotItem() const;
    void OnSkinCommand(tk::TMessage& m);

    TsScrollWndData FSkinData;
    TsBoundLabel FBoundLabel{this, &FSkinData};
};

}  // namespace sk
