#include "passes/check/check_pass.h"

#include <algorithm>
#include <optional>
#include <tuple>
#include <unordered_map>
#include <unordered_set>

#include "core/name_list.h"
#include "core/toc_page.h"
#include "passes/check/causes.h"
#include "passes/check/folder_listings.h"
#include "passes/check/link_target.h"
#include "passes/check/marker_reason.h"
#include "passes/check/page_reasons.h"
#include "text/path.h"
#include "text/wildcard.h"

namespace quorva {

namespace {

struct CheckedPage {
  std::string name;
  std::string path;
  bool read = false;
  std::vector<std::string> anchors;
  std::vector<std::size_t> reaches;        // the pages of the folder itself its links lead to
  std::vector<std::string> reaches_below;  // the pages in folders below that they lead to
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

bool IsMarkupPage(const std::string& path) {
  return MatchesWildcard(FileNameOf(path), "*.htm*");
}

Finding MakeFinding(FindingKind kind, const std::string& page, const PlacedText& place) {
  Finding finding;
  finding.kind = kind;
  finding.level = DefaultLevel(kind);
  finding.page = page;
  finding.offset = place.offset;
  finding.line = place.line;
  finding.column = place.column;
  finding.target = place.text;
  return finding;
}

// A finding about a page as a whole, at its start.
Finding MakePageFinding(FindingKind kind, const std::string& path) {
  return MakeFinding(kind, path, PlacedText{FileNameOf(path), 0, 1, 1});
}

// The folder below the output folder that holds `path` there; "" for the folder itself.
std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

class FolderCheck {
 public:
  FolderCheck(RunContext& run, const CheckScope& scope, PageDigests& written)
      : run_(run), scope_(scope), written_(written), listings_(run.fs, scope.folder) {}

  CheckResult Run() {
    for (const std::string& excluded : scope_.excluded) {
      excluded_.insert(MakeComparablePath(run_.fs, excluded));
    }
    // Frames copied into index frame pages are reported once, in the template they come from.
    template_frames_reported_ =
        !scope_.frameset_template.empty() && run_.toc_tree.IndexFramePageCount() != 0;
    for (const std::string& name : listings_.NamesIn("")) {
      const std::string path = scope_.folder + name;
      if (IsCheckedPageName(name) && !IsExcluded(path)) {
        page_index_.emplace(name, pages_.size());
        CheckedPage& page = pages_.emplace_back();
        page.name = name;
        page.path = path;
      }
    }
    for (std::size_t page = 0; page < pages_.size(); ++page) {
      CheckPage(page);
    }
    AddBrokenAnchors();
    if (scope_.web != nullptr) {
      scope_.web->Run(scope_.ignore, result_.findings);
      result_.web = scope_.web->Summary();
    }
    for (const std::string& path : run_.writes.LinksOutside()) {
      result_.findings.push_back(MakePageFinding(FindingKind::kOutsideLink, path));
    }
    if (template_frames_reported_) {
      AddTemplateFrames();
    }
    AddUnreachablePages();
    std::vector<Finding>& findings = result_.findings;
    findings.erase(std::remove_if(findings.begin(), findings.end(),
                                  [&](const Finding& f) { return scope_.ignore.Ignores(f); }),
                   findings.end());
    std::sort(findings.begin(), findings.end(), [](const Finding& a, const Finding& b) {
      return std::tie(a.page, a.offset, a.kind, a.target) <
             std::tie(b.page, b.offset, b.kind, b.target);
    });
    GroupFindingsByCause(result_);
    return std::move(result_);
  }

 private:
  bool IsExcluded(const std::string& path) const {
    return !excluded_.empty() && excluded_.count(MakeComparablePath(run_.fs, path)) != 0;
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
    if (scope_.web != nullptr) {
      // A base changes what relative links name, never what a web address does.
      for (const PlacedText& link : digest->links) {
        scope_.web->AddLink(checked.path, link);
      }
    }
    for (const PlacedText& marker : digest->markers) {
      Finding finding = MakeFinding(FindingKind::kMarkerLeft, checked.path, marker);
      finding.reason = ExplainMarker(run_.settings, run_.toc_tree, checked.path, marker.text);
      result_.findings.push_back(std::move(finding));
    }
    CheckElements(checked, *digest);
    if (run_.toc_tree.IsTocPage(checked.path)) {
      CheckTocPageNames(checked, *digest);
    }
    checked.anchors = std::move(digest->anchors);
  }

