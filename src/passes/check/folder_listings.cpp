#include "passes/check/folder_listings.h"

#include <algorithm>

#include "text/path.h"
#include "text/wildcard.h"

namespace quorva {

const FolderListings::Listing& FolderListings::ListFolderOnce(const std::string& folder) {
  auto found = listings_.find(folder);
  if (found != listings_.end()) {
    return found->second;
  }
  Listing& listing = listings_[folder];
  const std::string path =
      folder.empty() ? output_folder_ : MakePath("", output_folder_ + folder, "", "");
  for (std::string& name : fs_.ListFolder(path, "*")) {
    listing.by_folded.emplace(FoldAsciiCase(name), name);
    listing.names.insert(std::move(name));
  }
  return listing;
}

const std::unordered_set<std::string>& FolderListings::NamesIn(const std::string& folder) {
  return ListFolderOnce(folder).names;
}

Presence FolderListings::Locate(const std::string& path, std::string& on_disk) {
  on_disk.clear();
  if (path.empty()) {
    return Presence::kFound;  // the output folder itself
  }
  if (path.find('/') == std::string::npos) {
    // A page of the output folder itself, as most links name one.
    const Listing& listing = ListFolderOnce("");
    if (listing.names.count(path) != 0) {
      on_disk = path;
      return Presence::kFound;
    }
  }
  Presence presence = Presence::kFound;
  std::string folder;
  for (std::size_t start = 0; start <= path.size();) {
    const std::size_t end = std::min(path.find('/', start), path.size());
    const std::string name = path.substr(start, end - start);
    const Listing& listing = ListFolderOnce(folder);
    const std::string* spelled = &name;
    if (listing.names.count(name) == 0) {
      auto other = listing.by_folded.find(FoldAsciiCase(name));
      if (other == listing.by_folded.end()) {
        return Presence::kMissing;
      }
      spelled = &other->second;
      presence = Presence::kOtherCase;
    }
    folder += (folder.empty() ? "" : "/") + *spelled;
    start = end + 1;
  }
  on_disk = std::move(folder);
  return presence;
}

}  // namespace quorva
