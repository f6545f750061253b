#pragma once

#include <string>

namespace quorva {

// tests/web/web_test_server.py running as a child process for as long as this object lives, on
// a loopback address of its own choosing (127.0.0.2, 127.0.0.3... act as other hosts). It
// serves until the connection it was given to report its port on closes, so it ends with the
// test however the test ends, under Wine too, where a Unix child gets no standard input or
// output of its Windows parent.
class WebTestServer {
 public:
  struct Options {
    std::string host = "127.0.0.1";
    bool tls = false;  // HTTPS with a self-signed certificate made for the host
  };
  WebTestServer();
  explicit WebTestServer(const Options& options);
  ~WebTestServer();
  WebTestServer(const WebTestServer&) = delete;
  WebTestServer& operator=(const WebTestServer&) = delete;

  // 0 when the server did not start; error() says why.
  int port() const { return port_; }
  const std::string& error() const { return error_; }
  // "http://host:port" + path ("https://" for TLS).
  std::string Url(const std::string& path) const;
  // The body of GET /_stats (the server's record of requests, as JSON), or "" when it could not
  // be read; plain HTTP servers only.
  std::string Stats() const;

 private:
  Options options_;
  int port_ = 0;
  std::string error_;
  long long lifeline_ = -1;  // the connection the server watches; a socket of either platform
  long long process_ = -1;   // the child's process id (POSIX) or process handle (Windows)
};

// An unused port on 127.0.0.1 that nothing listens on, for a refused connection.
int FreeLoopbackPort();

// Clears the proxy variables of this process and of what it starts: the tests talk to
// loopback servers only, and no proxy may stand between.
void ClearProxyVariables();

}  // namespace quorva