  // The run's own pages take their titles and frames from elsewhere: index frame pages from
  // the template, the menu page, a fragment, from the topics it goes into.
  bool IsIndexFramePage(const std::string& name) const {
    return run_.toc_tree.IsIndexFramePage(scope_.folder + name) ||
           ((name[0] == 'i' || name[0] == 'I') &&
            run_.toc_tree.IsListedTopic(scope_.folder + name.substr(1)));
  }

  // True when `path`, as the command line names it, is the page. Paths are made comparable,
  // which asks the file system, only for a page of the same name.
  bool IsPageAt(const std::string& path, const CheckedPage& page) const {
    return FoldAsciiCase(FileNameOf(path)) == FoldAsciiCase(page.name) &&
           MakeComparablePath(run_.fs, path) == MakeComparablePath(run_.fs, page.path);
  }

  bool IsMenuPage(const CheckedPage& page) const {
    return run_.settings.build_menu && IsPageAt(run_.settings.menu_page_name, page);
  }

  // Titles, alt texts and frame titles: what readers of a screen reader or a browser's tabs
  // miss.
  void CheckElements(const CheckedPage& checked, const PageDigest& digest) {
    const bool index_frame_page = IsIndexFramePage(checked.name);
    // The template's title is the run's to fill.
    const bool frameset_template =
        !scope_.frameset_template.empty() && IsPageAt(scope_.frameset_template, checked);
    if (IsMarkupPage(checked.name) && !digest.title_has_text && !index_frame_page &&
        !IsMenuPage(checked) && !frameset_template) {
      Finding finding = MakePageFinding(FindingKind::kMissingTitle, checked.path);
      if (digest.title) {
        finding.offset = digest.title->offset;
        finding.line = digest.title->line;
        finding.column = digest.title->column;
      }
      if (const std::string* page = run_.toc_tree.EmptyTitledIndexFramePage(checked.path)) {
        finding.reason =
            "its index frame page " + std::string(FileNameOf(*page)) + " is titled with nothing";
      }
      result_.findings.push_back(std::move(finding));
    }
    for (const PlacedText& picture : digest.pictures_without_alt) {
      Finding finding = MakeFinding(FindingKind::kMissingAlt, checked.path, picture);
      // A picture without a source is named by its tag ("<img"), and is a cause of its own.
      if (picture.text[0] != '<') {
        const LinkTarget target = ResolveLink(picture.text);
        finding.subject = target.scope == LinkScope::kChecked ? target.path : picture.text;
      }
      result_.findings.push_back(std::move(finding));
    }
    if (index_frame_page || (template_frames_reported_ && frameset_template)) {
      return;
    }
    for (const PlacedText& frame : digest.frames_without_title) {
      result_.findings.push_back(MakeFinding(FindingKind::kFrameTitle, checked.path, frame));
    }
  }

  // A TOC page's link to a page the TOC walks read only in part: the page named gets no index
  // frame page and no breadcrumb trail.
  void CheckTocPageNames(const CheckedPage& checked, const PageDigest& digest) {
    for (const PlacedText& link : digest.links) {
      const LinkTarget target = ResolveLink(link.text);
      if (!link.href || target.scope != LinkScope::kChecked || target.names_own_page ||
          !HasPageExtension(target.path)) {
        continue;
      }
      std::string reason = ExplainUnreadTocName(link, target.path);
      if (!reason.empty()) {
        Finding finding = MakeFinding(FindingKind::kUnreadTocName, checked.path, link);
        finding.reason = std::move(reason);
        result_.findings.push_back(std::move(finding));
      }
    }
  }

