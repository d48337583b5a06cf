// The caption of a skinned control: drawn in the colours of its section and state (contours,
// glow behind the text, disabled colour), or in the colours of the parent it stands on when its
// own section is one of those whose text lies on the parent's background.
#pragma once
#include <windows.h>

#include <string>

#include "skinframework/sCommonData.h"

namespace sk {

// Draws text into rect of the canvas, clipped to rect, with a transparent background; the
// canvas's font, clip and colours are as before afterwards. hot picks the hot property set of
// the section (when it has one).
void WriteControlText(tk::TCanvas& canvas, const std::wstring& text, bool enabled, bool hot, TsCommonData& common,
                      UINT format, RECT rect);

// The section of the first parent of control that is at most 50 per cent transparent, fills its
// centre, or is a top-level window; -1 when no parent answers with a valid section of model.
int FindFontSection(tk::TControl* control, const TSkinModel& model);

}  // namespace sk
