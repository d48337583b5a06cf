// What the form-skinning tests share: the framework's test skin with a frame (a two-state
// "FORM" with a gradient and a border mask whose top-left corner pixel is the key colour, a
// two-state "FORMTITLE" with a glow, a small close button mask in "GLOBALINFO"), one skin
// manager for the whole run, and a dialog-style form that the manager's hook skins.
#pragma once
#include <memory>
#include <string>

#include "forms/sSkinProvider.h"
#include "skinframework/sSkinManager.h"
#include "toolkit/Forms.h"

namespace kvforms {

inline constexpr rd::TColor kTitleColor = 0x00203040;      // "FORMTITLE" inactive
inline constexpr rd::TColor kTitleHotColor = 0x00406080;   // "FORMTITLE" active
inline constexpr rd::TColor kTitleFont = 0x00909090;
inline constexpr rd::TColor kTitleHotFont = 0x00F0E0D0;
inline constexpr int kCloseSize = 10;                      // the "SICONCLOSE" pictures

// Which frame sections the skin has.
enum class TFrameSkin { Full, NoTitle, NoButtonMasks };

std::string FrameSkinOptions(TFrameSkin kind = TFrameSkin::Full);

// The run's skin manager (the default manager, hook installed), created on first use.
sk::TsSkinManager& Manager();
// Makes the manager load the frame skin of this kind (announced to every form).
void UseSkin(TFrameSkin kind);

// A dialog-style form, 300 x 200 client, shown and activated at a fixed place.
class TFrameForm : public tk::TForm {
public:
    explicit TFrameForm(int tag = 0, bool activate = true);
};

// The provider the hook gave the form's window, or null.
sk::TsSkinProvider* ProviderOf(HWND window);
// Runs waiting messages, for about ms milliseconds.
void PumpFor(int ms);
// Real mouse input: moves the cursor there; presses or releases a button (left, or right).
void MoveTo(int x, int y);
void Button(bool down, bool right = false);
// A screen pixel as 0x00BBGGRR.
rd::TColor ScreenPixel(int x, int y);
// A pixel of the provider's cache as 0x00BBGGRR.
rd::TColor CachePixel(sk::TsSkinProvider& provider, int x, int y);

}  // namespace kvforms
