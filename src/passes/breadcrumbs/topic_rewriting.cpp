#include "passes/breadcrumbs/topic_rewriting.h"

#include <new>
#include <optional>

#include "core/fatal_error.h"
#include "core/topic_markers.h"
#include "text/byte_finder.h"
#include "text/path.h"
#include "text/text_mode.h"
#include "text/text_utils.h"

namespace quorva {

namespace {

constexpr std::size_t kMarkerCountLimit = 2;
constexpr std::size_t kSnippetMarkerLength = kSnippetMarkerHead.size() + 2;  // slot and ">"

// The snippet slot a "<PANELx>" marker at the end of `text` selects: "1".."9" and ":" (the
// tenth slot, never filled); nothing for any other character.
std::optional<std::size_t> SnippetSlotAtEnd(std::string_view text) {
  if (text.size() < kSnippetMarkerLength || text.back() != '>' ||
      !EndsWithWithoutCase(text.substr(0, text.size() - 2), kSnippetMarkerHead)) {
    return std::nullopt;
  }
  int slot = text[text.size() - 2] - '1';
  if (slot < 0 || slot > 9) {
    return std::nullopt;
  }
  return static_cast<std::size_t>(slot);
}

// The rewritten text so far as the checks after a ">" see it: what was written, then `pending`,
// the input since, up to that ">", not copied yet.
class TextSoFar {
 public:
  TextSoFar(const std::string& written, std::string_view pending)
      : written_(written), pending_(pending) {}

  // The byte `back` places before the last; NUL before the text's start.
  char Back(std::size_t back) const {
    if (back < pending_.size()) {
      return pending_[pending_.size() - 1 - back];
    }
    back -= pending_.size();
    return back < written_.size() ? written_[written_.size() - 1 - back] : '\0';
  }

 private:
  const std::string& written_;
  std::string_view pending_;
};

// Whether the text, which ends with ">", may end with a marker: it has the marker's "<" and last
// letter in place, or a snippet's. Most tags end otherwise, and the input up to them is copied
// later, in one piece with what follows.
bool MayEndMarker(const TextSoFar& text) {
  const char last = FoldAsciiCase(text.Back(1));
  const auto may_end = [&text, last](std::string_view marker) {
    return last == FoldAsciiCase(marker[marker.size() - 2]) && text.Back(marker.size() - 1) == '<';
  };
  return may_end(kMenuMarker) || may_end(kBreadMarker) || may_end(kFileNameMarker) ||
         (last >= '1' && last <= ':' && text.Back(kSnippetMarkerLength - 1) == '<');
}

// Replaces a marker at the end of the output with `replacement`.
void ReplaceMarkerAtEnd(std::string& output, std::size_t marker_length,
                        const std::string& replacement) {
  output.resize(output.size() - marker_length);
  output += replacement;
}

// Room for what the markers of a topic usually bring besides the menu: two trails, each snippet
// twice, the file name twice. A topic that brings more grows its text by doubling.
std::size_t MarkerRoom(const RunSettings& settings, const std::string& trail,
                       const std::string& file_name) {
  std::size_t room = 2 * trail.size() + 2 * file_name.size() + 100;
  for (const std::optional<std::string>& snippet : settings.snippets) {
    room += snippet ? 2 * snippet->size() : 0;
  }
  return room;
}

std::string RewriteTopicText(RunContext& run, const std::string& topic_path,
                             const std::string& text, const std::string& trail) {
  const RunSettings& settings = run.settings;
  const std::string file_name = FileNameOf(topic_path);
  static const std::string kNothing;
  const std::size_t room = MarkerRoom(settings, trail, file_name);
  std::string output;
  output.reserve(text.size() + room);
  std::size_t menus = 0;
  std::size_t trails = 0;
  // Every marker ends with ">", so the checks of a cycle can only fire at a ">"; the input is
  // copied only where they may, in the pieces between.
  ByteFinder greater(text, '>');
  std::size_t copied = 0;
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t end = greater.Next(start);
    if (end == text.size()) {
      break;
    }
    start = end + 1;
    if (!MayEndMarker(TextSoFar(output, std::string_view(text).substr(copied, start - copied)))) {
      continue;
    }
    output.append(text, copied, start - copied);
    copied = start;
    if (settings.handle_menu_markers && menus < kMarkerCountLimit &&
        EndsWithWithoutCase(output, kMenuMarker)) {
      // The menu grows with the help set: room for it and the rest of the topic at once, rather
      // than twice the room by doubling.
      output.reserve(output.size() + run.menu.size() + (text.size() - start) + room);
      ReplaceMarkerAtEnd(output, kMenuMarker.size(), settings.build_menu ? run.menu : kNothing);
      ++menus;
    }
    if (settings.breadcrumbs && trails < kMarkerCountLimit &&
        EndsWithWithoutCase(output, kBreadMarker)) {
      ReplaceMarkerAtEnd(output, kBreadMarker.size(), trail);
      ++trails;
    }
    if (settings.snippets_loaded) {
      const std::optional<std::size_t> slot = SnippetSlotAtEnd(output);
      if (slot && !settings.KeepsSnippetMarker(*slot)) {
        const std::optional<std::string>& snippet = settings.snippets[*slot];
        ReplaceMarkerAtEnd(output, kSnippetMarkerLength, snippet ? *snippet : kNothing);
      }
    }
    if (settings.file_name_marker && EndsWithWithoutCase(output, kFileNameMarker)) {
      ReplaceMarkerAtEnd(output, kFileNameMarker.size(), file_name);
    }
  }
  output.append(text, copied, std::string::npos);
  return output;
}

}  // namespace

