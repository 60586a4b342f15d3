#include "audio/AudioLibrary.h"
#include "platform/Win32.h"
#include "playback/CoverWorker.h"
#include "playback/PlaybackState.h"
#include "playback/PlayerService.h"
#include "playback/TextFromBytes.h"
#include "playback/TitleFromMetadata.h"
#include "playback/TrackTitle.h"
#include "playback/WorkerStart.h"
#include "shell/ControlIds.h"
#include "shell/MainWindowState.h"

namespace {

HWND StatusLine() {
  return GetDlgItem(mainWindow, ID_STATUS_LINE);
}

void ShowStreamTitle(const char* meta, bool lookUpCover) {
  const auto texts = TitleFromStreamMeta(meta);
  // An empty StreamTitle names no track (servers send one before the first title): the station's
  // name stays on the status line, and nothing is looked up.
  if (!texts || texts->status.empty()) {
    return;
  }
  nowPlaying.Set(WideFromBytes(texts->artist.c_str(), CP_ACP),
                 WideFromBytes(texts->title.c_str(), CP_ACP));
  coverOnAir.store(false);
  SetTextFromBytes(StatusLine(), texts->status.c_str(), CP_ACP);
  if (lookUpCover) {
    // While a lookup runs it finishes for its own track; this title gets none.
    StartWorker(coverThread, CoverWorker, mainWindow);
  }
}

// The title text keeps its value here, and no album-art lookup starts.
void ShowOggTitle(const char* comments) {
  const auto texts = TitleFromOggComments(comments);
  if (!texts) {
    return;
  }
  if (texts->artist) {
    nowPlaying.SetArtist(WideFromBytes(texts->artist->c_str(), CP_UTF8));
  }
  SetTextFromBytes(StatusLine(), texts->status.c_str(), CP_UTF8);
}

void ShowTitle(bool lookUpCover) {
  const DWORD stream = currentStream.load();
  if (const char* meta = BASS_ChannelGetTags(stream, BASS_TAG_META)) {
    ShowStreamTitle(meta, lookUpCover);
  } else if (const char* comments = BASS_ChannelGetTags(stream, BASS_TAG_OGG)) {
    ShowOggTitle(comments);
  }
  ReportNowPlaying();
}

}  // namespace

void UpdateTrackTitle() {
  ShowTitle(true);
}

void ShowTitleAgain() {
  ShowTitle(false);
}
