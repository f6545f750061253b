#include "platform/memory_reuse.h"

#include <gtest/gtest.h>

#include <cstddef>

namespace quorva {
namespace {

// The C library takes the settings: a setting it refuses (a size it does not allow) or one never
// made (the library not recognised) would leave every large block in the heap, where a table that
// grew leaves its old room as a hole.
TEST(MemoryReuse, TheCLibraryTakesTheSettings) {
#if defined(__GLIBC__)
  EXPECT_TRUE(KeepFreedMemoryForReuse());
#else
  EXPECT_FALSE(KeepFreedMemoryForReuse());
#endif
}

}  // namespace
}  // namespace quorva
