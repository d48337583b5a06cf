#include "PayloadSteps.h"

#include <shellapi.h>
#include <shlobj.h>

#include "../e2e/FileAccess.h"
#include "../e2e/InstallationState.h"
#include "../e2e/InstallerSession.h"
#include "../e2e/RegistryAccess.h"
#include "../e2e/TextUtil.h"
#include "../e2e/WindowInspect.h"
#include "payload/ThumbnailIds.h"

namespace {
constexpr DWORD kProgramTimeoutMs = 120000;
constexpr DWORD kWindowTimeoutMs = 30000;
constexpr DWORD kSelfDeletionTimeoutMs = 30000;
constexpr int kDocumentLineId = 101;
const wchar_t kAppWindowClass[] = L"KalvetraMainWindow";

const std::wstring kClassKey = std::wstring(L"CLSID\\") + qz::kThumbnailHandlerClsidText;

REGSAM handler_view(const InstallLayout& layout) { return layout.windows64 ? KEY_WOW64_64KEY : 0; }

template <typename Condition>
bool wait_until(Condition condition, DWORD timeout_ms) {
  for (DWORD begin = GetTickCount(); !condition(); Sleep(100))
    if (GetTickCount() - begin >= timeout_ms) return false;
  return true;
}

bool copy_payload_file(const PayloadInputs& inputs, const std::wstring& name, const std::wstring& target) {
  return CopyFileW((inputs.payload_dir + L"\\" + name).c_str(), target.c_str(), FALSE) != 0;
}

bool create_shortcut(const std::wstring& target, const std::wstring& link_file) {
  IShellLinkW* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(&link))))
    return false;
  IPersistFile* file = nullptr;
  bool saved = false;
  if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    link->SetPath(target.c_str());
    link->SetWorkingDirectory((target.substr(0, target.find_last_of(L'\\') + 1)).c_str());
    saved = SUCCEEDED(file->Save(link_file.c_str(), FALSE));
    file->Release();
  }
  link->Release();
  return saved;
}

bool write_uninstall_entry(const InstallLayout& layout) {
  const std::pair<const wchar_t*, std::wstring> values[] = {
      {L"DisplayIcon", layout.program_path()},   {L"DisplayName", L"Kalvetra"},
      {L"DisplayVersion", L"beta v.0.14.3 [Build: 110]"}, {L"InstallLocation", layout.dir},
      {L"Publisher", L"Vornhalt"},               {L"UninstallString", layout.installed_path(L"Kalvetra_uninstall.exe")},
  };
  bool ok = true;
  for (const auto& [name, value] : values)
    ok = write_registry_string(HKEY_LOCAL_MACHINE, kUninstallKey, name, value, KEY_WOW64_32KEY) && ok;
  return ok;
}

bool write_document_types(const InstallLayout& layout) {
  const std::pair<std::wstring, std::wstring> types[] = {{L".qzs", L"Kalvetra.Preset"}, {L".qzt", L"Kalvetra.Theme"}};
  bool ok = true;
  int icon = 1;
  for (const auto& [extension, type] : types) {
    ok = write_registry_string(HKEY_CLASSES_ROOT, extension, L"", type) &&
         write_registry_string(HKEY_CLASSES_ROOT, type + L"\\DefaultIcon", L"", layout.program_path() + L"," +
                                                                                     std::to_wstring(icon++)) &&
         write_registry_string(HKEY_CLASSES_ROOT, type + L"\\shell\\Open", L"", L"Открыть с помощью Kalvetra") &&
         write_registry_string(HKEY_CLASSES_ROOT, type + L"\\shell\\Open\\Command", L"",
                               layout.program_path() + L" \"%1\"") &&
         ok;
  }
  return ok;
}

std::wstring system_program(const wchar_t* name) {
  wchar_t dir[MAX_PATH] = {};
  GetSystemDirectoryW(dir, MAX_PATH);
  return std::wstring(dir) + L"\\" + name;
}

