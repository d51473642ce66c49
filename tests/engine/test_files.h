#pragma once
// Small file helpers shared by the engine tests.
#include <cstdint>
#include <string>
#include <vector>

namespace tallowick::testing {

using Bytes = std::vector<unsigned char>;

// "C6 EF 00" -> {0xC6, 0xEF, 0x00}
Bytes Hex(const std::string& text);
std::string ToHex(const Bytes& bytes);

// A fresh folder under the system's temporary folder, removed with its
// contents when the object goes.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  // Ends with '/'.
  const std::string& Path() const { return m_path; }
  std::string operator/(const std::string& name) const { return m_path + name; }
  // Names of the entries in the folder, sorted.
  std::vector<std::string> Entries() const;

 private:
  std::string m_path;
};

Bytes ReadFileBytes(const std::string& path);
std::string ReadFileText(const std::string& path);
void WriteFileBytes(const std::string& path, const Bytes& bytes);
bool FileExists(const std::string& path);

}  // namespace tallowick::testing
