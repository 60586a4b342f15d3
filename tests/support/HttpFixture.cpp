#include "tests/support/HttpFixture.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <strings.h>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <stdexcept>

#include "tests/support/Fetch.h"

namespace fixture {
namespace {

constexpr int kStartTimeoutMs = 15000;
constexpr long kControlTimeoutMs = 15000;

std::string ServerScript() {
  return std::string(TUNEDECK_SOURCE_DIR) + "/tests/support/fixture_server.py";
}

std::string JsonString(std::string_view text) {
  std::string out = "\"";
  for (unsigned char c : text) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      default:
        if (c < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
          out += escaped;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  return out + "\"";
}

std::string RouteJson(const Route& route) {
  std::ostringstream json;
  json << "{\"path\": " << JsonString(route.path);
  if (!route.query.empty())
    json << ", \"query\": " << JsonString(route.query);
  if (route.status != 0)
    json << ", \"status\": " << route.status;
  if (!route.statusLine.empty())
    json << ", \"status_line\": " << JsonString(route.statusLine);
  if (!route.headers.empty()) {
    json << ", \"headers\": {";
    const char* separator = "";
    for (const auto& [name, value] : route.headers) {
      json << separator << JsonString(name) << ": " << JsonString(value);
      separator = ", ";
    }
    json << "}";
  }
  if (!route.body.empty())
    json << ", \"body\": " << JsonString(route.body);
  if (!route.bodyFile.empty())
    json << ", \"body_file\": " << JsonString(route.bodyFile);
  if (route.hugeBody >= 0)
    json << ", \"huge_body\": " << route.hugeBody;
  if (!route.contentLength)
    json << ", \"content_length\": false";
  if (!route.redirect.empty())
    json << ", \"redirect\": " << JsonString(route.redirect);
  if (route.headerDelaySeconds > 0)
    json << ", \"header_delay\": " << route.headerDelaySeconds;
  if (route.stallAfter >= 0) {
    json << ", \"stall_after\": " << route.stallAfter
         << ", \"stall_seconds\": " << route.stallSeconds;
  }
  if (route.dropAfter >= 0)
    json << ", \"drop_after\": " << route.dropAfter;
  if (route.trickleBytesPerSecond > 0)
    json << ", \"trickle\": " << route.trickleBytesPerSecond;
  if (!route.generator.empty())
    json << ", \"generator\": " << JsonString(route.generator);
  if (!route.extraJson.empty())
    json << ", " << route.extraJson;
  if (!route.then.empty())
    json << ", \"then\": " << RouteJson(route.then.front());
  json << "}";
  return json.str();
}

// Reads the "PORT <n>" line the server prints once it listens.
int ReadPort(int fd) {
  std::string line;
  while (line.find('\n') == std::string::npos) {
    pollfd waiting{fd, POLLIN, 0};
    if (poll(&waiting, 1, kStartTimeoutMs) <= 0) {
      throw std::runtime_error("fixture server did not start in time");
    }
    char buffer[64];
    const ssize_t got = read(fd, buffer, sizeof buffer);
    if (got <= 0) {
      throw std::runtime_error("fixture server ended before it listened");
    }
    line.append(buffer, static_cast<size_t>(got));
  }
  int port = 0;
  if (std::sscanf(line.c_str(), "PORT %d", &port) != 1 || port <= 0) {
    throw std::runtime_error("fixture server said: " + line);
  }
  return port;
}

std::vector<LoggedRequest> ParseLog(const std::string& text) {
  std::vector<LoggedRequest> requests;
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    if (line.rfind("> ", 0) == 0) {
      LoggedRequest request;
      std::istringstream words(line.substr(2));
      words >> request.method >> request.path;
      std::getline(words >> std::ws, request.query);
      requests.push_back(std::move(request));
    } else if (!line.empty() && !requests.empty()) {
      const size_t colon = line.find(": ");
      if (colon != std::string::npos) {
        requests.back().headers.emplace_back(line.substr(0, colon), line.substr(colon + 2));
      }
    }
  }
  return requests;
}

}  // namespace

std::string LoggedRequest::Header(std::string_view name) const {
  for (const auto& [key, value] : headers) {
    if (key.size() == name.size() && strncasecmp(key.data(), name.data(), name.size()) == 0) {
      return value;
    }
  }
  return {};
}

Certificate MakeSelfSignedCertificate(const std::string& dir,
                                      const std::vector<std::string>& hostNames) {
  Certificate made{dir + "/cert.pem", dir + "/key.pem"};
  std::string names = "IP:127.0.0.1,DNS:localhost";
  for (const std::string& name : hostNames) {
    names += ",DNS:" + name;
  }
  const std::string command =
      "openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 2"
      " -subj /CN=127.0.0.1 -addext subjectAltName=" +
      names + " -keyout '" + made.keyFile + "' -out '" + made.certFile + "' >/dev/null 2>&1";
  if (std::system(command.c_str()) != 0) {
    throw std::runtime_error("openssl could not make a certificate");
  }
  return made;
}

std::string FixturePath(std::string_view relative) {
  return std::string(TUNEDECK_SOURCE_DIR) + "/tests/fixtures/" + std::string(relative);
}

HttpFixture::HttpFixture() : HttpFixture(Options{}) {}

HttpFixture::HttpFixture(const Options& options) {
  std::vector<std::string> args = {"python3", ServerScript()};
  if (!options.routesFile.empty()) {
    args.insert(args.end(), {"--routes", options.routesFile});
  }
  if (!options.certificate.certFile.empty()) {
    args.insert(args.end(),
                {"--cert", options.certificate.certFile, "--key", options.certificate.keyFile});
    tls_ = true;
    caFile_ = options.certificate.certFile;
  }
  int out[2];
  if (pipe2(out, O_CLOEXEC) != 0) {
    throw std::runtime_error("pipe failed");
  }
  try {
    server_ = std::make_unique<ChildProcess>(args, ChildProcess::Options{.standardOutput = out[1]});
  } catch (...) {
    close(out[0]);
    close(out[1]);
    throw;
  }
  close(out[1]);
  try {
    port_ = ReadPort(out[0]);
  } catch (...) {
    close(out[0]);
    throw;  // server_ stops the server
  }
  close(out[0]);
}

std::string HttpFixture::BaseUrl() const {
  return std::string(tls_ ? "https" : "http") + "://127.0.0.1:" + std::to_string(port_);
}

std::string HttpFixture::Control(const std::string& path, const std::string* postBody) const {
  const Fetched reply = Fetch({.url = BaseUrl() + "/__fixture/" + path,
                               .postBody = postBody,
                               .trustedCertificate = caFile_,
                               .timeoutMs = kControlTimeoutMs});
  if (!reply.Ok()) {
    throw std::runtime_error("fixture control " + path +
                             " failed: " + curl_easy_strerror(reply.result) + " " + reply.body);
  }
  return reply.body;
}

void HttpFixture::AddRoute(const Route& route) {
  const std::string json = RouteJson(route);
  Control("routes", &json);
}

std::vector<LoggedRequest> HttpFixture::Requests() const {
  return ParseLog(Control("log", nullptr));
}

std::size_t HttpFixture::CountRequests(std::string_view path) const {
  std::size_t count = 0;
  for (const LoggedRequest& request : Requests()) {
    if (request.path == path)
      ++count;
  }
  return count;
}

void HttpFixture::ClearLog() {
  const std::string empty;
  Control("log/clear", &empty);
}

}  // namespace fixture
