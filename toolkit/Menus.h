// Popup menus and their items: captions with shortcut texts, check and radio marks, the default
// item, column breaks, bitmaps, images of the menu's image lists, tags and names, and owner
// drawing through measure and draw handlers. A shown menu is a platform popup menu owned by the toolkit's hidden menu
// window, which routes the measure and draw requests back to the items. Also the menu font.
#pragma once
#include <functional>
#include <memory>
#include <vector>

#include "toolkit/Classes.h"
#include "toolkit/Graphics.h"
#include "toolkit/ImgList.h"
#include "toolkit/Messages.h"

namespace tk {

class TMenu;
class TMenuItem;

enum class TMenuBreak { mbNone, mbBreak, mbBarBreak };

// Animation flags of a popup menu; maNone shows it without the platform's animation.
enum TMenuAnimation : unsigned { maLeftToRight = 1, maRightToLeft = 2, maTopToBottom = 4, maBottomToTop = 8, maNone = 16 };

// The owner-draw state as the platform gives it (ODS_SELECTED, ODS_GRAYED, ODS_HOTLIGHT, ...).
using TOwnerDrawState = UINT;

using TMeasureItemFn = std::function<void(TMenuItem* item, TCanvas& canvas, int& width, int& height)>;
using TAdvancedDrawItemFn = std::function<void(TMenuItem* item, TCanvas& canvas, RECT rect, TOwnerDrawState state)>;
using TDrawItemFn = std::function<void(TMenuItem* item, TCanvas& canvas, RECT rect, bool selected)>;

// An item handler that remembers who set it, so that a hook can tell its own handlers from the
// item's own ones and remove only those.
template <class Fn>
struct TMenuHandler {
    Fn Call;
    const void* Source = nullptr;
    explicit operator bool() const { return static_cast<bool>(Call); }
    bool SetBy(const void* source) const { return Call && Source == source; }
    void Set(Fn fn, const void* source) {
        Call = std::move(fn);
        Source = source;
    }
    void Clear() {
        Call = nullptr;
        Source = nullptr;
    }
};

class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* owner);
    ~TMenuItem() override;

    std::wstring Caption;        // "-" is a separator
    std::wstring ShortCutText;   // written after the caption, e.g. "Alt+F4"; empty: none
    bool Checked = false;
    bool RadioItem = false;
    bool Default = false;
    bool Enabled = true;
    bool Visible = true;
    TMenuBreak Break = TMenuBreak::mbNone;
    int ImageIndex = -1;
    TNotifyEvent OnClick;
    TMenuHandler<TMeasureItemFn> OnMeasureItem;
    TMenuHandler<TAdvancedDrawItemFn> OnAdvancedDrawItem;
    TDrawItemFn OnDrawItem;

    // The list the sub-items' ImageIndex refers to (instead of the menu's Images); not owned,
    // forgotten when it is freed.
    TCustomImageList* SubMenuImages() const { return FSubMenuImages; }
    void SetSubMenuImages(TCustomImageList* images);
    // The list this item's ImageIndex refers to: its parent's SubMenuImages, else the menu's
    // Images; null when neither is set.
    TCustomImageList* ImageList() const;
    // The item shows an image of its list (the index is one of the list's images).
    bool HasListImage() const;

    // The item's own picture; empty (0 x 0) unless one was given.
    TBitmap& Bitmap();
    bool HasBitmap() const { return FBitmap && FBitmap->Width() > 0 && FBitmap->Height() > 0; }
    const TBitmap* BitmapOrNull() const { return HasBitmap() ? FBitmap.get() : nullptr; }

    // Sub-items. An added item is linked, not owned: its owner component frees it, and an item
    // being freed leaves its parent's list.
    void Add(TMenuItem* item);
    void Remove(TMenuItem* item);
    int Count() const { return static_cast<int>(FItems.size()); }
    TMenuItem* Items(int index) const;
    TMenuItem* Parent() const { return FParent; }
    int MenuIndex() const;
    bool IsLine() const { return Caption == L"-"; }
    // The menu the item's tree belongs to, or null.
    TMenu* GetParentMenu() const;

    // Runs OnClick.
    void Click();
    // What the platform asks of an owner-drawn item; the handlers when set, else a plain look.
    void MeasureItem(TCanvas& canvas, int& width, int& height);
    void AdvancedDrawItem(TCanvas& canvas, RECT rect, TOwnerDrawState state);

    // The item whose address the platform handed back, when it still exists; else null.
    static TMenuItem* FromData(ULONG_PTR data);

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    friend class TMenu;
    TCustomImageList* FSubMenuImages = nullptr;
    std::vector<TMenuItem*> FItems;
    TMenuItem* FParent = nullptr;
    TMenu* FMenu = nullptr;  // set on a menu's root item
    std::unique_ptr<TBitmap> FBitmap;
};

class TMenu : public TComponent {
public:
    explicit TMenu(TComponent* owner);
    ~TMenu() override;
    // The root item whose sub-items are the menu's items.
    TMenuItem* Items() const { return FItems; }
    bool OwnerDraw = false;
    // Right-to-left reading and layout.
    bool RightToLeft = false;
    // The window of the form the menu belongs to (character set, layout); may be null.
    HWND OwnerWindow = nullptr;
    // The items of the root, depth first, on which fn is called.
    void ForEachItem(const std::function<void(TMenuItem*)>& fn) const;
    // The list the items' ImageIndex refers to; not owned, forgotten when it is freed.
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* images);

protected:
    void Notification(TComponent* component, TOperation operation) override;
    // The platform menu of one level of items (sub-menus included): owner-drawn items carry
    // their address; commands[id - 1] is the item of command id.
    HMENU BuildLevel(const TMenuItem* parent, std::vector<TMenuItem*>& commands) const;

private:
    TMenuItem* FItems;
    TCustomImageList* FImages = nullptr;
};

class TPopupMenu : public TMenu {
public:
    explicit TPopupMenu(TComponent* owner) : TMenu(owner) {}
    unsigned MenuAnimation = 0;
    TComponent* PopupComponent = nullptr;
    TNotifyEvent OnPopup;
    // Shows the menu at the screen point and waits until it closes; the chosen item's OnClick
    // runs after that. Returns the chosen item, null when the menu closed without a choice.
    TMenuItem* Popup(int x, int y);
    // True while the menu is shown.
    bool Showing() const { return FShowing; }

private:
    bool FShowing = false;
};

// The hidden window that owns shown popup menus and passes their measure and draw requests to
// the items (created on first use).
HWND PopupListWindow();
// Passes a measure or draw request of a menu item to the item; false when the message is
// not one of an item this toolkit knows.
bool DispatchMenuMessage(TMessage& m);

// The screen's menu font, or the custom menu font when one is set.
void GetMenuFont(TFont& font);
// A font that replaces the screen's menu font for every menu; null removes it.
void SetCustomMenuFont(const TFont* font);
const TFont* CustomMenuFont();

}  // namespace tk
