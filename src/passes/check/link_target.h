#pragma once

#include <string>
#include <string_view>

namespace quorva {

// What the check makes of a link's value.
enum class LinkScope {
  kChecked,  // a file of the output folder or below it
  kSkipped,  // empty, with a scheme, or starting with "/": not a file of the help
  kOutside,  // resolves above the output folder, where the help does not lie
};

struct LinkTarget {
  LinkScope scope = LinkScope::kSkipped;
  // The file's path below the output folder, "/" between folders; empty for the page itself
  // (a link that is only a fragment) or for the output folder.
  std::string path;
  bool names_own_page = false;
  bool has_fragment = false;
  std::string fragment;  // percent-decoded, without its "#"
};

// Resolves a link of a page in the output folder as a browser reads it: character references
// decoded, surrounding white space dropped, "\" read as "/", the query dropped, percent-decoded,
// "." and ".." folded.
LinkTarget ResolveLink(std::string_view value);

}  // namespace quorva
