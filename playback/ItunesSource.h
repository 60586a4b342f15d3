// iTunes Search as a cover source: keyless, JSON.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/HttpClient.h"
#include "playback/CoverSource.h"

// Searches songs for "ARTIST TITLE" (five results at most) in the store of the user's country
// (LocaleCountry; without one the service's own default, the United States) and takes, in the order
// given, the 600-pixel form of the artwork of each result whose artist is the track's artist
// (SameArtist). Found with those addresses, NoCover when no result is by that artist, TooMany for
// status 403, 429 and 503, Failed for anything else that is not a readable 2xx reply. Runs on the
// cover worker.
SourceAnswer AskItunes(const TrackQuery& track, const http::Limits& limits);

// The territory of the user's locale, upper case: the first of LC_ALL, LC_MESSAGES and LANG
// that is set decides ("de_DE.UTF-8" gives "DE"); nothing when it names none ("C", "POSIX").
std::optional<std::string> LocaleCountry();

// The covers in a search reply for the artist (UTF-8): Found, NoCover, or Failed when the reply
// is not the service's JSON.
SourceAnswer ItunesCovers(std::string_view reply, std::string_view artist);
