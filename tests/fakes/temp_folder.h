#pragma once

#include <string>

namespace quorva {

// A fresh folder under the system's temporary folder, removed with everything in it when the
// object goes. Paths it gives end without a separator.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& Path() const { return path_; }
  // The path of `name` inside the folder.
  std::string operator/(const std::string& name) const;
  // Writes bytes as they are, making folders on the way.
  void Write(const std::string& name, const std::string& bytes) const;
  std::string Read(const std::string& name) const;
  bool Exists(const std::string& name) const;

 private:
  std::string path_;
};

}  // namespace quorva
