// Holds a file open for a while, as a virus scanner or a search indexer does just after a file
// was written:
//   quorva_hold_file FILE SHARE MARKER MILLISECONDS
// opens FILE for reading with the share mode SHARE (0 shares nothing), creates MARKER once it
// holds the file, and closes the file once MARKER is removed or MILLISECONDS later, whichever
// comes first.
#include <windows.h>

#include <cstdlib>

int main(int argc, char** argv) {
  if (argc != 5) {
    return 2;
  }
  const DWORD share = std::strtoul(argv[2], nullptr, 10);
  HANDLE file = ::CreateFileA(argv[1], GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return 1;
  }
  HANDLE marker = ::CreateFileA(argv[3], GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  if (marker == INVALID_HANDLE_VALUE) {
    return 1;
  }
  ::CloseHandle(marker);
  const DWORD longest = std::strtoul(argv[4], nullptr, 10);
  for (DWORD held = 0; held < longest && ::GetFileAttributesA(argv[3]) != INVALID_FILE_ATTRIBUTES;
       held += 10) {
    ::Sleep(10);
  }
  ::CloseHandle(file);
  return 0;
}
