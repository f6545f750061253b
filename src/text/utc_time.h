#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quorva {

// Seconds since 1970-01-01T00:00:00Z as "2026-12-09T06:30:00Z".
std::string FormatUtcStamp(std::int64_t seconds);
// A stamp as FormatUtcStamp writes it; nothing for anything else.
std::optional<std::int64_t> ParseUtcStamp(std::string_view stamp);
// An HTTP date ("Wed, 09 Dec 2026 06:30:00 GMT"); nothing for anything else.
std::optional<std::int64_t> ParseHttpDate(std::string_view date);

}  // namespace quorva
