#include "passes/menu/menu_walk.h"

#include <optional>

#include "core/toc_page.h"
#include "text/path.h"
#include "text/text_utils.h"

namespace quorva {

namespace {

constexpr std::size_t kMenuTextLimit = 259;

// Copies characters from `i` while `keep` holds, at most `limit` of them, and trims them.
template <typename Keep>
std::string TakeTrimmed(std::string_view body, std::size_t& i, std::size_t limit, Keep keep) {
  std::string text;
  while (i < body.size() && text.size() < limit && keep(body[i])) {
    text += body[i++];
  }
  TrimSpaces(text);
  return text;
}

// The first extra item for position `position` of the list at `level` under `parent_position`.
const ExtraMenuItem* ExtraItemAt(const RunSettings& settings, int level, int position,
                                 int parent_position) {
  for (const ExtraMenuItem& item : settings.extra_menu_items) {
    if (item.level == level && item.position == position &&
        item.parent_position == parent_position) {
      return &item;
    }
  }
  return nullptr;
}

}  // namespace

bool ScanMenuLink(std::string_view body, std::string& target, std::string& link_text,
                  std::size_t& position, std::size_t limit) {
  if (position >= body.size()) {
    return false;
  }
  target.clear();
  link_text.clear();
  std::size_t i = position;
  while (i < body.size() && (i < 3 || !EndsWithWithoutCase(body.substr(0, i + 1), "href"))) {
    ++i;
  }
  while (i < body.size() && body[i] != '"') {
    ++i;
  }
  if (i < body.size()) {
    ++i;  // past the opening quote
  }
  if (i >= body.size()) {
    position = i;
    return false;
  }
  target = TakeTrimmed(body, i, limit, [](char c) { return c != '"'; });
  while (i < body.size() && body[i] != '>') {
    ++i;
  }
  if (i < body.size()) {
    ++i;
  }
  link_text = TakeTrimmed(body, i, limit, [](char c) { return c != '<'; });
  position = i + 1;
  return true;
}

void MenuLinkList::AddMenuLink(const std::string& nested_page_path, const std::string& target,
                               const std::string& link_text) {
  for (const std::string* part : {&nested_page_path, &target, &link_text}) {
    parts_.Add(CutTo(*part, kMenuTextLimit));
  }
}

MenuLink MenuLinkList::Link(std::size_t index) const {
  return MenuLink{parts_[3 * index], parts_[3 * index + 1], parts_[3 * index + 2]};
}

void ParseThisMenuToc(RunContext& run, MenuMarkup& markup, const std::string& toc_page_path,
                      int level, int parent_position) {
  std::optional<std::string> text =
      EnterTocPage(run.fs, run.console, "ParseThisMenuToc", toc_page_path, level);
  if (!text) {
    return;
  }
  std::size_t body_start = text->find("<body");
  if (body_start == std::string::npos) {
    return;  // the page contributes nothing, and its progress line stays open
  }
  std::string_view body = std::string_view(*text).substr(body_start);

  // First pass: keep the page's new page links; a book link takes the link after it as its
  // topic, and the book's nested page becomes the entry's drop-down.
  MenuLinkList links;
  ProgressNames targets(run.console);
  std::string target;
  std::string link_text;
  for (std::size_t position = 0; position < body.size(); ++position) {
    if (!ScanMenuLink(body, target, link_text, position) || !ClaimPageLink(run.names, target)) {
      continue;
    }
    std::string nested_page_path;
    if (IsTocPageName(target)) {
      nested_page_path = PathBeside(toc_page_path, target);
      ++position;
      if (ScanMenuLink(body, target, link_text, position)) {
        ClaimPageLink(run.names, target);
      } else {
        target.clear();
        link_text.clear();
      }
    }
    targets.Add(target);
    links.AddMenuLink(nested_page_path, target, link_text);
  }
  run.console.Write(")");
  text.reset();  // only the nested pages' texts are needed from here on

  // Second pass: the entries, with the extra items of this list placed at their positions.
  const RunSettings& settings = run.settings;
  int position = 0;
  for (std::size_t next = 0; next < links.Size(); ++position) {
    std::string entry_target;
    std::string entry_text;
    std::string title;
    std::string nested_page_path;
    if (const ExtraMenuItem* item = ExtraItemAt(settings, level, position, parent_position)) {
      entry_target = item->target;
      entry_text = item->link_text;
      title = item->title;
    } else {
      const MenuLink link = links.Link(next++);
      entry_target = link.target;
      entry_text = link.link_text;
      nested_page_path = link.nested_page_path;
      title = run.titles.Title(PathBeside(toc_page_path, entry_target)).value_or("");
    }
    const bool has_drop_down = !nested_page_path.empty();
    markup.OpenMenuItem(entry_target, entry_text, title, level, has_drop_down);
    const bool repeats_itself =
        settings.repeat_parent && (has_drop_down || level < settings.button_depth);
    if (repeats_itself) {
      markup.OpenMenuItem(entry_target, entry_text, title, level + 1, false);
      markup.CloseMenuItem(level + 1, false);
    }
    if (has_drop_down) {
      ParseThisMenuToc(run, markup, nested_page_path, level + 1, position);
    }
    markup.CloseMenuItem(level, has_drop_down);
  }
}

}  // namespace quorva
