#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorva {

// The longest path the tool handles; longer ones are refused, never cut into another name.
constexpr std::size_t kPathLimit = 259;

// A path as drive ("C:"), folder (with its trailing separator), base name and extension
// (with its leading dot).
struct PathParts {
  std::string drive;
  std::string folder;
  std::string base;
  std::string extension;
};

// Splits at the last backslash or slash and at the last dot after it; a leading letter and
// colon form the drive on every platform.
PathParts SplitPath(std::string_view path);

// Joins the parts: a separator is added after a folder that lacks one, a dot before an
// extension that lacks one, nothing for an empty extension.
std::string MakePath(std::string_view drive, std::string_view folder, std::string_view base,
                     std::string_view extension);

// Drive and folder as SplitPath gives them, joined: the path up to its file name, which ends
// with a separator unless it is empty or a drive alone.
std::string_view FolderOf(std::string_view path);

// Base name followed by extension: the file name without drive or folder.
std::string FileNameOf(std::string_view path);

// Drive and folder of a path joined with a name, as every page named by a page is looked for.
std::string PathBeside(std::string_view path, std::string_view name);

// The folders and name of a path, split at either separator, with "." dropped and each ".."
// taking away the folder before it; nothing when a ".." climbs above the path's start. A drive
// ("C:") is the first segment; a leading separator leaves no trace.
std::optional<std::vector<std::string>> FoldPathSegments(std::string_view path);

// Segments joined with "/".
std::string JoinSegments(const std::vector<std::string>& segments);

}  // namespace quorva
