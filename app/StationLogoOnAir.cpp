#include "app/StationLogoOnAir.h"

#include "directory/LogoRules.h"
#include "directory/StationId.h"
#include "directory/WebClient.h"
#include "playback/PlaybackState.h"
#include "playback/PlayerService.h"
#include "shell/ControlIds.h"
#include "shell/MainWindowState.h"
#include "shell/ScreenAreas.h"

void ChooseStationLogo(const std::wstring& id) {
  stationLogoPath.Set(IsStationUuid(std::wstring_view(id)) ? LogoFile(webClient.folder, id)
                                                           : std::wstring());
  coverOnAir.store(false);
}

void OnStationLogoArrived(const std::wstring& uuid) {
  if (coverOnAir.load() || stationLogoPath.Get() != LogoFile(webClient.folder, uuid)) {
    return;
  }
  ReportNowPlaying();
  // Only what shows the now-playing image is drawn again: a list on the screen stays.
  if (screenState.load() == StationScreen) {
    const RECT strip = StripBand();
    InvalidateRect(mainWindow, &strip, FALSE);
  } else if (screenState.load() == PlayerScreen &&
             !IsWindowVisible(GetDlgItem(mainWindow, ID_STATION_LIST))) {
    InvalidateRect(mainWindow, nullptr, FALSE);
  }
}
