#include "directory/LogoRules.h"

#include <system_error>

#include "platform/Utf8.h"

bool LogoDue(std::optional<FileTime> logoWritten, std::optional<FileTime> failedAt, FileTime now) {
  if (failedAt && now - *failedAt < kLogoFailurePause) {
    return false;
  }
  return !logoWritten || now - *logoWritten >= kLogoLifetime;
}

std::wstring LogoFolder(std::wstring_view folder) {
  return std::wstring(folder) + L"logos/";
}

std::wstring LogoFile(std::wstring_view folder, std::wstring_view uuid) {
  return LogoFolder(folder) + std::wstring(uuid);
}

std::wstring LogoFailureMark(std::wstring_view folder, std::wstring_view uuid) {
  return LogoFile(folder, uuid) + L".failed";
}

std::optional<FileTime> WrittenAt(const std::wstring& path) {
  std::error_code error;
  const FileTime written = std::filesystem::last_write_time(WideToUtf8(path), error);
  if (error) {
    return std::nullopt;
  }
  return written;
}
