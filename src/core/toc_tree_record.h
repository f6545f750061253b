#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "text/wildcard.h"

namespace quorva {

// What the passes learned of the TOC tree, for readers after them: the TOC pages the breadcrumb
// and index frame walks entered, the topics they list, the pages the topics pass rewrote as
// topics, with those whose new bytes could not be written, and the index frame pages the index
// frame pass made. Paths compare without regard to the case of A-Z, as the walks' names do.
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

  // An index frame page made for the topic at `topic_path`; `empty_title` when the title it
  // takes from the topic came out empty.
  void AddIndexFramePage(std::string_view path, std::string_view topic_path, bool empty_title) {
    index_frame_pages_.insert(FoldAsciiCase(path));
    if (empty_title) {
      empty_titled_.emplace(FoldAsciiCase(topic_path), path);
    }
  }

  bool IsTocPage(std::string_view path) const { return Holds(toc_pages_, path); }
  bool IsListedTopic(std::string_view path) const { return Holds(listed_topics_, path); }
  bool IsTopic(std::string_view path) const { return Holds(topics_, path); }
  bool IsUnwrittenTopic(std::string_view path) const { return Holds(unwritten_topics_, path); }
  bool IsIndexFramePage(std::string_view path) const { return Holds(index_frame_pages_, path); }
  std::size_t IndexFramePageCount() const { return index_frame_pages_.size(); }
  // The index frame page made for the topic with an empty title; nothing when there is none.
  const std::string* EmptyTitledIndexFramePage(std::string_view topic_path) const {
    auto found = empty_titled_.find(FoldAsciiCase(topic_path));
    return found == empty_titled_.end() ? nullptr : &found->second;
  }

 private:
  static bool Holds(const std::unordered_set<std::string>& paths, std::string_view path) {
    return paths.count(FoldAsciiCase(path)) != 0;
  }

  std::unordered_set<std::string> toc_pages_;
  std::unordered_set<std::string> listed_topics_;
  std::unordered_set<std::string> topics_;
  std::unordered_set<std::string> unwritten_topics_;
  std::unordered_set<std::string> index_frame_pages_;
  std::unordered_map<std::string, std::string> empty_titled_;  // topic path to page path
};

}  // namespace quorva
