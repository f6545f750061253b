// Fuzzes the frameset template conversion and the slot filling of every index frame page.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "fakes/memory_file_system.h"
#include "fuzz_property.h"
#include "passes/index_frame_pages/frameset_format.h"
#include "platform/file_system.h"
#include "text/text_mode.h"

namespace quorva {
namespace {

// The page a template stands for: "%%" is one percent sign, read from the left.
std::string WithPercentPairsJoined(std::string_view text) {
  std::string page;
  for (std::size_t i = 0; i < text.size(); ++i) {
    page += text[i];
    if (text[i] == '%' && i + 1 < text.size() && text[i + 1] == '%') {
      ++i;
    }
  }
  return page;
}

void CheckSlotPositions(const FramesetFormat& format) {
  const int slots = format.has_title_slot ? 3 : 2;
  auto valid = [slots](int position) { return position >= 0 && position < slots; };
  RequireProperty(
      valid(format.toc_slot) && valid(format.main_slot) && format.toc_slot != format.main_slot,
      "the toc and main slots have their own positions");
  RequireProperty(format.has_title_slot
                      ? valid(format.title_slot) && format.title_slot != format.toc_slot &&
                            format.title_slot != format.main_slot
                      : format.title_slot == -1,
                  "a title slot has its own position, and only a title slot");
}

}  // namespace
}  // namespace quorva

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quorva;
  MemoryFileSystem fs;
  fs.AddFile("setup/frames.htm", std::string(reinterpret_cast<const char*>(data), size));
  const std::string text(UpToFirstNul(*ReadTextFile(fs, "setup/frames.htm")));
  std::optional<FramesetFormat> format = BuildFramesetFormat(fs, "setup/frames.htm");
  if (!format) {
    return 0;
  }
  RequireProperty(
      text.find("\"toc.htm") != std::string::npos && text.find("main.htm") != std::string::npos,
      "a template without both frame names is refused");
  CheckSlotPositions(*format);

  // Filled with the names the slots stand for and an empty title, a page is the template.
  std::array<std::string, 3> names;
  names[static_cast<std::size_t>(format->toc_slot)] = "toc.htm";
  names[static_cast<std::size_t>(format->main_slot)] = "main.htm";
  RequireProperty(FillFramesetFormat(*format, names) == WithPercentPairsJoined(text),
                  "a page filled with the frame names is the template itself");

  // Slot texts are put in as they are, percent signs and all, each once.
  const std::array<std::string, 3> texts = {"%s 100%", "a%%b%", "%d%n"};
  const std::string empty_page = FillFramesetFormat(*format, {});
  const std::string page = FillFramesetFormat(*format, texts);
  std::size_t inserted = texts[0].size() + texts[1].size();
  if (format->has_title_slot) {
    inserted += texts[2].size();
  }
  RequireProperty(page.size() == empty_page.size() + inserted,
                  "every slot takes its text once, unchanged");
  return 0;
}
