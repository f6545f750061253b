#include "passes/check/check_pass.h"

#include <algorithm>
#include <optional>
#include <tuple>
#include <unordered_map>
#include <unordered_set>

#include "core/name_list.h"
#include "passes/check/link_target.h"
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

struct CheckedPage {
  std::string name;
  std::string path;
  bool read = false;
  std::vector<std::string> anchors;
  std::vector<std::size_t> reaches;  // the pages of the folder its links lead to
};

// A fragment to look up once every page's anchors are known.
struct PendingAnchor {
  Finding finding;
  std::string target;  // the page's path below the output folder, as it is on disk
  std::string fragment;
};

// A bare "#" and "#top" lead to the page's top in every browser.
bool IsTopOfPage(const std::string& fragment) {
  return fragment.empty() || FoldAsciiCase(fragment) == "top";
}

Finding FindingAt(FindingKind kind, const std::string& page, const PlacedText& place) {
  Finding finding;
  finding.kind = kind;
  finding.page = page;
  finding.offset = place.offset;
  finding.line = place.line;
  finding.column = place.column;
  finding.target = place.text;
  return finding;
}

// A finding about a page as a whole, at its start.
Finding PageFinding(FindingKind kind, const std::string& path) {
  return FindingAt(kind, path, PlacedText{FileNameOf(path), 0, 1, 1});
}

class FolderCheck {
 public:
  FolderCheck(RunContext& run, const CheckScope& scope, PageDigests& written)
      : run_(run), scope_(scope), written_(written) {}

  CheckResult Run() {
    for (const std::string& excluded : scope_.excluded) {
      excluded_.insert(ComparablePath(excluded));
    }
    for (const std::string& name : ListingOf("").names) {
      const std::string path = scope_.folder + name;
      if (IsCheckedPageName(name) && !IsExcluded(path)) {
        page_index_.emplace(name, pages_.size());
        pages_.push_back(CheckedPage{name, path, false, {}, {}});
      }
    }
    for (std::size_t page = 0; page < pages_.size(); ++page) {
      CheckPage(page);
    }
    CheckPendingAnchors();
    AddUnreachablePages();
    for (const std::string& path : run_.writes.LinksOutside()) {
      result_.findings.push_back(PageFinding(FindingKind::kOutsideLink, path));
    }
    std::vector<Finding>& findings = result_.findings;
    findings.erase(std::remove_if(findings.begin(), findings.end(),
                                  [&](const Finding& f) { return scope_.ignore.Ignores(f); }),
                   findings.end());
    std::sort(findings.begin(), findings.end(), [](const Finding& a, const Finding& b) {
      return std::tie(a.page, a.offset, a.kind, a.target) <
             std::tie(b.page, b.offset, b.kind, b.target);
    });
    return std::move(result_);
  }

 private:
  // A path as one the run names otherwise ("./help/a.htm", "/work/help/a.htm") compares.
  std::string ComparablePath(const std::string& path) const {
    std::optional<std::vector<std::string>> segments = FoldedSegments(run_.fs.AbsolutePath(path));
    return FoldAsciiCase(segments ? JoinSegments(*segments) : path);
  }

  bool IsExcluded(const std::string& path) const {
    if (excluded_.empty()) {
      return false;
    }
    return excluded_.count(ComparablePath(path)) != 0;
  }

  void CheckPage(std::size_t page) {
    CheckedPage& checked = pages_[page];
    std::optional<PageDigest> digest = written_.Take(checked.path);
    if (!digest) {
      std::optional<std::string> bytes = run_.fs.ReadBinary(checked.path);
      if (!bytes) {
        return;  // a folder, or a file the run cannot read
      }
      digest = DigestPage(checked.name, *bytes);
    }
    checked.read = true;
    ++result_.pages_checked;
    if (!digest->has_base) {
      for (const PlacedText& link : digest->links) {
        CheckLink(page, link);
      }
    }
    for (const PlacedText& marker : digest->markers) {
      Finding finding = FindingAt(FindingKind::kMarkerLeft, checked.path, marker);
      finding.reason = MarkerReason(checked.path, marker.text);
      result_.findings.push_back(std::move(finding));
    }
    checked.anchors = std::move(digest->anchors);
  }

