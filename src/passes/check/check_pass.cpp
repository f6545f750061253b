#include "passes/check/check_pass.h"

#include <algorithm>
#include <optional>
#include <unordered_map>
#include <unordered_set>

#include "core/name_list.h"
#include "passes/check/link_target.h"
#include "passes/check/page_scan.h"
#include "text/path.h"
#include "text/wildcard.h"

namespace quorva {

namespace {

// A folder's names, looked up with and without letter case.
struct FolderListing {
  std::unordered_set<std::string> names;
  std::unordered_map<std::string, std::string> by_folded;  // a name on disk for each fold
};

enum class Presence { kFound, kOtherCase, kMissing };

// Turns byte offsets of one text into 1-based lines and columns.
class LinePositions {
 public:
  explicit LinePositions(std::string_view text) {
    for (std::size_t at = text.find('\n'); at != std::string_view::npos;
         at = text.find('\n', at + 1)) {
      line_ends_.push_back(at);
    }
  }
  void Place(Finding& finding) const {
    const auto line = std::lower_bound(line_ends_.begin(), line_ends_.end(), finding.offset);
    const std::size_t index = static_cast<std::size_t>(line - line_ends_.begin());
    const std::size_t line_start = index == 0 ? 0 : line_ends_[index - 1] + 1;
    finding.line = index + 1;
    finding.column = finding.offset - line_start + 1;
  }

 private:
  std::vector<std::size_t> line_ends_;
};

struct CheckedPage {
  std::string name;
  std::string path;
  std::vector<std::string> anchors;
  std::vector<std::size_t> reaches;  // the pages of the folder its links lead to
};

// A fragment to look up once every page's anchors are known.
struct PendingAnchor {
  Finding finding;
  std::string target;  // the page's path below the output folder, as it is on disk
  std::string fragment;
};

bool IsCheckedPageName(const std::string& name) {
  return MatchesWildcard(name, "*.htm*") || MatchesWildcard(name, "*.php*") ||
         MatchesWildcard(name, "*.css");
}

bool IsMarkupPageName(const std::string& name) {
  return MatchesWildcard(name, "*.htm*") || MatchesWildcard(name, "*.php*");
}

// A bare "#" and "#top" lead to the page's top in every browser.
bool IsTopOfPage(const std::string& fragment) {
  return fragment.empty() || FoldAsciiCase(fragment) == "top";
}

class FolderCheck {
 public:
  FolderCheck(RunContext& run, const CheckScope& scope) : run_(run), scope_(scope) {}

  CheckResult Run() {
    for (const std::string& name : run_.fs.ListFolder(scope_.folder, "*")) {
      const std::string path = scope_.folder + name;
      if (IsCheckedPageName(name) && !IsExcluded(path)) {
        ReadAndCheckPage(name, path);
      }
    }
    CheckPendingAnchors();
    AddUnreachablePages();
    AddLinksOutside();
    std::vector<Finding>& findings = result_.findings;
    findings.erase(std::remove_if(findings.begin(), findings.end(),
                                  [&](const Finding& f) { return scope_.ignore.Ignores(f); }),
                   findings.end());
    std::stable_sort(findings.begin(), findings.end(), [](const Finding& a, const Finding& b) {
      return a.page != b.page ? a.page < b.page : a.offset < b.offset;
    });
    return std::move(result_);
  }

 private:
  bool IsExcluded(const std::string& path) const {
    const std::string folded = FoldAsciiCase(path);
    return std::any_of(
        scope_.excluded.begin(), scope_.excluded.end(),
        [&](const std::string& excluded) { return FoldAsciiCase(excluded) == folded; });
  }

  void ReadAndCheckPage(const std::string& name, const std::string& path) {
    std::optional<std::string> read;
    const std::string* text = run_.writes.KeptBytes(path);
    if (text == nullptr) {
      read = run_.fs.ReadBinary(path);
      if (!read) {
        return;  // a folder, or a file the run cannot read
      }
      text = &*read;
    }
    const std::size_t index = pages_.size();
    pages_.push_back(CheckedPage{name, path, {}, {}});
    page_index_.emplace(FoldAsciiCase(name), index);
    ++result_.pages_checked;
    const bool markup = IsMarkupPageName(name);
    PageScan scan = markup ? ScanMarkup(*text) : ScanStyleSheet(*text);
    std::optional<LinePositions> lines;
    auto place = [&](Finding& finding) {
      if (!lines) {
        lines.emplace(*text);
      }
      lines->Place(finding);
    };
    if (!scan.has_base) {
      for (const PageLink& link : scan.links) {
        CheckLink(index, link, place);
      }
    }
    for (const MarkerHit& marker : scan.markers) {
      Finding finding = FindingAt(FindingKind::kMarkerLeft, path, marker.offset, marker.marker);
      finding.reason = MarkerReason(path, marker.marker);
      place(finding);
      result_.findings.push_back(std::move(finding));
    }
    pages_[index].anchors = std::move(scan.anchors);
  }

