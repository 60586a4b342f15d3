#include <algorithm>
#include <chrono>
#include <cstdio>

#include "directory/Address.h"
#include "directory/FilePaths.h"
#include "directory/ListRows.h"
#include "directory/WebClient.h"
#include "platform/Utf8.h"
#include "shell/ControlIds.h"

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// The first directory may use this much of a choice's time; each open directory server
// is given up after this long without an answer, so that the next one still gets its turn.
constexpr milliseconds kFirstDirectoryShare = std::chrono::seconds(8);
constexpr milliseconds kServerPatience = std::chrono::seconds(4);
// With less time left, no further server is asked.
constexpr milliseconds kShortestTry = milliseconds(500);

milliseconds Left(Clock::time_point until) {
  return std::chrono::duration_cast<milliseconds>(until - Clock::now());
}

int Fetch(WebClient& client, LPCWSTR key, const std::wstring& address, Clock::time_point until,
          milliseconds patience) {
  const std::optional<http::Limits> limits = http::Within(client.downloadLimits, until, patience);
  return limits ? DownloadToFile(client, key, WideToUtf8(address), *limits) : 1;
}

// Loads the cache file into the document. True when it gives a row.
bool GivesRows(XmlReader& xml, const std::wstring& cacheFile) {
  xml.Load(WideToUtf8(cacheFile));
  return !xml.SelectStations().empty();
}

void Forget(const std::wstring& cacheFile) {
  std::remove(WideToUtf8(cacheFile).c_str());
}

// Fills the missing cache file from the first directory, or else from the open directory;
// leaves no file when neither gives a row.
void FetchGenre(WebClient& client, LPCWSTR key, const std::wstring& cacheFile) {
  const Clock::time_point start = Clock::now();
  const Clock::time_point deadline = start + kGenreChoiceLimit;
  if (Fetch(client, key, AddressWith(client.queryFormat, key), start + kFirstDirectoryShare,
            kFirstDirectoryShare) == 0 &&
      GivesRows(client.xml, cacheFile)) {
    return;
  }
  Forget(cacheFile);
  // A copy: keeping a server reorders the list.
  const std::vector<std::string> servers = client.openDirectory.Servers();
  for (const std::string& server : servers) {
    if (Left(deadline) < kShortestTry) {
      return;
    }
    if (Fetch(client, key, OpenDirectoryQuery(server, key), deadline, kServerPatience) == 0) {
      const bool rows = GivesRows(client.xml, cacheFile);
      if (client.xml.IsOpenDirectoryReply()) {
        client.openDirectory.Keep(server);
        if (!rows) {
          Forget(cacheFile);
        }
        return;
      }
      Forget(cacheFile);  // an answer, but not the directory's: the next server may do better
    }
  }
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
  if (!FileExists(cacheFile->c_str())) {
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
