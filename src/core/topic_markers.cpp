#include "core/topic_markers.h"

#include <string>

#include "text/wildcard.h"

namespace quorva {

bool MayHoldActiveMarker(const RunSettings& settings, std::string_view text) {
  const std::string folded = FoldAsciiCase(text);
  auto holds = [&folded](bool active, const char* marker) {
    return active && folded.find(marker) != std::string::npos;
  };
  return holds(settings.handle_menu_markers, "<menu>") || holds(settings.breadcrumbs, "<bread>") ||
         holds(settings.snippets_loaded, "<panel") ||
         holds(settings.file_name_marker, "<filename>");
}

}  // namespace quorva
