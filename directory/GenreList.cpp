#include "directory/ListRows.h"
#include "directory/WebClient.h"

void LoadGenres(WebClient& client, HWND window, int listId) {
  HWND list = GetDlgItem(window, listId);
  InsertFileRows(list, client.folder, L"categories.txt");
  SelectFirstRowOnBlack(list);
}
