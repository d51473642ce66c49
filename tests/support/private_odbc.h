#pragma once
// A private ODBC configuration for the tests of one process: a folder with
// a copy of /etc/odbcinst.ini (the drivers), an empty user odbc.ini and an
// empty system odbc.ini, named by ODBCINI and ODBCSYSINI before the first
// ODBC call. The user's own ~/.odbc.ini is never read or written.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace tallowick::testing {

class PrivateOdbc {
 public:
  // Creates the folder and sets the variables once per process.
  static PrivateOdbc& Get();

  const std::string& Folder() const { return m_folder; }
  std::string UserIniPath() const { return m_folder + "/odbc.ini"; }
  std::string SystemIniPath() const { return m_folder + "/system/odbc.ini"; }

  // Text of the user's / the system's odbc.ini as it is on disk now.
  std::string UserIniText() const;
  std::string SystemIniText() const;

  // Appends a data-source section to the user's or the system's odbc.ini.
  void AddUserDataSource(const std::string& name, const std::string& driver,
                         const std::vector<std::pair<std::string, std::string>>& attributes);
  void AddSystemDataSource(const std::string& name, const std::string& driver,
                           const std::vector<std::pair<std::string, std::string>>& attributes);
  // Empties both odbc.ini files.
  void ClearDataSources();

 private:
  PrivateOdbc();
  std::string m_folder;
};

// Base of every test that calls ODBC.
class OdbcTest : public ::testing::Test {
 public:
  static void SetUpTestSuite() { PrivateOdbc::Get(); }
};

}  // namespace tallowick::testing
