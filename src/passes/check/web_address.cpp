#include "passes/check/web_address.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "text/text_utils.h"
#include "text/utf8.h"
#include "text/wildcard.h"

namespace quorva {

namespace {

bool IsAsciiLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// What a browser reads of a link: white space around it dropped, tabs and line breaks in it
// removed.
std::string CleanLink(std::string_view link) {
  while (!link.empty() && IsAsciiWhiteSpace(link.front())) {
    link.remove_prefix(1);
  }
  while (!link.empty() && IsAsciiWhiteSpace(link.back())) {
    link.remove_suffix(1);
  }
  std::string clean;
  for (char c : link) {
    if (c != '\t' && c != '\n' && c != '\r') {
      clean += c;
    }
  }
  return clean;
}

// The link's scheme in lower case, or "" when it has none.
std::string SchemeOf(std::string_view link) {
  const std::size_t colon = link.find(':');
  if (colon == std::string_view::npos || colon == 0 || !IsAsciiLetter(link[0])) {
    return "";
  }
  for (std::size_t i = 1; i < colon; ++i) {
    const char c = link[i];
    if (!IsAsciiLetter(c) && !IsDigit(c) && c != '+' && c != '-' && c != '.') {
      return "";
    }
  }
  return FoldAsciiCase(link.substr(0, colon));
}

// A part of an IPv4 address as browsers read it: decimal, octal after "0", hex after "0x".
std::optional<std::uint64_t> ParseIpv4Part(std::string_view part) {
  unsigned base = 10;
  if (part.size() >= 2 && part[0] == '0' && (part[1] == 'x' || part[1] == 'X')) {
    base = 16;
    part.remove_prefix(2);
  } else if (part.size() >= 2 && part[0] == '0') {
    base = 8;
    part.remove_prefix(1);
  }
  std::uint64_t value = 0;
  for (char c : part) {
    const int digit = HexDigitValue(c);
    if (digit < 0 || static_cast<unsigned>(digit) >= base) {
      return std::nullopt;
    }
    value = value * base + static_cast<unsigned>(digit);
    if (value > 0xFFFFFFFFu) {
      return std::nullopt;
    }
  }
  return value;
}

bool EndsInNumber(std::string_view host) {
  if (!host.empty() && host.back() == '.') {
    host.remove_suffix(1);
  }
  const std::size_t dot = host.rfind('.');
  const std::string_view last = dot == std::string_view::npos ? host : host.substr(dot + 1);
  if (last.empty()) {
    return false;
  }
  if (last.size() >= 2 && last[0] == '0' && last[1] == 'x') {
    return true;
  }
  for (char c : last) {
    if (!IsDigit(c)) {
      return false;
    }
  }
  return true;
}

// A host whose last label is a number is an IPv4 address to a browser, in any of its forms
// ("127.1", "0x7f.0.0.1", "2130706433").
std::optional<std::uint32_t> ParseIpv4(std::string_view host) {
  if (!host.empty() && host.back() == '.') {
    host.remove_suffix(1);
  }
  std::vector<std::uint64_t> parts;
  std::size_t start = 0;
  while (true) {
    const std::size_t dot = host.find('.', start);
    const std::string_view part = host.substr(start, dot - start);
    std::optional<std::uint64_t> value;
    if (part.empty() || !(value = ParseIpv4Part(part)) || parts.size() == 4) {
      return std::nullopt;
    }
    parts.push_back(*value);
    if (dot == std::string_view::npos) {
      break;
    }
    start = dot + 1;
  }
  std::uint64_t address = 0;
  for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
    if (parts[i] > 255) {
      return std::nullopt;
    }
    address = (address << 8) | parts[i];
  }
  const unsigned last_bits = static_cast<unsigned>(8 * (5 - parts.size()));
  if (parts.back() >= (std::uint64_t{1} << last_bits)) {
    return std::nullopt;
  }
  return static_cast<std::uint32_t>((address << last_bits) | parts.back());
}

bool IsPrivateIpv4(std::uint32_t address) {
  const unsigned first = address >> 24;
  const unsigned second = (address >> 16) & 0xFF;
  return first == 0 || first == 10 || first == 127 || (first == 169 && second == 254) ||
         (first == 172 && second >= 16 && second <= 31) || (first == 192 && second == 168);
}

// An IPv6 address's sixteen bytes; nothing when it is none.
std::optional<std::array<std::uint8_t, 16>> ParseIpv6(std::string_view text) {
  std::vector<std::uint16_t> head;
  std::vector<std::uint16_t> tail;
  bool compressed = false;
  std::size_t i = 0;
  if (text.compare(0, 2, "::") == 0) {
    compressed = true;
    i = 2;
  }
  while (i < text.size()) {
    std::vector<std::uint16_t>& groups = compressed ? tail : head;
    const std::size_t end = text.find(':', i);
    const std::string_view group = text.substr(i, end - i);
    if (group.find('.') != std::string_view::npos && end == std::string_view::npos) {
      // An IPv4 address in its last 32 bits, in dotted decimal only.
      for (char c : group) {
        if (!IsDigit(c) && c != '.') {
          return std::nullopt;
        }
      }
      std::optional<std::uint32_t> v4 = ParseIpv4(group);
      if (!v4 || std::count(group.begin(), group.end(), '.') != 3) {
        return std::nullopt;
      }
      groups.push_back(static_cast<std::uint16_t>(*v4 >> 16));
      groups.push_back(static_cast<std::uint16_t>(*v4 & 0xFFFF));
      break;
    }
    if (group.empty() || group.size() > 4) {
      return std::nullopt;
    }
    std::uint16_t value = 0;
    for (char c : group) {
      const int digit = HexDigitValue(c);
      if (digit < 0) {
        return std::nullopt;
      }
      value = static_cast<std::uint16_t>(value * 16 + digit);
    }
    groups.push_back(value);
    if (end == std::string_view::npos) {
      break;
    }
    i = end + 1;
    if (i < text.size() && text[i] == ':') {
      if (compressed) {
        return std::nullopt;
      }
      compressed = true;
      ++i;
    } else if (i == text.size()) {
      return std::nullopt;
    }
  }
  const std::size_t count = head.size() + tail.size();
  if (compressed ? count > 7 : count != 8) {
    return std::nullopt;
  }
  head.resize(8 - tail.size(), 0);
  head.insert(head.end(), tail.begin(), tail.end());
  std::array<std::uint8_t, 16> bytes{};
  for (std::size_t g = 0; g < 8; ++g) {
    bytes[2 * g] = static_cast<std::uint8_t>(head[g] >> 8);
    bytes[2 * g + 1] = static_cast<std::uint8_t>(head[g] & 0xFF);
  }
  return bytes;
}

bool IsPrivateIpv6(const std::array<std::uint8_t, 16>& bytes) {
  bool zero_head = true;  // the first 80 bits
  for (std::size_t i = 0; i < 10; ++i) {
    zero_head = zero_head && bytes[i] == 0;
  }
  if (zero_head && bytes[10] == 0 && bytes[11] == 0 && bytes[12] == 0 && bytes[13] == 0 &&
      bytes[14] == 0 && bytes[15] <= 1) {
    return true;  // :: and ::1
  }
  if (zero_head && bytes[10] == 0xFF && bytes[11] == 0xFF) {
    return IsPrivateIpv4(static_cast<std::uint32_t>(bytes[12]) << 24 | bytes[13] << 16 |
                         bytes[14] << 8 | bytes[15]);
  }
  return (bytes[0] & 0xFE) == 0xFC || (bytes[0] == 0xFE && (bytes[1] & 0xC0) == 0x80);
}

// Names that never lead to the public web.
bool IsPrivateName(std::string_view host) {
  if (!host.empty() && host.back() == '.') {
    host.remove_suffix(1);
  }
  return host == "localhost" || EndsWithWithoutCase(host, ".localhost") ||
         EndsWithWithoutCase(host, ".local") || host.find('.') == std::string_view::npos;
}

// Lower case for the letters of the scripts whose capitals host names most often hold (Latin,
// Greek, Cyrillic), as browsers map them before IDNA.
std::uint32_t FoldLetterCase(std::uint32_t code) {
  if ((code >= 'A' && code <= 'Z') || (code >= 0xC0 && code <= 0xDE && code != 0xD7) ||
      (code >= 0x391 && code <= 0x3AB && code != 0x3A2) || (code >= 0x410 && code <= 0x42F)) {
    return code + 0x20;
  }
  if (code >= 0x400 && code <= 0x40F) {
    return code + 0x50;
  }
  if (code == 0x178) {
    return 0xFF;
  }
  const bool even_capitals = (code >= 0x100 && code <= 0x137 && code != 0x130) ||
                             (code >= 0x14A && code <= 0x177) || (code >= 0x460 && code <= 0x4BF);
  const bool odd_capitals = (code >= 0x139 && code <= 0x148) || (code >= 0x179 && code <= 0x17E);
  if ((even_capitals && code % 2 == 0) || (odd_capitals && code % 2 == 1)) {
    return code + 1;
  }
  return code;
}

// A label beyond ASCII in Punycode, with its "xn--".
std::string EncodePunycode(const std::vector<std::uint32_t>& codes) {
  constexpr std::uint32_t kBase = 36, kTMin = 1, kTMax = 26, kSkew = 38, kDamp = 700;
  auto digit = [](std::uint32_t d) { return static_cast<char>(d < 26 ? 'a' + d : '0' + d - 26); };
  auto adapt = [&](std::uint32_t delta, std::uint32_t points, bool first) {
    delta = first ? delta / kDamp : delta / 2;
    delta += delta / points;
    std::uint32_t k = 0;
    while (delta > ((kBase - kTMin) * kTMax) / 2) {
      delta /= kBase - kTMin;
      k += kBase;
    }
    return k + (kBase - kTMin + 1) * delta / (delta + kSkew);
  };
  std::string out = "xn--";
  for (std::uint32_t code : codes) {
    if (code < 0x80) {
      out += FoldAsciiCase(static_cast<char>(code));
    }
  }
  const std::size_t basic = out.size() - 4;
  if (basic != 0) {
    out += '-';
  }
  std::uint32_t n = 0x80, delta = 0, bias = 72;
  std::size_t handled = basic;
  while (handled < codes.size()) {
    std::uint32_t next = 0x10FFFF + 1;
    for (std::uint32_t code : codes) {
      if (code >= n && code < next) {
        next = code;
      }
    }
    delta += (next - n) * static_cast<std::uint32_t>(handled + 1);
    n = next;
    for (std::uint32_t code : codes) {
      if (code < n) {
        ++delta;
      } else if (code == n) {
        std::uint32_t q = delta;
        for (std::uint32_t k = kBase;; k += kBase) {
          const std::uint32_t t = k <= bias ? kTMin : k >= bias + kTMax ? kTMax : k - bias;
          if (q < t) {
            break;
          }
          out += digit(t + (q - t) % (kBase - t));
          q = (q - t) / (kBase - t);
        }
        out += digit(q);
        bias = adapt(delta, static_cast<std::uint32_t>(handled + 1), handled == basic);
        delta = 0;
        ++handled;
      }
    }
    ++delta;
    ++n;
  }
  return out;
}

// A host name's labels in lower case, each beyond ASCII in its IDNA form; nothing when a
// character no host may hold is in it.
std::optional<std::string> MakeAsciiHost(std::string_view host) {
  std::string ascii;
  std::size_t start = 0;
  while (start <= host.size()) {
    std::size_t dot = host.find('.', start);
    if (dot == std::string_view::npos) {
      dot = host.size();
    }
    const std::string_view label = host.substr(start, dot - start);
    bool beyond_ascii = false;
    for (char c : label) {
      const auto byte = static_cast<unsigned char>(c);
      if (byte >= 0x80) {
        beyond_ascii = true;
      } else if (!IsAsciiLetter(c) && !IsDigit(c) && c != '-' && c != '_') {
        return std::nullopt;
      }
    }
    if (label.empty() && dot != host.size()) {
      return std::nullopt;  // "a..b": only the last label may be empty, after a final dot
    }
    if (beyond_ascii) {
      std::optional<std::vector<std::uint32_t>> codes = DecodeUtf8(label);
      if (!codes) {
        return std::nullopt;
      }
      for (std::uint32_t& code : *codes) {
        code = FoldLetterCase(code);
      }
      ascii += EncodePunycode(*codes);
    } else {
      ascii += FoldAsciiCase(label);
    }
    if (dot == host.size()) {
      break;
    }
    ascii += '.';
    start = dot + 1;
  }
  return ascii;
}

void AppendPercentEncoded(std::string& out, unsigned char byte) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  out += '%';
  out += kHex[byte >> 4];
  out += kHex[byte & 0xF];
}

