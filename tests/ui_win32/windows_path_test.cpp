// The paths Setup.exe composes: one separator at the joint, the MAX_PATH
// bound, and which installation folders count as absolute.
#include "installer/windows_path.h"

#include <gtest/gtest.h>

#include <string>

namespace tallowick {
namespace {

TEST(WindowsPath, JoinsWithOneSeparatorAndRefusesWhatDoesNotFit) {
  const std::wstring longest(kMaxWindowsPathLength - 2, L'a');  // + "\b" is exactly the bound
  struct Case {
    std::wstring folder, name;
    std::optional<std::wstring> expected;
  } cases[] = {
      {L"C:\\Program Files\\Tallowick", L"Help.html", L"C:\\Program Files\\Tallowick\\Help.html"},
      {L"C:\\Program Files\\Tallowick\\", L"\\img\\PDBGen.jpg",
       L"C:\\Program Files\\Tallowick\\img\\PDBGen.jpg"},
      {L"C:\\", L"\\img", L"C:\\img"},
      {L"\\\\server\\share", L"Tallowick.lnk", L"\\\\server\\share\\Tallowick.lnk"},
      {longest, L"b", longest + L"\\b"},
      {longest, L"bc", std::nullopt},
      {L"", L"Help.html", std::nullopt},
      {L"\\", L"Help.html", std::nullopt},
      {L"C:\\Tallowick", L"\\", std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(JoinWindowsPath(c.folder, c.name), c.expected)
        << std::string(c.folder.begin(), c.folder.end());
  }
}

TEST(WindowsPath, AbsoluteFolders) {
  struct Case {
    const wchar_t* path;
    bool absolute;
  } cases[] = {
      {L"C:\\Program Files\\Tallowick", true},
      {L"d:/Tools", true},
      {L"\\\\server\\share", true},
      {L"C:Tallowick", false},
      {L"Tallowick", false},
      {L"\\Tallowick", false},
      {L"\\\\\\x", false},
      {L"1:\\x", false},
      {L"", false},
  };
  for (const Case& c : cases) {
    const std::wstring path = c.path;
    EXPECT_EQ(IsAbsoluteWindowsPath(path), c.absolute) << std::string(path.begin(), path.end());
  }
}

}  // namespace
}  // namespace tallowick
