// A loopback port for a server a test starts, or for an address where nothing listens.
#pragma once

namespace fixture {

// A TCP port on 127.0.0.1 that was free when asked (the system's choice). Throws
// std::runtime_error when the system gives none.
int FreeLoopbackPort();

}  // namespace fixture