  void AddTemplateFrames() {
    std::optional<std::string> bytes = run_.fs.ReadBinary(scope_.frameset_template);
    if (!bytes) {
      return;
    }
    const std::size_t copies = run_.toc_tree.IndexFramePageCount();
    const std::string reason =
        "copied into " + FormatCount(copies) + " index frame page" + (copies == 1 ? "" : "s");
    for (const PlacedText& frame : DigestMarkup(*bytes).frames_without_title) {
      Finding finding = MakeFinding(FindingKind::kFrameTitle, scope_.frameset_template, frame);
      finding.reason = reason;
      result_.findings.push_back(std::move(finding));
    }
  }

  // Each link gives one finding at most: a missing file, else a file in other letter cases,
  // else a fragment its page lacks.
  void CheckLink(std::size_t page, const PlacedText& link) {
    LinkTarget target = ResolveLink(link.text);
    if (target.scope != LinkScope::kChecked) {
      return;
    }
    ++result_.links_checked;
    CheckedPage& from = pages_[page];
    // Most links name a page of the folder itself as the disk spells it: one lookup.
    auto named_page = target.names_own_page ? page_index_.end() : page_index_.find(target.path);
    if (target.names_own_page) {
      on_disk_ = from.name;
    } else if (named_page != page_index_.end()) {
      from.reaches.push_back(named_page->second);
      on_disk_ = target.path;
    } else {
      const Presence presence = listings_.Locate(target.path, on_disk_);
      if (presence != Presence::kFound) {
        const bool missing = presence == Presence::kMissing;
        Finding finding = MakeFinding(
            missing ? FindingKind::kBrokenLink : FindingKind::kCaseMismatch, from.path, link);
        if (!missing) {
          finding.reason = "the file is " + on_disk_;
        }
        finding.subject = target.path;
        result_.findings.push_back(std::move(finding));
        if (missing) {
          return;
        }
      }
      NoteReach(from, on_disk_);
      if (presence != Presence::kFound) {
        return;
      }
    }
    if (target.has_fragment && !IsTopOfPage(target.fragment) && IsMarkupPage(on_disk_)) {
      pending_anchors_.push_back(
          PendingAnchor{MakeFinding(FindingKind::kBrokenAnchor, from.path, link), on_disk_,
                        std::move(target.fragment)});
    }
  }

  void NoteReach(CheckedPage& from, const std::string& on_disk) {
    auto reached = page_index_.find(on_disk);
    if (reached != page_index_.end()) {
      from.reaches.push_back(reached->second);
    } else if (on_disk.find('/') != std::string::npos && IsMarkupPage(on_disk)) {
      from.reaches_below.push_back(on_disk);
    }
  }

  // A page below the output folder, read once: its anchors, and where its links lead.
  struct PageBelow {
    bool read = false;
    std::vector<std::string> anchors;
    CheckedPage reach;
  };

  const PageBelow& LoadPageBelow(const std::string& path) {
    auto found = pages_below_.find(path);
    if (found != pages_below_.end()) {
      return found->second;
    }
    PageBelow& below = pages_below_[path];
    std::optional<std::string> bytes = run_.fs.ReadBinary(scope_.folder + path);
    if (!bytes) {
      return below;
    }
    PageDigest digest = DigestPage(FileNameOf(path), *bytes);
    below.read = true;
    below.anchors = std::move(digest.anchors);
    if (!digest.has_base) {
      const std::string folder = FolderOf(path);
      std::string on_disk;
      for (const PlacedText& link : digest.links) {
        const LinkTarget target = ResolveLink(link.text, folder);
        if (target.scope == LinkScope::kChecked && !target.names_own_page &&
            listings_.Locate(target.path, on_disk) != Presence::kMissing) {
          NoteReach(below.reach, on_disk);
        }
      }
    }
    return below;
  }

  const std::vector<std::string>* FindAnchors(const std::string& target) {
    auto page = page_index_.find(target);
    if (page != page_index_.end()) {
      return pages_[page->second].read ? &pages_[page->second].anchors : nullptr;
    }
    const PageBelow& below = LoadPageBelow(target);
    return below.read ? &below.anchors : nullptr;
  }

