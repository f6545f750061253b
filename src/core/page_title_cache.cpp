#include "core/page_title_cache.h"

#include <algorithm>
#include <memory>
#include <new>

#include "core/page_title.h"
#include "text/modest_growth.h"

namespace quorva {

namespace {

std::uint64_t DigestStamp(const FileStamp& stamp) {
  std::uint64_t digest = 14695981039346656037ull;
  for (std::uint64_t field :
       {stamp.device, stamp.file, stamp.size, stamp.modified, stamp.changed}) {
    for (int byte = 0; byte < 8; ++byte) {
      digest ^= (field >> (8 * byte)) & 0xff;
      digest *= 1099511628211ull;
    }
  }
  return digest;
}

}  // namespace

std::optional<std::string> PageTitleCache::Title(const std::string& path) {
  const std::optional<std::uint64_t> replaced = files_.ReplacedSoFar();
  const std::uint32_t known = paths_.Find(path);
  if (known < entries_.size() && entries_[known].held) {
    Entry& entry = entries_[known];
    const std::string title(titles_.data() + entry.title_begin, entry.title_size);
    if (replaced && static_cast<std::uint32_t>(*replaced) == entry.confirmed_at) {
      return title;
    }
    std::optional<FileStamp> stamp = files_.Stamp(path);
    if (stamp && DigestStamp(*stamp) == entry.stamp_digest) {
      entry.confirmed_at = static_cast<std::uint32_t>(replaced.value_or(0));
      return title;
    }
    entry.held = false;
  }
  std::unique_ptr<ByteReader> file = files_.OpenForReading(path);
  if (!file) {
    return std::nullopt;
  }
  // The stamp is the file's as opened, before it is read: a change while it is read shows at
  // the next look. A file changed too recently for its stamp to show the next change is read
  // again next time.
  const std::optional<FileStamp> stamp = file->Stamp();
  std::string title = ReadPageTitle(*file);
  Remember(path, stamp, title, replaced);
  return title;
}

void PageTitleCache::Learn(const std::string& path, std::string_view bytes) {
  // A pass asks for the title of a page it lists before it rewrites the page; one never asked
  // for is not kept.
  const std::uint32_t known = paths_.Find(path);
  if (known >= entries_.size() || !entries_[known].remembered) {
    return;
  }
  BytesReader reader(bytes);
  Remember(path, files_.Stamp(path), ReadPageTitle(reader), files_.ReplacedSoFar());
}

void PageTitleCache::Remember(const std::string& path, const std::optional<FileStamp>& stamp,
                              const std::string& title, std::optional<std::uint64_t> replaced) {
  if (!stamp || !stamp->settled) {
    return;
  }
  const std::uint32_t number = paths_.Add(path);
  GrowToHold(entries_, number);
  // A page's title read again (a dry run learns each rewritten page's) takes the room of its
  // last where it fits, most often the same bytes.
  Entry& entry = entries_[number];
  std::uint32_t begin = entry.title_begin;
  if (title.size() <= entry.title_size) {
    std::copy(title.begin(), title.end(), titles_.begin() + begin);
  } else {
    // Offsets of four bytes and lengths of one: titles are cut at 254 bytes, so even a million
    // of them fit.
    static_assert(kPageTitleLimit <= UINT8_MAX, "a title's length fits in a byte");
    if (titles_.size() + title.size() > UINT32_MAX) {
      throw std::bad_alloc();
    }
    begin = static_cast<std::uint32_t>(titles_.size());
    AppendBytes(titles_, title);
  }
  entry = Entry{DigestStamp(*stamp),
                begin,
                static_cast<std::uint32_t>(replaced.value_or(0)),
                static_cast<std::uint8_t>(title.size()),
                true,
                true};
}

}  // namespace quorva