  static Finding FindingAt(FindingKind kind, const std::string& page, std::size_t offset,
                           std::string_view target) {
    Finding finding;
    finding.kind = kind;
    finding.page = page;
    finding.offset = offset;
    finding.target = std::string(target);
    return finding;
  }

  template <typename Place>
  void CheckLink(std::size_t page, const PageLink& link, Place& place) {
    LinkTarget target = ResolveLink(link.value);
    if (target.scope != LinkScope::kChecked) {
      return;
    }
    ++result_.links_checked;
    std::string on_disk = pages_[page].name;
    if (!target.names_own_page) {
      const Presence presence = Locate(target.path, on_disk);
      if (presence != Presence::kFound) {
        Finding finding = FindingAt(
            presence == Presence::kMissing ? FindingKind::kBrokenLink : FindingKind::kCaseMismatch,
            pages_[page].path, link.offset, link.value);
        if (presence == Presence::kOtherCase) {
          finding.reason = "the file is " + on_disk;
        }
        place(finding);
        result_.findings.push_back(std::move(finding));
        if (presence == Presence::kMissing) {
          return;
        }
      }
      if (!on_disk.empty() && on_disk.find('/') == std::string::npos) {
        reaches_.emplace_back(page, FoldAsciiCase(on_disk));
      }
    }
    if (target.has_fragment && !IsTopOfPage(target.fragment) &&
        MatchesWildcard(FileNameOf(on_disk), "*.htm*")) {
      Finding finding =
          FindingAt(FindingKind::kBrokenAnchor, pages_[page].path, link.offset, link.value);
      place(finding);
      pending_anchors_.push_back(
          PendingAnchor{std::move(finding), std::move(on_disk), std::move(target.fragment)});
    }
  }

  const FolderListing& ListingOf(const std::string& folder) {
    auto found = listings_.find(folder);
    if (found != listings_.end()) {
      return found->second;
    }
    FolderListing& listing = listings_[folder];
    const std::string path =
        folder.empty() ? scope_.folder : MakePath("", scope_.folder + folder, "", "");
    for (std::string& name : run_.fs.ListFolder(path, "*")) {
      listing.by_folded.emplace(FoldAsciiCase(name), name);
      listing.names.insert(std::move(name));
    }
    return listing;
  }

  // Looks up a path below the output folder, a folder at a time; `on_disk` gets the path as
  // the disk spells it.
  Presence Locate(const std::string& path, std::string& on_disk) {
    on_disk.clear();
    if (path.empty()) {
      return Presence::kFound;  // the output folder itself
    }
    Presence presence = Presence::kFound;
    std::string folder;
    std::size_t start = 0;
    while (start <= path.size()) {
      std::size_t end = std::min(path.find('/', start), path.size());
      const std::string segment = path.substr(start, end - start);
      const FolderListing& listing = ListingOf(folder);
      std::string name = segment;
      if (listing.names.count(segment) == 0) {
        auto other = listing.by_folded.find(FoldAsciiCase(segment));
        if (other == listing.by_folded.end()) {
          return Presence::kMissing;
        }
        name = other->second;
        presence = Presence::kOtherCase;
      }
      folder += (folder.empty() ? "" : "/") + name;
      start = end + 1;
    }
    on_disk = folder;
    return presence;
  }

