#include "playback/PlaybackState.h"

std::atomic<DWORD> currentStream{0};
SharedText stationUrl;
std::atomic<HANDLE> tuneInThread{nullptr};
SharedText coverImagePath;
std::atomic<bool> coverOnAir{false};
SharedText stationLogoPath;
SharedTrack nowPlaying;
std::atomic<HANDLE> coverThread{nullptr};
