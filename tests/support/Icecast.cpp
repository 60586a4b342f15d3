#include "tests/support/Icecast.h"

#include <curl/curl.h>
#include <pwd.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <thread>

#include "tests/support/Fetch.h"
#include "tests/support/LoopbackPort.h"

namespace fixture {
namespace {

constexpr char kSourcePassword[] = "hackme-source";
constexpr char kAdminPassword[] = "hackme-admin";
constexpr std::chrono::seconds kStartTimeout{15};

// Runs `command` through sh in a process group of its own; the group ends with the test.
std::unique_ptr<ChildProcess> Spawn(const std::string& command) {
  return std::make_unique<ChildProcess>(std::vector<std::string>{"/bin/sh", "-c", command},
                                        ChildProcess::Options{.ownGroup = true});
}

std::string Quote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) {
    quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  }
  return quoted + "'";
}

std::string Config(const std::string& dir, int port, int burstBytes) {
  return "<icecast>\n"
         "  <limits><sources>8</sources><clients>64</clients><burst-size>" +
         std::to_string(burstBytes) +
         "</burst-size></limits>\n"
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

Icecast::Icecast(int burstBytes) {
  port_ = FreeLoopbackPort();
  {
    std::ofstream config(dir_.File("icecast.xml"));
    config << Config(dir_.path(), port_, burstBytes);
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
      throw std::runtime_error("icecast2 did not answer in time");
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
}

Icecast::~Icecast() {
  sources_.clear();
  server_.reset();
}

std::string Icecast::Url(const std::string& mount) const {
  return "http://127.0.0.1:" + std::to_string(port_) + mount;
}

std::string Icecast::Fetch(const std::string& url, bool admin) const {
  FetchRequest request{.url = url, .timeoutMs = 3000};
  if (admin) {
    request.user = "admin";
    request.password = kAdminPassword;
  }
  const Fetched reply = fixture::Fetch(request);
  return reply.Ok() ? reply.body : std::string();
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
  sources_.push_back({mount, Spawn(shellCommand)});
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

void Icecast::EndSource(const std::string& mount) {
  for (Source& source : sources_) {
    if (source.mount == mount) {
      source.process->Stop();
    }
  }
}

void Icecast::StartMp3Tone(const std::string& mount, int hz, int seconds, const std::string& name) {
  StartTone(mount, hz, seconds, name, "-c:a libmp3lame -b:a 128k -content_type audio/mpeg -f mp3");
}

void Icecast::StartAacTone(const std::string& mount, int hz, int seconds, const std::string& name) {
  StartAacTone(mount, hz, seconds, name, 96);
}

void Icecast::StartAacTone(const std::string& mount, int hz, int seconds, const std::string& name,
                           int kbps) {
  StartTone(mount, hz, seconds, name,
            "-c:a aac -b:a " + std::to_string(kbps) + "k -content_type audio/aac -f adts");
}

void Icecast::SetTitle(const std::string& mount, const std::string& song) {
  char* m = curl_easy_escape(nullptr, mount.c_str(), 0);
  char* s = curl_easy_escape(nullptr, song.c_str(), 0);
  const std::string url = Url("/admin/metadata") + "?mount=" + m + "&mode=updinfo&song=" + s;
  curl_free(m);
  curl_free(s);
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
