#include "fakes/temp_folder.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace quorva {

namespace fs = std::filesystem;

TempFolder::TempFolder() {
  static std::atomic<int> counter{0};
  auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  fs::path path = fs::temp_directory_path() /
                  ("quorva-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
  fs::create_directories(path);
  path_ = path.string();
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
  fs::remove_all(path_, ignored);
}

std::string TempFolder::operator/(const std::string& name) const {
  return (fs::path(path_) / name).string();
}

void TempFolder::Write(const std::string& name, const std::string& bytes) const {
  fs::path path = fs::path(path_) / name;
  fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

std::string TempFolder::Read(const std::string& name) const {
  std::ifstream in(fs::path(path_) / name, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

bool TempFolder::Exists(const std::string& name) const {
  return fs::exists(fs::path(path_) / name);
}

}  // namespace quorva
