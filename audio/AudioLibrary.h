// The audio engine's interface: network streams, decoders and sound output behind the calls
// the program makes. Every call may be made from any thread. Handles are checked: a zero, freed
// or unknown handle makes a call fail (0, -1 or null) with BASS_ERROR_HANDLE, never crash.
#pragma once

#include "platform/Win32Types.h"

#include <cstdint>

using QWORD = std::uint64_t;
using HSTREAM = DWORD;
using HCHANNEL = DWORD;
using HSYNC = DWORD;

// Version word: high 16 bits 0x0204.
constexpr DWORD BASSVERSION = 0x0204;

// BASS_SetConfig options.
constexpr DWORD BASS_CONFIG_NET_TIMEOUT = 11;  // connect time-out, ms (default 5000)
constexpr DWORD BASS_CONFIG_NET_BUFFER = 12;   // download buffer length, ms (default 5000)
constexpr DWORD BASS_CONFIG_NET_PREBUF =
    15;  // percent of the buffer filled before creation returns
constexpr DWORD BASS_CONFIG_NET_PLAYLIST = 21;     // 1: follow PLS and M3U playlists
constexpr DWORD BASS_CONFIG_NET_READTIMEOUT = 37;  // stall time-out, ms (default 15000)
// Ours, outside the range of the original options: how long, in ms, a live stream (one without
// a Content-Length) whose connection ends, fails or stalls is looked for again, with a backoff
// between tries, while the buffer plays on; 0 (the default): the stream ends at the drop.
constexpr DWORD BASS_CONFIG_NET_RECONNECT = 0x7E0001;
// Ours: what the system says of the network, for live streams looked for again after a drop.
// BASS_NET_LINK_UNKNOWN (the default): the backoff as it is. BASS_NET_LINK_DOWN: no try is made
// and the time looked for does not run until it changes. BASS_NET_LINK_UP: a network is there;
// when it comes (or DOWN ends), a stream waiting between tries tries at once.
constexpr DWORD BASS_CONFIG_NET_LINK = 0x7E0002;
constexpr DWORD BASS_NET_LINK_UNKNOWN = 0;
constexpr DWORD BASS_NET_LINK_DOWN = 1;
constexpr DWORD BASS_NET_LINK_UP = 2;
// Ours: the unit, in ms, of the times between those tries (at once, then after 1, 2, 4, 8, 15
// and every 30 units; 30 units of play start them anew). 0 or the default: 1000.
constexpr DWORD BASS_CONFIG_NET_RECONNECT_UNIT = 0x7E0003;

// BASS_StreamCreateURL flags.
constexpr DWORD BASS_STREAM_AUTOFREE = 0x40000;
constexpr DWORD BASS_STREAM_BLOCK = 0x100000;
constexpr DWORD BASS_STREAM_STATUS = 0x800000;
constexpr DWORD BASS_UNICODE = 0x80000000;

// BASS_StreamGetFilePosition modes.
constexpr DWORD BASS_FILEPOS_CURRENT = 0;   // bytes handed to the decoder so far
constexpr DWORD BASS_FILEPOS_DOWNLOAD = 1;  // bytes downloaded so far
constexpr DWORD BASS_FILEPOS_END = 2;       // a block stream's buffer size
constexpr DWORD BASS_FILEPOS_START = 3;     // always 0
constexpr DWORD BASS_FILEPOS_CONNECTED = 4;
constexpr DWORD BASS_FILEPOS_BUFFER = 5;

// BASS_ChannelGetTags types.
constexpr DWORD BASS_TAG_OGG = 2;
constexpr DWORD BASS_TAG_HTTP = 3;
constexpr DWORD BASS_TAG_ICY = 4;
constexpr DWORD BASS_TAG_META = 5;

// BASS_ChannelSetSync types.
constexpr DWORD BASS_SYNC_END = 2;
constexpr DWORD BASS_SYNC_META = 4;
constexpr DWORD BASS_SYNC_STALL = 6;  // data 0: the output ran dry; 1: it plays again
constexpr DWORD BASS_SYNC_OGG_CHANGE = 12;

// BASS_ErrorGetCode values.
constexpr int BASS_OK = 0;
constexpr int BASS_ERROR_FILEOPEN = 2;
constexpr int BASS_ERROR_DRIVER = 3;
constexpr int BASS_ERROR_HANDLE = 5;
constexpr int BASS_ERROR_FORMAT = 6;
constexpr int BASS_ERROR_INIT = 8;
constexpr int BASS_ERROR_ALREADY = 14;
constexpr int BASS_ERROR_ILLTYPE = 19;
constexpr int BASS_ERROR_ILLPARAM = 20;
constexpr int BASS_ERROR_DEVICE = 23;
constexpr int BASS_ERROR_NOTAVAIL = 37;
constexpr int BASS_ERROR_FILEFORM = 41;
constexpr int BASS_ERROR_TIMEOUT = 40;
constexpr int BASS_ERROR_SSL = 10;
constexpr int BASS_ERROR_UNKNOWN = -1;

// The download callback: response headers once with length 0 (NUL-terminated lines ended by an
// empty one, the status line first), then each block of audio bytes as it arrives, then a null
// buffer when the download has ended. Runs on the creating thread (headers) or on the stream's
// download thread (data, end).
typedef void CALLBACK DOWNLOADPROC(const void* buffer, DWORD length, void* user);

// A sync callback, run on an engine thread (never the sound output's own thread). `data` is 0
// except for BASS_SYNC_STALL.
typedef void CALLBACK SYNCPROC(HSYNC handle, DWORD channel, DWORD data, void* user);

extern "C" {

DWORD BASS_GetVersion();
int BASS_ErrorGetCode();

// Opens the default output (device -1 or 1) at `freq` Hz stereo. 0 when no output opens.
BOOL BASS_Init(int device, DWORD freq, DWORD flags, void* window, const void* clsid);
// Stops the output and frees every stream. Never waits on a callback in progress.
BOOL BASS_Free();
BOOL BASS_SetConfig(DWORD option, DWORD value);

// Blocks while connecting (and pre-buffering, when configured). A handle, or 0.
HSTREAM BASS_StreamCreateURL(const void* url, DWORD offset, DWORD flags, DOWNLOADPROC* proc,
                             void* user);
// Stops and frees the stream; 0 or a freed handle is ignored (returns 0).
BOOL BASS_StreamFree(HSTREAM handle);
// (QWORD)-1 for an invalid handle or mode.
QWORD BASS_StreamGetFilePosition(HSTREAM handle, DWORD mode);

// Text owned by the engine, valid until the tag changes or the stream is freed; null if none.
const char* BASS_ChannelGetTags(DWORD handle, DWORD tags);
HSYNC BASS_ChannelSetSync(DWORD handle, DWORD type, QWORD param, SYNCPROC* proc, void* user);
BOOL BASS_ChannelPlay(DWORD handle, BOOL restart);
}
