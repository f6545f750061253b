#include "passes/index_frame_pages/frameset_format.h"

#include <vector>

#include "text/text_mode.h"
#include "text/text_utils.h"

namespace quorva {

namespace {

bool EndsWith(const std::string& text, std::string_view suffix) {
  return text.size() >= suffix.size() &&
         text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// Calls `on_slot` with the position of every "%s" and `on_text` for every other piece, reading
// the format as a printf format would: "%%" is one percent sign.
template <typename OnText, typename OnSlot>
void WalkFormat(const std::string& text, OnText on_text, OnSlot on_slot) {
  std::size_t start = 0;
  std::size_t i = 0;
  while (i < text.size()) {
    if (text[i] != '%' || i + 1 == text.size() || (text[i + 1] != '%' && text[i + 1] != 's')) {
      ++i;
      continue;
    }
    on_text(std::string_view(text).substr(start, i - start));
    if (text[i + 1] == '%') {
      on_text("%");
    } else {
      on_slot(i);
    }
    i += 2;
    start = i;
  }
  on_text(std::string_view(text).substr(start));
}

}  // namespace

std::optional<FramesetFormat> BuildFramesetFormat(FileSystem& fs, const std::string& path) {
  std::optional<std::string> page = ReadTextFile(fs, path);
  if (!page) {
    return std::nullopt;
  }
  FramesetFormat format;
  std::string& text = format.text;
  int slot_number = 1;
  int toc_count = 0;
  int main_count = 0;
  int title_count = 0;
  std::vector<std::size_t> made_slots;  // where each slot made begins in the text
  for (char c : UpToFirstNul(*page)) {
    text += c;
    std::size_t n = text.size();
    if (n >= 3 && text[n - 3] != '%' && text[n - 2] == '%' && c != '%' && c != 's') {
      text.insert(n - 1, 1, '%');  // a lone percent sign is doubled
    }
    if (EndsWithWithoutCase(text, "<title>")) {
      text += "%s";
      made_slots.push_back(text.size() - 2);
      format.title_slot = slot_number++;
      format.has_title_slot = true;
      ++title_count;
    }
    if (EndsWith(text, "\"toc.htm")) {
      text.replace(text.size() - 7, 7, "%s");
      made_slots.push_back(text.size() - 2);
      format.toc_slot = slot_number++;
      ++toc_count;
    }
    if (EndsWith(text, "main.htm")) {
      text.replace(text.size() - 8, 8, "%s");
      made_slots.push_back(text.size() - 2);
      format.main_slot = slot_number++;
      ++main_count;
    }
  }
  if (toc_count == 0 || main_count == 0) {
    return std::nullopt;
  }
  // A marker made twice would leave a slot without a text. The slots read must be the slots
  // made: "%s" in the template itself, or a run of percent signs that turns a slot's "%" into
  // "%%", would put the page's texts in the wrong places.
  std::vector<std::size_t> read_slots;
  WalkFormat(
      text, [](std::string_view) {}, [&](std::size_t position) { read_slots.push_back(position); });
  if (toc_count > 1 || main_count > 1 || title_count > 1 || read_slots != made_slots) {
    return std::nullopt;
  }
  format.toc_slot -= 1;
  format.main_slot -= 1;
  format.title_slot = format.has_title_slot ? format.title_slot - 1 : -1;
  return format;
}

std::string FillFramesetFormat(const FramesetFormat& format,
                               const std::array<std::string, 3>& slot_texts) {
  std::string page;
  page.reserve(format.text.size() + slot_texts[0].size() + slot_texts[1].size() +
               slot_texts[2].size());
  std::size_t slot = 0;
  WalkFormat(
      format.text, [&](std::string_view piece) { page += piece; },
      [&](std::size_t) {
        if (slot < slot_texts.size()) {
          page += slot_texts[slot++];
        }
      });
  return page;
}

}  // namespace quorva
