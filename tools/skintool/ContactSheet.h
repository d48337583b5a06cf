// A contact sheet of a loaded skin: every section's face at three sizes in states 0, 1 and 2
// over a checkerboard and over its parent colour, then every frame of every mask, on one
// picture with grid coordinates along its edges and a legend that names each cell.
#pragma once
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "render/sGraphUtils.h"
#include "skin/SkinModel.h"

namespace skintool {

struct TFaceSize {
    const char* Name;
    int Width, Height;
};
// Small (below the border margins of most masks), control-sized and large.
inline constexpr TFaceSize kFaceSizes[3] = {{"small", 14, 14}, {"control", 75, 25}, {"large", 160, 64}};
// Mask frames larger than this are shown cut to it.
inline constexpr int kMaxFrameWidth = 160, kMaxFrameHeight = 64;

enum class TSheetBackground { Checker, ParentColor };

struct TSheetCell {
    std::string Position;  // column letters and row number, "B7"
    bool IsMask = false;
    int Index = -1;        // the section's index in gd, or the mask's in ma
    std::wstring Name;     // section name, or "CLASS.PROPERTY" of a mask
    rd::TRect Rect;        // where the picture lies in the sheet
    int State = 0;         // the face state asked for, or the mask frame
    int DrawnState = 0;    // the state the section paints for it (capped by its States)
    int FrameCount = 0;    // masks: ImageCount
    TSheetBackground Background = TSheetBackground::Checker;
    rd::TColor BackColor = rd::clMagenta;  // the parent colour (ParentColor cells)
    std::wstring BackFrom;                 // the section that colour comes from, or "main colour"
    int FullWidth = 0, FullHeight = 0;     // masks: the frame's own size (larger when cut)
};

struct TSheetOptions {
    int State = -1;  // -1: faces in states 0, 1 and 2; else only in that state
};

struct TContactSheet {
    std::unique_ptr<rd::TMemBitmap32> Image;
    std::vector<TSheetCell> Cells;
};

TContactSheet BuildContactSheet(const sk::TSkinModel& model, const TSheetOptions& options);

// One line per cell (position, kind, index, name, size, state or frame, drawn state,
// background), tab-separated, after comment lines starting with "#".
std::string SheetLegend(const TContactSheet& sheet, const std::string& title);

// The legend's file: OUT.png.txt beside OUT.png.
std::filesystem::path LegendPath(const std::filesystem::path& png);
// Writes the picture (RGB PNG) and its legend, each through a temporary file.
void WriteContactSheet(const TContactSheet& sheet, const std::filesystem::path& png, const std::string& title);

// Pieces of the sheet, also used to check it.
std::string ColumnName(int column);  // 0 "A", 25 "Z", 26 "AA"
// Light and dark grey squares of 4 pixels, starting light at the top-left corner.
std::unique_ptr<rd::TMemBitmap32> Checkerboard(int width, int height);
// The colour a section's faces are shown over besides the checkerboard: the colour of its
// PARENTCLASS section when that one is opaque, else the skin's main colour.
rd::TColor ParentColorOf(const sk::TSkinModel& model, int section, std::wstring* from = nullptr);

}  // namespace skintool
