#pragma once
// A fresh folder under the system's temporary folder, removed with its
// contents when the object goes.
#include <string>
#include <vector>

namespace tallowick::testing {

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& Path() const { return m_path; }
  // Path + "/", as a folder is given to the file writers.
  std::string Directory() const { return m_path + "/"; }
  // Path + "/" + name.
  std::string File(const std::string& name) const { return m_path + "/" + name; }
  std::string operator/(const std::string& name) const { return File(name); }
  // Names of the entries in the folder, sorted.
  std::vector<std::string> Entries() const;

 private:
  std::string m_path;
};

}  // namespace tallowick::testing
