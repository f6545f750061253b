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
  const char digit = marker[6];  // what is left is a snippet marker, "<panel1>" to "<panel9>"
  if (settings.KeepsSnippetMarker(static_cast<std::size_t>(digit - '1'))) {
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
