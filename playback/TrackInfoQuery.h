// The track-info service's query for the track now playing.
#pragma once

#include <string>
#include <string_view>

// The title the service is asked about: the title up to the blank before its first '(' (or,
// when it has none, its first '['), so that "Song (Live)" is asked as "Song". A title that the
// cut would leave empty, such as one that begins with the bracket, is asked as it stands.
std::wstring QueryTitle(std::wstring_view title);

// The track-info query address for `artist` and `title` (UTF-8), both percent-encoded.
std::string TrackInfoAddress(std::string_view artist, std::string_view title);
