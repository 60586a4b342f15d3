// The services the program talks to, built in. Tests send these hosts (port 80) to a loopback
// server with http::MapHost.
#pragma once

#define TUNEDECK_DIRECTORY_HOST "yp.shoutcast.com"
#define TUNEDECK_TRACK_INFO_HOST "ws.audioscrobbler.com"

inline constexpr char kDirectoryHost[] = TUNEDECK_DIRECTORY_HOST;
inline constexpr char kTrackInfoHost[] = TUNEDECK_TRACK_INFO_HOST;
inline constexpr int kServicePort = 80;

// The directory's station-list query, with one "%s" for the genre's key (percent-encoded).
inline constexpr wchar_t kDirectoryQueryFormat[] =
    L"http://" TUNEDECK_DIRECTORY_HOST "/sbin/newxml.phtml?genre=%s&br=128&mt=audio/mpeg";
// The directory's tune-in playlist, with one "%s" for the station's id (percent-encoded).
inline constexpr wchar_t kTuneInFormat[] =
    L"http://" TUNEDECK_DIRECTORY_HOST "/sbin/tunein-station.pls?id=%s";

// The open directory has no fixed host: the name below resolves to all its servers, and each
// server's own name (a reverse lookup) is the host spoken to, over HTTPS. Tests send those names
// (port 443) to loopback servers with http::MapHost.
inline constexpr char kOpenDirectoryDiscoveryHost[] = "all.api.radio-browser.info";
// Server names outside this domain are not used.
inline constexpr char kOpenDirectoryDomain[] = ".radio-browser.info";
inline constexpr int kOpenDirectoryPort = 443;
// The station search on a server, with one "%s" for the genre's key in lower case
// (percent-encoded). The server takes only "true" and "false" as booleans.
inline constexpr wchar_t kOpenDirectoryQueryPath[] =
    L"/xml/stations/search?tag=%s&tagExact=true&hidebroken=true&order=clickcount&reverse=true"
    L"&limit=1000";
// The station searches on a server, by name (any part of it, any case), tag, country and
// language, each with one "%s" for the query (percent-encoded; in lower case for the tag), and
// what each of them asks besides: the 500 most played stations that work.
inline constexpr const wchar_t* kOpenDirectorySearchPaths[] = {
    L"/xml/stations/search?name=%s", L"/xml/stations/search?tag=%s&tagExact=true",
    L"/xml/stations/search?country=%s", L"/xml/stations/search?language=%s"};
inline constexpr wchar_t kOpenDirectorySearchOptions[] =
    L"&hidebroken=true&order=clickcount&reverse=true&limit=500";
// A station's playlist on a server, with one "%s" for its uuid; asking for it counts the play.
inline constexpr wchar_t kOpenDirectoryTuneInPath[] = L"/pls/url/%s";

// The keyless cover sources, asked when the track-info service gives no answer (HTTPS, port 443).
#define TUNEDECK_ITUNES_HOST "itunes.apple.com"
#define TUNEDECK_MUSICBRAINZ_HOST "musicbrainz.org"
#define TUNEDECK_COVER_ARCHIVE_HOST "coverartarchive.org"

inline constexpr char kItunesHost[] = TUNEDECK_ITUNES_HOST;
inline constexpr char kMusicBrainzHost[] = TUNEDECK_MUSICBRAINZ_HOST;
inline constexpr char kCoverArchiveHost[] = TUNEDECK_COVER_ARCHIVE_HOST;
inline constexpr int kSecurePort = 443;
