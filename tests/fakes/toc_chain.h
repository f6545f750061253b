#pragma once

#include <string>

#include "fakes/memory_file_system.h"

namespace quorva {

// Writes help/toc.htm and the nested pages help/toc1.htm .. toc<pages - 1>.htm, each nested
// page a level deeper than the one before: page i links the next page as a book whose topic
// is t<i>.htm, and the deepest page lists only its topic. Every walk reads them alike.
void AddTocChain(MemoryFileSystem& fs, int pages);

// What a walk prints last when a chain of 33 pages stops it: the progress head of toc32.htm.
std::string DeepestProgressHead();

}  // namespace quorva
