#include "controls/sMaskEditSkinCmd.h"

namespace sk {

bool HandleEditSkinCmd(tk::TMessage& m, TsCommonData& skinData, const std::function<void()>& refresh,
                       const std::function<void()>& beforeRebind) {
    switch (SkinCmdOf(m.WParam)) {
        case SC_NEWSKIN: case SC_REMOVESKIN: case SC_REFRESH:
            if (m.LParam != reinterpret_cast<LPARAM>(skinData.SkinManager()) || skinData.OwnerDestroying()) return false;
            if (beforeRebind) beforeRebind();
            HandleSkinCommand(m, skinData);
            refresh();
            return true;
        case SC_ENDUPDATE:
            if (skinData.FUpdating) {
                skinData.FUpdating = false;
                refresh();
            }
            return true;
        case SC_ISHANDLED: m.Result = 1; return true;
        default: return false;
    }
}

}  // namespace sk
