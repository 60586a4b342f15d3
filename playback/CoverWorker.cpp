#include "playback/CoverWorker.h"

#include <string>

#include "platform/Utf8.h"
#include "playback/CoverLookup.h"
#include "playback/PlaybackState.h"
#include "playback/PlayerService.h"
#include "playback/TrackInfoQuery.h"
#include "shell/MainWindowState.h"
#include "shell/NowPlayingRedraw.h"
#include "shell/StatusLine.h"

std::atomic<BYTE> noCover{0};

DWORD WINAPI CoverWorker(LPVOID window) {
  // Without a cover the last one stays on disk and the placeholder is shown.
  const TrackTexts track = nowPlaying.Get();
  const bool coverFetched =
      FetchCover({WideToUtf8(track.artistText), WideToUtf8(QueryTitle(track.titleText))});

  noCover.store(coverFetched ? 0 : 1);
  ShowStatus(coverFetched ? L"nice one" : L"buuuu");
  coverImagePath.Set(std::wstring(applicationFolder) +
                     (coverFetched ? L"folder.jpg" : L"noAlbum.jpg"));
  coverOnAir.store(coverFetched);
  ReportCover();
  RedrawNowPlaying(static_cast<HWND>(window));
  coverThread.store(nullptr);
  return 0;
}
