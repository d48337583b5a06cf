// The skin manager's record of the control under the mouse, and its notifications.
#include "skinframework/sCommonData.h"
#include "skinframework/sSkinManager.h"
#include "skinframework/sVclUtils.h"

namespace sk {

namespace {

LPARAM AsArg(TsSkinManager* manager) { return reinterpret_cast<LPARAM>(manager); }

// The skin data of a control, asked with SC_GETCOMMONDATA; null when it has none.
TsCommonData* CommonDataOf(tk::TControl* control) {
    return reinterpret_cast<TsCommonData*>(PerformSkinCmd(control, SC_GETCOMMONDATA));
}

}  // namespace

void TsSkinManager::SetActiveControl(HWND value) {
    if (FActiveGraphControl) {
        // A graphic control that still has the mouse keeps being the active one.
        tk::TControl* graphic = FActiveGraphControl;
        const TsCommonData* data = CommonDataOf(graphic);
        if (data && data->FMouseAbove) return;
        FActiveGraphControl = nullptr;
        PerformSkinCmd(graphic, SC_DEACTIVATED, AsArg(this));
    }
    if (value == FActiveControl) return;
    HWND previous = FActiveControl;
    FActiveControl = value;
    if (previous && IsWindow(previous)) SendSkinCmd(previous, SC_DEACTIVATED, AsArg(this));
    if (value) SendSkinCmd(value, SC_ACTIVATED, AsArg(this));
}

void TsSkinManager::SetActiveGraphControl(tk::TControl* value) {
    if (value == FActiveGraphControl) return;
    tk::TControl* previous = FActiveGraphControl;
    FActiveGraphControl = value;
    if (value && FActiveControl) {
        HWND window = FActiveControl;
        FActiveControl = nullptr;
        SendSkinCmd(window, SC_DEACTIVATED, AsArg(this));
    }
    if (previous) PerformSkinCmd(previous, SC_DEACTIVATED, AsArg(this));
}

void TsSkinManager::ControlDestroyed(tk::TControl* control, HWND handle) {
    if (control && FActiveGraphControl == control) FActiveGraphControl = nullptr;
    if (handle && FActiveControl == handle) FActiveControl = nullptr;
}

}  // namespace sk
