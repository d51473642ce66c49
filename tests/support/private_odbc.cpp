#include "tests/support/private_odbc.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace tallowick::testing {

namespace {

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void AppendSection(const std::string& path, const std::string& name, const std::string& driver,
                   const std::vector<std::pair<std::string, std::string>>& attributes) {
  std::ofstream out(path, std::ios::app);
  out << "\n[" << name << "]\nDriver=" << driver << "\n";
  for (const auto& [key, value] : attributes) out << key << "=" << value << "\n";
}

void RemoveFolder(const std::string& folder) {
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
}

}  // namespace

PrivateOdbc& PrivateOdbc::Get() {
  static PrivateOdbc instance;
  return instance;
}

PrivateOdbc::PrivateOdbc() {
  std::string pattern = (std::filesystem::temp_directory_path() / "tallowick-odbc-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  m_folder = pattern;
  std::filesystem::create_directories(m_folder + "/system");
  // Debian's PostgreSQL drivers are registered with CommLog=1, which leaves a
  // log in /tmp for every connection: the tests' copy turns it off.
  std::string drivers = ReadText("/etc/odbcinst.ini");
  for (std::size_t at = 0; (at = drivers.find("CommLog=1", at)) != std::string::npos;) {
    drivers.replace(at, 9, "CommLog=0");
  }
  std::ofstream(m_folder + "/system/odbcinst.ini") << drivers;
  std::ofstream(UserIniPath()).flush();
  std::ofstream(SystemIniPath()).flush();
  ::setenv("ODBCINI", UserIniPath().c_str(), 1);
  ::setenv("ODBCSYSINI", (m_folder + "/system").c_str(), 1);
  ::unsetenv("ODBCINSTINI");
  static std::string folderToRemove;
  folderToRemove = m_folder;
  std::atexit([] { RemoveFolder(folderToRemove); });
}

std::string PrivateOdbc::UserIniText() const { return ReadText(UserIniPath()); }
std::string PrivateOdbc::SystemIniText() const { return ReadText(SystemIniPath()); }

void PrivateOdbc::AddUserDataSource(
    const std::string& name, const std::string& driver,
    const std::vector<std::pair<std::string, std::string>>& attributes) {
  AppendSection(UserIniPath(), name, driver, attributes);
}

void PrivateOdbc::AddSystemDataSource(
    const std::string& name, const std::string& driver,
    const std::vector<std::pair<std::string, std::string>>& attributes) {
  AppendSection(SystemIniPath(), name, driver, attributes);
}

void PrivateOdbc::ClearDataSources() {
  std::ofstream(UserIniPath(), std::ios::trunc).flush();
  std::ofstream(SystemIniPath(), std::ios::trunc).flush();
}

}  // namespace tallowick::testing
