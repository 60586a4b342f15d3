// The buffering arithmetic, on the file positions the audio engine reports.
#pragma once

#include <cstdint>
#include <optional>

// Per cent of the download buffer filled, from the bytes buffered and the buffer's size as the
// engine reports them. Empty when either is the engine's error result (all bits set): the
// stream has gone away. A buffer of size 0 counts as empty; more than full counts as 100.
std::optional<int> BufferProgress(std::uint64_t buffered, std::uint64_t total);

// Playback starts once the buffer is filled to more than this many per cent.
constexpr int playbackThreshold = 75;
