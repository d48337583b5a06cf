#include "controls/sLabelPicture.h"

#include "skinframework/sSkinCmd.h"
#include "toolkit/Messages.h"

namespace sk {

bool ChangesLabelPicture(UINT msg) {
    switch (msg) {
        case SM_SKINCMD: case tk::CM_FONTCHANGED: case tk::CM_TEXTCHANGED: case tk::CM_ENABLEDCHANGED:
        case tk::CM_COLORCHANGED: case tk::CM_VISIBLECHANGED:
            return true;
        default: return false;
    }
}

bool TacLabelPicture::IsCurrent(const TLabelPictureKey& key) const {
    return !FStale && !FPicture.Empty() && FPicture.Width() == key.Width && FPicture.Height() == key.Height &&
           key == FKey;
}

void TacLabelPicture::Paint(HDC dc, const TLabelPictureKey& key, const std::function<void(tk::TCanvas&)>& compose) {
    if (key.Width <= 0 || key.Height <= 0) return;
    if (!IsCurrent(key)) {
        FPicture.SetSize(key.Width, key.Height);
        tk::TCanvas& canvas = FPicture.Canvas();
        BitBlt(canvas.Handle(), 0, 0, key.Width, key.Height, dc, 0, 0, SRCCOPY);
        compose(canvas);
        GdiFlush();
        FKey = key;
        FStale = false;
    }
    BitBlt(dc, 0, 0, key.Width, key.Height, FPicture.Canvas().Handle(), 0, 0, SRCCOPY);
}

}  // namespace sk
