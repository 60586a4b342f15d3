// The track-info service as a cover source: asked first, with the program's key.
#pragma once

#include "platform/HttpClient.h"
#include "playback/CoverSource.h"

// Asks the service about the track (TrackInfoAddress, agent "duvEridaz"). A reply with a 2xx
// status and no error marker replaces tmp.txt and is read by ParseTrackInfo: Found with the
// album's large image, NoCover when it names no album or no image. An error reply with code 10
// or 26 (invalid or suspended key) is KeyRefused and one with code 29 TooMany, whatever the
// status; any other error reply or failed request is TooMany for status 403, 429 and 503, else
// Failed. Only a 2xx reply touches tmp.txt. Runs on the cover worker.
SourceAnswer AskTrackInfo(const TrackQuery& track, const http::Limits& limits);
