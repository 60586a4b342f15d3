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

// The keyless cover sources, asked when the track-info service gives no answer (HTTPS, port 443).
#define TUNEDECK_ITUNES_HOST "itunes.apple.com"
#define TUNEDECK_MUSICBRAINZ_HOST "musicbrainz.org"
#define TUNEDECK_COVER_ARCHIVE_HOST "coverartarchive.org"

inline constexpr char kItunesHost[] = TUNEDECK_ITUNES_HOST;
inline constexpr char kMusicBrainzHost[] = TUNEDECK_MUSICBRAINZ_HOST;
inline constexpr char kCoverArchiveHost[] = TUNEDECK_COVER_ARCHIVE_HOST;
inline constexpr int kSecurePort = 443;
