// Track titles from the stream's metadata, shown as they change.
#pragma once

// Reads the current stream's metadata (an ICY StreamTitle, or else Ogg comments), fills
// artistText and titleText and shows the track on the status line. Runs on the window's thread
// when playback starts and on the audio engine's thread for each new title.
void UpdateTrackTitle();

// The title now playing back on the status line (after "reconnecting..."), as UpdateTrackTitle
// shows it, but no album-art lookup starts. Any thread.
void ShowTitleAgain();
