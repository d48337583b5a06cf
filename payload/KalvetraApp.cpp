// Kalvetra.exe: the application window. It shows the document it was started with, its own
// version and the versions of the audio libraries beside it.
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "payload/AppCommandLine.h"
#include "payload/AppLibraries.h"

namespace {
const wchar_t kWindowClass[] = L"KalvetraMainWindow";
constexpr int kLineHeight = 22, kMargin = 12, kLabelWidth = 140;

// Child control identifiers: a test or a screen reader finds each line by its own id.
enum LineId { kDocumentLine = 101, kVersionLine, kBassLine, kWasapiLine, kInstanceLine };

struct Line {
  LineId id;
  std::wstring label, value;
};

std::vector<Line> WindowLines(const kv::AppOptions& options) {
  const std::wstring dir = kv::ExecutableDirectory();
  auto or_missing = [](const std::wstring& text) { return text.empty() ? std::wstring(L"не найдена") : text; };
  return {
      {kDocumentLine, L"Документ:", options.document.empty() ? L"(нет)" : options.document},
      {kVersionLine, L"Версия Kalvetra:", kv::FileVersionText(dir + L"Kalvetra.exe")},
      {kBassLine, L"bass.dll:", or_missing(kv::LibraryVersionText(dir + L"bass.dll", "BASS_GetVersion"))},
      {kWasapiLine, L"basswasapi.dll:",
       or_missing(kv::LibraryVersionText(dir + L"basswasapi.dll", "BASS_WASAPI_GetVersion"))},
      {kInstanceLine, L"Запуск:", options.new_instance ? L"новый экземпляр (-newinstance)" : L"обычный"},
  };
}

void AddLines(HWND window, const std::vector<Line>& lines) {
  HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  RECT client{};
  GetClientRect(window, &client);
  int y = kMargin;
  for (const auto& line : lines) {
    HWND label = CreateWindowExW(0, L"STATIC", line.label.c_str(), WS_CHILD | WS_VISIBLE, kMargin, y, kLabelWidth,
                                 kLineHeight, window, nullptr, nullptr, nullptr);
    HWND value = CreateWindowExW(0, L"STATIC", line.value.c_str(), WS_CHILD | WS_VISIBLE | SS_PATHELLIPSIS,
                                 kMargin + kLabelWidth, y, client.right - 2 * kMargin - kLabelWidth, kLineHeight,
                                 window, reinterpret_cast<HMENU>(INT_PTR(line.id)), nullptr, nullptr);
    SendMessageW(label, WM_SETFONT, WPARAM(font), FALSE);
    SendMessageW(value, WM_SETFONT, WPARAM(font), FALSE);
    y += kLineHeight;
  }
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  const kv::AppOptions options = kv::ParseAppCommandLine(kv::ProcessArguments());

  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kWindowClass;
  if (!RegisterClassExW(&wc)) return 1;

  HWND window = CreateWindowExW(0, kWindowClass, L"Kalvetra", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 560,
                                190, nullptr, nullptr, instance, nullptr);
  if (!window) return 1;
  AddLines(window, WindowLines(options));
  ShowWindow(window, show);
  UpdateWindow(window);

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return int(msg.wParam);
}
