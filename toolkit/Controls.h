// Controls: window-less graphic controls painted by their parent, and windowed controls
// that own an HWND (their own window class, or a subclassed system class).
#pragma once
#include "toolkit/Classes.h"
#include "toolkit/Graphics.h"
#include "toolkit/Messages.h"

namespace tk {

class TWinControl;
class TPopupMenu;

// Mouse cursors a control can ask for while the mouse is over it (the toolkit's numbers).
using TCursor = int;

// Sides of its parent a control keeps its distance to when the parent is resized.
enum TAnchorKind : unsigned { akLeft = 1, akTop = 2, akRight = 4, akBottom = 8 };
constexpr TCursor crDefault = 0, crArrow = -2, crIBeam = -4, crHandPoint = -21;

// A replaceable message handler: see TControl::WindowProc.
using TWndMethod = std::function<void(TMessage&)>;

class TControl : public TComponent {
public:
    explicit TControl(TComponent* owner);
    ~TControl() override;

    TWinControl* Parent() const { return FParent; }
    virtual void SetParent(TWinControl* parent);

    int Left() const { return FLeft; }
    int Top() const { return FTop; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    RECT BoundsRect() const { return {FLeft, FTop, FLeft + FWidth, FTop + FHeight}; }
    virtual void SetBounds(int left, int top, int width, int height);

    bool Visible() const { return FVisible; }
    void SetVisible(bool v);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool v);
    // Showing: visible itself and every parent up to a visible top-level window.
    bool Showing() const;

    const std::wstring& Caption() const { return FText; }
    virtual std::wstring GetText() const { return FText; }
    void SetText(const std::wstring& text);
    void SetCaption(const std::wstring& text) { SetText(text); }

    TFont& Font() { return FFont; }
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool v);
    TColor Color() const { return FColor; }
    void SetColor(TColor c);

    TNotifyEvent OnClick;
    virtual void Click();

    // akLeft | akTop by default: the control stays where it is when its parent is resized.
    unsigned Anchors() const { return FAnchors; }
    void SetAnchors(unsigned anchors) { FAnchors = anchors; }
    // Moves or stretches the control as its anchors say for a parent grown by (dx, dy).
    void AnchorTo(int dx, int dy);

    // Sends a message to the control's handler, WindowProc (no window involved).
    LRESULT Perform(UINT msg, WPARAM wp = 0, LPARAM lp = 0);
    virtual void WndProc(TMessage& m);
    // Every message for the control goes through here: window messages and Perform alike.
    // Starts out calling WndProc. Whoever replaces it keeps the previous value, passes on
    // the messages it does not handle (WM_NCDESTROY included) and puts it back when done.
    TWndMethod WindowProc;

    virtual void Invalidate();
    virtual void Repaint();
    virtual void Paint(TCanvas&) {}
    virtual bool IsWindowed() const { return false; }
    bool MouseInside() const { return FMouseInside; }
    // The cursor shown while the mouse is over the control; crDefault leaves the window's own.
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor value) { FCursor = value; }
    // The menu shown on a context-menu request (right click, the menu key, Shift+F10); not
    // owned, forgotten when it is freed.
    TPopupMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(TPopupMenu* menu);
    // Shows the popup menu at screen point pos (-1, -1: asked from the keyboard, shown at the
    // control's top-left corner) and returns when it closes; false without a popup menu.
    bool ContextPopup(LPARAM pos);

    void SetProperty(TReader& reader, const std::string& name, const TValue& value) override;
    void Loaded() override;

    // Mouse input delivered by the parent (graphic controls) in client coordinates.
    virtual void MouseDown(int x, int y);
    virtual void MouseUp(int x, int y);
    virtual void MouseMove(int x, int y);

protected:
    virtual void TextChanged() {}
    virtual void FontChanged() {}
    virtual void EnabledChanged() {}
    void Notification(TComponent* component, TOperation operation) override;
    virtual void ParentFontChanged();  // takes the parent's font when ParentFont is set
    // Sends CM_SHOWINGCHANGED (wParam: showing) to the control and every control on it.
    void ShowingChanged(bool showing);
    bool FPressed = false;     // left button went down on the control and is still down
    bool FMouseInside = false;
    TColor FColor = clBtnFace;
    bool FParentColor = false;
    std::wstring FText;

private:
    friend class TWinControl;
    TWinControl* FParent = nullptr;
    int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
    bool FVisible = true, FEnabled = true, FParentFont = true;
    TCursor FCursor = crDefault;
    TPopupMenu* FPopupMenu = nullptr;
    TFont FFont;
    unsigned FAnchors = akLeft | akTop;
};

