#pragma once

namespace quorva {

// Asks the C library to keep freed memory for the next page instead of handing it back to the
// system: a run allocates and frees a topic's buffers thousands of times, and memory handed
// back has to be faulted in again. Does nothing where the library offers no such setting.
void KeepFreedMemoryForReuse();

}  // namespace quorva
