// Reading another process's windows: text, class, place, children, top-level windows.
#pragma once
#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

// WM_GETTEXT through the system's cross-process marshalling (GetWindowText would only
// return the caption the system keeps, not an edit control's contents).
std::wstring window_text(HWND window);
std::wstring window_class(HWND window);

// The window's rectangle in its parent's client coordinates.
RECT rect_in_parent(HWND child, HWND parent);
POINT window_centre_on_screen(HWND window);

std::vector<HWND> direct_children(HWND parent);
std::vector<HWND> all_descendants(HWND parent);

// Top-level windows of one process, optionally filtered by class name and caption.
std::vector<HWND> process_top_level_windows(DWORD process_id, std::wstring_view class_name = {},
                                            std::wstring_view caption = {});

std::wstring describe_rect(const RECT& r);  // "left,top,width,height"
