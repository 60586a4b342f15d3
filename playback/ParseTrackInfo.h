// Reading the track-info reply that the album-art lookup saved in the application folder.
#pragma once

#include "directory/WebClient.h"

// Reads the track-info reply folder + name + ".txt": 0 when it holds an album element, with the
// album's large image address in `image` (260 characters; empty when there is none), else 1.
// Any thread, one caller at a time (regex).
int ParseTrackInfo(WebClient& client, LPCWSTR name, LPWSTR image);