// The path, query and what else follows the host, as written but for bytes no URL may hold.
std::string EscapeRest(std::string_view rest) {
  std::string escaped;
  for (char c : rest) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte <= 0x20 || byte >= 0x7F || c == '"' || c == '<' || c == '>' || c == '`' || c == '{' ||
        c == '}') {
      AppendPercentEncoded(escaped, byte);
    } else {
      escaped += c == '\\' ? '/' : c;
    }
  }
  return escaped;
}

// "." and ".." segments of a path folded away.
std::string RemoveDotSegments(std::string_view path) {
  std::vector<std::string_view> segments;
  std::size_t start = 1;  // after the leading "/"
  bool ends_in_folder = false;
  while (start <= path.size()) {
    std::size_t slash = path.find('/', start);
    if (slash == std::string_view::npos) {
      slash = path.size();
    }
    const std::string_view segment = path.substr(start, slash - start);
    ends_in_folder = segment == "." || segment == "..";
    if (segment == "..") {
      if (!segments.empty()) {
        segments.pop_back();
      }
    } else if (segment != ".") {
      segments.push_back(segment);
    }
    start = slash + 1;
  }
  std::string folded;
  for (std::string_view segment : segments) {
    folded += '/';
    folded += segment;
  }
  if (ends_in_folder || folded.empty()) {
    folded += '/';
  }
  return folded;
}

}  // namespace

