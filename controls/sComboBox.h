// Combo box painted from its skin section ("COMBOBOX" unless another is stored): the face, the
// chosen item and the button with the skin's drop-down glyph live in the cache; the colours of
// the section replace the stored ones. While the combo has the focus its edit part is the
// native edit (caret, selection); otherwise the whole control shows the cache. A read-only combo
// takes the focus but changes its selection neither by keyboard nor by mouse.
#pragma once
#include "controls/acSBUtils.h"
#include "controls/sBoundLabel.h"
#include "render/sAlphaGraph.h"
#include "skinframework/sCommonData.h"
#include "toolkit/EditCtrls.h"

namespace sk {

enum class TVerticalAlignment { taAlignTop, taAlignBottom, taVerticalCenter };

class TsComboBox : public tk::TCustomComboBox {
public:
    explicit TsComboBox(tk::TComponent* owner);
    ~TsComboBox() override;
    TsCommonData& SkinData() { return FSkinData; }
    TsBoundLabel& BoundLabel() { return FBoundLabel; }
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value);
    bool ShowButton() const { return FShowButton; }
    void SetShowButton(bool value);
    unsigned DisabledKind() const { return FDisabledKind; }
    // The list is open (between the drop-down and close-up notices).
    bool ListOpen() const { return FDropDown; }
    // The skinned frame and bars of the drop-down list, attached when the list first asks for
    // its colours while skinned; null otherwise.
    TacEditWnd* ListSW() const;

    // Where the button lies in the control (empty without a button).
    RECT ButtonRect();
    // The button's state: 2 while the list is open, 1 hot, 0 normal.
    int ButtonState() const;
    // Where the chosen item is drawn.
    RECT TextRect();
    // Rebuilds the face in the cache; false when the parent could not give its background.
    bool PrepareCache();
    // Whether a read-only combo swallows this key-down (virtual key) or character message.
    static bool ReadOnlySwallows(UINT msg, WPARAM key);

    void WndProc(tk::TMessage& m) override;
    void Loaded() override;
    void SetProperty(tk::TReader& reader, const std::string& name, const tk::TValue& value) override;

protected:
    void InitializeWnd() override;
    void DropDown() override;
    void CloseUp() override;
    // Owner-drawn styles: the list's items from the skin, the selection field from the cache.
    void DrawItem(const DRAWITEMSTRUCT& item) override;

private:
    bool Ready() const;
    bool Focus() const { return FSkinData.FFocused; }
    void Refresh();
    bool CacheReady();
    void PaintItem(rd::TBitmap32* cache, const rd::TCacheInfo& bg);
    // One item in r of bmp, over what bmp holds there: selected, the "SELECTION" section's face
    // and text colours, or the highlight colours with a dotted focus frame; otherwise the text in
    // the font colour, or in textSection's (-1: none) colours of the state hot.
    void PaintItemFace(TacCacheBitmap& bmp, const RECT& r, const std::wstring& text, bool selected, bool hot,
                       int textSection);
    void PaintButton(rd::TBitmap32* cache, const rd::TCacheInfo& bg);
    void OnPaint(tk::TMessage& m);
    void OnFocusNotice(bool gained);
    void OnMouseEnterLeave(tk::TMessage& m, bool enter);
    bool HandleSkinMessage(tk::TMessage& m);
    bool HandleSkinnedMessage(tk::TMessage& m);
    bool HandleReadOnly(tk::TMessage& m);
    void AttachEdit();
    void DetachEdit();
    // Right-to-left placement: the button at the left, the text and the native edit right of it.
    bool RightToLeft() const;
    void PlaceEditRightToLeft();
    void PressOnLeftButton(tk::TMessage& m);
    void AttachList(HWND list);
    void DetachList();
    // The combo's own handling of a message to its edit part; true when handled.
    bool EditMessage(HWND edit, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
    static LRESULT CALLBACK EditProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR data);

    TsCtrlSkinData FSkinData{this, true, 3};
    TsBoundLabel FBoundLabel{this, &FSkinData};
    unsigned FDisabledKind = rd::dkBlended;
    bool FShowButton = true;
    bool FReadOnly = false;
    bool FDropDown = false;
    tk::TAlignment FAlignment = tk::TAlignment::taLeftJustify;
    TVerticalAlignment FVerticalAlignment = TVerticalAlignment::taVerticalCenter;
    HWND FEditWnd = nullptr;
    HWND lboxhandle = nullptr;  // the drop-down list while its scroll-window object is attached
};

}  // namespace sk
