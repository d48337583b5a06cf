// Multi-line edit (the installer's log): colours from its skin section, and a frame and scroll
// bars painted and operated by the scroll-window object attached to its window while skinned.
#pragma once
#include "controls/acSBUtils.h"
#include "skinframework/sCommonData.h"
#include "toolkit/StdCtrls.h"

namespace sk {

class TsMemo : public tk::TMemo {
public:
    explicit TsMemo(tk::TComponent* owner);
    ~TsMemo() override;
    TsScrollWndData& SkinData() { return FSkinData; }
    // The scroll-window object of the memo's window, or null (not skinned, no window).
    TacEditWnd* ListSW() const;

    tk::TNotifyEvent OnVScroll;
    tk::TNotifyEvent OnScrollCaret;

    void WndProc(tk::TMessage& m) override;
    void Loaded() override;
    void SetProperty(tk::TReader& reader, const std::string& name, const tk::TValue& value) override;

protected:
    void InitializeWnd() override;

private:
    // Attaches the scroll-window object while skinned, drops it otherwise.
    void UpdateScrollWnd();
    // Destroys and creates the window again; the text stays.
    void RecreateWnd();
    void ApplyStateColors();
    bool OnSkinCommand(tk::TMessage& m);
    bool OnPaint(tk::TMessage& m);

    TsScrollWndData FSkinData{this, true, 7};
};

}  // namespace sk
