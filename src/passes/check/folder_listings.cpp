#include "passes/check/folder_listings.h"

#include <algorithm>
#include <utility>

#include "text/path.h"
#include "text/wildcard.h"

namespace quorva {

namespace {

// A path below the output folder as its folder ("" for the output folder itself) and its name.
std::pair<std::string_view, std::string_view> SplitAtLastSlash(std::string_view path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string_view::npos) {
    return {std::string_view(), path};
  }
  return {path.substr(0, slash), path.substr(slash + 1)};
}

}  // namespace

std::uint32_t FolderListings::Listing::Add(std::string_view name, bool ignores_case) {
  const std::uint32_t known = ignores_case ? FindWithoutCase(name) : StringTable::kNone;
  if (known != StringTable::kNone) {
    return known;
  }
  const std::uint32_t number = names.Add(name);
  if (folded_made) {
    Fold(number);
  }
  return number;
}

void FolderListings::Listing::Fold(std::uint32_t number) {
  const std::string_view name = names.Get(number);
  const std::uint32_t first = folded.FindOrAdd(names.Strings(), name, [number] { return number; });
  if (first != number && NameLessWithoutCase(name, names.Get(first))) {
    folded.Renumber(names.Strings(), name, number);
  }
}

std::uint32_t FolderListings::Listing::FindWithoutCase(std::string_view name) {
  if (!folded_made) {
    folded_made = true;
    for (std::uint32_t number = 0; number < names.Size(); ++number) {
      Fold(number);
    }
  }
  return folded.Find(names.Strings(), name);
}

void FolderListings::Listing::TakeSpellings(const FolderNames& listed) {
  std::unordered_map<std::uint32_t, std::string_view> respelled;
  for (std::string_view name : listed) {
    if (!names.Holds(name)) {
      const std::uint32_t other = FindWithoutCase(name);
      if (other != StringTable::kNone) {
        respelled.emplace(other, name);
      }
    }
  }
  if (respelled.empty()) {
    return;
  }
  StringTable spelled;
  for (std::uint32_t number = 0; number < names.Size(); ++number) {
    auto found = respelled.find(number);
    spelled.Add(found == respelled.end() ? names.Get(number) : found->second);
  }
  names = std::move(spelled);
  folded_made = false;
  folded.Clear();
}

std::string FolderListings::PathOfFolder(const std::string& folder) const {
  return folder.empty() ? output_folder_ : MakePath("", output_folder_ + folder, "", "");
}

FolderListings::Listing& FolderListings::ListFolderOnce(const std::string& folder) {
  auto found = listings_.find(folder);
  if (found != listings_.end()) {
    return found->second;
  }
  Listing& listing = listings_[folder];
  for (std::string_view name : fs_.ListFolder(PathOfFolder(folder), "*")) {
    listing.Add(name, false);
  }
  return listing;
}

std::uint32_t FolderListings::NoteWritten(std::string_view path) {
  const auto [folder, name] = SplitAtLastSlash(path);
  // A folder not listed yet is listed with the file in it when first looked into.
  Listing* listed = folder.empty() ? own_ : nullptr;
  if (listed == nullptr) {
    auto found = listings_.find(std::string(folder));
    if (found == listings_.end()) {
      return StringTable::kNone;
    }
    listed = &found->second;
  }
  Listing& listing = *listed;
  const std::uint32_t number = listing.Add(name, ignores_case_);
  if (ignores_case_) {
    const bool as_listed = listing.names.Get(number) == name;
    if (number >= listing.written_as_listed.size()) {
      listing.written_as_listed.resize(number + 1, false);
    }
    if (!as_listed) {
      ++generation_;
    }
    listing.written_as_listed[number] = as_listed;
    listing.written_respelled = listing.written_respelled || !as_listed;
  }
  return number;
}

bool FolderListings::MayTakeAnotherSpelling(const std::string& on_disk) {
  if (!ignores_case_) {
    return false;
  }
  const auto [folder, name] = SplitAtLastSlash(on_disk);
  auto found = listings_.find(std::string(folder));
  if (found == listings_.end()) {
    return true;
  }
  const Listing& listing = found->second;
  const std::uint32_t number = listing.names.Find(name);
  return number >= listing.written_as_listed.size() || !listing.written_as_listed[number];
}

void FolderListings::TakeFinalSpellings() {
  for (auto& [folder, listing] : listings_) {
    if (listing.written_respelled) {
      ++generation_;
      listing.TakeSpellings(fs_.ListFolder(PathOfFolder(folder), "*"));
      listing.written_respelled = false;
    }
  }
}

Presence FolderListings::Locate(const std::string& path, std::string& on_disk, bool as_spelled,
                                std::uint32_t* own_number) {
  on_disk.clear();
  if (own_number != nullptr) {
    *own_number = StringTable::kNone;
  }
  if (path.empty()) {
    return Presence::kFound;  // the output folder itself
  }
  if (path.find('/') == std::string::npos) {
    // A page of the output folder itself, as most links name one.
    const std::uint32_t number = OwnNames().Find(path);
    if (number != StringTable::kNone) {
      on_disk = path;
      if (own_number != nullptr) {
        *own_number = number;
      }
      return Presence::kFound;
    }
  }
  Presence presence = Presence::kFound;
  std::string folder;
  for (std::size_t start = 0; start <= path.size();) {
    const std::size_t end = std::min(path.find('/', start), path.size());
    const std::string_view name = std::string_view(path).substr(start, end - start);
    Listing& listing = ListFolderOnce(folder);
    std::string_view spelled = name;
    if (!listing.names.Holds(name)) {
      const std::uint32_t other = as_spelled ? StringTable::kNone : listing.FindWithoutCase(name);
      if (other == StringTable::kNone) {
        return Presence::kMissing;
      }
      spelled = listing.names.Get(other);
      presence = Presence::kOtherCase;
    }
    folder += (folder.empty() ? "" : "/") + std::string(spelled);
    start = end + 1;
  }
  on_disk = std::move(folder);
  return presence;
}

}  // namespace quorva
