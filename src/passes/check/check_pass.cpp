#include "passes/check/check_pass.h"

#include <algorithm>
#include <optional>
#include <tuple>
#include <unordered_map>
#include <unordered_set>

#include "core/name_list.h"
#include "core/toc_page.h"
#include "passes/check/causes.h"
#include "passes/check/edge_lists.h"
#include "passes/check/folder_listings.h"
#include "passes/check/link_target.h"
#include "passes/check/marker_reason.h"
#include "passes/check/page_digest.h"
#include "passes/check/page_reasons.h"
#include "text/path.h"
#include "text/text_utils.h"
#include "text/wildcard.h"

namespace quorva {

namespace {

// A bare "#" and "#top" lead to the page's top in every browser.
bool IsTopOfPage(const std::string& fragment) {
  return fragment.empty() || FoldAsciiCase(fragment) == "top";
}

bool IsMarkupPage(std::string_view path) {
  return MatchesWildcard(FileNameOf(std::string(path)), "*.htm*");
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

bool IsSeparator(char c) {
#ifdef _WIN32
  return c == '/' || c == '\\';
#else
  return c == '/';
#endif
}

// Where a page's links lead, for pages in folders below the output folder.
struct Reach {
  std::vector<std::uint32_t> pages;  // of the output folder itself, by number
  std::vector<std::string> below;    // paths below it
};

// What one scan of a page leaves to decide at the end, marked with the scan it came from: a
// page written twice counts only as last written.
template <typename T>
struct FromScan {
  std::uint32_t page = 0;
  std::uint32_t scan = 0;
  T item;
};

// A fragment to look up once every page's anchors are known.
struct PendingAnchor {
  Finding finding;
  std::string target;  // the page's path below the output folder, as it is on disk
  std::string fragment;
};

// What a page's titles, alt texts and frame titles need once the TOC tree is known.
struct PageElements {
  std::optional<PlacedText> title;
  bool title_has_text = false;
  std::vector<PlacedText> pictures_without_alt;
  std::vector<PlacedText> frames_without_title;
};

}  // namespace

class OutputFolderCheck::State {
 public:
  State(RunContext& run, const CheckScope& scope)
      : run_(run), scope_(scope), listings_(run.fs, scope.folder) {
    for (const std::string& excluded : scope_.excluded) {
      excluded_.insert(MakeComparablePath(run_.fs, excluded));
    }
    // The listing as the passes find it; what they write joins it as they write it.
    listings_.OwnNames();
  }

  void PageWritten(const std::string& path, std::string_view bytes) {
    if (path.compare(0, scope_.folder.size(), scope_.folder) != 0) {
      return;
    }
    std::string below = path.substr(scope_.folder.size());
    if (std::find_if(below.begin(), below.end(), IsSeparator) != below.end()) {
      std::replace_if(below.begin(), below.end(), IsSeparator, '/');
      listings_.NoteWritten(below);
      return;  // only pages of the folder itself are checked
    }
    const std::uint32_t page = listings_.NoteWritten(below);
    if (IsChecked(page)) {
      ScanPage(page, bytes, false);
    }
  }

