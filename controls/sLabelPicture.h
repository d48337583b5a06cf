// A label's composed picture: what lay behind the label when it was last painted with the
// label drawn over it. A paint whose key matches (place, size, colours and what the label adds)
// only copies it; anything else builds it again. Shared by the effect label and the web label.
#pragma once
#include <array>
#include <functional>

#include "skinframework/sCommonData.h"
#include "toolkit/Graphics.h"

namespace sk {

// What a composed picture was made for. Extra holds what a kind of label adds (the effect
// label's shadow, the web label's hover state).
struct TLabelPictureKey {
    int Left = 0, Top = 0, Width = 0, Height = 0;
    bool Enabled = true, Transparent = false;
    rd::TColor FontColor = 0, Color = 0, ParentColor = 0;
    std::array<int, 4> Extra{};
    bool operator==(const TLabelPictureKey&) const = default;
};

// Messages after which a label's picture is built again (whatever the skin does may change the
// background or the colours).
bool ChangesLabelPicture(UINT msg);

class TacLabelPicture {
public:
    // Copies the picture to dc at (0, 0) when it is current for key; else first copies what dc
    // shows there into it and calls compose on it, then copies it. Nothing for an empty size.
    void Paint(HDC dc, const TLabelPictureKey& key, const std::function<void(tk::TCanvas&)>& compose);
    // Text, font, enabled state or the skin changed: the next paint builds it again.
    void MarkStale() { FStale = true; }
    bool IsCurrent(const TLabelPictureKey& key) const;

private:
    TacCacheBitmap FPicture;
    TLabelPictureKey FKey;
    bool FStale = true;
};

}  // namespace sk