bool register_like_installer(const InstallLayout& layout) {
  std::wstring cmd = system_program(L"cmd.exe");
  std::wstring line = L"\"" + cmd + L"\" /c regsvr32 /s " + layout.thumbnail_file;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(cmd.c_str(), line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                      layout.system_dir.c_str(), &startup, &process))
    return false;
  DWORD code = 1;
  if (WaitForSingleObject(process.hProcess, kProgramTimeoutMs) == WAIT_OBJECT_0) GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return code == 0;
}

std::wstring read_pipe(HANDLE pipe) {
  std::string bytes;
  char chunk[4096];
  DWORD got = 0;
  while (ReadFile(pipe, chunk, sizeof chunk, &got, nullptr) && got) bytes.append(chunk, got);
  return from_utf8(bytes);
}
}  // namespace

void clean_prefix(const InstallLayout& layout) {
  remove_installation(layout);
  for (REGSAM view : {REGSAM(KEY_WOW64_32KEY), REGSAM(KEY_WOW64_64KEY)})
    delete_registry_tree(HKEY_CLASSES_ROOT, kClassKey, view);
}

bool install_with_setup(CheckLog& log, const InstallLayout& layout, const PayloadInputs& inputs) {
  InstallerSession session(log, layout);
  if (!launch(session, inputs.installer_exe, false)) return false;
  HWND box = nullptr;
  if (!log.expect(click_install(session, box) == InstallOutcome::done, L"Kalvetra_setup.exe completes the install"))
    return false;
  finish_by_second_click(session);
  return true;
}

bool install_by_extraction(CheckLog& log, const InstallLayout& layout, const PayloadInputs& inputs) {
  bool files = create_directories(layout.dir);
  for (const auto& name : kInstallFileNames) files = files && copy_payload_file(inputs, name, layout.installed_path(name));
  files = files && copy_payload_file(inputs, layout.thumbnail_file, layout.system_file_path());
  if (!log.expect(files, L"payload files placed like the installer does")) return false;
  bool ok = log.expect(create_shortcut(layout.program_path(), layout.desktop_link) &&
                           create_shortcut(layout.program_path(), layout.programs_link),
                       L"shortcuts created");
  ok = log.expect(write_uninstall_entry(layout), L"uninstall entry written") && ok;
  ok = log.expect(register_like_installer(layout), L"cmd.exe /c regsvr32 /s " + layout.thumbnail_file + L" succeeds") && ok;
  ok = log.expect(write_document_types(layout), L"document types written") && ok;
  return ok;
}

void check_thumbnail_registration(CheckLog& log, const InstallLayout& layout) {
  const REGSAM view = handler_view(layout);
  auto server = read_registry_value(HKEY_CLASSES_ROOT, kClassKey + L"\\InprocServer32", L"", view);
  log.expect(server && contains_ignoring_case(server->as_string(), layout.system_file_path()) &&
                 server->as_string().size() == layout.system_file_path().size(),
             L"InprocServer32 names the system file", layout.system_file_path(), server ? server->as_string() : L"missing");
  auto model = read_registry_value(HKEY_CLASSES_ROOT, kClassKey + L"\\InprocServer32", L"ThreadingModel", view);
  log.expect_equal(L"ThreadingModel", L"Apartment", model ? model->as_string() : L"missing");
  for (const wchar_t* extension : qz::kThumbnailExtensions) {
    const std::wstring key = std::wstring(extension) + L"\\ShellEx\\" + qz::kThumbnailShellExKey;
    auto handler = read_registry_value(HKEY_CLASSES_ROOT, key, L"");
    log.expect_equal(L"thumbnail handler of " + std::wstring(extension), qz::kThumbnailHandlerClsidText,
                     handler ? handler->as_string() : L"missing");
  }
}

void check_thumbnail_object(CheckLog& log, const InstallLayout& layout, const PayloadInputs& inputs) {
  const std::wstring& client = layout.windows64 ? inputs.thumbnail_client64 : inputs.thumbnail_client32;
  auto result = run_captured(client, L"\"" + inputs.work_dir + L"\"", kProgramTimeoutMs);
  log.expect(result && result->exit_code == 0,
             std::wstring(layout.windows64 ? L"64" : L"32") + L"-bit COM client gets a thumbnail with alpha", L"exit code 0",
             result ? L"exit code " + std::to_wstring(result->exit_code) + L": " + result->output : L"no end");
}

