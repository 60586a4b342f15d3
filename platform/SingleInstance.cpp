#include "platform/SingleInstance.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <optional>
#include <set>
#include <string>
#include <thread>

#include "platform/SystemRecords.h"
#include "platform/Utf8.h"
#include "platform/Window.h"

namespace winsys {
namespace {

constexpr char kFind = 'F';
constexpr char kRaise = 'R';
constexpr std::size_t kMaxRequest = 4096;
constexpr int kReplyTimeoutSeconds = 2;

// Stands for the window found in the other process; its class and title say which.
Window remoteWindow;
struct RemoteName {
  std::optional<std::wstring> className;
  std::optional<std::wstring> title;
};
RemoteName remoteName GUARDED_BY(windowLock);

std::string Field(LPCWSTR text) {
  return text == nullptr ? std::string("-") : "+" + WideToUtf8(text);
}

std::optional<std::wstring> ParseField(const std::string& field) {
  if (field.empty() || field[0] != '+') {
    return std::nullopt;
  }
  return Utf8ToWide(field.substr(1));
}

sockaddr_un ChannelAddress(socklen_t* length) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const std::string name = InstanceChannel();
  // The abstract namespace: no file to leave behind, gone with the process.
  const std::size_t count = std::min(name.size(), sizeof address.sun_path - 1);
  name.copy(address.sun_path + 1, count);
  *length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + count);
  return address;
}

// Abstract sockets carry no file permissions: each side checks that the other is this user.
bool PeerIsThisUser(int fd) {
  ucred peer{};
  socklen_t length = sizeof peer;
  return getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &length) == 0 && peer.uid == getuid();
}

void SetTimeouts(int fd) {
  const timeval timeout{kReplyTimeoutSeconds, 0};
  setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
  setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
}

HWND FindLocal(const std::optional<std::wstring>& className,
               const std::optional<std::wstring>& title) {
  MutexLock lock(windowLock);
  for (Window* w : TopLevel()) {
    if (w->dying) {
      continue;
    }
    if ((!className || w->windowClass->name == *className) && (!title || w->text == *title)) {
      return w;
    }
  }
  return nullptr;
}

// Reads one request line; empty when the peer sent nothing sound.
std::string ReadLine(int fd) {
  std::string line;
  char c;
  while (line.size() < kMaxRequest && read(fd, &c, 1) == 1) {
    if (c == '\n') {
      return line;
    }
    line.push_back(c);
  }
  return "";
}

void Answer(int client) {
  if (!PeerIsThisUser(client)) {
    return;
  }
  SetTimeouts(client);
  const std::string request = ReadLine(client);
  const std::size_t split = request.find('\x1f', 2);
  bool found = false;
  if (request.size() >= 2 && request[1] == '\x1f' && split != std::string::npos) {
    HWND w =
        FindLocal(ParseField(request.substr(2, split - 2)), ParseField(request.substr(split + 1)));
    found = w != nullptr;
    if (found && request[0] == kRaise) {
      SetForegroundWindow(w);
    }
  }
  const char reply[2] = {found ? '1' : '0', '\n'};
  (void)!write(client, reply, sizeof reply);
}

void Serve(int listener) {
  for (;;) {
    const int client = accept(listener, nullptr, nullptr);
    if (client < 0) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));  // out of descriptors: wait
      continue;
    }
    Answer(client);
    close(client);
  }
}

// Sends one request to the instance on the channel; true when it found the window.
bool Ask(char verb, const RemoteName& name) {
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) {
    return false;
  }
  socklen_t length;
  const sockaddr_un address = ChannelAddress(&length);
  bool found = false;
  if (connect(fd, reinterpret_cast<const sockaddr*>(&address), length) == 0 && PeerIsThisUser(fd)) {
    SetTimeouts(fd);
    auto field = [](const std::optional<std::wstring>& text) {
      return Field(text ? text->c_str() : nullptr);
    };
    const std::string request =
        std::string(1, verb) + '\x1f' + field(name.className) + '\x1f' + field(name.title) + '\n';
    char reply = '0';
    found = write(fd, request.data(), request.size()) == static_cast<ssize_t>(request.size()) &&
            read(fd, &reply, 1) == 1 && reply == '1';
  }
  close(fd);
  return found;
}

}  // namespace

void StartInstanceServer() {
  static Mutex startLock;
  static std::set<std::string> served GUARDED_BY(startLock);
  MutexLock lock(startLock);
  const std::string channel = InstanceChannel();
  if (!served.insert(channel).second) {
    return;
  }
  const int listener = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (listener < 0) {
    return;
  }
  socklen_t length;
  const sockaddr_un address = ChannelAddress(&length);
  if (bind(listener, reinterpret_cast<const sockaddr*>(&address), length) != 0 ||
      listen(listener, 4) != 0) {
    close(listener);  // another instance answers on this channel
    return;
  }
  std::thread(Serve, listener).detach();
}

bool IsRemoteWindow(HWND hwnd) {
  return hwnd == &remoteWindow;
}

BOOL RaiseRemoteWindow(HWND) {
  RemoteName name;
  {
    MutexLock lock(windowLock);
    name = remoteName;
  }
  return Ask(kRaise, name) ? TRUE : FALSE;
}

}  // namespace winsys

HWND FindWindowW(LPCWSTR className, LPCWSTR windowName) {
  using namespace winsys;
  RemoteName name;
  if (className != nullptr) {
    name.className = className;
  }
  if (windowName != nullptr) {
    name.title = windowName;
  }
  if (HWND local = FindLocal(name.className, name.title)) {
    return local;
  }
  if (!Ask(kFind, name)) {
    return nullptr;
  }
  MutexLock lock(windowLock);
  remoteName = name;
  return &remoteWindow;
}
