// The BASS_* boundary: checks arguments and handles, turns the engine's typed failures into
// the documented results (0, -1, null) and the thread's error code.
#include "audio/AudioLibrary.h"

#include "audio/Engine.h"
#include "audio/Stream.h"
#include "platform/Utf8.h"

#include <cwchar>
#include <string>

namespace {

using audio::Engine;
using audio::Failure;

thread_local int lastError = BASS_OK;

// Longest address taken from the caller.
constexpr std::size_t kMaxUrlLength = 8192;

template <typename T>
T Fail(int code, T result) {
  lastError = code;
  return result;
}

template <typename T>
T Succeed(T result) {
  lastError = BASS_OK;
  return result;
}

int ErrorCodeOf(Failure failure) {
  switch (failure) {
    case Failure::None:
      return BASS_OK;
    case Failure::NotInitialised:
      return BASS_ERROR_INIT;
    case Failure::Unreachable:
    case Failure::HttpStatus:
    case Failure::Refused:
      return BASS_ERROR_FILEOPEN;
    case Failure::Timeout:
      return BASS_ERROR_TIMEOUT;
    case Failure::Tls:
      return BASS_ERROR_SSL;
    case Failure::NotAudio:
      return BASS_ERROR_FILEFORM;
    case Failure::BadFormat:
      return BASS_ERROR_FORMAT;
    case Failure::Stopped:
      return BASS_ERROR_INIT;
    case Failure::NoSuchStream:
      return BASS_ERROR_HANDLE;
    case Failure::NoDevice:
      return BASS_ERROR_DRIVER;
  }
  return BASS_ERROR_UNKNOWN;
}

// The caller's address as UTF-8; false when it is missing or too long.
bool UrlText(const void* url, bool wide, std::string& out) {
  if (url == nullptr) {
    return false;
  }
  if (wide) {
    const auto* w = static_cast<const wchar_t*>(url);
    std::size_t n = wcsnlen(w, kMaxUrlLength + 1);
    out = WideToUtf8(std::wstring_view(w, n));
    return n > 0 && n <= kMaxUrlLength;
  }
  const auto* c = static_cast<const char*>(url);
  std::size_t n = strnlen(c, kMaxUrlLength + 1);
  out.assign(c, n);
  return n > 0 && n <= kMaxUrlLength;
}

}  // namespace

extern "C" {

DWORD BASS_GetVersion() {
  return BASSVERSION << 16;
}

int BASS_ErrorGetCode() {
  return lastError;
}

BOOL BASS_Init(int device, DWORD freq, DWORD, void*, const void*) {
  if (device != -1 && device != 1) {
    return Fail(BASS_ERROR_DEVICE, FALSE);
  }
  Engine& engine = Engine::Instance();
  if (engine.Initialised()) {
    return Fail(BASS_ERROR_ALREADY, FALSE);
  }
  if (engine.Init(freq) != Failure::None) {
    return Fail(BASS_ERROR_DRIVER, FALSE);
  }
  return Succeed(TRUE);
}

BOOL BASS_Free() {
  if (!Engine::Instance().Free()) {
    return Fail(BASS_ERROR_INIT, FALSE);
  }
  return Succeed(TRUE);
}

BOOL BASS_SetConfig(DWORD option, DWORD value) {
  audio::Config& config = Engine::Instance().config();
  switch (option) {
    case BASS_CONFIG_NET_TIMEOUT:
      config.netTimeoutMs = value == 0 ? 5000 : value;
      break;
    case BASS_CONFIG_NET_READTIMEOUT:
      config.netReadTimeoutMs = value == 0 ? 15000 : value;
      break;
    case BASS_CONFIG_NET_BUFFER:
      config.netBufferMs = value < 100 ? 100 : value;
      break;
    case BASS_CONFIG_NET_PREBUF:
      config.netPrebufPercent = value > 100 ? 100 : value;
      break;
    case BASS_CONFIG_NET_PLAYLIST:
      config.netPlaylist = value;
      break;
    case BASS_CONFIG_NET_RECONNECT:
      config.netReconnectMs = value;
      break;
    case BASS_CONFIG_NET_RECONNECT_UNIT:
      config.netReconnectUnitMs = value == 0 ? 1000 : value;
      break;
    case BASS_CONFIG_NET_LINK:
      if (value > BASS_NET_LINK_UP) {
        return Fail(BASS_ERROR_ILLPARAM, FALSE);
      }
      Engine::Instance().SetNetworkLink(static_cast<audio::NetworkLink>(value));
      break;
    default:
      return Fail(BASS_ERROR_ILLTYPE, FALSE);
  }
  return Succeed(TRUE);
}

HSTREAM BASS_StreamCreateURL(const void* url, DWORD offset, DWORD flags, DOWNLOADPROC* proc,
                             void* user) {
  std::string address;
  if (!UrlText(url, (flags & BASS_UNICODE) != 0, address) || offset != 0) {
    return Fail(BASS_ERROR_ILLPARAM, HSTREAM{0});
  }
  HSTREAM handle = 0;
  Failure failure = Engine::Instance().CreateStream(address, flags, proc, user, handle);
  if (failure != Failure::None) {
    return Fail(ErrorCodeOf(failure), HSTREAM{0});
  }
  return Succeed(handle);
}

BOOL BASS_StreamFree(HSTREAM handle) {
  if (!Engine::Instance().FreeStream(handle)) {
    return Fail(BASS_ERROR_HANDLE, FALSE);
  }
  return Succeed(TRUE);
}

QWORD BASS_StreamGetFilePosition(HSTREAM handle, DWORD mode) {
  auto stream = Engine::Instance().Find(handle);
  if (!stream) {
    return Fail(BASS_ERROR_HANDLE, static_cast<QWORD>(-1));
  }
  QWORD position = stream->FilePosition(mode);
  if (position == static_cast<QWORD>(-1)) {
    return Fail(BASS_ERROR_NOTAVAIL, position);
  }
  return Succeed(position);
}

const char* BASS_ChannelGetTags(DWORD handle, DWORD tags) {
  auto stream = Engine::Instance().Find(handle);
  if (!stream) {
    return Fail(BASS_ERROR_HANDLE, static_cast<const char*>(nullptr));
  }
  const char* text = stream->Tags(tags);
  if (text == nullptr) {
    return Fail(BASS_ERROR_NOTAVAIL, text);
  }
  return Succeed(text);
}

HSYNC BASS_ChannelSetSync(DWORD handle, DWORD type, QWORD, SYNCPROC* proc, void* user) {
  auto stream = Engine::Instance().Find(handle);
  if (!stream) {
    return Fail(BASS_ERROR_HANDLE, HSYNC{0});
  }
  if (type != BASS_SYNC_META && type != BASS_SYNC_OGG_CHANGE && type != BASS_SYNC_END &&
      type != BASS_SYNC_STALL) {
    return Fail(BASS_ERROR_ILLTYPE, HSYNC{0});
  }
  if (proc == nullptr) {
    return Fail(BASS_ERROR_ILLPARAM, HSYNC{0});
  }
  return Succeed(stream->AddSync(type, proc, user));
}

BOOL BASS_ChannelPlay(DWORD handle, BOOL) {
  if (Failure failure = Engine::Instance().Play(handle); failure != Failure::None) {
    return Fail(ErrorCodeOf(failure), FALSE);
  }
  return Succeed(TRUE);
}

}  // extern "C"
