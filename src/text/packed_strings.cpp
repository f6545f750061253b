#include "text/packed_strings.h"

#include <new>

#include "text/modest_growth.h"

namespace quorva {

void PackedStrings::Add(std::string_view text) {
  if (bytes_.size() + text.size() > UINT32_MAX) {
    throw std::bad_alloc();
  }
  AppendBytes(bytes_, text);
  MakeRoomFor(ends_, 1);
  ends_.push_back(static_cast<std::uint32_t>(bytes_.size()));
}

void PackedStrings::Clear() {
  std::vector<char>().swap(bytes_);
  std::vector<std::uint32_t>().swap(ends_);
}

}  // namespace quorva
