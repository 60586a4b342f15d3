#include "audio/Id3Title.h"

#include <string_view>

namespace audio {

namespace {

constexpr std::size_t kHeaderBytes = 10;
constexpr std::uint8_t kFooterFlag = 0x10;
// A text frame longer than this is not a title.
constexpr std::size_t kMaxTextBytes = 1024;

std::uint32_t SyncSafe(const std::uint8_t* p) noexcept {
  return (std::uint32_t(p[0] & 0x7F) << 21) | (std::uint32_t(p[1] & 0x7F) << 14) |
         (std::uint32_t(p[2] & 0x7F) << 7) | std::uint32_t(p[3] & 0x7F);
}

std::uint32_t Plain(const std::uint8_t* p) noexcept {
  return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) |
         std::uint32_t(p[3]);
}

void AppendUtf8(std::string& out, std::uint32_t c) {
  if (c < 0x80) {
    out += char(c);
  } else if (c < 0x800) {
    out += char(0xC0 | (c >> 6));
    out += char(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += char(0xE0 | (c >> 12));
    out += char(0x80 | ((c >> 6) & 0x3F));
    out += char(0x80 | (c & 0x3F));
  } else {
    out += char(0xF0 | (c >> 18));
    out += char(0x80 | ((c >> 12) & 0x3F));
    out += char(0x80 | ((c >> 6) & 0x3F));
    out += char(0x80 | (c & 0x3F));
  }
}

std::string FromUtf16(std::span<const std::uint8_t> bytes, bool bigEndian) {
  if (bytes.size() >= 2 &&
      ((bytes[0] == 0xFF && bytes[1] == 0xFE) || (bytes[0] == 0xFE && bytes[1] == 0xFF))) {
    bigEndian = bytes[0] == 0xFE;
    bytes = bytes.subspan(2);
  }
  std::string out;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    std::uint32_t unit =
        bigEndian ? (bytes[i] << 8 | bytes[i + 1]) : (bytes[i + 1] << 8 | bytes[i]);
    if (unit == 0) {
      break;
    }
    if (unit >= 0xD800 && unit < 0xDC00 && i + 3 < bytes.size()) {
      const std::uint32_t low =
          bigEndian ? (bytes[i + 2] << 8 | bytes[i + 3]) : (bytes[i + 3] << 8 | bytes[i + 2]);
      if (low >= 0xDC00 && low < 0xE000) {
        unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
        i += 2;
      }
    }
    AppendUtf8(out, unit >= 0xD800 && unit < 0xE000 ? 0xFFFD : unit);
  }
  return out;
}

// A text frame's value (its first string), in UTF-8.
std::string TextValue(std::span<const std::uint8_t> frame) {
  if (frame.empty()) {
    return {};
  }
  const std::uint8_t encoding = frame[0];
  frame = frame.subspan(1, std::min(frame.size() - 1, kMaxTextBytes));
  switch (encoding) {
    case 1:
      return FromUtf16(frame, false);
    case 2:
      return FromUtf16(frame, true);
    case 3: {
      std::string_view text(reinterpret_cast<const char*>(frame.data()), frame.size());
      return std::string(text.substr(0, text.find('\0')));
    }
    default: {  // ISO-8859-1
      std::string out;
      for (std::uint8_t c : frame) {
        if (c == 0) {
          break;
        }
        AppendUtf8(out, c);
      }
      return out;
    }
  }
}

}  // namespace

std::size_t Id3TagBytes(std::span<const std::uint8_t> bytes) noexcept {
  if (bytes.size() < kHeaderBytes || bytes[0] != 'I' || bytes[1] != 'D' || bytes[2] != '3' ||
      bytes[3] == 0xFF || bytes[4] == 0xFF ||
      ((bytes[6] | bytes[7] | bytes[8] | bytes[9]) & 0x80) != 0) {
    return 0;
  }
  return kHeaderBytes + SyncSafe(&bytes[6]) + ((bytes[5] & kFooterFlag) != 0 ? kHeaderBytes : 0);
}

std::optional<std::string> StreamTitleFromId3(std::span<const std::uint8_t> tag) {
  const std::size_t whole = Id3TagBytes(tag);
  if (whole == 0 || (tag[3] != 3 && tag[3] != 4)) {
    return std::nullopt;
  }
  const bool syncSafeFrames = tag[3] == 4;
  std::span<const std::uint8_t> frames =
      tag.subspan(kHeaderBytes, std::min(tag.size(), whole) - kHeaderBytes);
  std::string artist;
  std::string title;
  while (frames.size() >= kHeaderBytes && frames[0] != 0) {
    const std::uint32_t size = syncSafeFrames ? SyncSafe(&frames[4]) : Plain(&frames[4]);
    if (size > frames.size() - kHeaderBytes) {
      break;
    }
    const std::string_view id(reinterpret_cast<const char*>(frames.data()), 4);
    const std::span<const std::uint8_t> body = frames.subspan(kHeaderBytes, size);
    if (id == "TPE1") {
      artist = TextValue(body);
    } else if (id == "TIT2") {
      title = TextValue(body);
    }
    frames = frames.subspan(kHeaderBytes + size);
  }
  if (title.empty()) {
    return std::nullopt;
  }
  return "StreamTitle='" + (artist.empty() ? title : artist + " - " + title) + "';";
}

}  // namespace audio
