// A real Icecast 2 server on a free loopback port, with ffmpeg as the source client: an MP3 or
// AAC tone whose title is changed through the admin interface, and chained Ogg songs (Vorbis or
// Opus) whose comments change. One server can carry several mounts; share it within a test program.
// Failures to start throw std::runtime_error.
#pragma once

#include "tests/support/ChildProcess.h"
#include "tests/support/TempDir.h"

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace fixture {

class Icecast {
 public:
  // What a new listener gets at once of the audio already sent: 64 KB, as Icecast's own default.
  static constexpr int kDefaultBurstBytes = 65536;

  // Started and answering when this returns.
  explicit Icecast(int burstBytes = kDefaultBurstBytes);
  ~Icecast();  // stops the sources, then the server
  Icecast(const Icecast&) = delete;
  Icecast& operator=(const Icecast&) = delete;

  int port() const { return port_; }
  // "http://127.0.0.1:PORT" + mount ("/tone.mp3").
  std::string Url(const std::string& mount) const;

  // Sends a `hz` sine tone as 128 kbit/s 44.1 kHz stereo MP3 to `mount`, in real time, for
  // `seconds`, with `name` as the station's icy-name. Returns once the mount is listed.
  void StartMp3Tone(const std::string& mount, int hz, int seconds,
                    const std::string& name = "Tone 440");
  // The same as 96 kbit/s AAC in ADTS frames, sent as audio/aac.
  void StartAacTone(const std::string& mount, int hz, int seconds, const std::string& name);
  // The same at `kbps` kbit/s.
  void StartAacTone(const std::string& mount, int hz, int seconds, const std::string& name,
                    int kbps);
  // Announces a new title on an MP3 or AAC mount ("Artist - Title"); listeners get it with the next
  // metadata block.
  void SetTitle(const std::string& mount, const std::string& song);

  struct OggSong {
    std::string artist;
    std::string title;
    int hz = 440;
    double seconds = 3;
    int rate = 44100;
    int channels = 2;
    bool opus = false;  // Opus instead of Vorbis; its `rate` must be one Opus takes (48000)
  };
  // Sends the songs one after another to `mount` as chained Ogg (one logical stream per song,
  // ARTIST and TITLE comments), in real time; the source ends after the last song.
  // Returns once the mount is listed.
  void StartOggSongs(const std::string& mount, const std::vector<OggSong>& songs);

  // Ends the source of `mount` before its time, as a station that goes off the air: Icecast drops
  // its listeners and answers 404 until a source is back.
  void EndSource(const std::string& mount);

  // True once `mount` has a source, false when `timeout` passes first.
  bool WaitForMount(const std::string& mount, std::chrono::milliseconds timeout) const;

 private:
  void StartSource(const std::string& mount, const std::string& shellCommand);
  // A sine tone in real time through ffmpeg with `encoding` (codec, rate, content type, muxer).
  void StartTone(const std::string& mount, int hz, int seconds, const std::string& name,
                 const std::string& encoding);
  std::string Fetch(const std::string& url, bool admin) const;

  TempDir dir_;
  int port_ = 0;
  std::unique_ptr<ChildProcess> server_;
  struct Source {
    std::string mount;
    std::unique_ptr<ChildProcess> process;  // in a process group of its own
  };
  std::vector<Source> sources_;
};

}  // namespace fixture
