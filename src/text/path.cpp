#include "text/path.h"

namespace quorva {

namespace {

#ifdef _WIN32
constexpr char kSeparator = '\\';
#else
constexpr char kSeparator = '/';
#endif

bool IsSeparator(char c) {
  return c == '\\' || c == '/';
}

bool IsAsciiLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

}  // namespace

PathParts SplitPath(std::string_view path) {
  PathParts parts;
  if (path.size() >= 2 && path[1] == ':' && IsAsciiLetter(path[0])) {
    parts.drive = std::string(path.substr(0, 2));
    path.remove_prefix(2);
  }
  std::size_t name_start = 0;
  for (std::size_t i = 0; i < path.size(); ++i) {
    if (IsSeparator(path[i])) {
      name_start = i + 1;
    }
  }
  parts.folder = std::string(path.substr(0, name_start));
  std::string_view name = path.substr(name_start);
  std::size_t dot = name.rfind('.');
  if (dot == std::string_view::npos) {
    parts.base = std::string(name);
  } else {
    parts.base = std::string(name.substr(0, dot));
    parts.extension = std::string(name.substr(dot));
  }
  return parts;
}

std::string MakePath(std::string_view drive, std::string_view folder, std::string_view base,
                     std::string_view extension) {
  std::string path(drive);
  path += folder;
  if (!folder.empty() && !IsSeparator(folder.back())) {
    path += kSeparator;
  }
  path += base;
  if (!extension.empty()) {
    if (extension.front() != '.') {
      path += '.';
    }
    path += extension;
  }
  return path;
}

std::string FileNameOf(std::string_view path) {
  PathParts parts = SplitPath(path);
  return parts.base + parts.extension;
}

std::string PathBeside(std::string_view path, std::string_view name) {
  PathParts parts = SplitPath(path);
  return MakePath(parts.drive, parts.folder, name, "");
}

std::optional<std::vector<std::string>> FoldPathSegments(std::string_view path) {
  std::vector<std::string> segments;
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = start;
    while (end < path.size() && !IsSeparator(path[end])) {
      ++end;
    }
    const std::string_view segment = path.substr(start, end - start);
    if (segment == "..") {
      if (segments.empty()) {
        return std::nullopt;
      }
      segments.pop_back();
    } else if (!segment.empty() && segment != ".") {
      segments.emplace_back(segment);
    }
    start = end + 1;
  }
  return segments;
}

std::string JoinSegments(const std::vector<std::string>& segments) {
  std::string path;
  for (const std::string& segment : segments) {
    path += (path.empty() ? "" : "/") + segment;
  }
  return path;
}

}  // namespace quorva
