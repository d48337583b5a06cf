#include "ContactSheet.h"

#include <algorithm>
#include <cstdio>

#include "PixelFont.h"
#include "PngFile.h"
#include "SkinPackFiles.h"
#include "render/acBlit.h"
#include "skinpaint/sSectionPaint.h"
#include "skin/acntUtils.h"

namespace skintool {

namespace {

constexpr int kLeft = 150;    // row labels
constexpr int kHeader = 17;   // column letters and what each face column shows
constexpr int kPad = 6;       // between cells
constexpr rd::TColor kSheetColor = 0xE6E6E6, kTextColor = 0x202020, kCheckLight = 0xC8C8C8,
                     kCheckDark = 0x8C8C8C;

struct TFaceColumn {
    int Size = 0, State = 0;
    TSheetBackground Background = TSheetBackground::Checker;
    int X = 0;
};

struct TLayout {
    std::vector<TFaceColumn> FaceColumns;
    int MaskHeaderY = 0, MaskColumnWidth = 0, MaskColumns = 0;
    std::vector<std::pair<int, std::string>> RowLabels;  // y, text
    int Width = 0, Height = 0;
};

std::vector<int> FaceStates(const TSheetOptions& options) {
    if (options.State >= 0) return {options.State};
    return {0, 1, 2};
}

std::vector<TFaceColumn> MakeFaceColumns(const TSheetOptions& options) {
    std::vector<TFaceColumn> columns;
    int x = kLeft;
    for (auto bg : {TSheetBackground::Checker, TSheetBackground::ParentColor})
        for (int state : FaceStates(options))
            for (int size = 0; size < 3; ++size) {
                columns.push_back({size, state, bg, x});
                x += kFaceSizes[size].Width + kPad;
            }
    return columns;
}

std::string RowLabel(int row, const std::wstring& name) {
    std::string text = std::to_string(row) + " " + sk::NarrowForMessage(name);
    const size_t room = (kLeft - 4) / kGlyphAdvance;
    if (static_cast<size_t>(PixelTextLength(text)) > room) text.resize(room);  // cut bytes: '?' at worst
    return text;
}

std::wstring MaskName(const sk::TsMaskData& m) { return m.ClassName + L"." + m.PropertyName; }

bool HasFrames(const sk::TsMaskData& m) {
    return m.ImageCount > 0 && sk::MaskImageWidth(m) > 0 && sk::MaskImageHeight(m) > 0;
}

// Rows of section faces: one per section, every column.
void LayOutFaces(const sk::TSkinModel& model, TLayout& layout, std::vector<TSheetCell>& cells, int& y, int& row) {
    for (int s = 0; s < static_cast<int>(model.gd.size()); ++s, ++row) {
        const sk::TsGeneralData& g = model.gd[s];
        std::wstring from;
        const rd::TColor parent = ParentColorOf(model, s, &from);
        for (size_t c = 0; c < layout.FaceColumns.size(); ++c) {
            const TFaceColumn& col = layout.FaceColumns[c];
            const TFaceSize& size = kFaceSizes[col.Size];
            TSheetCell cell;
            cell.Position = ColumnName(static_cast<int>(c)) + std::to_string(row);
            cell.Index = s;
            cell.Name = g.ClassName;
            cell.Rect = {col.X, y, col.X + size.Width, y + size.Height};
            cell.State = col.State;
            cell.DrawnState = std::max(0, std::min(col.State, g.States - 1));
            cell.Background = col.Background;
            if (col.Background == TSheetBackground::ParentColor) cell.BackColor = parent, cell.BackFrom = from;
            cells.push_back(cell);
        }
        layout.RowLabels.push_back({y, RowLabel(row, g.ClassName)});
        y += kFaceSizes[2].Height + kPad;
    }
}

// Rows of mask frames below their own column letters: one row per mask that has frames.
void LayOutMasks(const sk::TSkinModel& model, TLayout& layout, std::vector<TSheetCell>& cells, int& y, int& row) {
    int widest = 0;
    for (const auto& m : model.ma)
        if (HasFrames(m)) {
            widest = std::max(widest, std::min<int>(sk::MaskImageWidth(m), kMaxFrameWidth));
            layout.MaskColumns = std::max<int>(layout.MaskColumns, m.ImageCount);
        }
    if (layout.MaskColumns == 0) return;
    layout.MaskColumnWidth = std::max(widest, 3 * kGlyphAdvance) + kPad;
    layout.MaskHeaderY = y;
    y += kHeader;
    for (int i = 0; i < static_cast<int>(model.ma.size()); ++i) {
        const sk::TsMaskData& m = model.ma[i];
        if (!HasFrames(m)) continue;
        const int fw = sk::MaskImageWidth(m), fh = sk::MaskImageHeight(m);
        const int w = std::min(fw, kMaxFrameWidth), h = std::min(fh, kMaxFrameHeight);
        for (int f = 0; f < m.ImageCount; ++f) {
            TSheetCell cell;
            cell.Position = ColumnName(f) + std::to_string(row);
            cell.IsMask = true;
            cell.Index = i;
            cell.Name = MaskName(m);
            const int x = kLeft + f * layout.MaskColumnWidth;
            cell.Rect = {x, y, x + w, y + h};
            cell.State = cell.DrawnState = f;
            cell.FrameCount = m.ImageCount;
            cell.FullWidth = fw, cell.FullHeight = fh;
            cells.push_back(cell);
        }
        layout.RowLabels.push_back({y, RowLabel(row, MaskName(m))});
        y += std::max(h, kGlyphHeight + 1) + kPad;
        ++row;
    }
}

TLayout LayOut(const sk::TSkinModel& model, const TSheetOptions& options, std::vector<TSheetCell>& cells) {
    TLayout layout;
    layout.FaceColumns = MakeFaceColumns(options);
    int y = kHeader, row = 1;
    LayOutFaces(model, layout, cells, y, row);
    LayOutMasks(model, layout, cells, y, row);
    int right = kLeft;
    for (const TSheetCell& c : cells) right = std::max(right, c.Rect.Right);
    layout.Width = right + kPad;
    layout.Height = y;
    return layout;
}

// Letters above every column; above face columns also size, state and background, e.g.
// "M1C": control-sized, state 1, checkerboard ("P": parent colour).
void DrawHeaders(rd::TBitmap32& sheet, const TLayout& layout) {
    for (size_t c = 0; c < layout.FaceColumns.size(); ++c) {
        const TFaceColumn& col = layout.FaceColumns[c];
        const char what[4] = {"SML"[col.Size], char('0' + col.State % 10),
                              col.Background == TSheetBackground::Checker ? 'C' : 'P', 0};
        DrawPixelText(sheet, col.X, 2, ColumnName(static_cast<int>(c)), kTextColor);
        DrawPixelText(sheet, col.X, 9, what, kTextColor);
    }
    for (int c = 0; c < layout.MaskColumns; ++c)
        DrawPixelText(sheet, kLeft + c * layout.MaskColumnWidth, layout.MaskHeaderY + 5, ColumnName(c), kTextColor);
    if (layout.MaskColumns > 0) DrawPixelText(sheet, 2, layout.MaskHeaderY + 5, "MASK FRAMES", kTextColor);
    for (const auto& [y, text] : layout.RowLabels) DrawPixelText(sheet, 2, y + 1, text, kTextColor);
}

void PaintFaceCell(const sk::TSkinModel& model, const TSheetCell& cell, rd::TBitmap32& sheet) {
    const int w = cell.Rect.Width(), h = cell.Rect.Height();
    rd::TMemBitmap32 face(w, h);
    std::unique_ptr<rd::TMemBitmap32> checker;
    rd::TCacheInfo background;
    if (cell.Background == TSheetBackground::Checker) {
        checker = Checkerboard(w, h);
        rd::CopyWholeBitmap(face, *checker);
        background = rd::CacheInfoForBitmap(checker.get(), 0, 0);
    } else {
        rd::FillPixels32(&face, {0, 0, w, h}, cell.BackColor, 255);
        background.FillColor = cell.BackColor;
    }
    rd::PaintSectionFace(cell.Index, L"", background, -1, -1, &model, &face, {0, 0}, {0, 0, w, h}, cell.State);
    rd::CopyRect32(&sheet, cell.Rect.Left, cell.Rect.Top, &face, 0, 0, w, h);
}

// A frame as the engine draws small masks; PNG glyphs are composed by their alpha, as their
// layered windows show them.
void PaintMaskCell(const sk::TSkinModel& model, const TSheetCell& cell, rd::TBitmap32& sheet) {
    const sk::TsMaskData& mask = model.ma[cell.Index];
    const int w = cell.Rect.Width(), h = cell.Rect.Height();
    auto checker = Checkerboard(w, h);
    rd::TMemBitmap32 frame(w, h);
    rd::CopyWholeBitmap(frame, *checker);
    if (!mask.Manager) return;  // never drawn by the engine either
    if (mask.ImgType == sk::itisaPngGlyph && mask.Bmp) {
        const int fw = sk::MaskImageWidth(mask), sx = mask.R.Left + cell.State * fw;
        rd::AlphaOver32({0, 0, w, h}, {sx, mask.R.Top, sx + w, mask.R.Top + h}, &frame, false, {}, mask.Bmp.get());
    } else {
        rd::PaintMaskGlyph(&frame, {0, 0}, cell.State, rd::CacheInfoForBitmap(checker.get(), 0, 0), mask, 1);
    }
    rd::CopyRect32(&sheet, cell.Rect.Left, cell.Rect.Top, &frame, 0, 0, w, h);
}

std::string ColorText(rd::TColor color) {
    const uint32_t c = static_cast<uint32_t>(rd::ColorToRGB(color));
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
    return text;
}

std::string LegendLine(const TSheetCell& c) {
    const std::string size = std::to_string(c.Rect.Width()) + "x" + std::to_string(c.Rect.Height());
    std::string line = c.Position + "\t" + (c.IsMask ? "mask" : "face") + "\t" + std::to_string(c.Index) + "\t" +
                       sk::NarrowForMessage(c.Name) + "\t";
    if (c.IsMask) {
        line += size;
        if (c.FullWidth != c.Rect.Width() || c.FullHeight != c.Rect.Height())
            line += " (cut from " + std::to_string(c.FullWidth) + "x" + std::to_string(c.FullHeight) + ")";
        return line + "\tframe " + std::to_string(c.State) + " of " + std::to_string(c.FrameCount) + "\t-\tchecker";
    }
    line += size + "\tstate " + std::to_string(c.State) + "\tdrawn " + std::to_string(c.DrawnState) + "\t";
    if (c.Background == TSheetBackground::Checker) return line + "checker";
    return line + "colour " + ColorText(c.BackColor) + " (" + sk::NarrowForMessage(c.BackFrom) + ")";
}

}  // namespace

std::string ColumnName(int column) {
    std::string name;
    for (int n = column + 1; n > 0; n = (n - 1) / 26) name.insert(name.begin(), char('A' + (n - 1) % 26));
    return name;
}

std::unique_ptr<rd::TMemBitmap32> Checkerboard(int width, int height) {
    auto b = std::make_unique<rd::TMemBitmap32>(width, height);
    for (int y = 0; y < height; y += 4)
        for (int x = 0; x < width; x += 4)
            rd::FillPixels32(b.get(), {x, y, std::min(x + 4, width), std::min(y + 4, height)},
                             ((x + y) / 4) % 2 == 0 ? kCheckLight : kCheckDark, 255);
    return b;
}

rd::TColor ParentColorOf(const sk::TSkinModel& model, int section, std::wstring* from) {
    const sk::TsGeneralData& g = model.gd.at(section);
    const int parent = g.ParentClass.empty() || g.ParentClass == g.ClassName ? -1 : model.GetSkinIndex(g.ParentClass);
    if (model.IsValidSkinIndex(parent) && model.gd[parent].Props[0].Transparency == 0) {
        if (from) *from = g.ParentClass;
        return rd::ColorToRGB(model.gd[parent].Props[0].Color);
    }
    if (from) *from = L"main colour";
    return rd::ColorToRGB(model.Palette[sk::pcMainColor]);
}

TContactSheet BuildContactSheet(const sk::TSkinModel& model, const TSheetOptions& options) {
    TContactSheet sheet;
    const TLayout layout = LayOut(model, options, sheet.Cells);
    sheet.Image = std::make_unique<rd::TMemBitmap32>(layout.Width, layout.Height);
    rd::FillPixels32(sheet.Image.get(), {0, 0, layout.Width, layout.Height}, kSheetColor, 255);
    DrawHeaders(*sheet.Image, layout);
    for (const TSheetCell& cell : sheet.Cells)
        cell.IsMask ? PaintMaskCell(model, cell, *sheet.Image) : PaintFaceCell(model, cell, *sheet.Image);
    return sheet;
}

std::string SheetLegend(const TContactSheet& sheet, const std::string& title) {
    std::string text = "# " + title + "\n# position\tkind\tindex\tname\tsize\tstate\tdrawn\tbackground\n";
    for (const TSheetCell& c : sheet.Cells) text += LegendLine(c) + "\n";
    return text;
}

std::filesystem::path LegendPath(const std::filesystem::path& png) {
    std::filesystem::path legend = png;
    legend += ".txt";
    return legend;
}

void WriteContactSheet(const TContactSheet& sheet, const std::filesystem::path& png, const std::string& title) {
    const sk::TBytes picture = EncodePngRgb(*sheet.Image);
    const std::string legend = SheetLegend(sheet, title);
    WriteFileBytes(png, picture);
    WriteFileBytes(LegendPath(png), sk::TBytes(legend.begin(), legend.end()));
}

}  // namespace skintool
