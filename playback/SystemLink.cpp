#include "playback/SystemLink.h"

#include "audio/AudioLibrary.h"
#include "platform/ResourceIds.h"
#include "platform/SystemBus.h"
#include "platform/Utf8.h"
#include "platform/Win32.h"
#include "shell/MainWindowState.h"

namespace {

// A stream waiting to be found again tries at once when the network comes back, and makes no
// try while there is none.
void TellEngine(systembus::Network network) {
  switch (network) {
    case systembus::Network::Unknown:
      BASS_SetConfig(BASS_CONFIG_NET_LINK, BASS_NET_LINK_UNKNOWN);
      break;
    case systembus::Network::Down:
      BASS_SetConfig(BASS_CONFIG_NET_LINK, BASS_NET_LINK_DOWN);
      break;
    case systembus::Network::Up:
      BASS_SetConfig(BASS_CONFIG_NET_LINK, BASS_NET_LINK_UP);
      break;
  }
}

}  // namespace

void StartSystemLink() {
  WCHAR name[100];
  LoadStringW(appInstance, IDS_APP_TITLE, name, 100);
  systembus::Start(WideToUtf8(name), TellEngine);
}

void StopSystemLink() {
  systembus::Stop();
}
