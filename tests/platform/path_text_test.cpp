#include "platform/path_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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
}

}  // namespace
}  // namespace tallowick::platform
