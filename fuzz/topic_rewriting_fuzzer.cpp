// Fuzzes the rewriting of a topic file by its markers, under run settings drawn from the input
// as the switches can set them, and the breadcrumb link of a topic.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/name_list.h"
#include "core/run_context.h"
#include "core/run_settings.h"
#include "core/topic_markers.h"
#include "fakes/memory_console.h"
#include "fakes/memory_file_system.h"
#include "fuzz_property.h"
#include "passes/breadcrumbs/topic_rewriting.h"
#include "passes/compression/compress_output_folder.h"
#include "text/text_mode.h"
#include "text/text_utils.h"

namespace quorva {
namespace {

constexpr const char* kTocPage = "help/toc.htm";
// Names in each of the compression groups, in two of them and in none; the last has spaces
// around it, which a breadcrumb link trims.
constexpr const char* kTopicNames[] = {"topic.htm", "Topic.HTML", "page.php", "x.htm.php",
                                       "style.css", "notes.txt",  " a b.htm "};
constexpr std::size_t kShortText = 48;

struct TopicCase {
  RunSettings settings;
  std::string menu;
  std::string trail;
  std::string topic_name;
  std::string content;
};

RunSettings DrawSettings(FuzzedDataProvider& input) {
  RunSettings settings;
  settings.breadcrumbs = input.ConsumeBool();
  settings.index_frame_links = input.ConsumeBool();
  settings.separator_at_first_level = input.ConsumeBool();
  settings.breadcrumb_separator = input.ConsumeRandomLengthString(kShortText);
  settings.index_page_prefix = input.ConsumeRandomLengthString(kShortText);
  settings.index_page_suffix = input.ConsumeRandomLengthString(kShortText);
  settings.url_prefix = input.ConsumeRandomLengthString(kShortText);
  settings.file_name_marker = input.ConsumeBool();
  // Slots 1 to 9 hold the files of -p1 to -p9; the tenth is never filled.
  for (std::size_t slot = 0; slot + 1 < kSnippetSlotCount; ++slot) {
    if (input.ConsumeBool()) {
      settings.snippets[slot] = input.ConsumeRandomLengthString(kShortText);
      settings.snippets_loaded = true;
    }
  }
  // -mmn, -mmr, -mm.
  const int menu_mode = input.ConsumeIntegralInRange(0, 2);
  settings.handle_menu_markers = menu_mode >= 1;
  settings.build_menu = menu_mode == 2;
  return settings;
}

TopicCase DrawTopicCase(FuzzedDataProvider& input) {
  TopicCase topic;
  topic.settings = DrawSettings(input);
  if (topic.settings.build_menu) {
    topic.menu = input.ConsumeRandomLengthString(kShortText);
  }
  topic.trail = input.ConsumeRandomLengthString(4 * kShortText);
  topic.topic_name = input.PickValueInArray(kTopicNames);
  return topic;
}

// The topic's bytes after its rewriting and after the compression pass that ends a run with
// compression on, whether the rewriting knew of the compression or not.
struct TopicBytes {
  std::string rewritten;
  std::string final;
};

TopicBytes RewriteAndCompress(const TopicCase& topic, bool compression_known) {
  MemoryFileSystem fs;
  MemoryConsole console;
  NameList names;
  const std::string path = "help/" + topic.topic_name;
  fs.AddFile(kTocPage, "");
  fs.AddFile(path, topic.content);
  RunSettings settings = topic.settings;
  settings.compression = compression_known;
  RunContext run(fs, console, settings, names);
  run.menu = topic.menu;
  RequireProperty(ReplaceMarkerComponents(run, path, topic.trail),
                  "an existing topic is rewritten");
  TopicBytes bytes;
  bytes.rewritten = fs.Content(path);
  // The last pass of a run with compression on.
  settings.compression = true;
  CompressOutputFolder(run, kTocPage);
  bytes.final = fs.Content(path);
  return bytes;
}

void CheckRewriting(const TopicCase& topic) {
  const TopicBytes plain = RewriteAndCompress(topic, false);
  const TopicBytes compressed = RewriteAndCompress(topic, true);
  RequireProperty(plain.final == compressed.final,
                  "a topic rewritten with compression on ends as rewriting then compressing");
  const std::string text = DecodeTextMode(topic.content, TextEnd::kKeepBytes);
  if (!MayHoldActiveMarker(topic.settings, text)) {
    RequireProperty(DecodeTextMode(plain.rewritten, TextEnd::kKeepBytes) == text,
                    "a topic without an active marker keeps its text");
  }
}

void CheckBreadLink(const TopicCase& topic, bool toc_page_readable, int level) {
  MemoryFileSystem fs;
  MemoryConsole console;
  NameList names;
  if (toc_page_readable) {
    fs.AddFile(kTocPage, "");
  }
  std::string trimmed_name = topic.topic_name;
  TrimSpaces(trimmed_name);
  fs.AddFile("help/" + trimmed_name, topic.content);
  RunContext run(fs, console, topic.settings, names);
  const std::string link = MakeBreadLink(run, kTocPage, topic.topic_name, level);
  if (!toc_page_readable) {
    RequireProperty(link.empty(), "no link is made through an unreadable TOC page");
    return;
  }
  RequireProperty(link.size() <= kBreadLinkLimit, "a breadcrumb link is cut at its limit");
  if (link.size() < kBreadLinkLimit) {
    const bool separator_form = level > 0 || topic.settings.separator_at_first_level;
    const std::string_view end = separator_form ? "</a>\n" : "</a>";
    RequireProperty(
        link.size() >= end.size() && link.compare(link.size() - end.size(), end.size(), end) == 0,
        "a whole breadcrumb link ends its anchor, in the separator form with a line");
  }
}

}  // namespace
}  // namespace quorva

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quorva;
  FuzzedDataProvider input(data, size);
  // The topic's text comes first, so that a page given as a seed is the topic.
  const std::string content = input.ConsumeRandomLengthString(size);
  TopicCase topic = DrawTopicCase(input);
  topic.content = content;
  const bool toc_page_readable = input.ConsumeBool();
  const int level = input.ConsumeIntegralInRange(0, 3);
  CheckRewriting(topic);
  CheckBreadLink(topic, toc_page_readable, level);
  return 0;
}
