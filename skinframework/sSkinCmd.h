// The engine's private window message: skinned controls, forms and the skin manager talk
// through SM_SKINCMD. The high word of wParam is the sub-command, the low word a small
// argument, lParam a value or a pointer to an object or record of this process.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "render/sGraphUtils.h"

namespace sk {

class TacCacheBitmap;

constexpr UINT SM_SKINCMD = 0xA100;

// Sub-commands (the number travels in the high word of wParam).
enum TSkinCmd : WORD {
    SC_NEWSKIN = 1,
    SC_REMOVESKIN = 2,
    SC_REFRESH = 3,
    SC_GETPROVIDER = 4,
    SC_ENDUPDATE = 6,
    SC_ISHANDLED = 7,
    SC_SETUPDATING = 8,
    SC_ISUPDATING = 10,
    SC_GETHALFVISIBLE = 11,
    SC_UPDATESECTION = 13,
    SC_SETSECTION = 15,
    SC_FADEDONE = 16,
    SC_BGCHANGED = 17,
    SC_INVALIDATE = 18,
    SC_MOVEREPAINT = 19,
    SC_PARENTMOVED = 20,
    SC_GETBGCOLOR = 21,
    SC_SETHALFVISIBLE = 22,
    SC_PREPARECACHE = 23,
    SC_PAINTFADEFRAME = 24,
    SC_SKINCHILDREN = 25,
    SC_GETSKININDEX = 26,
    SC_ACTIVATED = 29,
    SC_DEACTIVATED = 30,
    SC_BEGINUPDATE = 31,
    SC_UPDATEDONE = 32,
    SC_FREECACHE = 33,
    SC_GETBG = 34,
    SC_GETSTATE = 36,
    SC_GETCOMMONDATA = 37,
    SC_PRINTING = 38,
    SC_PAINTOUTER = 40,
    SC_BEGINSCROLL = 51,
    SC_ENDSCROLL = 52,
    SC_FRAMECHANGED = 53,
    SC_GETAPPLICATION = 60,
    SC_GETCLIENTOFFSET = 61,
    SC_TITLECHANGED = 62,
    SC_GETBOUNDS = 70,
    SC_PREVIEWSKIN = 71,
};

inline WPARAM SkinCmdWParam(WORD cmd, WORD arg = 0) { return MAKEWPARAM(arg, cmd); }
inline WORD SkinCmdOf(WPARAM wp) { return HIWORD(wp); }
inline WORD SkinCmdArg(WPARAM wp) { return LOWORD(wp); }

// BgKind of a background answer.
enum TacBgKind : uint8_t {
    bgNone = 0,      // nobody answered
    bgFill = 1,      // fill with Color (Bitmap, when set, is valid inside BorderInsets)
    bgBitmap = 2,    // copy from Bitmap at Offset
    bgNotReady = 3,  // the responder's cache is empty: ask again later
};

// The record of SC_GETBG: the requester fills the request part and passes its address.
struct TacBgRequest {
    TacCacheBitmap* Bitmap = nullptr;  // answer: the responder's cache, or null
    rd::TColor Color = 0;              // answer: fill colour
    rd::TPoint Offset;                 // where the requester's origin lies inside Bitmap
    rd::TRect Area;                    // request: the rectangle to draw, requester coordinates
    rd::TRect BorderInsets;            // answer: four widths of the responder's border
    uint8_t BgKind = bgNone;
    bool DrawNow = false;              // request: the responder paints into TargetDC inside Area
    HDC TargetDC = nullptr;
};

// The record of SC_GETSKININDEX and SC_SETSECTION.
struct TacSectionInfo {
    int SkinIndex = -1;
    std::wstring Name;
    bool RepaintNeeded = false;
};

// The request of SC_PAINTOUTER: the container's cache and where the container lies in it.
struct TacPaintOuterRequest {
    TacCacheBitmap* Bitmap = nullptr;
    rd::TPoint Offset;
};

}  // namespace sk
