// Composed paths and the copy of one file into place.
#include "installer/file_copy.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "installer/path_join.h"
#include "tests/installer/installer_fixture.h"
#include "ui/working_folder.h"

namespace tallowick {
namespace {

TEST(JoinPath, PutsOneSeparatorBetweenFolderAndName) {
  EXPECT_EQ(JoinPath("/opt/Tallowick", "Help.html"), "/opt/Tallowick/Help.html");
  EXPECT_EQ(JoinPath("/opt/Tallowick", "/img/PDBGen.jpg"), "/opt/Tallowick/img/PDBGen.jpg");
  EXPECT_EQ(JoinPath("/opt/Tallowick/", "/img/PDBGen.jpg"), "/opt/Tallowick/img/PDBGen.jpg");
  EXPECT_EQ(JoinPath("/", "Help.html"), "/Help.html");
  EXPECT_EQ(JoinPath("", "Help.html"), std::nullopt);
  EXPECT_EQ(JoinPath("/opt", ""), std::nullopt);
  EXPECT_EQ(JoinPath("/opt", "/"), std::nullopt);
}

TEST(JoinPath, APathThatDoesNotFitIsRefusedNeverCut) {
  const std::string folder =
      "/" + std::string(kMaxPathLength - 11, 'f');  // leaves room for "/" + 9
  ASSERT_EQ(folder.size() + 10, kMaxPathLength);
  const auto fits = JoinPath(folder, "Help.html");
  ASSERT_TRUE(fits);
  EXPECT_EQ(fits->size(), kMaxPathLength);
  EXPECT_EQ(JoinPath(folder, "Help.htmlx"), std::nullopt);
  EXPECT_EQ(JoinPath(folder, "Help.html", 1), std::nullopt) << "room kept for a suffix";
  EXPECT_EQ(JoinPath(folder, "Help.htm", 1)->size(), kMaxPathLength - 1);
  EXPECT_EQ(JoinPath(folder, std::string(kMaxPathLength * 2, 'n')), std::nullopt);
}

class CopyFile : public testing::InstallerFixture {};

TEST_F(CopyFile, ReplacesTheDestinationWithTheSourceAndItsPermissions) {
  const std::string source = Source() + "/tallowick";
  const std::string destination = Scratch() + "/tallowick";
  WriteFile(destination, std::string(100000, 'o'));
  ::chmod(destination.c_str(), 0600);
  ::chmod(source.c_str(), 0750);
  ASSERT_TRUE(CopyFileReplacing(source, destination));
  EXPECT_EQ(ReadFile(destination), m_contents["tallowick"]);
  struct stat status {};
  ASSERT_EQ(::stat(destination.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0750u);
}

TEST_F(CopyFile, CopiesLargeFilesWhole) {
  std::string big(300000, '\0');
  for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7 + i / 251);
  WriteFile(Source() + "/big", big);
  ASSERT_TRUE(CopyFileReplacing(Source() + "/big", Scratch() + "/big"));
  EXPECT_EQ(ReadFile(Scratch() + "/big"), big);
}

TEST_F(CopyFile, FailuresLeaveNoTraceAndTheOldFileUntouched) {
  const std::string destination = Scratch() + "/Help.html";
  WriteFile(destination, "old");
  EXPECT_FALSE(CopyFileReplacing(Source() + "/missing.html", destination));
  EXPECT_FALSE(CopyFileReplacing(Source() + "/img", destination)) << "a folder is not copied";
  EXPECT_FALSE(CopyFileReplacing(Source() + "/Help.html", Scratch() + "/no/such/folder/Help.html"));
  EXPECT_EQ(ReadFile(destination), "old");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Scratch()), {}), 1);

  const std::string longest =
      Scratch() + "/" + std::string(kMaxPathLength - Scratch().size() - 1, 'x');
  EXPECT_FALSE(CopyFileReplacing(Source() + "/Help.html", longest))
      << "no room for the temporary name";
}

TEST_F(CopyFile, CopyingAFileOntoItselfKeepsItWhole) {
  const std::string file = Source() + "/Help.html";
  EXPECT_TRUE(CopyFileReplacing(file, file));
  EXPECT_EQ(ReadFile(file), m_contents["Help.html"]);
}

}  // namespace
}  // namespace tallowick
