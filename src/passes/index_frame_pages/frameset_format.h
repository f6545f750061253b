#pragma once

#include <array>
#include <optional>
#include <string>

#include "platform/file_system.h"

namespace quorva {

constexpr std::size_t kSlotTextLimit = 259;

// The frameset template turned into a text with three kinds of slot ("%s"): the TOC frame's
// page, the main frame's page and the page title; a percent sign of the page is "%%".
struct FramesetFormat {
  std::string text;
  // 0-based positions of the slots among all slots, in text order.
  int toc_slot = -1;
  int main_slot = -1;
  int title_slot = -1;
  bool has_title_slot = false;
};

// Reads the template as text. A "<title>" tag (any case) gets a title slot after it, "toc.htm"
// right after a double quote becomes the toc slot, "main.htm" the main slot. Nothing when the
// template cannot be read, lacks the toc or main slot, would make more slots than the three
// texts a page fills (a marker twice, or "%s" written in the template), or has percent signs
// that would merge with a slot's own.
std::optional<FramesetFormat> BuildFramesetFormat(FileSystem& fs, const std::string& path);

// The page for one topic: each slot replaced by the text for its position, "%%" by one percent
// sign; any other percent sign stands for itself.
std::string FillFramesetFormat(const FramesetFormat& format,
                               const std::array<std::string, 3>& slot_texts);

}  // namespace quorva
