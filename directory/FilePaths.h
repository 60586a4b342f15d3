// Files of the application folder, named by appending a file name to WebClient::folder.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// True for a name that stays inside the folder it is appended to: not empty, not "." or "..",
// no '/' or '\', no control character.
bool IsPlainFileName(std::wstring_view name);

// folder followed by name; nothing when the name is not plain or the whole would not fit
// kMaxTextCharacters (shell/TextBuffer.h).
std::optional<std::wstring> FileInFolder(std::wstring_view folder, std::wstring_view name);
