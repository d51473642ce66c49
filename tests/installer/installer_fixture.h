#pragma once
// What the installer's tests share: a private HOME whose desktop folder is
// named by user-dirs.dirs, a source folder holding the six files as the build
// assembles them, and a scratch folder for installations. The working folder
// and the environment are restored afterwards.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>

#include "tests/support/saved_environment.h"
#include "tests/support/temp_folder.h"
#include "ui/working_folder.h"

namespace tallowick::testing {

class InstallerFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  const std::string& Home() const { return m_home.Path(); }
  // The desktop folder the user's configuration names ($HOME/Arbeitsfläche).
  std::string Desktop() const;
  // A folder with Help.html, tallowick (an executable script), tallowick.png
  // and img/*.jpg.
  const std::string& Source() const { return m_source.Path(); }
  // An empty folder to install under.
  const std::string& Scratch() const { return m_scratch.Path(); }

  // Sets an environment variable for this test only (nothing: unset).
  void SetEnv(const std::string& name, const std::optional<std::string>& value);

  static std::string ReadFile(const std::string& path);
  static void WriteFile(const std::string& path, const std::string& text);
  static bool Exists(const std::string& path);
  static bool IsExecutable(const std::string& path);

  // The contents the source folder's files were given, by table entry.
  std::map<std::string, std::string> m_contents;

 private:
  TempFolder m_home;
  TempFolder m_source;
  TempFolder m_scratch;
  std::optional<WorkingFolderGuard> m_workingFolder;
  SavedEnvironment m_environment;
};

// The keys of a desktop entry file's [Desktop Entry] group, values as written.
std::map<std::string, std::string> DesktopEntryKeys(const std::string& text);

}  // namespace tallowick::testing
