// Images of the menus' image lists: the list an item takes (its parent's SubMenuImages before
// the menu's Images, its own bitmap before both) sizes the item, and a shown menu draws the
// list image in the icon strip, composed with its alpha, grey for a disabled item, and nothing
// for an index the list does not have.
#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/win_menus/MenusFixture.h"

namespace {

using namespace kvmenus;

constexpr uint32_t kRed = 0xFFFF0000;       // 0xAARRGGBB
constexpr uint32_t kHalfBlue = 0x800000FF;

// A list of images of the given size, each filled with one pixel value.
std::unique_ptr<tk::TCustomImageList> MakeList(int width, int height, std::initializer_list<uint32_t> fills) {
    auto list = std::make_unique<tk::TCustomImageList>(nullptr, width, height);
    tk::TBitmap strip(width * int(fills.size()), height);
    int i = 0;
    for (uint32_t fill : fills) {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) strip.ScanLine(y)[i * width + x] = fill;
        ++i;
    }
    list->Add(strip);
    return list;
}

class MenuImagesTest : public testing::Test {
protected:
    void SetUp() override {
        UseSkin(TMenuSkin::Full);
        Manager().MenuSupport.UseExtraLine = false;
        Manager().MenuSupport.AlphaBlend = 255;
    }
};

TEST_F(MenuImagesTest, AnItemIsSizedByTheListItTakes) {
    auto menuList = MakeList(24, 20, {kRed});
    auto subList = MakeList(12, 30, {kRed});
    struct TCase {
        const char* Name;
        bool MenuImages, SubImages, OwnBitmap, InSubmenu;
        SIZE Image;
    } cases[] = {
        {"no list", false, false, false, false, {16, 16}},
        {"the menu's list", true, false, false, false, {24, 20}},
        {"a sub-item takes its parent's list", true, true, false, true, {12, 30}},
        {"a sub-item without its parent's list takes the menu's", true, false, false, true, {24, 20}},
        {"a top item ignores its own sub-item list", true, true, false, false, {24, 20}},
        {"its own bitmap first", true, true, true, true, {10, 8}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        auto menu = MakeMenu({L"Open"});
        tk::TMenuItem* top = menu->Items()->Items(0);
        auto* sub = new tk::TMenuItem(menu.get());
        sub->Caption = L"Open";
        top->Add(sub);
        if (c.MenuImages) menu->SetImages(menuList.get());
        if (c.SubImages) top->SetSubMenuImages(subList.get());
        tk::TMenuItem* item = c.InSubmenu ? sub : top;
        item->ImageIndex = 0;
        if (c.OwnBitmap) item->Bitmap().SetSize(10, 8);
        const SIZE size = sk::ItemImageSize(item);
        EXPECT_EQ(size.cx, c.Image.cx);
        EXPECT_EQ(size.cy, c.Image.cy);
        auto plain = MakeMenu({L"Open"});
        const SIZE noImage = Measure(plain->Items()->Items(0));
        plain->Items()->Items(0)->Bitmap().SetSize(1, 1);
        const int textHeight = Measure(plain->Items()->Items(0)).cy - 6;
        const SIZE measured = Measure(item);
        EXPECT_EQ(measured.cx - noImage.cx, 2 * (c.Image.cx - 16)) << "two image widths in every item";
        EXPECT_EQ(measured.cy, std::max<int>(textHeight, c.Image.cy) + 6);
    }
}

TEST_F(MenuImagesTest, AListFreedBeforeTheMenuIsForgotten) {
    auto menu = MakeMenu({L"Open"});
    tk::TMenuItem* item = menu->Items()->Items(0);
    item->ImageIndex = 0;
    auto list = MakeList(24, 24, {kRed});
    menu->SetImages(list.get());
    item->SetSubMenuImages(list.get());
    EXPECT_TRUE(item->HasListImage());
    list.reset();
    EXPECT_EQ(menu->Images(), nullptr);
    EXPECT_EQ(item->SubMenuImages(), nullptr);
    EXPECT_FALSE(item->HasListImage());
    EXPECT_EQ(sk::ItemImageSize(item).cx, 16);
}

int Channel(rd::TColor c, int shift) { return int((c >> shift) & 0xFF); }

bool Near(rd::TColor a, rd::TColor b, int tolerance) {
    for (int shift : {0, 8, 16})
        if (std::abs(Channel(a, shift) - Channel(b, shift)) > tolerance) return false;
    return true;
}

// d * (255 - a) / 255 + s * a / 255 per channel, s given as 0xAARRGGBB, d as 0x00BBGGRR.
rd::TColor Over(rd::TColor d, uint32_t s) {
    const int a = int(s >> 24);
    const rd::TColor src = ((s & 0xFF) << 16) | (s & 0xFF00) | ((s >> 16) & 0xFF);
    rd::TColor out = 0;
    for (int shift : {0, 8, 16})
        out |= rd::TColor((Channel(d, shift) * (255 - a) + Channel(src, shift) * a) / 255) << shift;
    return out;
}

// keep parts of a and the rest of b.
rd::TColor Mix(rd::TColor a, rd::TColor b, double keep) {
    rd::TColor out = 0;
    for (int shift : {0, 8, 16})
        out |= rd::TColor(Channel(a, shift) * keep + Channel(b, shift) * (1 - keep) + 0.5) << shift;
    return out;
}

TEST_F(MenuImagesTest, AShownMenuDrawsTheListImagesInTheIconStrip) {
    auto list = MakeList(16, 16, {kRed, kHalfBlue});
    auto menu = MakeMenu({L"Red", L"Half blue", L"Disabled", L"Not in the list"});
    menu->SetImages(list.get());
    const int indexes[] = {0, 1, 0, 7};
    for (int i = 0; i < 4; ++i) menu->Items()->Items(i)->ImageIndex = indexes[i];
    menu->Items()->Items(2)->Enabled = false;
    Menus().HookPopupMenu(menu.get(), true);
    rd::TColor seen[4] = {};
    PopupAndLook(*menu, 200, 150, [&](HWND wnd) {
        HMENU hmenu = reinterpret_cast<HMENU>(SendMessageW(wnd, MN_GETHMENU, 0, 0));
        RECT window{};
        GetWindowRect(wnd, &window);
        for (int i = 0; i < 4; ++i) {
            RECT item{};
            ASSERT_TRUE(GetMenuItemRect(nullptr, hmenu, UINT(i), &item));
            const int height = item.bottom - item.top;
            const int top = (height - 16) / 2;
            // The image's middle: min(3, top) from the item's left, vertically centred.
            seen[i] = WindowPixel(wnd, item.left - window.left + std::min(3, top) + 8, item.top - window.top + top + 8);
        }
    });
    EXPECT_EQ(seen[0], rd::TColor(0x000000FF)) << "an opaque image as it is";
    EXPECT_TRUE(Near(seen[1], Over(kItemColor, kHalfBlue), 2)) << "a half-transparent one over the item's face";
    const rd::TColor disabled = Mix(Over(kItemColor, tk::DisabledImagePixel(kRed)), kIcoLineColor, 0.4);
    EXPECT_TRUE(Near(seen[2], disabled, 3)) << "grey, and the item blended with the menu";
    EXPECT_EQ(seen[3], kItemColor) << "an index the list lacks draws nothing";
}

}  // namespace
