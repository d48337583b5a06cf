// Forms; with them the application object and the list of all forms.
#pragma once
#include "toolkit/Application.h"
#include "toolkit/Controls.h"
#include "toolkit/DescriptionReader.h"
#include "toolkit/Screen.h"

namespace tk {

enum class TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum class TPosition { poDesigned, poScreenCenter, poDesktopCenter, poMainFormCenter };

class TForm : public TWinControl {
public:
    explicit TForm(TComponent* owner);
    ~TForm() override;

    void Show();
    // Shows the form without activating it (and without moving the focus).
    void ShowNoActivate();
    void Close();
    // Frees the form once the message loop gets to it (safe from the form's own handlers).
    // Releasing twice frees it once; freeing it directly in between cancels the release.
    void Release();
    void SetClientSize(int width, int height);
    // The smallest client area the user can size the window to (0: no limit).
    void SetMinClientSize(int width, int height) {
        FMinClientWidth = width;
        FMinClientHeight = height;
    }
    int ClientWidth() const { return FClientWidth; }
    int ClientHeight() const { return FClientHeight; }
    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle style);
    bool ShowInTaskbar() const { return FShowInTaskbar; }
    // false: no taskbar button (the window is owned by the hidden application window).
    void SetShowInTaskbar(bool v);
    DWORD ExtraExStyle() const { return FExtraExStyle; }
    // Extended styles added at window creation (layered, transparent, tool window...).
    void SetExtraExStyle(DWORD exStyle) { FExtraExStyle = exStyle; }
    bool AlphaBlend() const { return FAlphaBlend; }
    int AlphaBlendValue() const { return FAlphaBlendValue; }
    int PixelsPerInch() const { return FPixelsPerInch; }
    // Set by a clicked button with a modal result (0: none).
    int ModalResult() const { return FModalResult; }
    void SetModalResult(int value) { FModalResult = value; }
    int TextHeight() const { return FTextHeight; }

    TNotifyEvent OnCreate;

    void WndProc(TMessage& m) override;
    void SetProperty(TReader& reader, const std::string& name, const TValue& value) override;

protected:
    // Creates the components of the form's stored description (resource named after the
    // class in upper case), calls Loaded on all of them, then OnCreate.
    // afterLoad runs between Loaded and OnCreate (a form binds its component fields there).
    void LoadDescription(const std::wstring& resourceName, const TMethodTable& methods,
                         const std::function<void()>& afterLoad);
    virtual void DoCreate();
    void CreateParams(TCreateParams& params) override;
    void InitializeWnd() override;
    void PaintWindow(HDC dc, const RECT& clip) override;

private:
    void CentreOnScreen();
    HWND PrepareShow();  // sizes and places the form, creates the window
    void ApplyStyles();  // pushes changed creation styles into an existing window
    TFormBorderStyle FBorderStyle = TFormBorderStyle::bsSizeable;
    TPosition FPosition = TPosition::poDesigned;
    bool FAlphaBlend = false;
    int FAlphaBlendValue = 255;
    int FClientWidth = 0, FClientHeight = 0;
    int FMinClientWidth = 0, FMinClientHeight = 0;
    int FMinWidth = 0, FMinHeight = 0;  // window size limits of the description
    void LimitTracking(MINMAXINFO& info);
    int FPixelsPerInch = 96, FTextHeight = 13;
    bool FSystemMenu = true, FMinimize = true, FMaximize = true;
    bool FShowInTaskbar = true;
    DWORD FExtraExStyle = 0;
    int FModalResult = 0;
};

}  // namespace tk
