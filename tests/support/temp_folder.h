#pragma once
// A fresh folder under the system's temporary folder, removed with its
// contents when the object goes.
#include <string>

namespace tallowick::testing {

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& Path() const { return m_path; }
  // Path + "/" + name.
  std::string File(const std::string& name) const { return m_path + "/" + name; }

 private:
  std::string m_path;
};

}  // namespace tallowick::testing
