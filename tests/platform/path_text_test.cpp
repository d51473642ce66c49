#include "platform/path_text.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "source/data_source_config.h"
#include "source/source_kind.h"

namespace tallowick::platform {
namespace {

struct PathCase {
  std::string path;
  std::string folder;
  std::string name;
};

// The folder keeps a root ("/", "C:\"), and Windows takes either separator.
TEST(PathText, FolderAndNameOfAPath) {
  const std::vector<PathCase> cases = {
#ifdef _WIN32
      {"C:\\data\\city.dbf", "C:\\data", "city.dbf"},
      {"C:\\city.dbf", "C:\\", "city.dbf"},
      {"C:city.dbf", "C:\\", "city.dbf"},
      {"C:/data/dbase/city.dbf", "C:/data/dbase", "city.dbf"},
      {"\\\\server\\share\\city.dbf", "\\\\server\\share", "city.dbf"},
#else
      {"/data/dbase/city.dbf", "/data/dbase", "city.dbf"},
      {"/city.dbf", "/", "city.dbf"},
      {"data\\city.dbf", "", "data\\city.dbf"},
#endif
      {"city.dbf", "", "city.dbf"},
  };
  for (const PathCase& c : cases) {
    EXPECT_EQ(FolderOf(c.path), c.folder) << c.path;
    EXPECT_EQ(NameOf(c.path), c.name) << c.path;
  }
  const std::string separator(1, kPathSeparator);
  EXPECT_EQ(WithEndSeparator("out"), "out" + separator);
  EXPECT_EQ(WithEndSeparator("out" + separator), "out" + separator);
  EXPECT_EQ(JoinPath("out", "a.pdb"), "out" + separator + "a.pdb");
  EXPECT_EQ(JoinPath("", "a.pdb"), "a.pdb");
#ifdef _WIN32
  EXPECT_EQ(WithEndSeparator("C:\\"), "C:\\");
  EXPECT_EQ(WithEndSeparator("C:/out/"), "C:/out/");
  EXPECT_EQ(JoinPath("C:\\", "a.pdb"), "C:\\a.pdb");
#endif
}

// A dBase table's data source names the table's folder as its database.
TEST(PathText, TheFolderOfADbaseTableInTheAttributeText) {
  const std::vector<std::pair<std::string, std::string>> cases = {
#ifdef _WIN32
      {"C:\\data\\city.dbf", "DSN=TempPTallowickDSN;DBQ=C:\\data"},
      {"C:\\city.dbf", "DSN=TempPTallowickDSN;DBQ=C:\\"},
#else
      {"/data/city.dbf", "DSN=TempPTallowickDSN;DBQ=/data"},
      {"/city.dbf", "DSN=TempPTallowickDSN;DBQ=/"},
#endif
  };
  for (const auto& [path, text] : cases) {
    EXPECT_EQ(AttributeText(kTemporaryDataSourceName, {{"DBQ", tallowick::FolderOf(path)}}), text)
        << path;
  }
}

}  // namespace
}  // namespace tallowick::platform
