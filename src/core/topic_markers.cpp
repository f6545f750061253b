#include "core/topic_markers.h"

#include <string>

#include "text/wildcard.h"

namespace quorva {

bool MayHoldActiveMarker(const RunSettings& settings, std::string_view text) {
  const std::string folded = FoldAsciiCase(text);
  auto holds = [&folded](bool active, std::string_view marker) {
    return active && folded.find(FoldAsciiCase(marker)) != std::string::npos;
  };
  return holds(settings.handle_menu_markers, kMenuMarker) ||
         holds(settings.breadcrumbs, kBreadMarker) ||
         holds(settings.snippets_loaded, kSnippetMarkerHead) ||
         holds(settings.file_name_marker, kFileNameMarker);
}

}  // namespace quorva