std::string MakeBreadLink(RunContext& run, const std::string& toc_page_path, std::string topic_name,
                          int level) {
  // A TOC page a walk entered was read, and nothing the run writes takes that away: only another
  // is asked, or every topic would cost a system call.
  if (!run.toc_tree.IsTocPage(toc_page_path) && !run.fs.IsReadable(toc_page_path)) {
    return std::string();
  }
  TrimSpaces(topic_name);
  std::string title =
      run.titles.Title(PathBeside(toc_page_path, topic_name)).value_or(std::string());
  TrimSpaces(title);
  const RunSettings& settings = run.settings;
  const bool separator_form = level > 0 || settings.separator_at_first_level;
  std::string link;
  if (separator_form) {
    link += settings.breadcrumb_separator;
  }
  link += "<a class=\"bread\" href=\"" + settings.url_prefix;
  if (settings.index_frame_links) {
    link += settings.index_page_prefix + topic_name + settings.index_page_suffix +
            "\" target=\"_top\">";
  } else {
    link += topic_name + "\">";
  }
  link += title + "</a>";
  if (separator_form) {
    link += "\n";
  }
  link.resize(CutTo(link, kBreadLinkLimit).size());
  return link;
}

bool ReplaceMarkerComponents(RunContext& run, const std::string& topic_path,
                             const std::string& trail) {
  if (run.pages.IsFinished(topic_path)) {
    run.toc_tree.AddTopic(topic_path, true);
    return true;  // its final bytes are on disk already
  }
  try {
    std::optional<std::string> bytes = run.fs.ReadBinary(topic_path);
    if (!bytes) {
      return false;
    }
    // Every byte is kept, also after a byte 26 or a NUL, so a rewrite never cuts a topic short.
    // No marker holds a line end, so the CR LF line ends of a topic written compressed, which
    // drops every carriage return, need no reading as LF first.
    const bool returns_dropped = run.pages.DropsCarriageReturns(topic_path);
    const std::string decoded =
        returns_dropped ? std::string() : DecodeTextMode(*bytes, TextEnd::kKeepBytes);
    const std::string& text = returns_dropped ? *bytes : decoded;
    // This is the topic's last rewrite before the compression pass. A file the system refuses
    // to write keeps its old content without a message.
    const bool written =
        run.pages.ReplacePage(topic_path, *bytes, RewriteTopicText(run, topic_path, text, trail));
    run.toc_tree.AddTopic(topic_path, written);
    return true;
  } catch (const std::bad_alloc&) {
    throw FatalError("\n ReplaceMarkerComponents - Error: Out of memory\n");
  }
}

}  // namespace quorva
