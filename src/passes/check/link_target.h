#pragma once

#include <string>
#include <string_view>

namespace quorva {

// What the check makes of a link's value.
enum class LinkScope {
  kChecked,  // a file of the output folder or below it
  // Empty, with a scheme, starting with "/", or resolving above the output folder: not a file
  // of the help.
  kSkipped,
};

struct LinkTarget {
  LinkScope scope = LinkScope::kSkipped;
  // The file's path below the output folder, "/" between folders; empty for the output folder.
  // A link that is only a fragment (or a query) names its own page, and no path.
  std::string path;
  bool names_own_page = false;
  bool has_fragment = false;
  std::string fragment;  // percent-decoded, without its "#"
};

// Resolves a link of a page in `folder` below the output folder ("" for the output folder
// itself, "/" between folders) as a browser reads it: character references decoded,
// surrounding white space dropped, "\" read as "/", the query dropped, percent-decoded, "." and
// ".." folded.
LinkTarget ResolveLink(std::string_view value, std::string_view folder = "");

}  // namespace quorva
