#include "payload/UninstallReport.h"

namespace kv {

namespace {
void AppendSection(std::wstring& text, const wchar_t* heading, const std::vector<std::wstring>& items) {
  if (items.empty()) return;
  text += L"\n\n";
  text += heading;
  for (const auto& item : items) text += L"\n  " + item;
}
}  // namespace

UninstallExitCode UninstallReport::ExitCode() const {
  if (not_installed) return kUninstallNotInstalled;
  return failed.empty() ? kUninstallComplete : kUninstallIncomplete;
}

std::wstring UninstallReport::Text() const {
  if (not_installed)
    return L"Kalvetra не установлена: запись об установке не найдена, удалять нечего.";
  std::wstring text = failed.empty() ? L"Kalvetra удалена с компьютера."
                                     : L"Kalvetra удалена не полностью. Запись об установке оставлена, "
                                       L"чтобы удаление можно было повторить.";
  AppendSection(text, L"Не удалось удалить:", failed);
  AppendSection(text, L"Уже отсутствовали (удалены раньше):", missing);
  AppendSection(text, L"Оставлены, так как принадлежат другой программе или установке:", kept);
  return text;
}

}  // namespace kv
