// What the framework tests share: a small skin built in code with one section of each kind the
// framework treats differently, a skin manager that loads it as the installer loads its own,
// and a shown test form.
#pragma once
#include <memory>
#include <string>

#include "skinframework/sSkinManager.h"
#include "toolkit/Forms.h"

namespace kvfw {

inline constexpr wchar_t kTestSkinName[] = L"Framework test";

// Section colours of the test skin (0x00BBGGRR).
inline constexpr rd::TColor kFormColor = 0x00404040;
inline constexpr rd::TColor kPanelColor = 0x00302010;      // "PANEL": uniform
inline constexpr rd::TColor kButtonColor = 0x00205080;     // "BUTTON" normal
inline constexpr rd::TColor kButtonHotColor = 0x0030A0F0;  // "BUTTON" hot
inline constexpr rd::TColor kEditColor = 0x00181818;
inline constexpr rd::TColor kEditHotColor = 0x00131313;
inline constexpr rd::TColor kEditFontColor = 0x00DCDCDC;
inline constexpr rd::TColor kEditHotFontColor = 0x00FFFFFF;
inline constexpr rd::TColor kSemiColor = 0x00008000;       // "SEMI": 50 % transparent

// The options text of the test skin:
//  FORM       plain colour, one state
//  PANEL      plain colour (a uniform container)
//  PANEL_LOW  vertical gradient (a container whose children copy pixels)
//  BUTTON     three states, a 3-pixel border mask with magenta corners in the master bitmap
//  CHECKBOX   fully transparent in both states
//  EDIT       two states with colours and font colours, a 2-pixel border mask
//  SEMI       half transparent
std::string TestSkinOptions();
// Options text and master bitmap packed as a stored skin.
std::vector<uint8_t> TestSkinPackage(const std::string& options = TestSkinOptions());

// A skin manager holding the test skin as its internal skin, loaded the way a window
// description loads the installer's manager (properties while loading, then Loaded). It is the
// default manager when no other exists.
std::unique_ptr<sk::TsSkinManager> MakeManager(tk::TComponent* owner = nullptr,
                                               const std::string& options = TestSkinOptions());

// A plain, visible top-level form of the given client size at a fixed screen position.
class TTestForm : public tk::TForm {
public:
    explicit TTestForm(int clientWidth = 320, int clientHeight = 240);
    ~TTestForm() override;
};

// Runs the messages that are waiting (paints, posted commands) on this thread.
void PumpMessages();

}  // namespace kvfw
