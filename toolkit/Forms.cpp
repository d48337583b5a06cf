#include "toolkit/Forms.h"

#include <objbase.h>
#include <ole2.h>

#include "toolkit/DescriptionReader.h"
#include "toolkit/Streams.h"

namespace tk {

TApplication* Application = nullptr;

// --- TForm

TForm::TForm(TComponent* owner) : TWinControl(owner) {
    FColor = clBtnFace;
    Font().Name = L"MS Sans Serif";
    Font().Height = -11;
}

TForm::~TForm() {
    // Free the owned controls while the window still exists, then the window.
    while (ComponentCount() > 0) delete Components(ComponentCount() - 1);
    DestroyHandle();
}

void TForm::LoadDescription(const std::wstring& resourceName, const TMethodTable& methods,
                            const std::function<void()>& afterLoad) {
    TResourceStream res(ResourceInstance(), resourceName, MAKEINTRESOURCEW(10));
    TReader reader(res.Memory(), static_cast<size_t>(res.Size()));
    reader.SetMethods(&methods);
    reader.ReadRoot(*this);
    if (afterLoad) afterLoad();
    DoCreate();
}

void TForm::DoCreate() {
    if (OnCreate) OnCreate(this);
}

void TForm::SetClientSize(int width, int height) {
    FClientWidth = width;
    FClientHeight = height;
    TCreateParams p;
    CreateParams(p);
    RECT r{0, 0, width, height};
    AdjustWindowRectEx(&r, p.Style, FALSE, p.ExStyle);
    TWinControl::SetBounds(Left(), Top(), r.right - r.left, r.bottom - r.top);
}

void TForm::CreateParams(TCreateParams& p) {
    p.ClassName.clear();
    p.WndParent = nullptr;
    p.Style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    p.ExStyle = 0;
    switch (FBorderStyle) {
        case TFormBorderStyle::bsNone: p.Style |= WS_POPUP; break;
        case TFormBorderStyle::bsDialog:
            p.Style |= WS_POPUP | WS_CAPTION;
            p.ExStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
            break;
        case TFormBorderStyle::bsSingle: p.Style |= WS_CAPTION | WS_BORDER; break;
        default: p.Style |= WS_CAPTION | WS_THICKFRAME; break;
    }
    if (FSystemMenu) p.Style |= WS_SYSMENU;
    if (FBorderStyle != TFormBorderStyle::bsDialog) {
        if (FMinimize) p.Style |= WS_MINIMIZEBOX;
        if (FMaximize) p.Style |= WS_MAXIMIZEBOX;
    }
    if (FAlphaBlend) p.ExStyle |= WS_EX_LAYERED;
    if (!Owner() || Owner() == Application) p.ExStyle |= WS_EX_APPWINDOW;
}

void TForm::InitializeWnd() {
    if (FAlphaBlend) SetLayeredWindowAttributes(Handle(), 0, static_cast<BYTE>(FAlphaBlendValue), LWA_ALPHA);
    TWinControl::InitializeWnd();
}

void TForm::CentreOnScreen() {
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    int w = Width(), h = Height();
    int x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
    if (x < work.left) x = work.left;
    if (y < work.top) y = work.top;
    TWinControl::SetBounds(x, y, w, h);
}

void TForm::Show() {
    if (FClientWidth && FClientHeight) SetClientSize(FClientWidth, FClientHeight);
    if (FPosition == TPosition::poScreenCenter || FPosition == TPosition::poDesktopCenter) CentreOnScreen();
    HWND h = Handle();
    ShowWindow(h, SW_SHOWNORMAL);
    Broadcast(CM_SHOWINGCHANGED, TRUE);
    UpdateWindow(h);
    // Focus the first control in tab order that can take it.
    HWND first = GetNextDlgTabItem(h, nullptr, FALSE);
    if (first) ::SetFocus(first);
}

void TForm::Close() {
    if (Application && Application->MainForm() == this) Application->Terminate();
    else if (HandleAllocated()) {
        ShowWindow(Handle(), SW_HIDE);
        Broadcast(CM_SHOWINGCHANGED, FALSE);
    }
}

void TForm::Paint(HDC dc, const RECT& clip) {
    // Paint into a buffer first so that the graphic controls never flicker.
    RECT client;
    GetClientRect(Handle(), &client);
    HDC mem = CreateCompatibleDC(dc);
    HBITMAP bmp = CreateCompatibleBitmap(dc, client.right, client.bottom);
    HGDIOBJ old = SelectObject(mem, bmp);
    PaintBackground(mem, client);
    PaintGraphicControls(mem, clip);
    BitBlt(dc, clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top, mem, clip.left, clip.top, SRCCOPY);
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
}

void TForm::WndProc(TMessage& m) {
    switch (m.Msg) {
        case WM_CLOSE:
            Close();
            return;
        case WM_ERASEBKGND:
            m.Result = 1;
            return;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(Handle(), &ps);
            Paint(dc, ps.rcPaint);
            EndPaint(Handle(), &ps);
            return;
        }
        case WM_CTLCOLORSTATIC: case WM_CTLCOLORBTN:
            // Check boxes and other static-looking children sit on the form's colour.
            if (TWinControl* child = FromHandle(reinterpret_cast<HWND>(m.LParam)); child && child->Color() == Color()) {
                m.Result = CtlColor(reinterpret_cast<HDC>(m.WParam));
                SetTextColor(reinterpret_cast<HDC>(m.WParam), ColorToRGB(child->Font().Color));
                return;
            }
            break;
        default:
            break;
    }
    TWinControl::WndProc(m);
}

