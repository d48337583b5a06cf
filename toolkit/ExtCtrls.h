// Picture control, flat speed button and window timer.
#pragma once
#include "toolkit/Controls.h"

namespace tk {

class TImage : public TGraphicControl {
public:
    explicit TImage(TComponent* owner);
    TPicture& Picture() { return FPicture; }
    void Paint(TCanvas& canvas) override;
    void SetProperty(TReader& reader, const std::string& name, const TValue& value) override;
private:
    void PictureChanged();
    TPicture FPicture;
    bool FAutoSize = false, FStretch = false, FCenter = false;
};

// A button without a window: painted by its parent, pressed with the mouse.
class TSpeedButton : public TGraphicControl {
public:
    explicit TSpeedButton(TComponent* owner);
    void Paint(TCanvas& canvas) override;
    void SetProperty(TReader& reader, const std::string& name, const TValue& value) override;
protected:
    bool FFlat = false;
};

// Calls OnTimer every Interval milliseconds while enabled, through a message-only window.
class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* owner);
    ~TTimer() override;
    void SetEnabled(bool v);
    bool Enabled() const { return FEnabled; }
    void SetInterval(unsigned ms);
    unsigned Interval() const { return FInterval; }
    TNotifyEvent OnTimer;
    void SetProperty(TReader& reader, const std::string& name, const TValue& value) override;
    void Loaded() override;
private:
    static LRESULT CALLBACK TimerWndProc(HWND, UINT, WPARAM, LPARAM);
    void Update();
    HWND FWindow = nullptr;
    unsigned FInterval = 1000;
    bool FEnabled = true;
};

}  // namespace tk
