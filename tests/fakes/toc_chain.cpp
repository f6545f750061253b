#include "fakes/toc_chain.h"

#include "platform/console.h"

namespace quorva {

namespace {

std::string Link(const std::string& name) {
  return "<a href=\"" + name + "\">x</a>\n";
}

}  // namespace

void AddTocChain(MemoryFileSystem& fs, int pages) {
  for (int i = 0; i < pages; ++i) {
    std::string page = "<html><body>\n";
    if (i + 1 < pages) {
      page += Link("toc" + std::to_string(i + 1) + ".htm");
    }
    page += Link("t" + std::to_string(i) + ".htm") + "</body></html>";
    fs.AddFile(i == 0 ? "help/toc.htm" : "help/toc" + std::to_string(i) + ".htm", page);
  }
}

std::string DeepestProgressHead() {
  return "\n" + std::string(32, ' ') + std::string(kConsoleCorner) + "toc32.htm -(";
}

}  // namespace quorva
