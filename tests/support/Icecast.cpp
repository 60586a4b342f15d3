#include "tests/support/Icecast.h"

#include <curl/curl.h>
#include <grp.h>
#include <netinet/in.h>
#include <pwd.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <thread>

namespace fixture {
namespace {

constexpr char kSourcePassword[] = "hackme-source";
constexpr char kAdminPassword[] = "hackme-admin";
constexpr std::chrono::seconds kStartTimeout{15};

int FreeLoopbackPort() {
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    if (fd >= 0) {
      close(fd);
    }
    throw std::runtime_error("no free loopback port");
  }
  close(fd);
  return ntohs(address.sin_port);
}

// Runs `command` through sh in a process group of its own; the group ends with the test.
pid_t Spawn(const std::string& command) {
  const pid_t parent = getpid();
  pid_t pid = fork();
  if (pid < 0) {
    throw std::runtime_error("fork failed");
  }
  if (pid == 0) {
    setpgid(0, 0);
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (getppid() != parent) {
      _exit(127);
    }
    execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  setpgid(pid, pid);
  return pid;
}

void StopGroup(pid_t leader) {
  kill(-leader, SIGTERM);
  waitpid(leader, nullptr, 0);
  kill(-leader, SIGKILL);  // anything of the group that ignored the request
}

std::string Quote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) {
    quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  }
  return quoted + "'";
}

std::size_t Append(char* data, std::size_t size, std::size_t count, void* target) {
  static_cast<std::string*>(target)->append(data, size * count);
  return size * count;
}

std::string Config(const std::string& dir, int port) {
  return "<icecast>\n"
         "  "
         "<limits><sources>8</sources><clients>64</clients><burst-size>65536</burst-size></"
         "limits>\n"
         "  <authentication><source-password>" +
         std::string(kSourcePassword) +
         "</source-password><admin-user>admin</admin-user><admin-password>" + kAdminPassword +
         "</admin-password></authentication>\n"
         "  <hostname>127.0.0.1</hostname>\n"
         "  <listen-socket><port>" +
         std::to_string(port) +
         "</port><bind-address>127.0.0.1</bind-address></listen-socket>\n"
         "  <mount type=\"default\"><icy-metadata-interval>16000</icy-metadata-interval></mount>\n"
         "  <fileserve>1</fileserve>\n"
         "  <burst-on-connect>1</burst-on-connect>\n"
         "  <paths><basedir>" +
         dir + "</basedir><logdir>" + dir + "</logdir><pidfile>" + dir +
         "/icecast.pid</pidfile><webroot>/usr/share/icecast2/web</webroot>"
         "<adminroot>/usr/share/icecast2/admin</adminroot></paths>\n"
         "  <logging><accesslog>access.log</accesslog><errorlog>error.log</errorlog>"
         "<loglevel>2</loglevel></logging>\n"
         "  <security><chroot>0</chroot><changeowner><user>icecast2</user><group>icecast</group>"
         "</changeowner></security>\n"
         "</icecast>\n";
}

}  // namespace

Icecast::Icecast() {
  curl_global_init(CURL_GLOBAL_DEFAULT);
  port_ = FreeLoopbackPort();
  {
    std::ofstream config(dir_.File("icecast.xml"));
    config << Config(dir_.path(), port_);
  }
  // As root, Icecast only starts when it can drop to its own user, who must own the folder.
  if (geteuid() == 0) {
    if (passwd* user = getpwnam("icecast2"); user != nullptr) {
      for (const auto& entry : std::filesystem::recursive_directory_iterator(dir_.path())) {
        if (chown(entry.path().c_str(), user->pw_uid, user->pw_gid) != 0) {
          throw std::runtime_error("cannot hand the Icecast folder to its user");
        }
      }
      if (chown(dir_.path().c_str(), user->pw_uid, user->pw_gid) != 0) {
        throw std::runtime_error("cannot hand the Icecast folder to its user");
      }
    }
  }
  server_ = Spawn("exec icecast2 -c " + Quote(dir_.File("icecast.xml")));
  auto deadline = std::chrono::steady_clock::now() + kStartTimeout;
  while (Fetch(Url("/status-json.xsl"), false).empty()) {
    if (std::chrono::steady_clock::now() > deadline) {
      StopGroup(server_);
      throw std::runtime_error("icecast2 did not answer in time");
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
}

Icecast::~Icecast() {
  for (pid_t source : sources_) {
    StopGroup(source);
  }
  StopGroup(server_);
}

std::string Icecast::Url(const std::string& mount) const {
  return "http://127.0.0.1:" + std::to_string(port_) + mount;
}

std::string Icecast::Fetch(const std::string& url, bool admin) const {
  CURL* curl = curl_easy_init();
  std::string body;
  curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
  curl_easy_setopt(curl, CURLOPT_PROXY, "");
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, 3000L);
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, Append);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &body);
  if (admin) {
    curl_easy_setopt(curl, CURLOPT_USERNAME, "admin");
    curl_easy_setopt(curl, CURLOPT_PASSWORD, kAdminPassword);
  }
  CURLcode result = curl_easy_perform(curl);
  long status = 0;
  curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
  curl_easy_cleanup(curl);
  return result == CURLE_OK && status == 200 ? body : std::string();
}

