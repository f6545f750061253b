#pragma once

namespace quorva {

// Asks the C library to keep freed small buffers for the next page instead of handing them back
// to the system: a run allocates and frees a topic's buffers thousands of times, and memory
// handed back has to be faulted in again. Large blocks are handed back at once, so the tables
// that grow with the help set leave no holes behind. Does nothing where the library offers no
// such setting; true where the library took the settings.
bool KeepFreedMemoryForReuse();

}  // namespace quorva
