// What the system calls record while the screen is headless, and the settings the test
// interface (HeadlessScreen.h) gives them. Not for code outside platform/.
#pragma once

#include <string>
#include <vector>

#include "platform/Win32Types.h"

namespace winsys {

struct MessageBoxRecord {
  HWND owner;
  std::wstring text;
  std::wstring caption;
  UINT type;
};

// Records a message box; returns the answer tests chose (IDOK until they choose one).
int RecordMessageBox(const MessageBoxRecord& record);
// Every message box recorded so far, oldest first.
std::vector<MessageBoxRecord> RecordedMessageBoxes();
void SetMessageBoxAnswer(int answer);
void ClearRecordedMessageBoxes();
void RecordBeep();
int RecordedBeeps();
// The module path tests set; empty when they set none.
std::wstring ModulePathOverride();
void SetModulePathOverride(const std::wstring& path);
// The executable's built-in string `id` (the table LoadStringW reads); null when there is none.
LPCWSTR BuiltInString(UINT id);
// The single-instance channel's name: per user, unless tests set one of their own.
std::string InstanceChannel();
void SetInstanceChannelOverride(const std::string& name);

}  // namespace winsys
