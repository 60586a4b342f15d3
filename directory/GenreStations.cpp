#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "directory/Address.h"
#include "directory/FilePaths.h"
#include "directory/ListRows.h"
#include "directory/ServersInTurn.h"
#include "directory/WebClient.h"
#include "platform/RunWhilePainting.h"
#include "platform/Utf8.h"
#include "shell/ControlIds.h"

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// The first directory may use this much of a choice's time.
constexpr milliseconds kFirstDirectoryShare = std::chrono::seconds(8);
// The open directory's server discovery is waited for this long at most; a slower resolver's
// answer is used by a later choice, and the discovery host itself is asked meanwhile.
constexpr milliseconds kDiscoveryPatience = std::chrono::seconds(8);
// A reply is fetched under this prefix and takes the cache file's name only when it gives rows,
// so that an old list stays while a new one is asked for.
constexpr wchar_t kFetchPrefix[] = L".fetch-";

// DownloadToFile, the window painting meanwhile: the choice holds the window's thread.
int Download(WebClient& client, const std::wstring& name, const std::wstring& address,
             const http::Limits& limits, bool* answered = nullptr) {
  int result = 1;
  RunWhilePainting([&] {
    result = DownloadToFile(client, name.c_str(), WideToUtf8(address), limits, answered);
  });
  return result;
}

int Fetch(WebClient& client, const std::wstring& name, const std::wstring& address,
          Clock::time_point until, milliseconds patience, bool* answered) {
  const std::optional<http::Limits> limits = http::Within(client.downloadLimits, until, patience);
  return limits ? Download(client, name, address, *limits, answered) : 1;
}

// Loads the file into the document. True when it gives a row.
bool GivesRows(XmlReader& xml, const std::wstring& file) {
  xml.Load(WideToUtf8(file));
  return !xml.SelectStations().empty();
}

void Forget(const std::wstring& file) {
  std::remove(WideToUtf8(file).c_str());
}

bool FirstDirectoryResting(WebClient& client) {
  return client.firstDirectorySilentAt &&
         client.now() - *client.firstDirectorySilentAt < kSilentDirectoryRest;
}

// Asks the first directory, unless it is resting after giving no answer. True when its reply,
// now in `fetched`, gives rows.
bool FromFirstDirectory(WebClient& client, LPCWSTR key, const std::wstring& fetchName,
                        const std::wstring& fetched, Clock::time_point start) {
  if (FirstDirectoryResting(client)) {
    return false;
  }
  bool answered = true;
  if (Fetch(client, fetchName, AddressWith(client.queryFormat, key), start + kFirstDirectoryShare,
            kFirstDirectoryShare, &answered) == 0 &&
      GivesRows(client.xml, fetched)) {
    client.firstDirectorySilentAt.reset();
    return true;
  }
  if (!answered) {
    client.firstDirectorySilentAt = client.now();
  }
  Forget(fetched);
  return false;
}

// Asks the open directory's servers in turn. True when one answered with rows, now in `fetched`.
bool FromOpenDirectory(WebClient& client, LPCWSTR key, const std::wstring& fetchName,
                       const std::wstring& fetched, Clock::time_point deadline) {
  bool rows = false;
  const auto ask = [&](const std::string& server, const http::Limits& limits) {
    if (Download(client, fetchName, OpenDirectoryQuery(server, key), limits) != 0) {
      return false;
    }
    const bool givesRows = GivesRows(client.xml, fetched);
    if (!client.xml.IsOpenDirectoryReply()) {
      Forget(fetched);  // an answer, but not the directory's: the next server may do better
      return false;
    }
    rows = givesRows;
    if (!rows) {
      Forget(fetched);
    }
    return true;
  };
  // A copy: keeping a server reorders the list.
  const std::vector<std::string> servers = client.openDirectory.Servers(
      std::min(deadline - kShortestTry, Clock::now() + kDiscoveryPatience));
  const std::optional<std::string> answered =
      AskServersInTurn(servers, client.downloadLimits, deadline, kServerPatience, ask);
  if (answered) {
    client.openDirectory.Keep(*answered);
  }
  return rows;
}

// Asks the first directory, or else the open directory, for the genre; the reply that gives
// rows replaces the cache file. Any other reply leaves the cache file as it was.
void FetchGenre(WebClient& client, LPCWSTR key, const std::wstring& cacheFile) {
  const std::wstring fetchName = kFetchPrefix + std::wstring(key);
  const std::optional<std::wstring> fetched = FileInFolder(client.folder, fetchName);
  if (!fetched) {
    return;
  }
  const Clock::time_point start = Clock::now();
  if (FromFirstDirectory(client, key, fetchName, *fetched, start) ||
      FromOpenDirectory(client, key, fetchName, *fetched, start + kGenreChoiceLimit)) {
    std::error_code ignored;
    std::filesystem::rename(WideToUtf8(*fetched), WideToUtf8(cacheFile), ignored);
    if (ignored) {
      Forget(*fetched);
    }
  }
}

// True for an open directory's list older than its lifetime. The first directory's lists are
// kept while they exist.
bool Stale(XmlReader& xml, const std::wstring& cacheFile) {
  std::error_code failed;
  const auto written = std::filesystem::last_write_time(WideToUtf8(cacheFile), failed);
  if (failed) {
    return false;
  }
  xml.Load(WideToUtf8(cacheFile));
  return xml.IsOpenDirectoryReply() &&
         std::filesystem::file_time_type::clock::now() - written > kOpenDirectoryListLifetime;
}

void ShowStationRows(HWND window, HWND list, const std::vector<Station>& stations) {
  DeleteAllRows(list);
  for (size_t i = 0; i < stations.size(); ++i) {
    InsertRow(list, static_cast<int>(i), stations[i].name, stations[i].id);
  }
  SelectFirstRowOnBlack(list);
  ShowStationList(window, list);
}

std::vector<LogoRow> LogoRows(const std::vector<Station>& stations) {
  std::vector<LogoRow> rows;
  rows.reserve(stations.size());
  for (const Station& station : stations) {
    rows.push_back({station.id, station.favicon});
  }
  return rows;
}

}  // namespace

void LoadGenreStations(WebClient& client, HWND window, int listId, LPCWSTR key) {
  const std::optional<std::wstring> cacheFile = FileInFolder(client.folder, key);
  if (!cacheFile) {
    // The key names no file of the folder: nothing is fetched or read.
    ShowStations(client, window, listId, {});
    return;
  }
  if (!FileExists(cacheFile->c_str()) || Stale(client.xml, *cacheFile)) {
    FetchGenre(client, key, *cacheFile);
  }
  FillStationList(client.xml, cacheFile->c_str(), window);
  client.logos.ShowList(GetDlgItem(window, listId), client.folder,
                        LogoRows(client.xml.SelectStations()));
}

void ShowStations(WebClient& client, HWND window, int listId,
                  const std::vector<Station>& stations) {
  ShowStationRows(window, GetDlgItem(window, listId), stations);
  client.logos.ShowList(GetDlgItem(window, listId), client.folder, LogoRows(stations));
}

void FillStationList(XmlReader& xml, LPCWSTR fileName, HWND window) {
  xml.Load(WideToUtf8(fileName));
  ShowStationRows(window, GetDlgItem(window, ID_STATION_LIST), xml.SelectStations());
}