  CheckResult Finish(WebCheck* web) {
    // Frames copied into index frame pages are reported once, in the template they come from.
    template_frames_reported_ =
        !scope_.frameset_template.empty() && run_.toc_tree.IndexFramePageCount() != 0;
    listings_.TakeFinalSpellings();
    const StringTable& names = listings_.OwnNames();
    for (std::uint32_t page = 0; page < names.Size(); ++page) {
      if (Scans(page) == 0 && IsChecked(page)) {
        const std::string path = PathOf(page);
        if (std::optional<std::string> bytes = run_.fs.ReadBinary(path)) {
          ScanPage(page, *bytes, true);
        }
        // else a folder, or a file the run cannot read
      }
    }
    DecideLeftovers();
    AddBrokenAnchors();
    if (web != nullptr) {
      for (const FromScan<PlacedText>& link : web_links_) {
        if (IsLatest(link)) {
          web->AddLink(PathOf(link.page), link.item);
        }
      }
      web->Run(scope_.ignore, result_.findings);
      result_.web = web->Summary();
    }
    for (const std::string& path : run_.writes.LinksOutside()) {
      result_.findings.push_back(MakePageFinding(FindingKind::kOutsideLink, path));
    }
    if (template_frames_reported_) {
      AddTemplateFrames();
    }
    for (std::uint32_t page = 0; page < names.Size(); ++page) {
      if (Scans(page) != 0) {
        ++result_.pages_checked;
        result_.links_checked += links_checked_[page];
      }
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
  std::string PathOf(std::uint32_t page) {
    return scope_.folder + std::string(listings_.OwnNames().Get(page));
  }

  std::uint32_t Scans(std::uint32_t page) const { return page < scans_.size() ? scans_[page] : 0; }

  template <typename T>
  bool IsLatest(const FromScan<T>& from) const {
    return Scans(from.page) == from.scan;
  }

  // A page the check reads: of the folder itself, named as a page, and not a report.
  bool IsChecked(std::uint32_t page) {
    if (page == StringTable::kNone) {
      return false;
    }
    const std::string_view name = listings_.OwnNames().Get(page);
    return IsCheckedPageName(name) &&
           (excluded_.empty() || excluded_.count(MakeComparablePath(run_.fs, PathOf(page))) == 0);
  }

  // Takes what the check needs of one page's bytes. `at_end`: the passes are done, so nothing
  // needs to wait.
  void ScanPage(std::uint32_t page, std::string_view bytes, bool at_end) {
    if (page >= scans_.size()) {
      scans_.resize(listings_.OwnNames().Size(), 0);
      links_checked_.resize(listings_.OwnNames().Size(), 0);
    }
    const std::uint32_t scan = ++scans_[page];
    links_checked_[page] = 0;
    const std::string path = PathOf(page);
    const std::string name(listings_.OwnNames().Get(page));
    std::vector<std::uint32_t> reaches;
    reaches_below_.erase(page);
    const bool toc_page = MayBeTocPage(page, path, at_end);
    const bool menu_page = IsMenuPage(page);
    // Each link is decided as the scan finds it, so none is kept that needs no wait. A base,
    // which changes what relative links name, takes back what the page's links decided: few
    // pages have one.
    const Marks before = MarkNow();
    // Links are placed (line and column) only where a finding or a wait needs them.
    Placer placer(bytes);
    const LinkVisitor take_link = [&](const PageLink& link) {
      std::optional<PlacedText> placed;
      auto place = [&]() -> const PlacedText& {
        if (!placed) {
          placed = placer.PlaceLink(link);
        }
        return *placed;
      };
      if (MayBeWebLink(link.value)) {
        web_links_.push_back(FromScan<PlacedText>{page, scan, place()});
      }
      if (toc_page) {
        AddUnreadTocName(page, scan, place());
      }
      if (!CheckLink(page, path, link.value, place, reaches, at_end)) {
        pending_links_.push_back(FromScan<PlacedText>{page, scan, place()});
      }
    };
    const TextSignature* menu = toc_page || menu_page ? nullptr : RepeatedMenu();
    PageDigest digest = DigestPage(name, bytes, &take_link, menu);
    if (digest.has_base) {
      // A base changes what relative links name, never what a web address does.
      result_.findings.resize(before.findings);
      pending_links_.resize(before.pending_links);
      pending_anchors_.resize(before.pending_anchors);
      links_checked_[page] = 0;
      reaches.clear();
      reaches_below_.erase(page);
    } else if (digest.repeats_met != 0) {
      TakeMenuLinks(page, digest.repeats_met, reaches);
    }
    edges_.Set(page, std::move(reaches));
    if (menu_page) {
      NoteMenuScan(page, bytes, digest, before);
    }
    for (PlacedText& marker : digest.markers) {
      markers_.push_back(FromScan<PlacedText>{page, scan, std::move(marker)});
    }
    if ((!digest.title_has_text && IsMarkupPage(path)) || !digest.pictures_without_alt.empty() ||
        !digest.frames_without_title.empty()) {
      elements_.push_back(
          FromScan<PageElements>{page, scan,
                                 PageElements{std::move(digest.title), digest.title_has_text,
                                              std::move(digest.pictures_without_alt),
                                              std::move(digest.frames_without_title)}});
    }
    if (digest.anchors.empty()) {
      anchors_.erase(page);
    } else {
      anchors_[page] = std::move(digest.anchors);
    }
  }

  // How far the lists a page's scan adds to had come before it.
  struct Marks {
    std::size_t findings;
    std::size_t pending_links;
    std::size_t pending_anchors;
    std::size_t web_links;
    std::size_t unread_toc_names;
  };

  Marks MarkNow() const {
    return Marks{result_.findings.size(), pending_links_.size(), pending_anchors_.size(),
                 web_links_.size(), unread_toc_names_.size()};
  }

  // The menu page's text stands whole in every topic that took the menu. Where its scan on its
  // own left nothing to report or to wait for, and nothing open at its end, a topic's scan
  // passes over it and takes the menu page's links instead, as long as no link decided then
  // could be decided otherwise now.
  void NoteMenuScan(std::uint32_t page, std::string_view bytes, const PageDigest& digest,
                    const Marks& before) {
    menu_.reset();
    const Marks after = MarkNow();
    const bool nothing_pending =
        after.findings == before.findings && after.pending_links == before.pending_links &&
        after.pending_anchors == before.pending_anchors && after.web_links == before.web_links &&
        after.unread_toc_names == before.unread_toc_names;
    if (nothing_pending && IsMarkupName(listings_.OwnNames().Get(page)) && !digest.has_base &&
        !digest.open_at_end && !digest.title && digest.markers.empty() && digest.anchors.empty() &&
        digest.pictures_without_alt.empty() && digest.frames_without_title.empty() &&
        !bytes.empty()) {
      menu_.emplace(MenuScan{TextSignature(bytes), page, Scans(page), listings_.Generation()});
    }
  }

  const TextSignature* RepeatedMenu() const {
    const bool current =
        menu_ && Scans(menu_->page) == menu_->scan && listings_.Generation() == menu_->generation;
    return current ? &menu_->signature : nullptr;
  }

  // The links of the menu page, met `times` in `page`.
  void TakeMenuLinks(std::uint32_t page, std::size_t times, std::vector<std::uint32_t>& reaches) {
    links_checked_[page] += static_cast<std::uint32_t>(times) * links_checked_[menu_->page];
    // In order, the page's own after them: the menu's thousands need no sorting.
    std::sort(reaches.begin(), reaches.end());
    const std::size_t own = reaches.size();
    edges_.ForEach(menu_->page, [&reaches](std::uint32_t target) { reaches.push_back(target); });
    std::inplace_merge(reaches.begin(), reaches.begin() + static_cast<std::ptrdiff_t>(own),
                       reaches.end());
    auto below = reaches_below_.find(menu_->page);
    if (below != reaches_below_.end()) {
      std::vector<std::string> menu_below = below->second;  // taken before the map may grow
      std::vector<std::string>& own = reaches_below_[page];
      own.insert(own.end(), menu_below.begin(), menu_below.end());
    }
  }

  // The TOC pages are known only once the walks are done; the passes write none before that but
  // the root, which the walks enter first, and pages named as TOC pages.
  bool MayBeTocPage(std::uint32_t page, const std::string& path, bool at_end) {
    return run_.toc_tree.IsTocPage(path) ||
           (!at_end &&
            (IsTocPageName(listings_.OwnNames().Get(page)) || IsPageAt(scope_.toc_page, page)));
  }

  // A TOC page's link to a page the TOC walks read only in part: the page named gets no index
  // frame page and no breadcrumb trail.
  void AddUnreadTocName(std::uint32_t page, std::uint32_t scan, const PlacedText& link) {
    const LinkTarget target = ResolveLink(link.text);
    if (!link.href || target.scope != LinkScope::kChecked || target.names_own_page ||
        !HasPageExtension(target.path)) {
      return;
    }
    std::string reason = ExplainUnreadTocName(link, target.path);
    if (!reason.empty()) {
      Finding finding = MakeFinding(FindingKind::kUnreadTocName, PathOf(page), link);
      finding.reason = std::move(reason);
      unread_toc_names_.push_back(FromScan<Finding>{page, scan, std::move(finding)});
    }
  }

  // Only a link that may be a web address waits for the web check: from "h", or a character
  // reference that may stand for it, with the colon of a scheme or a reference that may.
  static bool MayBeWebLink(std::string_view link) {
    const std::size_t first = link.find_first_not_of(" \t\n\r\f");
    return first != std::string_view::npos &&
           (link[first] == 'h' || link[first] == 'H' || link[first] == '&') &&
           link.find_first_of(":&") != std::string_view::npos;
  }

  // Each link gives one finding at most: a missing file, else a file in other letter cases,
  // else a fragment its page lacks. False when that cannot be told before the passes are done:
  // the file is not (or not yet) there as the link spells it, or it is a page a later write may
  // still give another spelling. `place` gives the link placed.
  template <typename Place>
  bool CheckLink(std::uint32_t page, const std::string& path, std::string_view value,
                 const Place& place, std::vector<std::uint32_t>& reaches, bool at_end) {
    LinkTarget target = ResolveLink(value);
    if (target.scope != LinkScope::kChecked) {
      return true;
    }
    std::string on_disk;
    std::uint32_t reached = StringTable::kNone;
    Presence presence = Presence::kFound;
    if (target.names_own_page) {
      on_disk = listings_.OwnNames().Get(page);
    } else {
      presence = listings_.Locate(target.path, on_disk, !at_end, &reached);
      if (!at_end && (presence != Presence::kFound || (listings_.MayTakeAnotherSpelling(on_disk) &&
                                                       IsCheckedPageName(FileNameOf(on_disk))))) {
        return false;
      }
    }
    ++links_checked_[page];
    if (presence != Presence::kFound) {
      const bool missing = presence == Presence::kMissing;
      Finding finding = MakeFinding(missing ? FindingKind::kBrokenLink : FindingKind::kCaseMismatch,
                                    path, place());
      if (!missing) {
        finding.reason = "the file is " + on_disk;
      }
      finding.subject = target.path;
      result_.findings.push_back(std::move(finding));
      if (missing) {
        return true;
      }
    }
    if (!target.names_own_page) {
      NoteReach(page, on_disk, reached, reaches);
    }
    if (presence != Presence::kFound) {
      return true;
    }
    if (target.has_fragment && !IsTopOfPage(target.fragment) && IsMarkupPage(on_disk)) {
      pending_anchors_.push_back(FromScan<PendingAnchor>{
          page, Scans(page),
          PendingAnchor{MakeFinding(FindingKind::kBrokenAnchor, path, place()), std::move(on_disk),
                        std::move(target.fragment)}});
    }
    return true;
  }

  // `reached`: the number of the page linked, where Locate gave it.
  void NoteReach(std::uint32_t page, const std::string& on_disk, std::uint32_t reached,
                 std::vector<std::uint32_t>& reaches) {
    if (reached == StringTable::kNone) {
      reached = listings_.OwnNames().Find(on_disk);
    }
    if (reached != StringTable::kNone) {
      reaches.push_back(reached);
    } else if (on_disk.find('/') != std::string::npos && IsMarkupPage(on_disk)) {
      reaches_below_[page].push_back(on_disk);
    }
  }

  // What had to wait for the end of the passes: links to files that were not there as the
  // link spells them, markers, and what the TOC tree decides.
  void DecideLeftovers() {
    std::unordered_map<std::uint32_t, std::vector<std::uint32_t>> added_reaches;
    for (const FromScan<PlacedText>& link : pending_links_) {
      if (IsLatest(link)) {
        CheckLink(
            link.page, PathOf(link.page), link.item.text,
            [&link]() -> const PlacedText& { return link.item; }, added_reaches[link.page], true);
      }
    }
    for (auto& added : added_reaches) {
      std::vector<std::uint32_t>& reaches = added.second;
      edges_.ForEach(added.first, [&reaches](std::uint32_t target) { reaches.push_back(target); });
      edges_.Set(added.first, std::move(reaches));
    }
    for (const FromScan<PlacedText>& marker : markers_) {
      if (IsLatest(marker)) {
        const std::string path = PathOf(marker.page);
        Finding finding = MakeFinding(FindingKind::kMarkerLeft, path, marker.item);
        finding.reason = ExplainMarker(run_.settings, run_.toc_tree, path, marker.item.text);
        result_.findings.push_back(std::move(finding));
      }
    }
    for (const FromScan<PageElements>& elements : elements_) {
      if (IsLatest(elements)) {
        CheckElements(elements.page, elements.item);
      }
    }
    for (FromScan<Finding>& unread : unread_toc_names_) {
      if (IsLatest(unread) && run_.toc_tree.IsTocPage(PathOf(unread.page))) {
        unread.item.page = PathOf(unread.page);  // as the disk spells it now
        result_.findings.push_back(std::move(unread.item));
      }
    }
  }

  // The run's own pages take their titles and frames from elsewhere: index frame pages from
  // the template, the menu page, a fragment, from the topics it goes into.
  bool IsIndexFramePage(std::string_view name) const {
    return run_.toc_tree.IsIndexFramePage(scope_.folder + std::string(name)) ||
           ((name[0] == 'i' || name[0] == 'I') &&
            run_.toc_tree.IsListedTopic(scope_.folder + std::string(name.substr(1))));
  }

  // True when `path`, as the command line names it, is the page. Paths are made comparable,
  // which asks the file system, only for a page of the same name.
  bool IsPageAt(const std::string& path, std::uint32_t page) {
    const std::string_view name = listings_.OwnNames().Get(page);
    // A path that ends otherwise names another page: one comparison for nearly every page.
    return EndsWithWithoutCase(path, name) && FileNameOf(path).size() == name.size() &&
           MakeComparablePath(run_.fs, path) == MakeComparablePath(run_.fs, PathOf(page));
  }

  bool IsMenuPage(std::uint32_t page) {
    return run_.settings.build_menu && IsPageAt(run_.settings.menu_page_name, page);
  }

  // Titles, alt texts and frame titles: what readers of a screen reader or a browser's tabs
  // miss.
  void CheckElements(std::uint32_t page, const PageElements& elements) {
    const std::string path = PathOf(page);
    const bool index_frame_page = IsIndexFramePage(listings_.OwnNames().Get(page));
    // The template's title is the run's to fill.
    const bool frameset_template =
        !scope_.frameset_template.empty() && IsPageAt(scope_.frameset_template, page);
    if (IsMarkupPage(path) && !elements.title_has_text && !index_frame_page && !IsMenuPage(page) &&
        !frameset_template) {
      Finding finding = MakePageFinding(FindingKind::kMissingTitle, path);
      if (elements.title) {
        finding.offset = elements.title->offset;
        finding.line = elements.title->line;
        finding.column = elements.title->column;
      }
      if (const std::string* index = run_.toc_tree.EmptyTitledIndexFramePage(path)) {
        finding.reason =
            "its index frame page " + std::string(FileNameOf(*index)) + " is titled with nothing";
      }
      result_.findings.push_back(std::move(finding));
    }
    for (const PlacedText& picture : elements.pictures_without_alt) {
      Finding finding = MakeFinding(FindingKind::kMissingAlt, path, picture);
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
    for (const PlacedText& frame : elements.frames_without_title) {
      result_.findings.push_back(MakeFinding(FindingKind::kFrameTitle, path, frame));
    }
  }

  // The template's frames without title: from its scan where it is a page of the output folder,
  // which a pass may have rewritten (a dry run keeps no bytes of it then), else from the file.
  std::optional<std::vector<PlacedText>> TemplateFrames() {
    std::string on_disk;
    listings_.Locate(FileNameOf(scope_.frameset_template), on_disk);
    const std::uint32_t page = listings_.OwnNames().Find(on_disk);
    if (page != StringTable::kNone && Scans(page) != 0 &&
        !MatchesWildcard(listings_.OwnNames().Get(page), "*.css") &&
        IsPageAt(scope_.frameset_template, page)) {
      for (const FromScan<PageElements>& elements : elements_) {
        if (elements.page == page && IsLatest(elements)) {
          return elements.item.frames_without_title;
        }
      }
      return std::vector<PlacedText>();
    }
    std::optional<std::string> bytes = run_.fs.ReadBinary(scope_.frameset_template);
    if (!bytes) {
      return std::nullopt;
    }
    return DigestMarkup(*bytes).frames_without_title;
  }

  void AddTemplateFrames() {
    const std::optional<std::vector<PlacedText>> frames = TemplateFrames();
    if (!frames) {
      return;
    }
    const std::size_t copies = run_.toc_tree.IndexFramePageCount();
    const std::string reason =
        "copied into " + FormatCount(copies) + " index frame page" + (copies == 1 ? "" : "s");
    for (const PlacedText& frame : *frames) {
      Finding finding = MakeFinding(FindingKind::kFrameTitle, scope_.frameset_template, frame);
      finding.reason = reason;
      result_.findings.push_back(std::move(finding));
    }
  }

  // A page below the output folder, read once: its anchors, and where its links lead.
  struct PageBelow {
    bool read = false;
    std::vector<std::string> anchors;
    Reach reach;
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
          const std::uint32_t reached = listings_.OwnNames().Find(on_disk);
          if (reached != StringTable::kNone) {
            below.reach.pages.push_back(reached);
          } else if (on_disk.find('/') != std::string::npos && IsMarkupPage(on_disk)) {
            below.reach.below.push_back(on_disk);
          }
        }
      }
    }
    return below;
  }

