// The program on the system bus, from a thread of its own: a sleep inhibitor of logind while
// something plays, and NetworkManager's word on the network. Without a system bus, or without
// logind or NetworkManager on it, the program runs as it would without them.
#pragma once

#include <functional>
#include <string>

namespace systembus {

// What NetworkManager says of the network. Unknown: it says nothing (or is not there).
enum class Network { Unknown, Down, Up };

// Starts the thread for the program `who` (the inhibitor's owner as logind shows it).
// `onNetwork` runs on that thread with each new word on the network, the first as soon as it
// is known. Returns at once; a second Start while one runs is ignored.
void Start(const std::string& who, std::function<void(Network)> onNetwork);
// Something plays (true) or nothing does: the sleep lock is taken or closed accordingly, never
// two at once. Any thread; never waits for the bus. Remembered for a Start that comes later.
void HoldSleepLock(bool hold);
// Closes the sleep lock and ends the thread, waiting for it. Any thread but that one.
void Stop();

}  // namespace systembus
