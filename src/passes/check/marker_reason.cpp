#include "passes/check/marker_reason.h"

#include "text/wildcard.h"

namespace quorva {

namespace {

// The reason a marker's switch gives, when it is off.
std::string ExplainSwitchOff(const RunSettings& settings, const std::string& marker) {
  if (marker == "<bread>") {
    return settings.breadcrumbs ? "" : "breadcrumbs are off (-bbn)";
  }
  if (marker == "<menu>") {
    return settings.handle_menu_markers ? "" : "no -mm switch";
  }
  if (marker == "<filename>") {
    return settings.file_name_marker ? "" : "no -nf switch";
  }
  const char digit = marker.size() > 6 ? marker[6] : '\0';
  if (digit >= '1' && digit <= '9' && settings.KeepsSnippetMarker(digit - '1')) {
    return std::string("its -p") + digit + " file could not be read";
  }
  return settings.snippets_loaded ? "" : "no -p file was read";
}

}  // namespace

std::string ExplainMarker(const RunSettings& settings, const TocTreeRecord& toc_tree,
                          const std::string& path, std::string_view marker) {
  if (toc_tree.IsTocPage(path)) {
    return "TOC pages are not rewritten";
  }
  if (!toc_tree.IsTopic(path)) {
    return "the run does not rewrite this page";
  }
  const std::string folded = FoldAsciiCase(marker);
  std::string reason = ExplainSwitchOff(settings, folded);
  if (!reason.empty()) {
    return reason;
  }
  if (toc_tree.IsUnwrittenTopic(path)) {
    return "the page could not be written";
  }
  return folded == "<bread>" || folded == "<menu>" ? "only the first two are replaced" : "";
}

}  // namespace quorva
