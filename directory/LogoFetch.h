// One station's logo fetched into its logo file (LogoRules.h).
#pragma once

#include <string>
#include <string_view>

#include "platform/HttpClient.h"

// A longer logo is refused.
inline constexpr std::int64_t kMaxLogoBytes = std::int64_t{512} << 10;

// Fetches `address` into the station's logo file. Only a whole PNG or JPEG body takes the
// logo's place; anything else (a failed or capped transfer, an error status, an icon or a
// drawing in another format) leaves the kept logo as it was and sets the failure mark, which a
// new logo clears. True when a new logo is in place. Blocks; any thread.
bool FetchLogo(std::wstring_view folder, std::wstring_view uuid, const std::string& address,
               const http::Limits& limits);
