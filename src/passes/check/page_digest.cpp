#include "passes/check/page_digest.h"

#include <algorithm>

#include "passes/check/page_scan.h"
#include "text/path.h"
#include "text/wildcard.h"

namespace quorva {

PlacedText Placer::Place(std::size_t offset, std::string_view found) {
  while (next_line_break_ < offset) {
    ++line_;
    line_start_ = next_line_break_ + 1;
    next_line_break_ = text_.find('\n', line_start_);
  }
  return PlacedText{std::string(found), offset, line_, offset - line_start_ + 1, false, false};
}

PlacedText Placer::PlaceLink(const PageLink& link) {
  PlacedText placed = Place(link.offset, link.value);
  placed.href = link.href;
  placed.toc_form = link.toc_form;
  return placed;
}

namespace {

void PlaceElements(std::string_view bytes, const std::vector<ElementHit>& elements,
                   std::vector<PlacedText>& placed) {
  Placer placer(bytes);
  for (const ElementHit& element : elements) {
    placed.push_back(placer.Place(element.offset, element.link));
  }
}

PageDigest DigestScan(PageScan scan, std::string_view bytes, bool markup) {
  PageDigest digest;
  digest.has_base = scan.has_base;
  digest.open_at_end = scan.open_at_end;
  digest.repeats_met = scan.repeats_met;
  digest.anchors = std::move(scan.anchors);
  digest.links.reserve(scan.links.size());
  Placer links(bytes);
  for (const PageLink& link : scan.links) {
    digest.links.push_back(links.PlaceLink(link));
  }
  Placer markers(bytes);
  for (const MarkerHit& marker : scan.markers) {
    digest.markers.push_back(markers.Place(marker.offset, marker.marker));
  }
  PlaceElements(bytes, scan.pictures_without_alt, digest.pictures_without_alt);
  PlaceElements(bytes, scan.frames_without_title, digest.frames_without_title);
  if (markup && scan.title_offset < bytes.size()) {
    digest.title = Placer(bytes).Place(scan.title_offset, "<title>");
    digest.title_has_text = scan.title_has_text;
  }
  return digest;
}

}  // namespace

bool IsCheckedPageName(std::string_view name) {
  return MatchesWildcard(name, "*.htm*") || MatchesWildcard(name, "*.php*") ||
         MatchesWildcard(name, "*.css");
}

bool IsMarkupName(std::string_view name) {
  return MatchesWildcard(name, "*.htm*") || MatchesWildcard(name, "*.php*");
}

PageDigest DigestPage(std::string_view name, std::string_view bytes, const LinkVisitor* visit_link,
                      const TextSignature* repeated) {
  const bool markup = IsMarkupName(name);
  return DigestScan(
      markup ? ScanMarkup(bytes, visit_link, repeated) : ScanStyleSheet(bytes, visit_link), bytes,
      markup);
}

PageDigest DigestMarkup(std::string_view bytes) {
  return DigestScan(ScanMarkup(bytes), bytes, true);
}

}  // namespace quorva
