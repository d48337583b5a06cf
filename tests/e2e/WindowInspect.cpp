#include "WindowInspect.h"

namespace {
constexpr UINT kMessageTimeoutMs = 5000;

struct TopLevelQuery {
  DWORD process_id;
  std::wstring_view class_name;
  std::wstring_view caption;
  std::vector<HWND> found;
};

BOOL CALLBACK collect_top_level(HWND window, LPARAM param) {
  auto* query = reinterpret_cast<TopLevelQuery*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != query->process_id) return TRUE;
  if (!query->class_name.empty() && window_class(window) != query->class_name) return TRUE;
  if (!query->caption.empty() && window_text(window) != query->caption) return TRUE;
  query->found.push_back(window);
  return TRUE;
}

BOOL CALLBACK collect_descendant(HWND window, LPARAM param) {
  reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
  return TRUE;
}
}  // namespace

std::wstring window_text(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kMessageTimeoutMs, &length))
    return L"<no answer to WM_GETTEXTLENGTH>";
  std::wstring text(size_t(length) + 1, L'\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXT, WPARAM(text.size()), LPARAM(text.data()), SMTO_ABORTIFHUNG,
                           kMessageTimeoutMs, &copied))
    return L"<no answer to WM_GETTEXT>";
  text.resize(size_t(copied));
  return text;
}

std::wstring window_class(HWND window) {
  wchar_t name[256] = {};
  int length = GetClassNameW(window, name, 256);
  return std::wstring(name, size_t(length > 0 ? length : 0));
}

RECT rect_in_parent(HWND child, HWND parent) {
  RECT r{};
  GetWindowRect(child, &r);
  MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

POINT window_centre_on_screen(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

std::vector<HWND> direct_children(HWND parent) {
  std::vector<HWND> children;
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    children.push_back(child);
  return children;
}

std::vector<HWND> all_descendants(HWND parent) {
  std::vector<HWND> found;
  EnumChildWindows(parent, collect_descendant, reinterpret_cast<LPARAM>(&found));
  return found;
}

std::vector<HWND> process_top_level_windows(DWORD process_id, std::wstring_view class_name,
                                            std::wstring_view caption) {
  TopLevelQuery query{process_id, class_name, caption, {}};
  EnumWindows(collect_top_level, reinterpret_cast<LPARAM>(&query));
  return query.found;
}

std::wstring describe_rect(const RECT& r) {
  return std::to_wstring(r.left) + L"," + std::to_wstring(r.top) + L"," + std::to_wstring(r.right - r.left) +
         L"," + std::to_wstring(r.bottom - r.top);
}
