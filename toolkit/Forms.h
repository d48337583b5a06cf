// Forms and the application object with its message loop.
#pragma once
#include "toolkit/Controls.h"
#include "toolkit/DescriptionReader.h"

namespace tk {

enum class TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum class TPosition { poDesigned, poScreenCenter, poDesktopCenter, poMainFormCenter };

class TForm : public TWinControl {
public:
    explicit TForm(TComponent* owner);
    ~TForm() override;

    void Show();
    void Close();
    void SetClientSize(int width, int height);
    int ClientWidth() const { return FClientWidth; }
    int ClientHeight() const { return FClientHeight; }
    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    bool AlphaBlend() const { return FAlphaBlend; }
    int AlphaBlendValue() const { return FAlphaBlendValue; }
    int PixelsPerInch() const { return FPixelsPerInch; }
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

private:
    void CentreOnScreen();
    void Paint(HDC dc, const RECT& clip);
    TFormBorderStyle FBorderStyle = TFormBorderStyle::bsSizeable;
    TPosition FPosition = TPosition::poDesigned;
    bool FAlphaBlend = false;
    int FAlphaBlendValue = 255;
    int FClientWidth = 0, FClientHeight = 0;
    int FPixelsPerInch = 96, FTextHeight = 13;
    bool FSystemMenu = true, FMinimize = true, FMaximize = true;
};

class TApplication : public TComponent {
public:
    TApplication();
    ~TApplication() override;
    // Initialises COM for the user-interface thread.
    void Initialize();
    template <class F> F* CreateForm() {
        F* form = new F(this);
        if (!FMainForm) FMainForm = form;
        return form;
    }
    TForm* MainForm() const { return FMainForm; }
    void Run();
    // Runs every message that is waiting, then returns. A quit request is remembered.
    void ProcessMessages();
    void Terminate();
    bool Terminated() const { return FTerminated; }
    // The top-level handler for errors that escape a message handler.
    void HandleException(const std::wstring& message);
    // Called from a catch block: shows the error being handled (window procedures and timer
    // callbacks must not let an exception escape into the system).
    void HandleCurrentException();
    int MessageBox(const std::wstring& text, const std::wstring& caption, UINT flags);
    std::wstring Title() const;
    // When set, errors are not shown in a box but passed here (tests).
    std::function<void(const std::wstring&)> OnException;

private:
    bool ProcessMessage(MSG& msg);
    TForm* FMainForm = nullptr;
    bool FTerminated = false;
    bool FOleInitialized = false;
};

extern TApplication* Application;

}  // namespace tk
