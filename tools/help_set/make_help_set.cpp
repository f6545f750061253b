// make-help-set FOLDER [TOPICS] [SEED] [--plant] [--menu-in-every-hundredth]: writes a generated
// help set for benchmarks and tests, and FOLDER/expected-findings.txt, the lines a link check of
// the processed set prints.
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "help_set/help_set_generator.h"

namespace {

int Usage() {
  std::cerr << "usage: make-help-set FOLDER [TOPICS=15000] [SEED=1] [--plant]\n"
               "                     [--menu-in-every-hundredth]\n"
               "  --plant  puts problems of every kind a link check reports into the set\n"
               "  --menu-in-every-hundredth  puts <MENU> into one topic in a hundred however\n"
               "           many there are (without it, into fifteen topics at most)\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || std::string(argv[1]).rfind("--", 0) == 0) {
    return Usage();
  }
  quorva::Planting planting = quorva::Planting::kNone;
  quorva::MenuTopics menus = quorva::MenuTopics::kUpToFifteen;
  std::vector<std::string> numbers;
  for (int i = 2; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument == "--plant") {
      planting = quorva::Planting::kEveryKind;
    } else if (argument == "--menu-in-every-hundredth") {
      menus = quorva::MenuTopics::kEveryHundredth;
    } else if (argument.rfind("--", 0) == 0 || numbers.size() == 2) {
      return Usage();
    } else {
      numbers.push_back(argument);
    }
  }
  int topics = numbers.size() > 0 ? std::atoi(numbers[0].c_str()) : 15000;
  auto seed = static_cast<std::uint32_t>(
      numbers.size() > 1 ? std::strtoul(numbers[1].c_str(), nullptr, 10) : 1);
  if (topics < 10) {
    std::cerr << "make-help-set: at least 10 topics\n";
    return 2;
  }
  const std::string folder = argv[1];
  quorva::GeneratedHelpSet set = quorva::GenerateHelpSet(folder, topics, seed, planting, menus);
  // LF line ends, whatever the system: the lines are compared with the check's own.
  std::ofstream expected(folder + "/expected-findings.txt", std::ios::binary);
  for (const quorva::PlantedFinding& finding : set.findings) {
    expected << quorva::FormatFindingLine(finding) << '\n';
  }
  expected.close();
  if (!expected) {
    std::cerr << "make-help-set: cannot write " << folder << "/expected-findings.txt\n";
    return 1;
  }
  std::cout << set.topic_paths.size() << " topics, " << set.orphan_paths.size()
            << " of them orphans, " << set.findings.size() << " findings expected, in " << folder
            << "\n";
  return 0;
}
