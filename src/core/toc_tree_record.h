#pragma once

#include <string>
#include <string_view>
#include <unordered_set>

#include "text/wildcard.h"

namespace quorva {

// What the topics pass learned of the TOC tree, for readers after the passes: the TOC pages it
// walked, the topics they list, and the pages whose markers it rewrote. Paths compare without
// regard to the case of A-Z, as the walks' names do.
class TocTreeRecord {
 public:
  void AddTocPage(std::string_view path) { toc_pages_.insert(FoldAsciiCase(path)); }
  void AddListedTopic(std::string_view path) { listed_topics_.insert(FoldAsciiCase(path)); }
  void AddRewrittenPage(std::string_view path) { rewritten_pages_.insert(FoldAsciiCase(path)); }

  bool IsTocPage(std::string_view path) const { return Holds(toc_pages_, path); }
  bool IsListedTopic(std::string_view path) const { return Holds(listed_topics_, path); }
  bool IsRewrittenPage(std::string_view path) const { return Holds(rewritten_pages_, path); }

 private:
  static bool Holds(const std::unordered_set<std::string>& paths, std::string_view path) {
    return paths.count(FoldAsciiCase(path)) != 0;
  }

  std::unordered_set<std::string> toc_pages_;
  std::unordered_set<std::string> listed_topics_;
  std::unordered_set<std::string> rewritten_pages_;
};

}  // namespace quorva
