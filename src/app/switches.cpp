#include "app/switches.h"

#include <optional>

#include "app/path_check.h"
#include "text/path.h"
#include "text/text_mode.h"
#include "text/text_utils.h"

namespace quorva {

namespace {

char At(const std::string& text, std::size_t index) {
  return index < text.size() ? text[index] : '\0';
}

// A flag switch is cleared by an "n" right after its letters and set by anything else.
bool FlagAt(const std::string& argument, std::size_t index) {
  return At(argument, index) != 'n';
}

std::string ValueFrom(const std::string& argument, std::size_t index) {
  return index < argument.size() ? argument.substr(index) : std::string();
}

// The content of a settings file named by a switch, read as text up to `limit` characters;
// nothing, with a warning that names the setting, when the file is missing or cannot be read.
std::optional<std::string> ReadSettingFile(SwitchContext& context, const std::string& path,
                                           std::size_t limit, const char* setting_name) {
  std::optional<std::string> text =
      context.fs.IsReadable(path) ? ReadTextFile(context.fs, path) : std::nullopt;
  if (!text) {
    context.console.Write("\nWarning: " + std::string(setting_name) + " file (" + path +
                          ") not read.\n");
    return std::nullopt;
  }
  return std::string(CutTo(UpToFirstNul(*text), limit));
}

SwitchResult ReplaceFromFile(SwitchContext& context, const std::string& path, std::size_t limit,
                             const char* setting_name, std::string& setting) {
  if (!IsPathWithinLimit(path, context.console)) {
    return SwitchResult::kPathTooLong;
  }
  if (std::optional<std::string> text = ReadSettingFile(context, path, limit, setting_name)) {
    setting = std::move(*text);
  }
  return SwitchResult::kApplied;
}

SwitchResult ApplyUrlSwitch(const std::string& argument, RunSettings& settings,
                            SwitchContext& context) {
  switch (At(argument, 2)) {
    case 'b':
      if (At(argument, 3) == 'f') {
        settings.url_prefix.clear();
        if (ReplaceFromFile(context, ValueFrom(argument, 4), kUrlPrefixFileLimit, "URL prefix",
                            settings.url_prefix) == SwitchResult::kPathTooLong) {
          return SwitchResult::kPathTooLong;
        }
      } else {
        settings.url_prefix = std::string(CutTo(ValueFrom(argument, 3), kUrlPrefixInlineLimit));
      }
      TrimSpaces(settings.url_prefix);
      break;
    case 'l':
      settings.url_prefix = "./";
      break;
    case 'n':
      settings.url_prefix.clear();
      break;
    case 'r':
      settings.url_prefix = "/";
      break;
    default:
      break;  // any other -u switch is ignored without a message
  }
  return SwitchResult::kApplied;
}

std::string DropArrowFor(char choice) {
  switch (choice) {
    case 'a':
      return "&rarr;";
    case 'g':
      return "&raquo;";
    case 'n':
      return "";
    default:
      return "&#9658;";
  }
}

// A too-long -mif path is refused even when the items are full, so that its user is told.
SwitchResult ApplyExtraMenuItemSwitch(const std::string& argument, RunSettings& settings,
                                      SwitchContext& context) {
  const bool from_file = At(argument, 3) == 'f';
  const std::string value = ValueFrom(argument, from_file ? 4 : 3);
  if (from_file && !IsPathWithinLimit(value, context.console)) {
    return SwitchResult::kPathTooLong;
  }
  if (settings.extra_menu_items.size() >= kExtraMenuItemLimit) {
    return SwitchResult::kApplied;  // a -mif file is then not even opened
  }
  if (!from_file) {
    ParseExtraMenuItems(value, settings.extra_menu_items);
  } else if (std::optional<std::string> list =
                 ReadSettingFile(context, value, kMenuItemFileLimit, "Menu items")) {
    ParseExtraMenuItems(*list, settings.extra_menu_items);
  }
  return SwitchResult::kApplied;
}

SwitchResult ApplyMenuSwitch(const std::string& argument, RunSettings& settings,
                             SwitchContext& context) {
  switch (At(argument, 2)) {
    case 'a':
      settings.drop_arrow = DropArrowFor(At(argument, 3));
      break;
    case 'b':
      settings.button_depth = ReadDecimalInteger(ValueFrom(argument, 3));
      break;
    case 'd':
      settings.menu_wrapper = FlagAt(argument, 3);
      break;
    case 'i':
      return ApplyExtraMenuItemSwitch(argument, settings, context);
    case 'm':
      settings.build_menu = At(argument, 3) != 'n' && At(argument, 3) != 'r';
      settings.handle_menu_markers = At(argument, 3) != 'n';
      break;
    case 'p':
      settings.repeat_parent = FlagAt(argument, 3);
      break;
    case 's':
      settings.wide_spacing = FlagAt(argument, 3);
      break;
    case 't':
      settings.old_browser_markup = FlagAt(argument, 3);
      break;
    case 'w': {
      std::string name = ValueFrom(argument, 3);
      TrimSpaces(name);
      if (!IsPathWithinLimit(name, context.console)) {
        return SwitchResult::kPathTooLong;
      }
      settings.menu_page_name = std::move(name);
      break;
    }
    default:
      break;  // any other -m switch is ignored without a message
  }
  return SwitchResult::kApplied;
}

SwitchResult ApplyBreadcrumbSwitch(const std::string& argument, RunSettings& settings,
                                   SwitchContext& context) {
  switch (At(argument, 2)) {
    case 'b':
      settings.breadcrumbs = FlagAt(argument, 3);
      return SwitchResult::kApplied;
    case 'h':
      return ReplaceFromFile(context, ValueFrom(argument, 3), kIndexPageAffixLimit,
                             "Breadcrumb head", settings.index_page_prefix);
    case 'i':
      settings.index_frame_links = FlagAt(argument, 3);
      return SwitchResult::kApplied;
    case 'l':
      settings.separator_at_first_level = FlagAt(argument, 3);
      return SwitchResult::kApplied;
    case 't':
      return ReplaceFromFile(context, ValueFrom(argument, 3), kIndexPageAffixLimit,
                             "Breadcrumb tail", settings.index_page_suffix);
    case 'u':
      return ReplaceFromFile(context, ValueFrom(argument, 3), kSeparatorLimit,
                             "Breadcrumb separator", settings.breadcrumb_separator);
    default:
      return SwitchResult::kIllegal;
  }
}

// Snippet names are relative to the output folder; the first readable file for a slot wins.
SwitchResult ApplySnippetSwitch(const std::string& argument, RunSettings& settings,
                                SwitchContext& context) {
  std::string path =
      MakePath(context.output_drive, context.output_folder, ValueFrom(argument, 3), "");
  if (!IsPathWithinLimit(path, context.console)) {
    return SwitchResult::kPathTooLong;
  }
  const std::size_t digit = static_cast<std::size_t>(At(argument, 2) - '1');
  if (!context.fs.IsReadable(path)) {
    context.console.Write("\nunable to read " + path + ".\n");
    settings.snippet_unread[digit] = true;
    return SwitchResult::kApplied;
  }
  context.console.Write("\nreading " + path + ".\n");
  std::optional<std::string> text = ReadTextFile(context.fs, path);
  if (!text) {
    settings.snippet_unread[digit] = true;
    return SwitchResult::kApplied;
  }
  settings.snippets_loaded = true;
  std::optional<std::string>& slot = settings.snippets[digit];
  if (!slot) {
    slot = std::string(UpToFirstNul(*text));
  }
  return SwitchResult::kApplied;
}

}  // namespace

SwitchResult ApplySwitch(const std::string& argument, RunSettings& settings,
                         SwitchContext& context) {
  if (At(argument, 0) != '-') {
    return SwitchResult::kIllegal;
  }
  switch (At(argument, 1)) {
    case 'u':
      return ApplyUrlSwitch(argument, settings, context);
    case 'm':
      return ApplyMenuSwitch(argument, settings, context);
    case 'b':
      return ApplyBreadcrumbSwitch(argument, settings, context);
    case 'c':
      settings.compression = FlagAt(argument, 2);
      return SwitchResult::kApplied;
    case 'f':
      if (At(argument, 2) == 'i') {
        settings.index_frame_pages = FlagAt(argument, 3);
        return SwitchResult::kApplied;
      }
      if (At(argument, 2) == 't') {
        settings.per_topic_titles = FlagAt(argument, 3);
        return SwitchResult::kApplied;
      }
      return SwitchResult::kIllegal;
    case 'n':
      if (At(argument, 2) == 'f') {
        settings.file_name_marker = FlagAt(argument, 3);
        return SwitchResult::kApplied;
      }
      return SwitchResult::kIllegal;
    case 'p':
      if (At(argument, 2) >= '1' && At(argument, 2) <= '9') {
        return ApplySnippetSwitch(argument, settings, context);
      }
      return SwitchResult::kIllegal;
    default:
      return SwitchResult::kIllegal;
  }
}

}  // namespace quorva
