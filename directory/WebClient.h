// The program's one global object and its operations: the genre list, the favourites, the
// directory's station lists and downloads into the application folder. Every file they touch is
// named by appending its name to WebClient::folder.
#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "directory/Download.h"
#include "directory/OpenDirectory.h"
#include "directory/SearchRuns.h"
#include "directory/StationLogos.h"
#include "directory/XmlReader.h"
#include "platform/HttpClient.h"
#include "platform/Win32.h"
#include "regex/Regex.h"

struct WebClient {
  WCHAR queryFormat[260];  // the directory's station-list query, one "%s" for the genre's key
  WCHAR folder[260] = {};  // the application folder, ending in a separator; set by InitPlayback
  Regex regex;             // the album-art lookup's pattern record
  XmlReader xml;           // the one XML document
  // Time-outs and size cap of every download; tests shorten them.
  http::Limits downloadLimits = DownloadLimits();
  OpenDirectory openDirectory;  // asked when the first directory gives no stations
  StationLogos logos;           // the station list's logos
  // The station searches; their threads share it, so that a search outliving the window harms
  // nothing.
  std::shared_ptr<SearchRuns> searches = std::make_shared<SearchRuns>();
  std::chrono::milliseconds searchLimit = std::chrono::seconds(20);  // tests shorten it
  // When the first directory last gave no answer at all; it is left out of genre choices for
  // kSilentDirectoryRest after that. `now` tells the time of that rule (tests move it on).
  std::optional<std::chrono::steady_clock::time_point> firstDirectorySilentAt;
  std::function<std::chrono::steady_clock::time_point()> now = std::chrono::steady_clock::now;

  WebClient();
  WebClient(const WebClient&) = delete;
  WebClient& operator=(const WebClient&) = delete;
};

extern WebClient webClient;

// The operations below run on the window thread, except DownloadToFile.

// Fills the list (the genre list) from "categories.txt", one row per line that gives two
// fields: column 0 the name, column 1 the key. Selects row 0 and makes the background black.
void LoadGenres(WebClient& client, HWND window, int listId);

// Refills the list (the station list) from "radios.txt" (column 0 the name, column 1 the id),
// selects row 0, makes the background black, gives the list the focus and shows it in place of
// the genre list; rows of the open directory show their kept logos (StationLogos).
void LoadFavourites(WebClient& client, HWND window, int listId);

// Appends the list's selected row (row 0 when none is) to "radios.txt". Returns true only when
// the whole entry was written: false for an empty list, an id holding '|', an empty id or name,
// or a file that cannot be written.
bool AddFavourite(WebClient& client, HWND window, int listId);

// The longest a genre choice holds the window while it fetches the genre's stations.
inline constexpr std::chrono::seconds kGenreChoiceLimit{20};
// A first directory that gave no answer at all (no connection, a time-out) is not asked for
// this long; the open directory is asked at once instead.
inline constexpr std::chrono::minutes kSilentDirectoryRest{10};
// An open directory's station list older than this is asked again when its genre is chosen.
inline constexpr std::chrono::hours kOpenDirectoryListLifetime{7 * 24};

// Shows the genre's stations in the station list in place of the genre list, and fetches their
// logos (StationLogos). When the genre's
// cache file (the key as file name) does not exist, the first directory is asked first;
// when it gives no station, the open directory's servers are asked in turn, the one in use
// first, until one answers. The cache file then holds the reply that gave stations; when none
// did, no file is left and the next choice asks again. An open directory's list older than
// kOpenDirectoryListLifetime is asked again the same way; the old file stays and is shown until
// a new reply with stations takes its place. A key that would name a file outside the folder
// loads nothing, touches no file and shows an empty list. Blocks while it fetches, at most about
// kGenreChoiceLimit, the open directory's server discovery included; the window keeps painting
// meanwhile and input is refused (RunWhilePainting).
void LoadGenreStations(WebClient& client, HWND window, int listId, LPCWSTR key);

// Sent to the window when a search that StartSearch began ends; wParam is the search's number.
inline constexpr UINT WM_SEARCH_DONE = WM_APP + 2;

// Starts asking the open directory for the stations that `query` (TrimmedQuery, not empty) names
// by name, tag, country or language, on a thread of its own, and returns at once. A search still
// under way is superseded. It ends within client.searchLimit whatever the servers do; then
// `window` gets WM_SEARCH_DONE. Results are kept nowhere but in the station list.
void StartSearch(WebClient& client, HWND window, std::wstring_view query);

// For WM_SEARCH_DONE: shows the search's rows as a genre's stations are shown (ShowStations) and
// keeps the server that answered in use. Returns how many rows there are; nothing, and nothing
// changed, for the late answer of a superseded or cancelled search.
std::optional<std::size_t> ShowSearchResults(WebClient& client, HWND window, int listId,
                                             WPARAM search);

// Fills the list (the station list) with the stations, selects row 0, makes the background
// black, gives the list the focus, shows it in place of the genre list, and shows the stations'
// logos.
void ShowStations(WebClient& client, HWND window, int listId, const std::vector<Station>& stations);

// Fetches `address` (UTF-8) into folder + name with these limits (usually the client's
// downloadLimits, cut to the caller's deadline). The body goes to a temporary file in the folder,
// which replaces the destination only when the whole body arrived with a 2xx status; otherwise
// the destination is as it was. Returns 0 on success, 1 otherwise (a name that is not plain, an
// address or path longer than 259 characters, a failed or capped transfer, an error status).
// `answered`, when given, is set to whether a response came back at all (any status); a request
// refused unsent leaves it as it was. Blocks until the transfer ends; any thread.
int DownloadToFile(WebClient& client, LPCWSTR name, const std::string& address,
                   const http::Limits& limits, bool* answered = nullptr);

// True when the file can be opened for reading.
bool FileExists(LPCWSTR fileName);

// Loads the file as a station-list document and fills the station list (ID_STATION_LIST) from
// it; then as LoadFavourites: row 0 selected, black background, focus, shown in place of the
// genre list, even with no rows.
void FillStationList(XmlReader& xml, LPCWSTR fileName, HWND window);
