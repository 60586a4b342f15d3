// Files of the application folder written from memory, replaced whole or not at all, so that a
// reader (the panel drawing the cover) never meets half a file.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// Writes `bytes` to a temporary file in `folder` and renames it to folder + name. Returns false,
// with the old file as it was, when the name is not plain or anything fails. Any thread.
bool ReplaceFolderFile(std::wstring_view folder, std::wstring_view name, std::string_view bytes);

// The whole file folder + name, or nothing when it cannot be read or is longer than `maxBytes`.
std::optional<std::string> ReadFolderFile(std::wstring_view folder, std::wstring_view name,
                                          std::size_t maxBytes);