  const std::vector<std::string>* FindAnchors(const std::string& target) {
    const std::uint32_t page = listings_.OwnNames().Find(target);
    if (page != StringTable::kNone && IsChecked(page)) {
      if (Scans(page) == 0) {
        return nullptr;
      }
      static const std::vector<std::string> kNone;
      auto anchors = anchors_.find(page);
      return anchors == anchors_.end() ? &kNone : &anchors->second;
    }
    const PageBelow& below = LoadPageBelow(target);
    return below.read ? &below.anchors : nullptr;
  }

  void AddBrokenAnchors() {
    for (FromScan<PendingAnchor>& pending : pending_anchors_) {
      if (!IsLatest(pending)) {
        continue;
      }
      // Both pages as the disk spells them now, which a write may have changed where the file
      // system ignores letter case.
      std::string target;
      listings_.Locate(pending.item.target, target);
      const std::vector<std::string>* anchors =
          FindAnchors(target.empty() ? pending.item.target : target);
      if (anchors != nullptr &&
          !std::binary_search(anchors->begin(), anchors->end(), pending.item.fragment)) {
        pending.item.finding.page = PathOf(pending.page);
        result_.findings.push_back(std::move(pending.item.finding));
      }
    }
  }

  bool IsExemptFromReachability(std::uint32_t page) {
    const std::string name = FoldAsciiCase(listings_.OwnNames().Get(page));
    return name == "index.htm" || name.compare(0, 4, "tab_") == 0 || IsNavigationPageName(name) ||
           IsIndexFramePage(listings_.OwnNames().Get(page)) || IsMenuPage(page);
  }