void check_open_through_association(CheckLog& log, const PayloadInputs& inputs) {
  const std::wstring document = inputs.work_dir + L"\\opened by association.qzs";
  if (!log.expect(write_file(document, bytes_of("preset")), L"sample document written")) return;
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_NOCLOSEPROCESS;
  info.lpVerb = L"open";
  info.lpFile = document.c_str();
  info.nShow = SW_SHOWNORMAL;
  if (log.expect(ShellExecuteExW(&info) != FALSE, L"shell opens the .qzs document")) {
    HWND window = nullptr;
    // The window exists before its lines do; it is shown once they are in place.
    wait_until([&] { return (window = FindWindowW(kAppWindowClass, L"Kalvetra")) && IsWindowVisible(window); },
               kWindowTimeoutMs);
    if (log.expect(window != nullptr, L"window \"Kalvetra\" appears")) {
      HWND line = GetDlgItem(window, kDocumentLineId);
      log.expect_equal(L"application shows the document path", document, line ? window_text(line) : L"no line");
      for (int id : {102, 103, 104}) {
        std::wstring text = window_text(GetDlgItem(window, id));
        log.expect(!text.empty() && iswdigit(text[0]), L"version line " + std::to_wstring(id) + L" shows a version",
                   L"a version", text);
      }
      PostMessageW(window, WM_CLOSE, 0, 0);
      log.expect(wait_until([&] { return !IsWindow(window); }, kWindowTimeoutMs), L"application window closes");
    }
    if (info.hProcess) {
      WaitForSingleObject(info.hProcess, kWindowTimeoutMs);
      CloseHandle(info.hProcess);
    }
  }
  DeleteFileW(document.c_str());
}

std::optional<ProcessResult> run_captured(const std::wstring& exe, const std::wstring& arguments, DWORD timeout_ms) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE read_end = nullptr, write_end = nullptr;
  if (!CreatePipe(&read_end, &write_end, &inherit, 0)) return std::nullopt;
  SetHandleInformation(read_end, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = write_end;
  startup.hStdError = write_end;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  std::wstring line = L"\"" + exe + L"\" " + arguments;
  PROCESS_INFORMATION process{};
  BOOL started = CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process);
  CloseHandle(write_end);
  if (!started) {
    CloseHandle(read_end);
    return std::nullopt;
  }
  std::optional<ProcessResult> result;
  if (WaitForSingleObject(process.hProcess, timeout_ms) == WAIT_OBJECT_0) {
    ProcessResult r;
    GetExitCodeProcess(process.hProcess, &r.exit_code);
    r.output = read_pipe(read_end);
    result = r;
  } else {
    TerminateProcess(process.hProcess, 1);
  }
  CloseHandle(read_end);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return result;
}

void uninstall_silently(CheckLog& log, const std::wstring& uninstaller, DWORD expected_code,
                        const std::wstring& report_must_contain) {
  auto result = run_captured(uninstaller, L"/S", kProgramTimeoutMs);
  if (!log.expect(result.has_value(), L"uninstaller /S ends: " + uninstaller)) return;
  log.expect_equal(L"uninstaller exit code", expected_code, result->exit_code);
  if (!report_must_contain.empty())
    log.expect(result->output.find(report_must_contain) != std::wstring::npos, L"report names what happened",
               quoted(report_must_contain), quoted(result->output));
  log.note(L"uninstaller report: " + quoted(result->output));
}

void check_self_deleted(CheckLog& log, const InstallLayout& layout) {
  const std::wstring own = layout.installed_path(L"Kalvetra_uninstall.exe");
  bool gone = wait_until([&] { return !file_exists(own) && GetFileAttributesW(layout.dir.c_str()) == INVALID_FILE_ATTRIBUTES; },
                         kSelfDeletionTimeoutMs);
  log.expect(gone, L"deferred deletion removes the uninstaller and the directory: " + layout.dir);
}
