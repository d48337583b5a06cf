// The folder dialog behind the "..." button, driven end to end.
#pragma once
#include <string>

#include "InstallerSession.h"

// "..." opens the skinned folder dialog at the field's folder; Escape leaves the field as it
// was; with the keyboard only, Create makes "New folder1" there and starts renaming it, Enter
// ends the renaming, Enter again takes the folder, which lands in the field with the product
// folder added; the install then goes there.
void folder_dialog_scenario(InstallerSession& session, const std::wstring& exe);
