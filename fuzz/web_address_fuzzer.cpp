// Fuzzes what the web check makes of untrusted text: a link of a page (MakeWebAddress), a
// server's Location header (ResolveRedirect) and the cache file (ParseWebCache). The input is
// a link, a line break, a Location, a line break, and a cache file's text. Every address asked
// is ASCII without spaces or control bytes and is asked the same when read again; what a detail
// shows of a server's text holds no control byte; a cache read whole writes back text that
// reads back to the same entries.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "fuzz_property.h"
#include "passes/check/web_address.h"
#include "passes/check/web_cache.h"
#include "text/utc_time.h"

namespace quorva {
namespace {

bool IsPlainAscii(const std::string& text) {
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte <= 0x20 || byte >= 0x7F) {
      return false;
    }
  }
  return true;
}

bool HasControlByte(const std::string& text) {
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte <= 0x20 || byte == 0x7F) {
      return true;
    }
  }
  return false;
}

void CheckAddress(const std::optional<WebAddress>& address) {
  if (!address) {
    return;
  }
  RequireProperty(IsPlainAscii(address->url), "an address asked is ASCII without spaces");
  RequireProperty(address->host_key.compare(0, address->host.size(), address->host) == 0,
                  "the host key starts with the host");
  const std::optional<WebAddress> again = MakeWebAddress(address->url);
  RequireProperty(again && again->url == address->url && again->is_private == address->is_private,
                  "an address asked is asked the same when read again");
}

}  // namespace
}  // namespace quorva

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quorva;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t first = input.find('\n');
  const std::string_view link = input.substr(0, first);
  const std::string_view rest = first == std::string_view::npos ? "" : input.substr(first + 1);
  const std::size_t second = rest.find('\n');
  const std::string_view location = rest.substr(0, second);
  const std::string_view cache = second == std::string_view::npos ? "" : rest.substr(second + 1);

  const std::optional<WebAddress> address = MakeWebAddress(link);
  CheckAddress(address);
  CheckAddress(ResolveRedirect(address ? address->url : "http://example.com/a/b?c", location));
  RequireProperty(!HasControlByte(EscapeUnsafeBytes(location)),
                  "a server's text shown holds no control byte");
  ParseHttpDate(location);

  const WebCacheRead read = ParseWebCache(cache);
  if (read.problem.empty()) {
    const std::string written = FormatWebCache(read.entries);
    const WebCacheRead again = ParseWebCache(written);
    RequireProperty(again.problem.empty(), "a cache written reads back whole");
    RequireProperty(FormatWebCache(again.entries) == written,
                    "a cache written reads back to the same entries");
  }
  return 0;
}
