#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quorva {

// A web address as the check asks it.
struct WebAddress {
  // Scheme and host in lower case, the default port dropped, an empty path as "/", the fragment
  // dropped, bytes above 127 and spaces percent-encoded, a host beyond ASCII in its IDNA form.
  std::string url;
  std::string host;      // as asked: lower case, ASCII; an IPv6 address in brackets
  std::string host_key;  // "host:port", the port always given: the unit of politeness
  // The host is this machine, a private network, link-local, or a name that cannot be public.
  bool is_private = false;
};

// True for a link (character references decoded) whose scheme is http or https.
bool IsWebLink(std::string_view decoded_link);

// The address a web link (character references decoded) asks; nothing when it cannot be made
// into a valid URL.
std::optional<WebAddress> MakeWebAddress(std::string_view decoded_link);

// Text a server sent, fit for a finding's detail: control bytes and spaces percent-encoded, so
// that no escape sequence reaches the terminal.
std::string EscapeUnsafeBytes(std::string_view text);

// Where a redirect from `from` (an address as asked) leads: its Location resolved against it
// as a browser would; nothing when that is no valid http or https address.
std::optional<WebAddress> ResolveRedirect(const std::string& from, std::string_view location);

}  // namespace quorva
