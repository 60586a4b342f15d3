// What the program asks of the system: no sleep while a stream plays, and the network's state
// for the audio engine's reconnect.
#pragma once

// Starts the program on the system bus. Without one it runs as before. Window's thread.
void StartSystemLink();
// Closes the sleep lock and leaves the bus. At exit, on the window's thread.
void StopSystemLink();