std::string EscapeUnsafeBytes(std::string_view text) {
  std::string escaped;
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte <= 0x20 || byte == 0x7F) {
      AppendPercentEncoded(escaped, byte);
    } else {
      escaped += c;
    }
  }
  return escaped;
}

bool IsWebLink(std::string_view decoded_link) {
  const std::string scheme = SchemeOf(CleanLink(decoded_link));
  return scheme == "http" || scheme == "https";
}

std::optional<WebAddress> MakeWebAddress(std::string_view decoded_link) {
  const std::string link = CleanLink(decoded_link);
  const std::string scheme = SchemeOf(link);
  if (scheme != "http" && scheme != "https") {
    return std::nullopt;
  }
  std::size_t start = scheme.size() + 1;
  while (start < link.size() && (link[start] == '/' || link[start] == '\\')) {
    ++start;
  }
  const std::size_t authority_end = link.find_first_of("/\\?#", start);
  std::string_view authority = std::string_view(link).substr(start, authority_end - start);
  std::string_view rest = authority_end == std::string::npos
                              ? std::string_view()
                              : std::string_view(link).substr(authority_end);
  rest = rest.substr(0, rest.find('#'));
  std::string userinfo;
  const std::size_t at = authority.rfind('@');
  if (at != std::string_view::npos) {
    userinfo = EscapeRest(authority.substr(0, at + 1));
    authority.remove_prefix(at + 1);
  }
  std::string_view host = authority;
  std::string_view port;
  const std::size_t colon = authority.rfind(':');
  const std::size_t bracket = authority.rfind(']');
  if (colon != std::string_view::npos && (bracket == std::string_view::npos || colon > bracket)) {
    host = authority.substr(0, colon);
    port = authority.substr(colon + 1);
  }
  if (host.empty() || port.size() > 5) {
    return std::nullopt;
  }
  unsigned port_number = scheme == "http" ? 80 : 443;
  if (!port.empty()) {
    port_number = 0;
    for (char c : port) {
      if (!IsDigit(c)) {
        return std::nullopt;
      }
      port_number = port_number * 10 + static_cast<unsigned>(c - '0');
    }
    if (port_number > 65535) {
      return std::nullopt;
    }
  }
  WebAddress address;
  if (host.front() == '[') {
    std::optional<std::array<std::uint8_t, 16>> bytes;
    if (host.back() != ']' || !(bytes = ParseIpv6(host.substr(1, host.size() - 2)))) {
      return std::nullopt;
    }
    address.host = FoldAsciiCase(host);
    address.is_private = IsPrivateIpv6(*bytes);
  } else {
    std::optional<std::string> ascii = MakeAsciiHost(host);
    if (!ascii || ascii->empty() || ascii->front() == '.') {
      return std::nullopt;
    }
    address.host = *ascii;
    if (EndsInNumber(address.host)) {
      std::optional<std::uint32_t> v4 = ParseIpv4(address.host);
      if (!v4) {
        return std::nullopt;
      }
      address.is_private = IsPrivateIpv4(*v4);
    } else {
      address.is_private = IsPrivateName(address.host);
    }
  }
  const bool default_port = port_number == (scheme == "http" ? 80u : 443u);
  address.host_key = address.host + ":" + std::to_string(port_number);
  address.url = scheme + "://" + userinfo + address.host +
                (default_port ? "" : ":" + std::to_string(port_number)) +
                (rest.empty() || rest.front() == '?' ? "/" : "") + EscapeRest(rest);
  return address;
}

