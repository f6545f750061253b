#include "core/toc_page.h"

#include <new>

#include "core/fatal_error.h"
#include "text/text_mode.h"

namespace quorva {

namespace {

bool IsNameStart(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

bool IsNameCharacter(char c) {
  return IsNameStart(c) || c == '.';
}

}  // namespace

std::optional<std::string> ReadTocPage(FileSystem& fs, const std::string& path) {
  std::optional<std::string> text = ReadTextFile(fs, path);
  if (text) {
    text->resize(UpToFirstNul(*text).size());
  }
  return text;
}

bool ScanHrefFileName(std::string_view text, std::string& name, std::size_t& position,
                      std::size_t name_limit) {
  std::size_t i = position;
  if (i >= text.size()) {
    return false;
  }
  name.clear();
  if (i <= 3 || text.compare(i - 3, 4, "href") != 0) {
    return false;
  }
  while (i < text.size() && text[i] != '"') {
    ++i;
  }
  while (i < text.size() && !IsNameStart(text[i])) {
    ++i;
  }
  if (i >= text.size()) {
    position = i;
    return false;
  }
  std::size_t start = i;
  while (i < text.size() && i - start < name_limit && IsNameCharacter(text[i])) {
    ++i;
  }
  name.assign(text.substr(start, i - start));
  position = i;
  return true;
}

bool IsWholeLinkName(std::string_view name) {
  if (name.empty() || !IsNameStart(name[0]) || name.size() > kLinkNameLimit) {
    return false;
  }
  for (char c : name) {
    if (!IsNameCharacter(c)) {
      return false;
    }
  }
  return true;
}

bool HasPageExtension(std::string_view name) {
  for (std::string_view extension : {".htm", ".HTM", ".php", ".PHP"}) {
    if (name.find(extension) != std::string_view::npos) {
      return true;
    }
  }
  return false;
}

bool IsTocPageName(std::string_view name) {
  return name.size() > 3 && name.compare(0, 3, "toc") == 0;
}

bool ClaimPageLink(NameList& names, std::string_view name) {
  return HasPageExtension(name) && names.ClaimName(name);
}

std::string TocProgressHead(int depth, const PathParts& page) {
  return "\n" + std::string(static_cast<std::size_t>(depth), ' ') + std::string(kConsoleCorner) +
         page.base + page.extension + " -(";
}

void ProgressNames::Add(std::string_view name) {
  if (!first_) {
    console_.Write(", ");
  }
  console_.Write(name);
  first_ = false;
}

std::optional<std::string> EnterTocPage(FileSystem& fs, Console& console, std::string_view walk,
                                        const std::string& path, int depth) {
  std::optional<std::string> text;
  // A page that is missing or may not be read fails the read itself: no need to ask first.
  try {
    text = ReadTocPage(fs, path);
  } catch (const std::bad_alloc&) {
    throw FatalError("Error: Out of memory");
  }
  if (!text) {
    console.Write("\n " + std::string(walk) + " - Error " + path + " NOT found.\n");
    console.WaitForKey();
    return std::nullopt;
  }
  console.Write(TocProgressHead(depth, SplitPath(path)));
  if (depth > kDeepestTocLevel) {
    throw FatalError("Error: TOC level depth exceeded " + std::to_string(kDeepestTocLevel) + ".");
  }
  return text;
}

}  // namespace quorva
