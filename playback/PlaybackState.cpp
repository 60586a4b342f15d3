#include "playback/PlaybackState.h"

std::atomic<DWORD> currentStream{0};
SharedText stationUrl;
std::atomic<HANDLE> tuneInThread{nullptr};
SharedText coverImagePath;
SharedText artistText;
SharedText titleText;
std::atomic<HANDLE> coverThread{nullptr};
