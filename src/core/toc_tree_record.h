#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "text/modest_growth.h"
#include "text/string_index.h"
#include "text/string_table.h"
#include "text/wildcard.h"

namespace quorva {

// What the passes learned of the TOC tree, for readers after them: the TOC pages the breadcrumb
// and index frame walks entered, the topics they list, the pages the topics pass rewrote as
// topics, with those whose new bytes could not be written, and the index frame pages the index
// frame pass made. Paths compare without regard to the case of A-Z, as the walks' names do; each
// is kept once, with what is known of it, in the run's table of page paths.
class TocTreeRecord {
 public:
  explicit TocTreeRecord(StringTable& paths) : paths_(paths) {}

  void AddTocPage(std::string_view path) { Mark(path, kTocPage); }
  void AddListedTopic(std::string_view path) { Mark(path, kListedTopic); }
  void AddTopic(std::string_view path, bool written) {
    Mark(path, written ? kTopic : kTopic | kUnwrittenTopic);
  }

  // An index frame page made for the topic at `topic_path`; `empty_title` when the title it
  // takes from the topic came out empty.
  void AddIndexFramePage(std::string_view path, std::string_view topic_path, bool empty_title) {
    if (!Is(path, kIndexFramePage)) {
      ++index_frame_pages_;
    }
    Mark(path, kIndexFramePage);
    if (empty_title) {
      empty_titled_.emplace(FoldAsciiCase(topic_path), path);
    }
  }

  bool IsTocPage(std::string_view path) const { return Is(path, kTocPage); }
  bool IsListedTopic(std::string_view path) const { return Is(path, kListedTopic); }
  bool IsTopic(std::string_view path) const { return Is(path, kTopic); }
  bool IsUnwrittenTopic(std::string_view path) const { return Is(path, kUnwrittenTopic); }
  bool IsIndexFramePage(std::string_view path) const { return Is(path, kIndexFramePage); }
  std::size_t IndexFramePageCount() const { return index_frame_pages_; }
  // The index frame page made for the topic with an empty title; nothing when there is none.
  const std::string* EmptyTitledIndexFramePage(std::string_view topic_path) const {
    auto found = empty_titled_.find(FoldAsciiCase(topic_path));
    return found == empty_titled_.end() ? nullptr : &found->second;
  }

 private:
  enum Role : std::uint8_t {
    kTocPage = 1,
    kListedTopic = 2,
    kTopic = 4,
    kUnwrittenTopic = 8,
    kIndexFramePage = 16,
  };

  void Mark(std::string_view path, std::uint8_t roles) {
    const std::uint32_t number =
        folded_.FindOrAdd(paths_.Strings(), path, [&] { return paths_.Add(path); });
    GrowToHold(roles_, number);
    roles_[number] |= roles;
  }
  bool Is(std::string_view path, std::uint8_t role) const {
    const std::uint32_t number = folded_.Find(paths_.Strings(), path);
    return number != StringIndex::kNone && (roles_[number] & role) != 0;
  }

  StringTable& paths_;
  StringIndex folded_{true};         // the paths marked, found in any case of A-Z
  std::vector<std::uint8_t> roles_;  // by the path's number in paths_
  std::size_t index_frame_pages_ = 0;
  std::unordered_map<std::string, std::string> empty_titled_;  // topic path to page path
};

}  // namespace quorva
