#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "platform/file_system.h"

namespace quorva {

constexpr std::size_t kPageTitleLimit = 254;

// The text of a page's first "<title>" tag (any letter case, no attributes) up to the next
// "<", cut at `limit` characters and used unchanged; empty when the page has no such tag.
// The page is read only as far as its title.
std::string ReadPageTitle(ByteReader& page, std::size_t limit = kPageTitleLimit);
// The same for the page at `path`; nothing when the file cannot be opened.
std::optional<std::string> ReadPageTitle(FileSystem& fs, const std::string& path,
                                         std::size_t limit = kPageTitleLimit);

}  // namespace quorva
