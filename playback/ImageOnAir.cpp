#include "playback/ImageOnAir.h"

#include <filesystem>
#include <system_error>

#include "platform/Utf8.h"
#include "playback/PlaybackState.h"

ImageOnAir CurrentImageOnAir() {
  if (!coverOnAir.load()) {
    const std::wstring logo = stationLogoPath.Get();
    std::error_code error;
    if (!logo.empty() && std::filesystem::is_regular_file(WideToUtf8(logo), error)) {
      return {logo, true};
    }
  }
  return {coverImagePath.Get(), false};
}
