#include "toolkit/ExtCtrls.h"

#include "toolkit/DescriptionReader.h"
#include "toolkit/Forms.h"

namespace tk {

// --- TImage

TImage::TImage(TComponent* owner) : TGraphicControl(owner) {
    SetBounds(0, 0, 105, 105);
    FPicture.OnChange = [this] { PictureChanged(); };
}

void TImage::PictureChanged() {
    TGraphic* g = FPicture.Graphic();
    if (FAutoSize && g && g->Width() > 0 && g->Height() > 0) SetBounds(Left(), Top(), g->Width(), g->Height());
    Invalidate();
}

void TImage::Paint(TCanvas& canvas) {
    TGraphic* g = FPicture.Graphic();
    if (!g) return;
    RECT r{0, 0, g->Width(), g->Height()};
    if (FStretch) r = {0, 0, Width(), Height()};
    else if (FCenter) OffsetRect(&r, (Width() - g->Width()) / 2, (Height() - g->Height()) / 2);
    g->Draw(canvas, r);
}

void TImage::SetProperty(TReader& reader, const std::string& name, const TValue& v) {
    if (name == "AutoSize") {
        FAutoSize = reader.Bool(v);
        PictureChanged();
    } else if (name == "Stretch") FStretch = reader.Bool(v);
    else if (name == "Center") FCenter = reader.Bool(v);
    else if (name == "Picture.Data") FPicture.LoadFromStoredData(reader.Binary(v));
    else if (name == "Transparent" || name == "Proportional") reader.Skip(v);
    else TGraphicControl::SetProperty(reader, name, v);
}

// --- TSpeedButton

TSpeedButton::TSpeedButton(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 23, 22); }

void TSpeedButton::Paint(TCanvas& canvas) {
    RECT r{0, 0, Width(), Height()};
    bool down = FPressed && FMouseInside;
    UINT state = DFCS_BUTTONPUSH | (down ? DFCS_PUSHED : 0) | (Enabled() ? 0 : DFCS_INACTIVE);
    if (FFlat && !FMouseInside && !down) {
        canvas.Brush.Color = Parent() ? Parent()->Color() : clBtnFace;
        canvas.FillRect(r);
    } else {
        DrawFrameControl(canvas.Handle(), &r, DFC_BUTTON, state);
    }
    canvas.Font.Assign(Font());
    if (!Enabled()) canvas.Font.Color = clGrayText;
    if (down) OffsetRect(&r, 1, 1);
    canvas.TextRect(r, Caption(), DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void TSpeedButton::SetProperty(TReader& reader, const std::string& name, const TValue& v) {
    if (name == "Flat") FFlat = reader.Bool(v);
    else if (name == "Glyph.Data" || name == "NumGlyphs" || name == "Layout" || name == "Spacing" || name == "Margin")
        reader.Skip(v);
    else TGraphicControl::SetProperty(reader, name, v);
}

// --- TTimer

namespace {
const wchar_t kTimerClass[] = L"TkTimerWindow";
}

TTimer::TTimer(TComponent* owner) : TComponent(owner) {
    static bool registered = false;
    if (!registered) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = TimerWndProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = kTimerClass;
        RegisterClassW(&wc);
        registered = true;
    }
    FWindow = CreateWindowExW(0, kTimerClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(FWindow, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    Update();
}

TTimer::~TTimer() {
    SetWindowLongPtrW(FWindow, GWLP_USERDATA, 0);
    KillTimer(FWindow, 1);
    DestroyWindow(FWindow);
}

void TTimer::Update() {
    KillTimer(FWindow, 1);
    if (FEnabled && FInterval > 0 && OnTimer && !IsLoading()) SetTimer(FWindow, 1, FInterval, nullptr);
}

void TTimer::Loaded() {
    TComponent::Loaded();
    Update();
}

void TTimer::SetEnabled(bool v) { FEnabled = v; Update(); }
void TTimer::SetInterval(unsigned ms) { FInterval = ms; Update(); }

LRESULT CALLBACK TTimer::TimerWndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_TIMER) {
        auto* t = reinterpret_cast<TTimer*>(GetWindowLongPtrW(h, GWLP_USERDATA));
        if (t && t->OnTimer) {
            // The handler may free the timer: call a copy, and touch nothing of t after.
            TNotifyEvent handler = t->OnTimer;
            try {
                handler(t);
            } catch (...) {
                Application->HandleCurrentException();
            }
        }
        return 0;
    }
    return DefWindowProcW(h, msg, wp, lp);
}

void TTimer::SetProperty(TReader& reader, const std::string& name, const TValue& v) {
    if (name == "Interval") FInterval = static_cast<unsigned>(reader.Int(v));
    else if (name == "Enabled") FEnabled = reader.Bool(v);
    else if (name == "OnTimer") OnTimer = reader.NotifyEvent(v);
    else TComponent::SetProperty(reader, name, v);
}

}  // namespace tk
