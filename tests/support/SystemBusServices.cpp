#include "tests/support/SystemBusServices.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <systemd/sd-bus.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <stdexcept>

namespace fixture {
namespace {

constexpr char kLogin[] = "org.freedesktop.login1";
constexpr char kNetwork[] = "org.freedesktop.NetworkManager";
constexpr char kNetworkPath[] = "/org/freedesktop/NetworkManager";

// As the system bus's own policy: nobody owns a name or calls a method unless allowed. The two
// services' policies (from logind's and NetworkManager's packages) let anyone call Inhibit and
// read NetworkManager's properties; here the test's user may also own their names.
constexpr char kPolicy[] =
    R"(<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>system</type>
  <listen>unix:path=SOCKET</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow user="*"/>
    <deny own="*"/>
    <deny send_type="method_call"/>
    <allow send_type="signal"/>
    <allow send_requested_reply="true" send_type="method_return"/>
    <allow send_requested_reply="true" send_type="error"/>
    <allow receive_type="method_call"/>
    <allow receive_type="method_return"/>
    <allow receive_type="error"/>
    <allow receive_type="signal"/>
    <allow send_destination="org.freedesktop.DBus" send_interface="org.freedesktop.DBus"/>
    <allow own="org.freedesktop.login1"/>
    <allow own="org.freedesktop.NetworkManager"/>
    <allow send_destination="org.freedesktop.login1"
           send_interface="org.freedesktop.login1.Manager" send_member="Inhibit"/>
    <allow send_destination="org.freedesktop.NetworkManager"
           send_interface="org.freedesktop.DBus.Properties"/>
  </policy>
</busconfig>
)";

bool IsClosed(int end) {
  pollfd f{end, POLLIN, 0};
  return poll(&f, 1, 0) > 0 && (f.revents & (POLLHUP | POLLIN)) != 0;
}

}  // namespace

SystemBus::SystemBus() {
  const std::string socket = folder_.File("system_bus");
  std::string policy = kPolicy;
  policy.replace(policy.find("SOCKET"), 6, socket);
  std::ofstream(folder_.File("system.conf")) << policy;
  daemon_ = std::make_unique<ChildProcess>(std::vector<std::string>{
      "dbus-daemon", "--nofork", "--nopidfile", "--config-file=" + folder_.File("system.conf")});
  struct stat info;
  for (int i = 0; i < 400 && stat(socket.c_str(), &info) != 0; ++i) {
    usleep(25000);
  }
  if (stat(socket.c_str(), &info) != 0) {
    throw std::runtime_error("the system bus did not start");
  }
  setenv("DBUS_SYSTEM_BUS_ADDRESS", ("unix:path=" + socket).c_str(), 1);
}

SystemBus::~SystemBus() {
  unsetenv("DBUS_SYSTEM_BUS_ADDRESS");
}

SystemServices::SystemServices(const Options& options) {
  static const sd_bus_vtable loginTable[] = {
      SD_BUS_VTABLE_START(0),
      SD_BUS_METHOD("Inhibit", "ssss", "h", OnInhibit, SD_BUS_VTABLE_UNPRIVILEGED),
      SD_BUS_VTABLE_END};
  static const sd_bus_vtable networkTable[] = {
      SD_BUS_VTABLE_START(0),
      SD_BUS_PROPERTY("State", "u", GetState, 0, SD_BUS_VTABLE_PROPERTY_EMITS_CHANGE),
      SD_BUS_PROPERTY("Connectivity", "u", GetConnectivity, 0, SD_BUS_VTABLE_PROPERTY_EMITS_CHANGE),
      SD_BUS_SIGNAL("StateChanged", "u", 0), SD_BUS_VTABLE_END};
  if (sd_bus_open_system(&bus_) < 0) {
    throw std::runtime_error("cannot connect to the system bus");
  }
  auto serve = [&](const char* name, const char* path, const char* interface,
                   const sd_bus_vtable* table) {
    sd_bus_slot* slot = nullptr;
    if (sd_bus_add_object_vtable(bus_, &slot, path, interface, table, this) < 0 ||
        sd_bus_request_name(bus_, name, 0) < 0) {
      throw std::runtime_error(std::string("cannot serve ") + name);
    }
    slots_.push_back(slot);
  };
  if (options.logind) {
    serve(kLogin, "/org/freedesktop/login1", "org.freedesktop.login1.Manager", loginTable);
  }
  if (options.networkManager) {
    serve(kNetwork, kNetworkPath, kNetwork, networkTable);
  }
  thread_ = std::thread([this] { Serve(); });
}

