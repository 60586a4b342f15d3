#include "app/Commands.h"
#include "app/TuneInAddress.h"
#include "directory/ControlIds.h"
#include "directory/WebClient.h"
#include "playback/MainWindowState.h"
#include "playback/PlaybackState.h"
#include "playback/StatusLine.h"
#include "playback/TuneIn.h"

namespace {

// The first selected row of list `listId`, or row 0 when none is selected.
int ChosenRow(HWND window, int listId) {
  const LRESULT row =
      SendDlgItemMessageW(window, listId, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED);
  return row < 0 ? 0 : static_cast<int>(row);
}

// The text of `column` of `row`, cut to 259 characters.
void ReadRowText(HWND window, int listId, int row, int column, WCHAR (&text)[260]) {
  text[0] = L'\0';
  LVITEMW item = {};
  item.iSubItem = column;
  item.pszText = text;
  item.cchTextMax = 260;
  SendDlgItemMessageW(window, listId, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                      reinterpret_cast<LPARAM>(&item));
}

void SetTitleLine(HWND window, LPCWSTR text) {
  SendDlgItemMessageW(window, ID_TITLE_LINE, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

void ChooseGenre(HWND window) {
  const int row = ChosenRow(window, ID_GENRE_LIST);
  WCHAR key[260];
  ReadRowText(window, ID_GENRE_LIST, row, 1, key);
  SetTitleLine(window, key);
  screenState.store(PlayerScreen);
  // Row 0 always stands for the favourites.
  if (row == 0) {
    LoadFavourites(webClient, window, ID_STATION_LIST);
  } else {
    LoadGenreStations(webClient, window, ID_STATION_LIST, key);
  }
}

void ChooseStation(HWND window) {
  const int row = ChosenRow(window, ID_STATION_LIST);
  WCHAR name[260];
  WCHAR id[260];
  ReadRowText(window, ID_STATION_LIST, row, 0, name);
  SetTitleLine(window, name);
  ReadRowText(window, ID_STATION_LIST, row, 1, id);
  // Only the main thread starts tune-ins, so a clear mark stays clear until StartWorker.
  if (tuneInThread.load() != nullptr) {
    MessageBeep(0);
    return;
  }
  if (const auto address = TuneInAddress(id)) {
    stationUrl.Set(*address);
    StartTuneIn();
  } else {
    ShowStatus(L"not playing");
  }
  screenState.store(StationScreen);
}

}  // namespace

void OnListChoice(HWND window, const NMHDR* notification) {
  if (notification->code != static_cast<UINT>(NM_CLICK) &&
      notification->code != static_cast<UINT>(NM_RETURN)) {
    return;
  }
  if (notification->idFrom == ID_GENRE_LIST) {
    ChooseGenre(window);
  } else if (notification->idFrom == ID_STATION_LIST) {
    ChooseStation(window);
  }
}
