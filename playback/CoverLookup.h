// Finding a track's cover: the track-info service first; when it gives no answer
// (unreachable, an error reply, a refused key), the keyless sources in turn, each at most once.
#pragma once

#include "playback/CoverSource.h"

// Puts the track's cover into folder.jpg (through the download, or from what this run found
// before for the same artist and title, without asking anyone). Returns true when folder.jpg
// now holds it; otherwise folder.jpg is as it was. A source paused after "too many" is passed
// over, a refused key is not offered again, and everything ends within
// LookupDeadline::kLookupTime. Runs on the cover worker, one lookup at a time.
bool FetchCover(const TrackQuery& track);