SystemServices::~SystemServices() {
  {
    std::lock_guard hold(lock_);
    stopping_ = true;
  }
  thread_.join();
  for (sd_bus_slot* slot : slots_) {
    sd_bus_slot_unref(slot);
  }
  sd_bus_flush_close_unref(bus_);
  for (int end : lockEnds_) {
    close(end);
  }
}

void SystemServices::Serve() {
  for (;;) {
    pollfd f{};
    {
      std::lock_guard hold(lock_);
      if (stopping_) {
        return;
      }
      while (sd_bus_process(bus_, nullptr) > 0) {
      }
      sd_bus_flush(bus_);
      f = {sd_bus_get_fd(bus_), static_cast<short>(sd_bus_get_events(bus_)), 0};
    }
    poll(&f, 1, 20);  // short: the test's own changes are sent from its thread meanwhile
  }
}

int SystemServices::OnInhibit(sd_bus_message* call, void* self, sd_bus_error*) {
  auto& s = *static_cast<SystemServices*>(self);
  InhibitCall c;
  const char* texts[4] = {};
  if (sd_bus_message_read(call, "ssss", &texts[0], &texts[1], &texts[2], &texts[3]) < 0) {
    return -EINVAL;
  }
  c = {texts[0], texts[1], texts[2], texts[3]};
  int ends[2];
  if (pipe2(ends, O_CLOEXEC) != 0) {
    return -errno;
  }
  // Called under lock_, from Serve.
  s.calls_.push_back(c);
  s.lockEnds_.push_back(ends[0]);
  s.mostOpen_ = std::max(s.mostOpen_, s.CountOpen());
  const int r = sd_bus_reply_method_return(call, "h", ends[1]);  // the reply sends a copy
  close(ends[1]);
  return r;
}

int SystemServices::GetState(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply,
                             void* self, sd_bus_error*) {
  return sd_bus_message_append(reply, "u", static_cast<SystemServices*>(self)->state_);
}

int SystemServices::GetConnectivity(sd_bus*, const char*, const char*, const char*,
                                    sd_bus_message* reply, void* self, sd_bus_error*) {
  return sd_bus_message_append(reply, "u", static_cast<SystemServices*>(self)->connectivity_);
}

int SystemServices::CountOpen() {
  int open = 0;
  for (int end : lockEnds_) {
    open += IsClosed(end) ? 0 : 1;
  }
  return open;
}

std::vector<InhibitCall> SystemServices::InhibitCalls() {
  std::lock_guard hold(lock_);
  return calls_;
}

int SystemServices::OpenLocks() {
  std::lock_guard hold(lock_);
  return CountOpen();
}

int SystemServices::MostOpenAtOnce() {
  std::lock_guard hold(lock_);
  return mostOpen_;
}

void SystemServices::SetNetwork(std::uint32_t state, std::uint32_t connectivity) {
  std::lock_guard hold(lock_);
  const bool stateChanged = state != state_;
  state_ = state;
  connectivity_ = connectivity;
  if (stateChanged) {
    sd_bus_emit_signal(bus_, kNetworkPath, kNetwork, "StateChanged", "u", state);
  }
  sd_bus_emit_properties_changed(bus_, kNetworkPath, kNetwork, "State", "Connectivity", nullptr);
  sd_bus_flush(bus_);
}

}  // namespace fixture