  void CheckLink(std::size_t page, const PlacedText& link) {
    LinkTarget target = ResolveLink(link.text);
    if (target.scope != LinkScope::kChecked) {
      return;
    }
    ++result_.links_checked;
    const std::string* on_disk = &pages_[page].name;
    if (!target.names_own_page) {
      const Presence presence = Locate(target.path, on_disk);
      if (presence != Presence::kFound) {
        const bool missing = presence == Presence::kMissing;
        Finding finding = FindingAt(missing ? FindingKind::kBrokenLink : FindingKind::kCaseMismatch,
                                    pages_[page].path, link);
        if (!missing) {
          finding.reason = "the file is " + *on_disk;
        }
        result_.findings.push_back(std::move(finding));
        if (missing) {
          return;
        }
      }
      auto reached = page_index_.find(*on_disk);
      if (reached != page_index_.end()) {
        pages_[page].reaches.push_back(reached->second);
      }
    }
    if (target.has_fragment && !IsTopOfPage(target.fragment) &&
        MatchesWildcard(FileNameOf(*on_disk), "*.htm*")) {
      pending_anchors_.push_back(
          PendingAnchor{FindingAt(FindingKind::kBrokenAnchor, pages_[page].path, link), *on_disk,
                        std::move(target.fragment)});
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

  // Looks up a name in a folder's listing; `on_disk` gets the name as the disk spells it.
  static Presence LocateName(const FolderListing& listing, const std::string& name,
                             const std::string*& on_disk) {
    auto exact = listing.names.find(name);
    if (exact != listing.names.end()) {
      on_disk = &*exact;
      return Presence::kFound;
    }
    auto other = listing.by_folded.find(FoldAsciiCase(name));
    if (other == listing.by_folded.end()) {
      return Presence::kMissing;
    }
    on_disk = &other->second;
    return Presence::kOtherCase;
  }

  // Looks up a path below the output folder, a folder at a time; `on_disk` gets the path as
  // the disk spells it.
  Presence Locate(const std::string& path, const std::string*& on_disk) {
    if (path.empty()) {
      located_.clear();  // the output folder itself
      on_disk = &located_;
      return Presence::kFound;
    }
    if (path.find('/') == std::string::npos) {
      return LocateName(ListingOf(""), path, on_disk);
    }
    Presence presence = Presence::kFound;
    std::string folder;
    for (std::size_t start = 0; start <= path.size();) {
      const std::size_t end = std::min(path.find('/', start), path.size());
      const std::string* name = nullptr;
      const Presence here = LocateName(ListingOf(folder), path.substr(start, end - start), name);
      if (here == Presence::kMissing) {
        return Presence::kMissing;
      }
      presence = here == Presence::kOtherCase ? here : presence;
      folder += (folder.empty() ? "" : "/") + *name;
      start = end + 1;
    }
    located_ = std::move(folder);
    on_disk = &located_;
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
    auto page = page_index_.find(target);
    if (page != page_index_.end()) {
      return pages_[page->second].read ? &pages_[page->second].anchors : nullptr;
    }
    auto found = subfolder_anchors_.find(target);
    if (found == subfolder_anchors_.end()) {
      std::optional<std::string> bytes = run_.fs.ReadBinary(scope_.folder + target);
      std::optional<std::vector<std::string>> anchors;
      if (bytes) {
        anchors = DigestPage(FileNameOf(target), *bytes).anchors;
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
    std::vector<bool> reached(pages_.size(), false);
    std::vector<std::size_t> queue;
    for (const std::string& root : {scope_.toc_page, scope_.index_page}) {
      const std::string* on_disk = nullptr;
      if (Locate(FileNameOf(root), on_disk) == Presence::kMissing) {
        continue;
      }
      auto page = page_index_.find(*on_disk);
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
      if (pages_[i].read && !reached[i] && !IsExemptFromReachability(pages_[i])) {
        result_.findings.push_back(PageFinding(FindingKind::kUnreachable, pages_[i].path));
      }
    }
  }

  RunContext& run_;
  const CheckScope& scope_;
  PageDigests& written_;
  CheckResult result_;
  std::vector<CheckedPage> pages_;
  std::unordered_map<std::string, std::size_t> page_index_;  // by the name on disk
  std::vector<PendingAnchor> pending_anchors_;
  std::unordered_map<std::string, FolderListing> listings_;
  std::unordered_map<std::string, std::optional<std::vector<std::string>>> subfolder_anchors_;
  std::string located_;                       // the last path Locate spelled out
  std::unordered_set<std::string> excluded_;  // comparable paths
};

}  // namespace

CheckResult CheckOutputFolder(RunContext& run, const CheckScope& scope, PageDigests& written) {
  return FolderCheck(run, scope, written).Run();
}

}  // namespace quorva
