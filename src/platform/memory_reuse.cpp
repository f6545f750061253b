#include "platform/memory_reuse.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace quorva {

void KeepFreedMemoryForReuse() {
#if defined(__GLIBC__)
  // Buffers up to 64 MB (a topic with a large menu) come from the heap, and the heap is not
  // trimmed below 128 MB of free space; peak memory stays what the largest page needs.
  constexpr int kLargestReusedBuffer = 64 * 1024 * 1024;
  mallopt(M_MMAP_THRESHOLD, kLargestReusedBuffer);
  mallopt(M_TRIM_THRESHOLD, 2 * kLargestReusedBuffer);
#endif
}

}  // namespace quorva
