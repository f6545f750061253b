#pragma once

#include <string>
#include <string_view>
#include <unordered_set>

#include "text/wildcard.h"

namespace quorva {

// What the topics pass learned of the TOC tree, for readers after the passes: the TOC pages it
// walked, the topics they list, and the pages it rewrote as topics, with those whose new bytes
// could not be written. Paths compare without regard to the case of A-Z, as the walks' names do.
class TocTreeRecord {
 public:
  void AddTocPage(std::string_view path) { toc_pages_.insert(FoldAsciiCase(path)); }
  void AddListedTopic(std::string_view path) { listed_topics_.insert(FoldAsciiCase(path)); }
  void AddTopic(std::string_view path, bool written) {
    topics_.insert(FoldAsciiCase(path));
    if (!written) {
      unwritten_topics_.insert(FoldAsciiCase(path));
    }
  }

  bool IsTocPage(std::string_view path) const { return Holds(toc_pages_, path); }
  bool IsListedTopic(std::string_view path) const { return Holds(listed_topics_, path); }
  bool IsTopic(std::string_view path) const { return Holds(topics_, path); }
  bool IsUnwrittenTopic(std::string_view path) const { return Holds(unwritten_topics_, path); }

 private:
  static bool Holds(const std::unordered_set<std::string>& paths, std::string_view path) {
    return paths.count(FoldAsciiCase(path)) != 0;
  }

  std::unordered_set<std::string> toc_pages_;
  std::unordered_set<std::string> listed_topics_;
  std::unordered_set<std::string> topics_;
  std::unordered_set<std::string> unwritten_topics_;
};

}  // namespace quorva
