// Test controls of the framework's own: a windowed control, a window-less control and
// containers, each holding skin data and handling messages in the order every skinned control
// does: its own handling, then the shared handler, then the toolkit's default. They paint the
// section face into the cache and copy the cache to the screen.
#pragma once
#include <string>
#include <utility>
#include <vector>

#include "skinframework/sCommonData.h"
#include "toolkit/Controls.h"

namespace kvfw {

// Skin-message arrivals of many controls, in order: (control name, sub-command).
using TJournal = std::vector<std::pair<std::wstring, WORD>>;

// Kind codes the tests use (the default sections of the test skin).
inline constexpr int kButtonKind = 93;     // "BUTTON"
inline constexpr int kCheckBoxKind = 32;   // "CHECKBOX", fully transparent
inline constexpr int kEditKind = 2;        // "EDIT", an edit kind
inline constexpr int kPanelKind = 51;      // "PANEL", uniform container
inline constexpr int kPanelLowKind = 52;   // "PANEL_LOW", gradient container
inline constexpr int kGaugeKind = 161;     // "GAUGE" (absent from the test skin), never hot

class TTestWinControl : public tk::TWinControl {
public:
    // A control of kind coc on parent at bounds; section empty = the kind's default. It is
    // loaded (as if read from a description) before it returns.
    TTestWinControl(tk::TWinControl* parent, int coc, RECT bounds, const std::wstring& section = L"",
                    const std::wstring& name = L"");
    sk::TsCtrlSkinData SkinData;
    std::vector<WORD> Commands;  // sub-commands received, in order
    TJournal* Journal = nullptr;
    int CacheBuilds = 0;         // times the face was painted into the cache
    int State() const { return SkinData.ControlIsHot() ? 1 : 0; }
    // Paints the face into the cache when it is stale.
    void PrepareCache();
    void WndProc(tk::TMessage& m) override;
    void PaintBackground(HDC dc, const RECT& r) override;

protected:
    void CreateParams(tk::TCreateParams& params) override;
};

class TTestGraphicControl : public tk::TGraphicControl {
public:
    TTestGraphicControl(tk::TWinControl* parent, int coc, RECT bounds, const std::wstring& section = L"",
                        const std::wstring& name = L"");
    sk::TsCtrlSkinData SkinData;
    std::vector<WORD> Commands;
    TJournal* Journal = nullptr;
    int CacheBuilds = 0;
    void PrepareCache();
    void WndProc(tk::TMessage& m) override;
    void Paint(tk::TCanvas& canvas) override;
};

// A colour value (0x00BBGGRR) as a pixel's 0x00RRGGBB.
inline uint32_t AsRgb(rd::TColor c) {
    const uint32_t v = static_cast<uint32_t>(c);
    return ((v & 0xFF) << 16) | (v & 0xFF00) | ((v >> 16) & 0xFF);
}

// The control's cache pixel at (x, y) as 0x00RRGGBB (alpha dropped); 0xFFFFFFFF when outside.
uint32_t CachePixel(sk::TsCommonData& skinData, int x, int y);
// The pixel on the screen at client point (x, y) of a window, as 0x00RRGGBB.
uint32_t ScreenPixel(HWND window, int x, int y);

}  // namespace kvfw
