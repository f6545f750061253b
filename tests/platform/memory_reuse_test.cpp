#include "platform/memory_reuse.h"

#include <gtest/gtest.h>

#include <cstddef>

// AddressSanitizer's allocator stands in for the C library's and takes no settings.
#if defined(__SANITIZE_ADDRESS__)
#define QUORVA_TEST_UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QUORVA_TEST_UNDER_ASAN 1
#endif
#endif

namespace quorva {
namespace {

// The C library takes the settings: a setting it refuses (a size it does not allow) or one never
// made (the library not recognised) would leave every large block in the heap, where a table that
// grew leaves its old room as a hole.
TEST(MemoryReuse, TheCLibraryTakesTheSettings) {
#if defined(QUORVA_TEST_UNDER_ASAN)
  EXPECT_FALSE(KeepFreedMemoryForReuse());
#elif defined(__GLIBC__)
  EXPECT_TRUE(KeepFreedMemoryForReuse());
#else
  EXPECT_FALSE(KeepFreedMemoryForReuse());
#endif
}

}  // namespace
}  // namespace quorva
