#include "tests/win_dialogs/dialog_support.h"

namespace kvdlg {

std::vector<std::function<void(TPathDialogForm&)>> TScript::Steps;
TPathDialogForm* TScript::Dialog = nullptr;
size_t TScript::Next = 0;

}  // namespace kvdlg
