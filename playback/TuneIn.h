// Tuning in to a station: the worker that replaces the current stream, the buffering monitor on
// the window's timer, and the audio engine's callbacks for the stream.
#pragma once

#include "platform/Win32Types.h"

// Id and period of the buffering timer on the main window (its only timer).
constexpr UINT_PTR bufferTimerId = 1;
constexpr UINT bufferTimerPeriodMs = 50;

// Thread procedure; the argument is not used. Started only through StartWorker on tuneInThread,
// after stationUrl has been written. Stops the old stream, connects to stationUrl and starts the
// buffering timer; clears tuneInThread as its last step.
DWORD WINAPI TuneInWorker(LPVOID);
// Starts TuneInWorker on tuneInThread (see StartWorker), after trying the sound device again if
// it was missing. Window's thread: the device is opened there, as at start-up (a worker that
// opened it would leave the sound library's per-thread data behind when it ends).
bool StartTuneIn();
// Thread procedure, started like TuneInWorker: stops the current stream and shows "not
// playing"; clears tuneInThread as its last step.
DWORD WINAPI StopWorker(LPVOID);

// The WM_TIMER handler of the main window (window's thread), whatever the timer id.
void OnBufferTimer();

// Audio engine callbacks, on the engine's threads.
void CALLBACK OnStreamStatus(const void* buffer, DWORD length, void* user);
void CALLBACK OnStreamMeta(DWORD sync, DWORD channel, DWORD data, void* user);
void CALLBACK OnStreamEnd(DWORD sync, DWORD channel, DWORD data, void* user);
// The output ran dry (data 0) or plays again (1): while the engine looks for a dropped stream
// again, the status line says "reconnecting...", and then shows the station's title line again.
void CALLBACK OnStreamStall(DWORD sync, DWORD channel, DWORD data, void* user);
