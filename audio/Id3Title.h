// Timed ID3 metadata as HLS carries it (ID3v2.3 and v2.4 tags): how long a tag at the head of
// some bytes is, and the track title it names, in the form an ICY stream gives it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace audio {

// The whole length of the ID3v2 tag `bytes` begin with (header, frames, footer); 0 for none.
std::size_t Id3TagBytes(std::span<const std::uint8_t> bytes) noexcept;

// "StreamTitle='ARTIST - TITLE';" from the tag's TPE1 and TIT2 frames, in UTF-8 ("TITLE" alone
// without an artist); none when the tag names no title.
std::optional<std::string> StreamTitleFromId3(std::span<const std::uint8_t> tag);

}  // namespace audio