  // Why a marker is still there, as far as the run's settings tell: a rewritten topic loses
  // every marker whose switch is on, but for a third <BREAD> or <MENU> and later ones.
  std::string MarkerReason(const std::string& path, std::string_view marker) const {
    const RunSettings& settings = run_.settings;
    const std::string folded = FoldAsciiCase(marker);
    if (run_.toc_tree.IsTocPage(path)) {
      return "TOC pages are not rewritten";
    }
    if (!run_.toc_tree.IsRewrittenPage(path)) {
      return "the run does not rewrite this page";
    }
    if (folded == "<bread>") {
      return settings.breadcrumbs ? "only the first two are replaced"
                                  : "breadcrumbs are off (-bbn)";
    }
    if (folded == "<menu>") {
      return settings.handle_menu_markers ? "only the first two are replaced" : "no -mm switch";
    }
    if (folded == "<filename>") {
      return settings.file_name_marker ? "" : "no -nf switch";
    }
    return settings.snippets_loaded ? "" : "no -p file was read";
  }

  const std::vector<std::string>* AnchorsOf(const std::string& target) {
    if (target.find('/') == std::string::npos) {
      auto page = page_index_.find(FoldAsciiCase(target));
      return page == page_index_.end() ? nullptr : &pages_[page->second].anchors;
    }
    auto found = subfolder_anchors_.find(target);
    if (found == subfolder_anchors_.end()) {
      std::optional<std::string> text = run_.fs.ReadBinary(scope_.folder + target);
      std::optional<std::vector<std::string>> anchors;
      if (text) {
        anchors = ScanMarkup(*text).anchors;
      }
      found = subfolder_anchors_.emplace(target, std::move(anchors)).first;
    }
    return found->second ? &*found->second : nullptr;
  }

  void CheckPendingAnchors() {
    for (PendingAnchor& pending : pending_anchors_) {
      const std::vector<std::string>* anchors = AnchorsOf(pending.target);
      if (anchors != nullptr &&
          !std::binary_search(anchors->begin(), anchors->end(), pending.fragment)) {
        result_.findings.push_back(std::move(pending.finding));
      }
    }
  }

  bool IsExemptFromReachability(const CheckedPage& page) const {
    const std::string name = FoldAsciiCase(page.name);
    if (name == "index.htm" || name.compare(0, 4, "tab_") == 0 || IsNavigationPageName(name)) {
      return true;
    }
    if (run_.settings.build_menu &&
        FoldAsciiCase(run_.settings.menu_page_name) == FoldAsciiCase(page.path)) {
      return true;
    }
    return name[0] == 'i' && run_.toc_tree.IsListedTopic(scope_.folder + page.name.substr(1));
  }

  void AddUnreachablePages() {
    for (const auto& [page, name] : reaches_) {
      auto reached = page_index_.find(name);
      if (reached != page_index_.end()) {
        pages_[page].reaches.push_back(reached->second);
      }
    }
    std::vector<bool> reached(pages_.size(), false);
    std::vector<std::size_t> queue;
    for (const std::string& root : {scope_.toc_page, scope_.index_page}) {
      auto page = page_index_.find(FoldAsciiCase(FileNameOf(root)));
      if (page != page_index_.end() && !reached[page->second]) {
        reached[page->second] = true;
        queue.push_back(page->second);
      }
    }
    while (!queue.empty()) {
      const std::size_t page = queue.back();
      queue.pop_back();
      for (std::size_t next : pages_[page].reaches) {
        if (!reached[next]) {
          reached[next] = true;
          queue.push_back(next);
        }
      }
    }
    for (std::size_t i = 0; i < pages_.size(); ++i) {
      if (!reached[i] && !IsExemptFromReachability(pages_[i])) {
        result_.findings.push_back(
            FindingAt(FindingKind::kUnreachable, pages_[i].path, 0, pages_[i].name));
      }
    }
  }

  void AddLinksOutside() {
    for (const std::string& path : run_.writes.LinksOutside()) {
      result_.findings.push_back(FindingAt(FindingKind::kOutsideLink, path, 0, FileNameOf(path)));
    }
  }

  RunContext& run_;
  const CheckScope& scope_;
  CheckResult result_;
  std::vector<CheckedPage> pages_;
  std::unordered_map<std::string, std::size_t> page_index_;  // by folded name
  // Links between pages of the folder itself: the linking page and the folded name it names.
  std::vector<std::pair<std::size_t, std::string>> reaches_;
  std::vector<PendingAnchor> pending_anchors_;
  std::unordered_map<std::string, FolderListing> listings_;
  std::unordered_map<std::string, std::optional<std::vector<std::string>>> subfolder_anchors_;
};

}  // namespace

CheckResult CheckOutputFolder(RunContext& run, const CheckScope& scope) {
  return FolderCheck(run, scope).Run();
}

}  // namespace quorva