  // Walks the links from the TOC page and the index page, through pages in folders below too.
  void AddUnreachablePages() {
    const StringTable& names = listings_.OwnNames();
    std::vector<bool> reached(names.Size(), false);
    std::unordered_set<std::string> reached_below;
    std::vector<std::uint32_t> queue;
    std::vector<const Reach*> queue_below;
    auto reach = [&](std::uint32_t page) {
      if (!reached[page]) {
        reached[page] = true;
        queue.push_back(page);
      }
    };
    auto reach_below = [&](const std::vector<std::string>& paths) {
      for (const std::string& below : paths) {
        if (reached_below.insert(below).second) {
          queue_below.push_back(&LoadPageBelow(below).reach);
        }
      }
    };
    for (const std::string& root : {scope_.toc_page, scope_.index_page}) {
      std::string on_disk;
      if (listings_.Locate(FileNameOf(root), on_disk) != Presence::kMissing) {
        const std::uint32_t page = names.Find(on_disk);
        if (page != StringTable::kNone && IsChecked(page)) {
          reach(page);
        }
      }
    }
    while (!queue.empty() || !queue_below.empty()) {
      if (!queue.empty()) {
        const std::uint32_t page = queue.back();
        queue.pop_back();
        edges_.ForEach(page, reach);
        auto below = reaches_below_.find(page);
        if (below != reaches_below_.end()) {
          reach_below(below->second);
        }
      } else {
        const Reach* below = queue_below.back();
        queue_below.pop_back();
        for (std::uint32_t page : below->pages) {
          reach(page);
        }
        reach_below(below->below);
      }
    }
    // The pages reported, each with the pages that link it: every page that links an unreached
    // page is unreached itself. Only those are gathered: every index frame page is unreached
    // and links a topic and the TOC page.
    std::unordered_map<std::uint32_t, std::vector<std::string>> linked_from;
    for (std::uint32_t page = 0; page < names.Size(); ++page) {
      if (Scans(page) != 0 && !reached[page] && !IsExemptFromReachability(page)) {
        linked_from[page];
      }
    }
    for (std::uint32_t page = 0; page < names.Size() && !linked_from.empty(); ++page) {
      if (reached[page] || Scans(page) == 0) {
        continue;
      }
      edges_.ForEach(page, [&](std::uint32_t next) {
        auto reported = linked_from.find(next);
        if (next != page && reported != linked_from.end()) {
          reported->second.emplace_back(names.Get(page));
        }
      });
    }
    std::unordered_set<std::string> unreachable;
    for (std::uint32_t page = 0; page < names.Size(); ++page) {
      if (linked_from.count(page) != 0) {
        const std::string path = PathOf(page);
        Finding finding = MakePageFinding(FindingKind::kUnreachable, path);
        finding.reason = ExplainUnreachable(std::move(linked_from[page]));
        result_.findings.push_back(std::move(finding));
        unreachable.insert(path);
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
  FolderListings listings_;
  CheckResult result_;
  // By the page's number in the output folder's listing.
  std::vector<std::uint32_t> scans_;
  std::vector<std::uint32_t> links_checked_;
  EdgeLists edges_;
  std::unordered_map<std::uint32_t, std::vector<std::string>> anchors_;  // sorted
  std::unordered_map<std::uint32_t, std::vector<std::string>> reaches_below_;
  std::vector<FromScan<PlacedText>> pending_links_;
  std::vector<FromScan<PlacedText>> web_links_;
  std::vector<FromScan<PlacedText>> markers_;
  std::vector<FromScan<PageElements>> elements_;
  std::vector<FromScan<PendingAnchor>> pending_anchors_;
  std::vector<FromScan<Finding>> unread_toc_names_;
  std::unordered_map<std::string, PageBelow> pages_below_;  // by the path on disk
  std::unordered_set<std::string> excluded_;                // comparable paths
  // The menu page's last scan, where topics may pass over the menu (see NoteMenuScan).
  struct MenuScan {
    TextSignature signature;
    std::uint32_t page;
    std::uint32_t scan;
    std::uint64_t generation;  // of the listings the links were decided in
  };
  std::optional<MenuScan> menu_;
  bool template_frames_reported_ = false;
};

OutputFolderCheck::OutputFolderCheck(RunContext& run, CheckScope scope)
    : scope_(std::move(scope)), state_(std::make_unique<State>(run, scope_)) {}

OutputFolderCheck::~OutputFolderCheck() = default;

void OutputFolderCheck::PageWritten(const std::string& path, std::string_view bytes) {
  state_->PageWritten(path, bytes);
}

CheckResult OutputFolderCheck::Finish(WebCheck* web) {
  return state_->Finish(web);
}

}  // namespace quorva
