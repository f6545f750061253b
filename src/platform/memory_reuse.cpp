#include "platform/memory_reuse.h"

#include <cstddef>  // names the C library: __GLIBC__ is defined only once one of its headers is in

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace quorva {

bool KeepFreedMemoryForReuse() {
#if defined(__GLIBC__)
  // A topic's buffers, a few kilobytes each, are taken from the heap and kept there when freed,
  // so that the next topic finds them without asking the system. Anything from 256 KB on (a
  // table that grows with the help set, a topic with the menu) is mapped on its own and handed
  // back whole when freed: in the heap, each table that grew would leave its old room behind as
  // a hole that the run cannot fill, 12 MB at a hundred thousand topics. Left to itself, the
  // library raises the size it maps from as large blocks are freed, up to 32 MB.
  constexpr int kSmallestMappedBuffer = 256 * 1024;
  return mallopt(M_MMAP_THRESHOLD, kSmallestMappedBuffer) == 1 &&
         mallopt(M_TRIM_THRESHOLD, 2 * kSmallestMappedBuffer) == 1;
#else
  return false;
#endif
}

}  // namespace quorva
