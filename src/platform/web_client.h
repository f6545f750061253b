#pragma once

#include <chrono>
#include <cstddef>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace quorva {

// The web client's clock: milliseconds since a start of its own.
using WebTime = std::chrono::milliseconds;

// One request. The check follows redirects itself, so a client never does.
struct WebRequest {
  std::string url;   // absolute and ASCII: scheme and host in lower case, bytes above 127 escaped
  bool head = true;  // HEAD; else GET, which reads at most max_body bytes of the body and closes
  int timeout_seconds = 30;  // from the start to the last byte
  int connect_timeout_seconds = 10;
  std::size_t max_body = 64 * 1024;
};

// Why a request got no HTTP answer.
enum class WebFailure {
  kNone,         // an answer came
  kUnknownHost,  // the host name does not resolve
  kRefused,      // nothing listens there
  kTimeout,      // connecting or answering took longer than the request allows
  kReset,        // the connection broke while the request was sent or answered
  kClosed,       // the server closed the connection without answering
  kCertificate,  // the server's certificate is not trusted
  kOther,
};

struct WebAnswer {
  WebFailure failure = WebFailure::kNone;
  int status = 0;           // the HTTP status, where an answer came
  std::string location;     // the Location header as sent, if any
  std::string retry_after;  // the Retry-After header as sent, if any
  std::string detail;       // for a failure, the client's own words for it
};

// The web behind a seam: requests run concurrently behind it, and their answers come back as
// they arrive. Only the check's web requests use it.
class WebClient {
 public:
  virtual ~WebClient() = default;
  // Starts a request; its answer comes back from Wait with the same ticket.
  virtual void Start(std::size_t ticket, const WebRequest& request) = 0;
  // Waits until at least one answer has come or the clock reaches `until`; gives the answers
  // that came, each once.
  virtual std::vector<std::pair<std::size_t, WebAnswer>> Wait(WebTime until) = 0;
  // The clock that Wait keeps.
  virtual WebTime Now() = 0;
};

}  // namespace quorva
