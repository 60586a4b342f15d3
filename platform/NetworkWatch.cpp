// NetworkManager's word on the network: its State and Connectivity properties, read again on
// its StateChanged and PropertiesChanged signals and whenever its name changes owner.
#include <cstdint>

#include "platform/SystemBusParts.h"

namespace systembus {
namespace {

constexpr char kService[] = "org.freedesktop.NetworkManager";
constexpr char kPath[] = "/org/freedesktop/NetworkManager";

// NMState and NMConnectivityState values.
constexpr std::uint32_t NM_STATE_ASLEEP = 10;
constexpr std::uint32_t NM_STATE_CONNECTING = 40;
constexpr std::uint32_t NM_STATE_CONNECTED_SITE = 60;
constexpr std::uint32_t NM_CONNECTIVITY_NONE = 1;

bool ReadNumber(sd_bus* bus, const char* property, std::uint32_t& value) {
  sd_bus_error error = SD_BUS_ERROR_NULL;
  const int r =
      sd_bus_get_property_trivial(bus, kService, kPath, kService, property, &error, 'u', &value);
  sd_bus_error_free(&error);
  return r >= 0;
}

// Connected to a site or beyond: a station may answer. Asleep, disconnected, disconnecting,
// connecting, or no network at all by its check: no try can reach one.
Network NetworkOf(std::uint32_t state, std::uint32_t connectivity) {
  if (state >= NM_STATE_CONNECTED_SITE) {
    return Network::Up;
  }
  if ((state >= NM_STATE_ASLEEP && state <= NM_STATE_CONNECTING) ||
      connectivity == NM_CONNECTIVITY_NONE) {
    return Network::Down;
  }
  return Network::Unknown;
}

}  // namespace

NetworkWatch::~NetworkWatch() {
  for (sd_bus_slot* slot : slots_) {
    sd_bus_slot_unref(slot);
  }
}

void NetworkWatch::Begin(sd_bus* bus) {
  bus_ = bus;
  sd_bus_match_signal(bus, &slots_[0], kService, kPath, kService, "StateChanged", OnSignal, this);
  sd_bus_match_signal(bus, &slots_[1], kService, kPath, "org.freedesktop.DBus.Properties",
                      "PropertiesChanged", OnSignal, this);
  // Gone from the bus, or started again: its word is read anew.
  sd_bus_add_match(bus, &slots_[2],
                   "type='signal',sender='org.freedesktop.DBus',interface='org.freedesktop.DBus',"
                   "member='NameOwnerChanged',arg0='org.freedesktop.NetworkManager'",
                   OnSignal, this);
  ReadAgain();
}

int NetworkWatch::OnSignal(sd_bus_message*, void* self, sd_bus_error*) {
  static_cast<NetworkWatch*>(self)->ReadAgain();
  return 0;
}

void NetworkWatch::ReadAgain() {
  std::uint32_t state = 0;
  std::uint32_t connectivity = 0;
  Network now = Network::Unknown;
  if (ReadNumber(bus_, "State", state)) {
    ReadNumber(bus_, "Connectivity", connectivity);
    now = NetworkOf(state, connectivity);
  }
  if (!told_ || now != last_) {
    told_ = true;
    last_ = now;
    onChange_(now);
  }
}

}  // namespace systembus
