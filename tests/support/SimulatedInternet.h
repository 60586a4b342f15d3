// The internet the program knows, on loopback: a streaming server (Icecast, fed by ffmpeg) with
// the stations of tests/fixtures/internet/stations.txt, and the fixture HTTP server playing the
// directory, the track-info service and the cover host from tests/fixtures/internet/routes.json.
// MapHosts() sends the program's built-in hosts there. Used by whole-program sessions and the
// demo. Failures to start throw std::runtime_error.
#pragma once

#include <chrono>
#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include "tests/support/HttpFixture.h"
#include "tests/support/Icecast.h"

namespace fixture {

class SimulatedInternet {
 public:
  struct Options {
    // How long the MP3 stations play before their sources end.
    std::chrono::seconds mp3Length = std::chrono::hours(8);
    // How long each song of an Ogg station lasts; the station ends after its last song.
    std::chrono::seconds oggSongLength = std::chrono::seconds(60);
    // What the streaming server sends a new listener at once of the audio already sent.
    int burstBytes = Icecast::kDefaultBurstBytes;
  };

  struct Station {
    std::string mount;  // "/drift.mp3"
    int hz = 0;
    std::string name;
    std::vector<std::string> titles;  // "Artist - Title", in turn
    bool ogg() const;
  };

  // Started and answering when this returns; every MP3 station announces its first title.
  SimulatedInternet();
  explicit SimulatedInternet(const Options& options);
  // Stops the servers; the host map is left to the caller.
  ~SimulatedInternet() = default;
  SimulatedInternet(const SimulatedInternet&) = delete;
  SimulatedInternet& operator=(const SimulatedInternet&) = delete;

  // Sends the directory, track-info, cover and station hosts (port 80) to these servers, and
  // the keyless cover sources where they fail at once.
  void MapHosts() const;

  const std::vector<Station>& stations() const { return stations_; }
  HttpFixture& web() { return web_; }
  Icecast& icecast() { return icecast_; }

  // Announces `song` on an MP3 station's mount.
  void SetTitle(const std::string& mount, const std::string& song);
  // Announces the MP3 station's next title in turn and returns it.
  std::string NextTitle(const std::string& mount);

 private:
  std::vector<Station> stations_;
  std::map<std::string, std::size_t> titleIndex_;
  HttpFixture web_;
  Icecast icecast_;
};

// The stations of a stations.txt file; throws when a line is malformed.
std::vector<SimulatedInternet::Station> ReadStations(const std::string& path);

}  // namespace fixture
