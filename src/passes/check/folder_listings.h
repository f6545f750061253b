#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/file_system.h"
#include "text/string_index.h"
#include "text/string_table.h"

namespace quorva {

// Whether a path names a file as the disk spells it, only in other letter cases, or nothing.
enum class Presence { kFound, kOtherCase, kMissing };

// The names in the output folder and the folders below it, each folder listed once and kept up
// to date with the files the run writes, looked up with and without letter case, so that a link
// in the wrong case is told on every platform. The run creates files and never removes one, so
// a name once found stays found.
class FolderListings {
 public:
  FolderListings(FileSystem& fs, std::string output_folder)
      : fs_(fs), output_folder_(std::move(output_folder)), ignores_case_(fs.IgnoresLetterCase()) {}

  // The names in the output folder itself, each with its number.
  const StringTable& OwnNames() {
    if (own_ == nullptr) {
      own_ = &ListFolderOnce("");
    }
    return own_->names;
  }

  // A file the run wrote, at `path` below the output folder ("/" between folders). Gives its
  // number in its folder's listing, kNone where that folder has not been listed.
  std::uint32_t NoteWritten(std::string_view path);

  // Looks up a path below the output folder ("/" between folders), a folder at a time;
  // `on_disk` gets the path as the disk spells it. `as_spelled`: a path not found as spelled is
  // missing, without a lookup in other letter cases.
  // `own_number`, where given, gets the number in OwnNames of a name of the output folder
  // itself found as spelled; kNone for any other path.
  Presence Locate(const std::string& path, std::string& on_disk, bool as_spelled = false,
                  std::uint32_t* own_number = nullptr);

  // Where the file system ignores letter case, a file written under another spelling than the
  // listed one may take that spelling (NTFS does, FAT does not). True for a path `Locate` gave
  // whose spelling may still change that way: a file the run has not written as listed.
  bool MayTakeAnotherSpelling(const std::string& on_disk);

  // Lists again each folder a file was written into under another spelling, and takes the names
  // as the disk spells them now. Each name keeps its number.
  void TakeFinalSpellings();

  // Changes whenever a link Locate found, and MayTakeAnotherSpelling let pass, could be decided
  // otherwise: when a spelling changes or a page is written under another. New names change
  // no such decision.
  std::uint64_t Generation() const { return generation_; }

 private:
  struct Listing {
    StringTable names;
    // The names without letter case, made only when a lookup first needs them: while the passes
    // run, only names found as spelled are decided (and files written where the file system
    // ignores case are looked up without it).
    // Each folded name stands for the number of the name spelled so that it sorts first, as a
    // listing gives it first.
    bool folded_made = false;
    StringIndex folded{true};
    // The name's number; a name in other letter cases is the one listed where the file system
    // ignores case.
    std::uint32_t Add(std::string_view name, bool ignores_case);
    // The number of the name spelled as `name` is in other letter cases; kNone when none is.
    std::uint32_t FindWithoutCase(std::string_view name);
    // Takes the spellings `listed` gives to names known in other letter cases.
    void TakeSpellings(const FolderNames& listed);

    // Where the file system ignores letter case: whether the run's last write of each name was
    // under the listed spelling, and whether any was under another.
    std::vector<bool> written_as_listed;
    bool written_respelled = false;

   private:
    void Fold(std::uint32_t number);
  };
  Listing& ListFolderOnce(const std::string& folder);
  // `folder` below the output folder ("/" between folders) as the file system takes it.
  std::string PathOfFolder(const std::string& folder) const;

  FileSystem& fs_;
  std::string output_folder_;
  bool ignores_case_;
  std::unordered_map<std::string, Listing> listings_;
  // The output folder's own listing, asked for with every page and link; a node of listings_,
  // which stays where it is as the map grows.
  Listing* own_ = nullptr;
  std::uint64_t generation_ = 0;
};

}  // namespace quorva
