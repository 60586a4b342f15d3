// When a station's kept logo is fetched again: the age of the logo file and of its failure mark.
#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

using FileTime = std::filesystem::file_time_type;

// A kept logo is fetched again once it is this old; until the new one arrives the old one shows.
inline constexpr std::chrono::hours kLogoLifetime{30 * 24};
// A station whose logo could not be fetched is not asked again for this long.
inline constexpr std::chrono::hours kLogoFailurePause{24};

// True when the logo is to be fetched at `now`: none is kept or the kept one is past its
// lifetime, and no failure within the pause stands against it.
bool LogoDue(std::optional<FileTime> logoWritten, std::optional<FileTime> failedAt, FileTime now);

// The folder of kept logos ("logos/" in the application folder) and, in it, the station's logo
// file (named by its uuid) and its failure mark. `folder` ends in a separator.
std::wstring LogoFolder(std::wstring_view folder);
std::wstring LogoFile(std::wstring_view folder, std::wstring_view uuid);
std::wstring LogoFailureMark(std::wstring_view folder, std::wstring_view uuid);

// The file's last write, or nothing when it does not exist.
std::optional<FileTime> WrittenAt(const std::wstring& path);
