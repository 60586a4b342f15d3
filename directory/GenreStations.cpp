#include "directory/Address.h"
#include "directory/ControlIds.h"
#include "directory/FilePaths.h"
#include "directory/ListRows.h"
#include "directory/WebClient.h"
#include "platform/Utf8.h"

namespace {

void ShowStationRows(HWND window, HWND list, const std::vector<Station>& stations) {
  DeleteAllRows(list);
  for (size_t i = 0; i < stations.size(); ++i) {
    InsertRow(list, static_cast<int>(i), stations[i].name, stations[i].id);
  }
  SelectFirstRowOnBlack(list);
  ShowStationList(window, list);
}

}  // namespace

void LoadGenreStations(WebClient& client, HWND window, int listId, LPCWSTR key) {
  const std::optional<std::wstring> cacheFile = FileInFolder(client.folder, key);
  if (!cacheFile) {
    // The key names no file of the folder: nothing is fetched or read.
    ShowStationRows(window, GetDlgItem(window, listId), {});
    return;
  }
  if (!FileExists(cacheFile->c_str())) {
    DownloadToFile(client, key, AddressWith(client.queryFormat, key).c_str());
  }
  FillStationList(client.xml, cacheFile->c_str(), window);
}

void FillStationList(XmlReader& xml, LPCWSTR fileName, HWND window) {
  xml.Load(WideToUtf8(fileName));
  ShowStationRows(window, GetDlgItem(window, ID_STATION_LIST), xml.SelectStations());
}
