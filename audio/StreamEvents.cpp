// The event thread: calls the syncs for metadata and Ogg comments when their audio is heard,
// and for stalls of the output, and frees a stream that asked for it once it has ended.
#include "audio/Stream.h"

namespace audio {

void Stream::EventThread() {
  while (std::optional<EventTimeline::Due> due = timeline_.WaitForDue()) {
    for (const EventTimeline::Sync& s : due->syncs) {
      CallOut([&] { s.proc(s.handle, settings_.handle, due->data, s.user); });
    }
    if (due->type != BASS_SYNC_END) {
      continue;
    }
    if (!Stopping() && (settings_.flags & BASS_STREAM_AUTOFREE) != 0 && settings_.onAutoFree) {
      settings_.onAutoFree(settings_.handle);
    }
    return;
  }
}

}  // namespace audio