bool Icecast::WaitForMount(const std::string& mount, std::chrono::milliseconds timeout) const {
  auto deadline = std::chrono::steady_clock::now() + timeout;
  // A mount with a source is listed with its listen address.
  const std::string listed =
      "\"listenurl\":\"http://127.0.0.1:" + std::to_string(port_) + mount + "\"";
  while (std::chrono::steady_clock::now() < deadline) {
    if (Fetch(Url("/status-json.xsl"), false).find(listed) != std::string::npos) {
      return true;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return false;
}

void Icecast::StartSource(const std::string& mount, const std::string& shellCommand) {
  sources_.push_back(Spawn(shellCommand));
  if (!WaitForMount(mount, kStartTimeout)) {
    throw std::runtime_error("no source on " + mount);
  }
}

void Icecast::StartTone(const std::string& mount, int hz, int seconds, const std::string& name,
                        const std::string& encoding) {
  const std::string target = "icecast://source:" + std::string(kSourcePassword) +
                             "@127.0.0.1:" + std::to_string(port_) + mount;
  StartSource(mount, "exec ffmpeg -nostdin -loglevel error -re -f lavfi -i sine=frequency=" +
                         std::to_string(hz) +
                         ":sample_rate=44100:duration=" + std::to_string(seconds) + " -ac 2 " +
                         encoding + " -ice_name " + Quote(name) + " " + Quote(target));
}

void Icecast::StartMp3Tone(const std::string& mount, int hz, int seconds, const std::string& name) {
  StartTone(mount, hz, seconds, name, "-c:a libmp3lame -b:a 128k -content_type audio/mpeg -f mp3");
}

void Icecast::StartAacTone(const std::string& mount, int hz, int seconds, const std::string& name) {
  StartTone(mount, hz, seconds, name, "-c:a aac -b:a 96k -content_type audio/aac -f adts");
}

void Icecast::SetTitle(const std::string& mount, const std::string& song) {
  CURL* curl = curl_easy_init();
  char* m = curl_easy_escape(curl, mount.c_str(), 0);
  char* s = curl_easy_escape(curl, song.c_str(), 0);
  std::string url = Url("/admin/metadata") + "?mount=" + m + "&mode=updinfo&song=" + s;
  curl_free(m);
  curl_free(s);
  curl_easy_cleanup(curl);
  if (Fetch(url, true).empty()) {
    throw std::runtime_error("icecast refused the title on " + mount);
  }
}

void Icecast::StartOggSongs(const std::string& mount, const std::vector<OggSong>& songs) {
  // A pure tone compresses to a few kbit/s in Vorbis; a floor on the bitrate keeps the stream as
  // fast as a real station's, so a player buffers it in the usual time. Opus keeps its rate.
  std::string feeder = "{ ";
  for (const OggSong& song : songs) {
    feeder +=
        "ffmpeg -nostdin -loglevel error -re -f lavfi -i sine=frequency=" +
        std::to_string(song.hz) + ":sample_rate=" + std::to_string(song.rate) +
        ":duration=" + std::to_string(song.seconds) + " -ac " + std::to_string(song.channels) +
        (song.opus ? " -c:a libopus -b:a 64k -vbr off" : " -c:a libvorbis -b:a 64k -minrate 48k") +
        " -metadata ARTIST=" + Quote(song.artist) + " -metadata TITLE=" + Quote(song.title) +
        " -f ogg pipe:1; ";
  }
  feeder += "}";
  const std::string target = "icecast://source:" + std::string(kSourcePassword) +
                             "@127.0.0.1:" + std::to_string(port_) + mount;
  StartSource(mount, feeder +
                         " | exec ffmpeg -nostdin -loglevel error -f data -i pipe:0 -map 0 -c copy "
                         "-content_type application/ogg -f data " +
                         Quote(target));
}

}  // namespace fixture
