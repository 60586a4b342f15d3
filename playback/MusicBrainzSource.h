// MusicBrainz with the Cover Art Archive as a cover source: keyless, XML, one request a second.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/HttpClient.h"
#include "playback/CoverSource.h"

// What the program calls itself towards MusicBrainz, which asks every client to name itself.
extern const char kMusicBrainzAgent[];

// Searches recordings by artist and title (five at most, the values quoted as phrases) and
// gives the archive's 500-pixel front cover addresses of the releases of each recording credited
// to the track's artist (SameArtist): albums and singles before compilations, otherwise in the
// order found; for each release group its own cover first, then its releases; each address once,
// at most kMaxReleases of them. The reply is read up to kMaxMusicBrainzReplyBytes.
// Waits first until a second has passed since the last request to MusicBrainz; Failed at once
// when that wait would pass `deadline`. NoCover when no such release is listed, TooMany for
// status 403, 429 and 503, Failed for anything else that is not a readable 2xx reply. Runs on
// the cover worker.
SourceAnswer AskMusicBrainz(const TrackQuery& track, const http::Limits& limits,
                            std::chrono::steady_clock::time_point deadline);

inline constexpr std::size_t kMaxReleases = 8;
// A hit's recordings list hundreds of releases: its reply can pass a megabyte.
inline constexpr std::int64_t kMaxMusicBrainzReplyBytes = std::int64_t{4} << 20;

// The archive addresses in a recording search reply for the artist (UTF-8): Found, NoCover, or
// Failed when the reply is not the service's XML.
SourceAnswer MusicBrainzCovers(std::string_view reply, std::string_view artist);
