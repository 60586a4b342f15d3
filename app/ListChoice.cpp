#include "app/Commands.h"
#include "app/SearchLine.h"
#include "app/StationLogoOnAir.h"
#include "app/TuneInAddress.h"
#include "directory/WebClient.h"
#include "playback/PlaybackState.h"
#include "playback/TuneIn.h"
#include "shell/ControlIds.h"
#include "shell/ListSelection.h"
#include "shell/MainWindowState.h"
#include "shell/StatusLine.h"

namespace {

void SetTitleLine(HWND window, LPCWSTR text) {
  SendDlgItemMessageW(window, ID_TITLE_LINE, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

void ChooseGenre(HWND window) {
  HWND list = GetDlgItem(window, ID_GENRE_LIST);
  const int row = ChosenRow(list);
  const std::wstring key = RowText(list, row, 1);
  CloseSearchLine(window);
  DropSearch();
  SetTitleLine(window, key.c_str());
  screenState.store(PlayerScreen);
  // Row 0 always stands for the favourites.
  if (row == 0) {
    LoadFavourites(webClient, window, ID_STATION_LIST);
  } else {
    LoadGenreStations(webClient, window, ID_STATION_LIST, key.c_str());
  }
  ReportStationCount(window);
}

void ChooseStation(HWND window) {
  HWND list = GetDlgItem(window, ID_STATION_LIST);
  const int row = ChosenRow(list);
  SetTitleLine(window, RowText(list, row, 0).c_str());
  const std::wstring id = RowText(list, row, 1);
  // Only the main thread starts tune-ins, so a clear mark stays clear until StartWorker.
  if (tuneInThread.load() != nullptr) {
    MessageBeep(0);
    return;
  }
  if (const auto address = TuneInAddress(id.c_str())) {
    stationUrl.Set(*address);
    ChooseStationLogo(id);
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
