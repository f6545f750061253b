#include "fakes/temp_folder.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>

#ifdef _WIN32
#include <windows.h>
#endif

#include "text/path.h"

namespace quorva {

namespace fs = std::filesystem;

namespace {

// The temporary folder as the narrow name the tool's file functions take. On Windows
// std::filesystem reads narrow names in the ANSI code page but gives UTF-8 back from string(),
// so names handed out are joined as strings and never taken back from a path object.
std::string TemporaryRoot() {
#ifdef _WIN32
  char buffer[MAX_PATH + 1];
  DWORD length = ::GetTempPathA(sizeof buffer, buffer);
  return std::string(buffer, length);
#else
  return fs::temp_directory_path().string();
#endif
}

}  // namespace

TempFolder::TempFolder() {
  static std::atomic<int> counter{0};
  auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  path_ = MakePath("", TemporaryRoot(),
                   "quorva-test-" + std::to_string(stamp) + "-" + std::to_string(counter++), "");
  fs::create_directories(path_);
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
  fs::remove_all(path_, ignored);
}

std::string TempFolder::operator/(const std::string& name) const {
  return MakePath("", path_, name, "");
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
