// What the system calls record for the test interface. Not for code outside platform/.
#pragma once

#include <string>

#include "platform/HeadlessScreen.h"

namespace winsys {

// Records a message box; returns the answer tests chose.
int RecordMessageBox(const headless::MessageBoxRecord& record);
void RecordBeep();
// The module path tests set; empty when they set none.
std::wstring ModulePathOverride();
// The executable's built-in string `id` (the table LoadStringW reads); null when there is none.
LPCWSTR BuiltInString(UINT id);
// The single-instance channel's name.
std::string InstanceChannel();

}  // namespace winsys
