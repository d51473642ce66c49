#include "tests/installer/installer_fixture.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace tallowick::testing {

void InstallerFixture::SetUp() {
  using namespace std::string_literals;
  m_workingFolder.emplace();
  SetEnv("HOME", Home());
  SetEnv("XDG_CONFIG_HOME", std::nullopt);
  std::filesystem::create_directories(Home() + "/.config");
  WriteFile(Home() + "/.config/user-dirs.dirs", "XDG_DESKTOP_DIR=\"$HOME/Arbeitsfläche\"\n");
  std::filesystem::create_directories(Desktop());

  m_contents = {
      {"Help.html", "<html><body>Help</body></html>\n"},
      {"tallowick", "#!/bin/sh\npwd > \"$TALLOWICK_PROBE\"\necho \"$0\" >> \"$TALLOWICK_PROBE\"\n"},
      {"tallowick.png", "\x89PNG\r\n\x1a\nicon\0picture"s},
      {"/img/PDBGen.jpg", "\xFF\xD8\xFF\xE0generator\0picture"s},
      {"/img/PDBEnlarged.jpg",
       "\xFF\xD8\xFF\xE0"
       "enlarged\0picture"s},
      {"/img/PDBView.jpg", "\xFF\xD8\xFF\xE0viewer\0picture"s},
      {"/img/browse.jpg",
       "\xFF\xD8\xFF\xE0"
       "browse picture"s}};
  std::filesystem::create_directories(Source() + "/img");
  for (const auto& [entry, text] : m_contents) WriteFile(Source() + "/" + entry, text);
  ::chmod((Source() + "/tallowick").c_str(), 0755);
}

void InstallerFixture::TearDown() {
  m_workingFolder.reset();
  m_environment.Restore();
}

std::string InstallerFixture::Desktop() const { return Home() + "/Arbeitsfläche"; }

void InstallerFixture::SetEnv(const std::string& name, const std::optional<std::string>& value) {
  m_environment.Set(name, value);
}

std::string InstallerFixture::ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void InstallerFixture::WriteFile(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  ASSERT_TRUE(out.good()) << path;
}

bool InstallerFixture::Exists(const std::string& path) {
  struct stat status {};
  return ::lstat(path.c_str(), &status) == 0;
}

bool InstallerFixture::IsExecutable(const std::string& path) {
  return ::access(path.c_str(), X_OK) == 0;
}

std::map<std::string, std::string> DesktopEntryKeys(const std::string& text) {
  std::map<std::string, std::string> keys;
  std::istringstream lines(text);
  std::string line;
  bool inGroup = false;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.front() == '[') {
      inGroup = line == "[Desktop Entry]";
      continue;
    }
    const auto equals = line.find('=');
    if (inGroup && equals != std::string::npos)
      keys[line.substr(0, equals)] = line.substr(equals + 1);
  }
  return keys;
}

}  // namespace tallowick::testing
