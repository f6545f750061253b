#include "passes/check/ignore_list.h"

#include "text/text_utils.h"
#include "text/wildcard.h"

namespace quorva {

namespace {

// The next run of non-blank characters from `position`, which moves past it.
std::string_view NextWord(std::string_view line, std::size_t& position) {
  while (position < line.size() && IsAsciiWhiteSpace(line[position])) {
    ++position;
  }
  const std::size_t start = position;
  while (position < line.size() && !IsAsciiWhiteSpace(line[position])) {
    ++position;
  }
  return line.substr(start, position - start);
}

// The rest of the line without the blanks around it: a target may hold spaces.
std::string_view Rest(std::string_view line, std::size_t position) {
  while (position < line.size() && IsAsciiWhiteSpace(line[position])) {
    ++position;
  }
  std::size_t end = line.size();
  while (end > position && IsAsciiWhiteSpace(line[end - 1])) {
    --end;
  }
  return line.substr(position, end - position);
}

}  // namespace

IgnoreList::IgnoreList(std::string_view text) {
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = text.find('\n', start);
    end = end == std::string_view::npos ? text.size() : end;
    const std::string_view line = text.substr(start, end - start);
    start = end + 1;
    std::size_t position = 0;
    const std::string_view kind = NextWord(line, position);
    if (kind.empty() || kind[0] == '#') {
      continue;
    }
    // A line without a page accepts nothing (its empty pattern matches no page): a kind alone
    // would hide every finding of it.
    const std::string_view page = NextWord(line, position);
    const std::string_view target = Rest(line, position);
    entries_.push_back(
        Entry{std::string(kind), std::string(page), std::string(target.empty() ? "*" : target)});
  }
}

bool IgnoreList::Ignores(const Finding& finding) const {
  for (const Entry& entry : entries_) {
    const bool kind_matches = MatchesWildcard(KindName(finding.kind), entry.kind) ||
                              (IsWebKind(finding.kind) && IsWebEntry(entry));
    if (kind_matches && MatchesWildcard(finding.page, entry.page) &&
        MatchesWildcard(finding.target, entry.target)) {
      return true;
    }
  }
  return false;
}

bool IgnoreList::KeepsFromTheWeb(const std::string& page, const std::string& link) const {
  for (const Entry& entry : entries_) {
    if (IsWebEntry(entry) && MatchesWildcard(page, entry.page) &&
        MatchesWildcard(link, entry.target)) {
      return true;
    }
  }
  return false;
}

bool IgnoreList::IsWebEntry(const Entry& entry) {
  return FoldAsciiCase(entry.kind) == "web";
}

}  // namespace quorva
