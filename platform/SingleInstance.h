// One running instance per user: the first process that makes a top-level window answers the
// others over a local socket, so that FindWindowW and SetForegroundWindow reach its window. Not
// for code outside platform/.
#pragma once

#include "platform/Win32.h"

namespace winsys {

// Starts answering other instances on the user's channel, once per channel. A channel that is
// already answered by another process is left to it.
void StartInstanceServer();
// The handle FindWindowW gives for a window of another process.
bool IsRemoteWindow(HWND hwnd);
// Asks the other process to bring that window forward.
BOOL RaiseRemoteWindow(HWND hwnd);

}  // namespace winsys