  void AddBrokenAnchors() {
    for (PendingAnchor& pending : pending_anchors_) {
      const std::vector<std::string>* anchors = FindAnchors(pending.target);
      if (anchors != nullptr &&
          !std::binary_search(anchors->begin(), anchors->end(), pending.fragment)) {
        result_.findings.push_back(std::move(pending.finding));
      }
    }
  }

  bool IsExemptFromReachability(const CheckedPage& page) const {
    const std::string name = FoldAsciiCase(page.name);
    return name == "index.htm" || name.compare(0, 4, "tab_") == 0 || IsNavigationPageName(name) ||
           IsIndexFramePage(page.name) || IsMenuPage(page);
  }

  // Walks the links from the TOC page and the index page, through pages in folders below too.
  void AddUnreachablePages() {
    std::vector<bool> reached(pages_.size(), false);
    std::unordered_set<std::string> reached_below;
    std::vector<const CheckedPage*> queue;
    auto reach = [&](std::size_t page) {
      if (!reached[page]) {
        reached[page] = true;
        queue.push_back(&pages_[page]);
      }
    };
    for (const std::string& root : {scope_.toc_page, scope_.index_page}) {
      std::string on_disk;
      if (listings_.Locate(FileNameOf(root), on_disk) != Presence::kMissing) {
        auto page = page_index_.find(on_disk);
        if (page != page_index_.end()) {
          reach(page->second);
        }
      }
    }
    while (!queue.empty()) {
      const CheckedPage* page = queue.back();
      queue.pop_back();
      for (std::size_t next : page->reaches) {
        reach(next);
      }
      for (const std::string& below : page->reaches_below) {
        if (reached_below.insert(below).second) {
          queue.push_back(&LoadPageBelow(below).reach);
        }
      }
    }
    // Every page that links an unreached page is unreached itself.
    std::vector<std::vector<std::string>> linked_from(pages_.size());
    for (std::size_t i = 0; i < pages_.size(); ++i) {
      if (reached[i]) {
        continue;
      }
      for (std::size_t next : pages_[i].reaches) {
        std::vector<std::string>& from = linked_from[next];
        if (next != i && (from.empty() || from.back() != pages_[i].name)) {
          from.push_back(pages_[i].name);
        }
      }
    }
    std::unordered_set<std::string> unreachable;
    for (std::size_t i = 0; i < pages_.size(); ++i) {
      if (pages_[i].read && !reached[i] && !IsExemptFromReachability(pages_[i])) {
        Finding finding = MakePageFinding(FindingKind::kUnreachable, pages_[i].path);
        finding.reason = ExplainUnreachable(std::move(linked_from[i]));
        result_.findings.push_back(std::move(finding));
        unreachable.insert(pages_[i].path);
      }
    }
    // No reader opens a page nothing reaches: whatever is wrong in it can wait.
    for (Finding& finding : result_.findings) {
      if (finding.kind != FindingKind::kUnreachable && unreachable.count(finding.page) != 0) {
        finding.level = FindingLevel::kWarning;
        finding.in_unreachable_page = true;
        finding.AddReason("in a page nothing reaches");
      }
    }
  }

  RunContext& run_;
  const CheckScope& scope_;
  PageDigests& written_;
  FolderListings listings_;
  CheckResult result_;
  std::vector<CheckedPage> pages_;
  std::unordered_map<std::string, std::size_t> page_index_;  // by the name on disk
  std::unordered_map<std::string, PageBelow> pages_below_;   // by the path on disk
  std::vector<PendingAnchor> pending_anchors_;
  std::unordered_set<std::string> excluded_;  // comparable paths
  bool template_frames_reported_ = false;
  std::string on_disk_;  // the path the link being checked names
};

}  // namespace

CheckResult CheckOutputFolder(RunContext& run, const CheckScope& scope, PageDigests& written) {
  return FolderCheck(run, scope, written).Run();
}

}  // namespace quorva
