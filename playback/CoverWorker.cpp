#include "playback/CoverWorker.h"

#include <string>

#include "directory/WebClient.h"
#include "playback/MainWindowState.h"
#include "playback/NowPlayingRedraw.h"
#include "playback/PlaybackState.h"
#include "playback/StatusLine.h"
#include "playback/TrackInfoQuery.h"

std::atomic<BYTE> noCover{0};

DWORD WINAPI CoverWorker(LPVOID window) {
  const std::wstring address = TrackInfoAddress(artistText.Get(), QueryTitle(titleText.Get()));
  WCHAR image[260] = {};
  // A failed query leaves the previous reply on disk, which must not pass for this track's.
  const bool albumFound = DownloadToFile(webClient, L"tmp.txt", address.c_str()) == 0 &&
                          ParseTrackInfo(webClient, L"tmp", image) == 0;
  // An album whose image cannot be fetched is no cover; the last cover stays on disk.
  const bool coverFetched =
      albumFound && image[0] != L'\0' && DownloadToFile(webClient, L"folder.jpg", image) == 0;

  noCover.store(coverFetched ? 0 : 1);
  ShowStatus(coverFetched ? L"nice one" : L"buuuu");
  coverImagePath.Set(std::wstring(applicationFolder) +
                     (coverFetched ? L"folder.jpg" : L"noAlbum.jpg"));
  RedrawNowPlaying(static_cast<HWND>(window));
  coverThread.store(nullptr);
  return 0;
}
