// An image list component of a window description. With ShareImages it stands for the
// system's small icon list (shared, never freed by the program).
#pragma once
#include <windows.h>
#include <commctrl.h>

#include "toolkit/Classes.h"
#include "toolkit/Graphics.h"

namespace sk {

// The system's list of small shell icons.
HIMAGELIST SystemSmallImageList();

// An icon as a 32-bit glyph with its transparency in the alpha channel (from the icon's own
// alpha, or from its mask when it has none). False, with the glyph left empty, for no icon.
bool IconToGlyph(HICON icon, tk::TBitmap& glyph);

class TsAlphaImageList : public tk::TComponent {
public:
    explicit TsAlphaImageList(tk::TComponent* owner) : tk::TComponent(owner) {}
    bool ShareImages = false;
    // The system's small icons when shared; null otherwise (this list holds no images of its own).
    HIMAGELIST Handle() const;
    void SetProperty(tk::TReader& reader, const std::string& name, const tk::TValue& value) override;
};

}  // namespace sk
