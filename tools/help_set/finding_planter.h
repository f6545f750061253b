#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "help_set/help_set_generator.h"

namespace quorva {

// Plants the problems a link check finds into the pages of a generated set, and notes where
// each stands once the run has processed the set. Every planted link and marker sits where no
// marker the run replaces comes before it on its page, so the run moves none of them. Texts
// come and go here with LF line ends; the CR the generator adds before each LF changes no line
// or column.
class FindingPlanter {
 public:
  FindingPlanter(Planting planting, int topics, int listed);

  // List entries for the root TOC page, ahead of its own: topics that do not exist, then a book
  // whose TOC page does not exist and a topic whose name the TOC scan cuts short.
  std::string MissingTopicEntries() const;
  // The title attribute of the template's main frame; none when planting.
  std::string MainFrameTitle() const;
  // Plants into the TOC page at `index` of the generator's `page_count` pages; the root page
  // (index 0) must hold MissingTopicEntries() already.
  void PlantInTocPage(std::size_t index, std::size_t page_count, const std::string& name,
                      std::string& text);
  // Plants into a topic, and notes the missing topics in the menu its "<MENU>" receives.
  void PlantInTopic(int number, std::string& text);
  // Notes the missing topics in the index frame pages made from the frameset template, and the
  // template's frame without a title, which the index frame page of every topic a TOC page
  // lists copies: the `listed` topics and the missing ones.
  void NoteIndexFramePages(const std::string& template_text, int listed);
  // Notes a page that nothing links.
  void NoteUnreachable(const std::string& name);
  // Pages for help/ that nothing reaches, by name, each noted as unreachable: drafts nothing
  // links, and the chapter the missing TOC page would have listed.
  std::vector<std::pair<std::string, std::string>> UnlinkedPages();
  // Everything noted, in the check's order.
  std::vector<PlantedFinding> TakeFindings();

 private:
  // A line planted into a topic right after its <body>, and the piece of it that is found.
  // A line planted into a topic right after its <body>; the finding stands at `place` in it.
  struct TopicPlant {
    std::string kind;
    std::string line;
    std::string target;
    std::string reason;
    std::string place;
  };

  void NoteAt(const std::string& kind, const std::string& page, const std::string& text,
              std::size_t offset, const std::string& target, const std::string& reason = "");

  int count_;  // of each kind
  std::vector<std::string> missing_topics_;
  std::vector<int> empty_titled_topics_;  // "<title></title>"
  std::vector<int> untitled_topics_;      // no title element at all
  std::map<int, std::vector<TopicPlant>> topic_plants_;
  std::vector<PlantedFinding> findings_;
};

}  // namespace quorva