std::optional<WebAddress> ResolveRedirect(const std::string& from, std::string_view location) {
  const std::string target = CleanLink(location);
  if (!SchemeOf(target).empty()) {
    return MakeWebAddress(target);
  }
  const std::size_t scheme_end = from.find("://");
  if (target.compare(0, 2, "//") == 0) {
    return MakeWebAddress(from.substr(0, scheme_end + 1) + target);
  }
  const std::size_t path_start = from.find('/', scheme_end + 3);
  const std::string origin = from.substr(0, path_start);
  const std::string path_and_query = from.substr(path_start);
  const std::string path = path_and_query.substr(0, path_and_query.find('?'));
  if (target.empty()) {
    return MakeWebAddress(from);
  }
  if (target.front() == '?') {
    return MakeWebAddress(origin + path + target);
  }
  if (target.front() == '#') {
    return MakeWebAddress(from);
  }
  const std::size_t query = target.find_first_of("?#");
  const std::string_view target_path = std::string_view(target).substr(0, query);
  const std::string_view tail =
      query == std::string::npos ? std::string_view() : std::string_view(target).substr(query);
  const std::string merged = target_path.front() == '/'
                                 ? std::string(target_path)
                                 : path.substr(0, path.rfind('/') + 1) + std::string(target_path);
  return MakeWebAddress(origin + RemoveDotSegments(merged) + std::string(tail));
}

}  // namespace quorva
