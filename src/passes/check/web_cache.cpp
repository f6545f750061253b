#include "passes/check/web_cache.h"

#include <array>
#include <optional>
#include <vector>

#include "text/utc_time.h"

namespace quorva {

namespace {

constexpr std::string_view kFirstLine = "# QUORVA web cache 1";
constexpr std::array<WebOutcome, 4> kOutcomes = {WebOutcome::kFine, WebOutcome::kMoved,
                                                 WebOutcome::kBroken, WebOutcome::kUnverified};

std::vector<std::string_view> SplitFields(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t start = 0;
  while (true) {
    const std::size_t tab = line.find('\t', start);
    fields.push_back(line.substr(start, tab - start));
    if (tab == std::string_view::npos) {
      return fields;
    }
    start = tab + 1;
  }
}

// An address as the check asks it: http or https, and no byte a URL may not hold, so that
// nothing the file holds reaches the terminal as it is.
bool IsAddressField(std::string_view field) {
  if (field.compare(0, 7, "http://") != 0 && field.compare(0, 8, "https://") != 0) {
    return false;
  }
  for (char c : field) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte <= 0x20 || byte >= 0x7F) {
      return false;
    }
  }
  return true;
}

std::optional<int> ParseStatus(std::string_view field) {
  if (field == "-") {
    return 0;
  }
  if (field.empty() || field.size() > 3 || field.find_first_not_of("0123456789") != field.npos) {
    return std::nullopt;
  }
  return std::stoi(std::string(field));
}

// The entry of one line, or why the line is none.
std::optional<std::pair<std::string, WebCacheEntry>> ParseLine(std::string_view line,
                                                               std::string& problem) {
  const std::vector<std::string_view> fields = SplitFields(line);
  if (fields.size() != 6) {
    problem = "it has " + std::to_string(fields.size()) + " fields, not 6";
    return std::nullopt;
  }
  WebCacheEntry entry;
  bool known = false;
  for (WebOutcome outcome : kOutcomes) {
    if (fields[1] == OutcomeName(outcome)) {
      entry.outcome = outcome;
      known = true;
    }
  }
  const std::optional<int> status = ParseStatus(fields[2]);
  const std::optional<std::int64_t> asked = ParseUtcStamp(fields[4]);
  const std::optional<std::int64_t> linked = ParseUtcStamp(fields[5]);
  const bool moved_to_fits =
      entry.outcome == WebOutcome::kMoved ? IsAddressField(fields[3]) : fields[3] == "-";
  if (!IsAddressField(fields[0]) || !known || !status || !moved_to_fits || !asked || !linked) {
    problem = "a field is not what the cache holds there";
    return std::nullopt;
  }
  entry.status = *status;
  entry.moved_to = fields[3] == "-" ? "" : std::string(fields[3]);
  entry.asked = *asked;
  entry.linked = *linked;
  return std::make_pair(std::string(fields[0]), std::move(entry));
}

}  // namespace

std::string_view OutcomeName(WebOutcome outcome) {
  switch (outcome) {
    case WebOutcome::kFine:
      return "fine";
    case WebOutcome::kMoved:
      return "moved";
    case WebOutcome::kBroken:
      return "broken";
    case WebOutcome::kUnverified:
      return "unverified";
  }
  return "";
}

WebCacheRead ParseWebCache(std::string_view text) {
  WebCacheRead read;
  // A line may end in CR LF, as a checkout on Windows may leave it.
  auto line_at = [text](std::size_t start, std::size_t end) {
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') {
      line.remove_suffix(1);
    }
    return line;
  };
  const std::size_t first_end = text.find('\n');
  if (line_at(0, first_end) != kFirstLine) {
    read.problem = "its first line is not \"" + std::string(kFirstLine) + "\"";
    return read;
  }
  // A file that does not end its last line was cut short, perhaps in the middle of an address.
  if (text.back() != '\n') {
    read.problem = "it ends in the middle of a line";
    return read;
  }
  std::size_t line_number = 1;
  for (std::size_t start = first_end + 1; start < text.size(); ++line_number) {
    const std::size_t end = text.find('\n', start);
    std::string problem;
    auto entry = ParseLine(line_at(start, end), problem);
    if (!entry) {
      read.entries.clear();
      read.problem = "line " + std::to_string(line_number + 1) + ": " + problem;
      return read;
    }
    read.entries.insert(std::move(*entry));
    start = end + 1;
  }
  return read;
}

std::string FormatWebCache(const WebCacheEntries& entries) {
  std::string text = std::string(kFirstLine) + "\n";
  for (const auto& [address, entry] : entries) {
    text += address + "\t" + std::string(OutcomeName(entry.outcome)) + "\t" +
            (entry.status == 0 ? "-" : std::to_string(entry.status)) + "\t" +
            (entry.moved_to.empty() ? "-" : entry.moved_to) + "\t" + FormatUtcStamp(entry.asked) +
            "\t" + FormatUtcStamp(entry.linked) + "\n";
  }
  return text;
}

}  // namespace quorva
