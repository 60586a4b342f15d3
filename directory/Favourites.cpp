#include "directory/FavouriteEntry.h"
#include "directory/FilePaths.h"
#include "directory/ListRows.h"
#include "directory/WebClient.h"
#include "platform/Utf8.h"
#include "shell/ListSelection.h"

namespace {

constexpr wchar_t kFavouritesFile[] = L"radios.txt";

}  // namespace

void LoadFavourites(WebClient& client, HWND window, int listId) {
  HWND list = GetDlgItem(window, listId);
  DeleteAllRows(list);
  InsertFileRows(list, client.folder, kFavouritesFile);
  std::vector<LogoRow> logoRows;
  const int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  for (int row = 0; row < count; ++row) {
    logoRows.push_back({RowText(list, row, 1), {}});
  }
  // Favourites keep no logo address: the open directory is asked for it.
  client.logos.ShowList(
      list, client.folder, logoRows,
      StationDirectory{client.openDirectory.servers, client.openDirectory.lookups});
  SelectFirstRowOnBlack(list);
  ShowStationList(window, list);
}

bool AddFavourite(WebClient& client, HWND window, int listId) {
  HWND list = GetDlgItem(window, listId);
  if (SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) <= 0) {
    return false;
  }
  const int row = ChosenRow(list);
  const std::optional<std::string> entry =
      FavouriteEntry(RowText(list, row, 1), RowText(list, row, 0));
  const std::optional<std::wstring> favouritesFile = FileInFolder(client.folder, kFavouritesFile);
  return entry && favouritesFile && AppendWhole(WideToUtf8(*favouritesFile), *entry);
}
