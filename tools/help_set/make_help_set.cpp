// make-help-set FOLDER [TOPICS] [SEED]: writes a generated help set for benchmarks and tests.
#include <cstdlib>
#include <iostream>
#include <string>

#include "help_set/help_set_generator.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::cerr << "usage: make-help-set FOLDER [TOPICS=15000] [SEED=1]\n";
    return 2;
  }
  int topics = argc > 2 ? std::atoi(argv[2]) : 15000;
  auto seed = static_cast<std::uint32_t>(argc > 3 ? std::strtoul(argv[3], nullptr, 10) : 1);
  if (topics < 10) {
    std::cerr << "make-help-set: at least 10 topics\n";
    return 2;
  }
  quorva::GeneratedHelpSet set = quorva::GenerateHelpSet(argv[1], topics, seed);
  std::cout << set.topic_paths.size() << " topics, " << set.orphan_paths.size()
            << " of them orphans, in " << argv[1] << "\n";
  return 0;
}