void TForm::SetProperty(TReader& reader, const std::string& name, const TValue& v) {
    if (name == "ClientWidth") FClientWidth = reader.Int(v);
    else if (name == "ClientHeight") FClientHeight = reader.Int(v);
    else if (name == "BorderStyle") {
        static const std::vector<std::string> names = {"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow",
                                                       "bsSizeToolWin"};
        FBorderStyle = static_cast<TFormBorderStyle>(reader.Enum(v, names));
    } else if (name == "Position") {
        static const std::vector<std::string> names = {"poDesigned", "poScreenCenter", "poDesktopCenter",
                                                       "poMainFormCenter"};
        FPosition = static_cast<TPosition>(reader.Enum(v, names));
    } else if (name == "BorderIcons") {
        auto icons = reader.Set(v);
        auto has = [&](const char* s) { return std::find(icons.begin(), icons.end(), s) != icons.end(); };
        FSystemMenu = has("biSystemMenu");
        FMinimize = has("biMinimize");
        FMaximize = has("biMaximize");
    } else if (name == "AlphaBlend") FAlphaBlend = reader.Bool(v);
    else if (name == "AlphaBlendValue") FAlphaBlendValue = reader.Int(v);
    else if (name == "PixelsPerInch") FPixelsPerInch = reader.Int(v);
    else if (name == "TextHeight") FTextHeight = reader.Int(v);
    else if (name == "OnCreate") OnCreate = reader.NotifyEvent(v);
    else if (name == "OldCreateOrder" || name == "Scaled" || name == "Visible") reader.Skip(v);
    else TWinControl::SetProperty(reader, name, v);
}

// --- TApplication

TApplication::TApplication() : TComponent(nullptr) { Application = this; }

TApplication::~TApplication() {
    while (ComponentCount() > 0) delete Components(ComponentCount() - 1);
    if (FOleInitialized) OleUninitialize();
    if (Application == this) Application = nullptr;
}

void TApplication::Initialize() {
    FOleInitialized = SUCCEEDED(OleInitialize(nullptr));
}

std::wstring TApplication::Title() const {
    wchar_t path[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring p(path, n);
    size_t slash = p.find_last_of(L"\\/");
    if (slash != std::wstring::npos) p = p.substr(slash + 1);
    size_t dot = p.find_last_of(L'.');
    return dot == std::wstring::npos ? p : p.substr(0, dot);
}

int TApplication::MessageBox(const std::wstring& text, const std::wstring& caption, UINT flags) {
    HWND owner = FMainForm && FMainForm->HandleAllocated() ? FMainForm->Handle() : nullptr;
    return ::MessageBoxW(owner, text.c_str(), caption.c_str(), flags);
}

void TApplication::HandleException(const std::wstring& message) {
    if (OnException) {
        OnException(message);
        return;
    }
    std::wstring text = message;
    if (!text.empty() && text.back() > L'.') text += L'.';
    MessageBox(text, Title(), MB_OK | MB_ICONSTOP);
}

void TApplication::HandleCurrentException() {
    try {
        throw;
    } catch (const Exception& e) {
        HandleException(e.Message());
    } catch (const std::exception& e) {
        HandleException(Utf8ToWide(e.what()));
    } catch (...) {
        HandleException(L"Unknown error");
    }
}

bool TApplication::ProcessMessage(MSG& msg) {
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
    if (msg.message == WM_QUIT) {
        FTerminated = true;
        return true;
    }
    HWND main = FMainForm && FMainForm->HandleAllocated() ? FMainForm->Handle() : nullptr;
    if (!main || !IsDialogMessageW(main, &msg)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return true;
}

void TApplication::ProcessMessages() {
    MSG msg;
    while (ProcessMessage(msg)) {
    }
}

void TApplication::Run() {
    if (FMainForm) FMainForm->Show();
    while (!FTerminated) {
        MSG msg;
        if (!ProcessMessage(msg) && !FTerminated) WaitMessage();
    }
}

void TApplication::Terminate() {
    if (!FTerminated) PostQuitMessage(0);
}

}  // namespace tk
