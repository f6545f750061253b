#include "text/path.h"

#include <algorithm>

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

// The length of the drive ("C:") that begins the path: 2 or 0.
std::size_t DriveLength(std::string_view path) {
  return path.size() >= 2 && path[1] == ':' && IsAsciiLetter(path[0]) ? 2 : 0;
}

// Where the file name begins: after the drive and the last separator.
std::size_t FileNameStart(std::string_view path) {
  for (std::size_t i = path.size(); i > 0; --i) {
    if (IsSeparator(path[i - 1])) {
      return std::max(i, DriveLength(path));
    }
  }
  return DriveLength(path);
}

}  // namespace

PathParts SplitPath(std::string_view path) {
  PathParts parts;
  const std::size_t drive = DriveLength(path);
  const std::size_t name_start = FileNameStart(path);
  parts.drive = std::string(path.substr(0, drive));
  parts.folder = std::string(path.substr(drive, name_start - drive));
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

std::string_view FolderOf(std::string_view path) {
  return path.substr(0, FileNameStart(path));
}

std::string FileNameOf(std::string_view path) {
  return std::string(path.substr(FileNameStart(path)));
}

std::string PathBeside(std::string_view path, std::string_view name) {
  std::string beside(FolderOf(path));
  return beside.append(name);
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
