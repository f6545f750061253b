#pragma once

#include <algorithm>
#include <cstddef>
#include <string_view>
#include <vector>

namespace quorva {

// Makes room in `buffer`, a vector a run fills a little for every topic, for `more` elements,
// growing it by a quarter where a full vector would double: at a hundred thousand topics a
// doubled buffer leaves megabytes unused, and its copy is made once per quarter.
template <typename Element>
void MakeRoomFor(std::vector<Element>& buffer, std::size_t more) {
  const std::size_t needed = buffer.size() + more;
  if (needed > buffer.capacity()) {
    buffer.reserve(std::max(needed, buffer.capacity() + buffer.capacity() / 4 + 16));
  }
}

// Makes `table`, kept by numbers a run hands out one by one, long enough to hold `number`,
// growing it as MakeRoomFor does; new elements take their default value.
template <typename Element>
void GrowToHold(std::vector<Element>& table, std::size_t number) {
  if (number >= table.size()) {
    MakeRoomFor(table, number + 1 - table.size());
    table.resize(number + 1);
  }
}

// Appends `text` to the byte buffer `buffer`, growing it as MakeRoomFor does.
inline void AppendBytes(std::vector<char>& buffer, std::string_view text) {
  MakeRoomFor(buffer, text.size());
  buffer.insert(buffer.end(), text.begin(), text.end());
}

}  // namespace quorva