class TGraphicControl : public TControl {
public:
    using TControl::TControl;
};

struct TCreateParams {
    std::wstring ClassName;  // system class to subclass, or empty for the toolkit's own class
    DWORD Style = WS_CHILD | WS_CLIPSIBLINGS;
    DWORD ExStyle = 0;
    HWND WndParent = nullptr;
};

class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;

    HWND Handle();  // creates the window when it does not exist yet
    // The window's text while it exists (the user may have typed), else the stored text.
    std::wstring GetText() const override;
    bool HandleAllocated() const { return FHandle != nullptr; }
    void HandleNeeded() { Handle(); }
    bool IsWindowed() const override { return true; }

    int ControlCount() const { return static_cast<int>(FControls.size()); }
    TControl* Controls(int i) const { return FControls[i]; }
    int TabOrder() const { return FTabOrder; }
    void SetTabOrder(int v) { FTabOrder = v; }
    bool TabStop() const { return FTabStop; }
    void SetTabStop(bool v);

    void SetBounds(int left, int top, int width, int height) override;
    void SetFocus();
    bool Focused() const;
    bool CanFocus() const;
    void Invalidate() override;
    void Repaint() override;
    RECT ClientRect() const;

    void WndProc(TMessage& m) override;
    // Sends a message to every control on this one, and on theirs.
    void Broadcast(UINT msg, WPARAM wp = 0, LPARAM lp = 0);
    // The handler the window had before it was subclassed, or DefWindowProc.
    void DefaultHandler(TMessage& m);
    // The toolkit control that owns a window, or nullptr.
    static TWinControl* FromHandle(HWND h);

    void SetProperty(TReader& reader, const std::string& name, const TValue& value) override;

    // Paints the window into dc with its client origin at (x, y): WM_ERASEBKGND, then
    // WM_PAINT with the DC in wParam.
    void PaintTo(HDC dc, int x, int y);
    // Paints the graphic controls that sit on this control into a DC of its client area.
    void PaintGraphicControls(HDC dc, const RECT& clip);
    // Paints the control's own background (graphic controls paint on top of it).
    virtual void PaintBackground(HDC dc, const RECT& r);

protected:
    virtual void CreateParams(TCreateParams& params);
    virtual void CreateWnd();
    // Called once the window exists: push stored state into it.
    virtual void InitializeWnd();
    void DestroyHandle();
    // The next client size is taken as the one the anchored children were placed for.
    void ForgetAnchorBase() { FAnchorWidth = FAnchorHeight = -1; }
    // Brush and colours for a child window that asked with WM_CTLCOLOR*.
    virtual LRESULT CtlColor(HDC dc);
    // WM_PAINT of a window of the toolkit's own class: paints into the DC in wParam when
    // one is given, else between BeginPaint and EndPaint.
    void HandlePaint(TMessage& m);
    // Paints the part clip of the client area into dc: background, then graphic controls.
    virtual void PaintWindow(HDC dc, const RECT& clip);

private:
    friend class TControl;
    friend LRESULT CALLBACK ToolkitWndProc(HWND, UINT, WPARAM, LPARAM);
    void InsertControl(TControl* c);
    // Places the anchored children for the new client size (the first size is taken as is).
    void AnchorControls(int clientWidth, int clientHeight);
    void RemoveControl(TControl* c);
    void UpdateTabOrder();
    TControl* GraphicControlAt(int x, int y, bool allowDisabled) const;
    // The enabled window-less control with a popup menu under a context-menu request's
    // screen point, or null.
    TControl* ContextControlAt(LPARAM pos) const;
    void RouteMouse(TMessage& m);
    bool ReflectToChild(TMessage& m);
    void TrackMouseInside();
    // WM_SETCURSOR over the client area: the cursor of the control under the mouse, if it has one.
    bool SetControlCursor(TMessage& m);
    void DetachWindow();  // after WM_NCDESTROY: forget the window, restore its procedure

    HWND FHandle = nullptr;
    WNDPROC FDefWndProc = nullptr;
    bool FOwnClass = false;  // the window is of the toolkit's class, not a subclassed system one
    std::vector<TControl*> FControls;
    int FTabOrder = -1;
    bool FTabStop = false;
    TControl* FCaptureControl = nullptr;
    TControl* FHoverControl = nullptr;
    int FAnchorWidth = -1, FAnchorHeight = -1;  // client size the children were last placed for
    bool FTrackingLeave = false;
    HBRUSH FCtlBrush = nullptr;
    COLORREF FCtlBrushColor = 0;
};

LRESULT CALLBACK ToolkitWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
std::wstring WindowText(HWND h);

}  // namespace tk
