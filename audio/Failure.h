// Why an engine operation failed; the BASS_* boundary turns it into an error code.
#pragma once

namespace audio {

enum class Failure {
  None,
  NotInitialised,  // no output opened yet
  Unreachable,     // connection refused, host unknown, dropped before the headers
  Timeout,         // no answer within the connect time-out
  Tls,             // the secure connection could not be made
  HttpStatus,      // the server answered with an error status
  Refused,         // 401, 403 or 410: the server will not give us this stream
  NotAudio,        // neither a stream we can play nor a playlist that leads to one
  BadFormat,       // audio the decoder gives up on
  Stopped,         // the engine was freed meanwhile
  NoSuchStream,    // the handle is not (or no longer) a stream
  NoDevice,        // the sound device would not open
};

}  // namespace audio
