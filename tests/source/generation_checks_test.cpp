// The query check and the checks Generate makes before it runs.
#include "source/generation_checks.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/path_text.h"
#include "tests/support/temp_folder.h"

namespace tallowick {
namespace {

using testing::TempFolder;

TEST(QueryCheck, AcceptsSelectAfterLeadingBlanksInAnyCase) {
  EXPECT_TRUE(IsSelectQuery("SELECT * FROM t"));
  EXPECT_TRUE(IsSelectQuery("  select * from t"));
  EXPECT_TRUE(IsSelectQuery("SeLeCt"));
  // Only the beginning counts: the driver judges the rest.
  EXPECT_TRUE(IsSelectQuery("SELECTED"));
}

TEST(QueryCheck, RefusesEverythingElse) {
  EXPECT_FALSE(IsSelectQuery(""));
  EXPECT_FALSE(IsSelectQuery("   "));
  EXPECT_FALSE(IsSelectQuery("\tSELECT * FROM t"));  // only blanks are skipped
  EXPECT_FALSE(IsSelectQuery("\nSELECT * FROM t"));
  EXPECT_FALSE(IsSelectQuery("SELEC"));
  EXPECT_FALSE(IsSelectQuery("DELETE FROM t WHERE x IN (SELECT 1)"));
  EXPECT_FALSE(IsSelectQuery("WITH a AS (SELECT 1) SELECT * FROM a"));
}

GenerationInputs Valid(const std::string& folder) {
  return {"SELECT * FROM t", "Orders", "HWRP", "HWRP", folder};
}

TEST(GenerationChecks, ReportOnlyTheFirstFaultInTheirOrder) {
  TempFolder folder;
  GenerationInputs inputs = Valid(folder.Path());
  inputs.query = "UPDATE t SET a = 1";
  inputs.pdbName = "";
  EXPECT_EQ(CheckGenerationInputs(inputs).message, "Only SELECT Query Suppoted");
  inputs.query = "select a from t";
  inputs.creator = "ABC";
  EXPECT_EQ(CheckGenerationInputs(inputs).message, "Invalid PDB Name");
  inputs.pdbName = "Orders";
  EXPECT_EQ(CheckGenerationInputs(inputs).message, "Creator ID must be of length four");
  inputs.creator = "";
  EXPECT_EQ(CheckGenerationInputs(inputs).message, "Please Enter valid creator ID for this PDB");
  inputs.creator = "ABCD";
  inputs.type = "ABCDE";
  inputs.outputFolder = "";
  EXPECT_EQ(CheckGenerationInputs(inputs).message, "PDB Type must be of length four");
  inputs.type = "";
  EXPECT_EQ(CheckGenerationInputs(inputs).message, "Please Enter valid PDB Type");
  inputs.type = "DATA";
  EXPECT_EQ(CheckGenerationInputs(inputs).message, "Invalid Ouput path");
  inputs.outputFolder = folder.Path();
  const GenerationCheck passed = CheckGenerationInputs(inputs);
  EXPECT_TRUE(passed.Passed());
  EXPECT_EQ(passed.outputFolder, folder.Path() + platform::kPathSeparator);
}

TEST(GenerationChecks, RefuseAPdbNameThatWouldNotFitOrWouldNameAnotherFolder) {
  EXPECT_EQ(CheckPdbName(std::string(31, 'n')), "");
  EXPECT_EQ(CheckPdbName(std::string(32, 'n')), "PDB Name must not be longer than 31 characters");
  EXPECT_EQ(CheckPdbName("../Orders"), "PDB Name must not contain \"/\"");
  // 31 characters, 36 bytes of UTF-8: they fit once in Windows-1252 only.
  const std::string accented = "Crème brûlée et pâté " + std::string(10, 'x');
  EXPECT_EQ(CheckPdbName(accented, HandheldCharset::Western), "");
  EXPECT_EQ(CheckPdbName(accented, HandheldCharset::Utf8),
            "PDB Name must not be longer than 31 characters");
  TempFolder folder;
  GenerationInputs inputs = Valid(folder.Path());
  inputs.pdbName = "a/b";
  inputs.creator = "";  // the name is checked before the creator
  EXPECT_EQ(CheckGenerationInputs(inputs).message, "PDB Name must not contain \"/\"");
}

TEST(GenerationChecks, CreatorAndTypeAreFourPrintableAsciiCharacters) {
  const struct {
    std::string code;
    std::string creatorMessage;
  } cases[] = {
      {"HWRP", ""},
      {"a 1~", ""},
      {"HWR\xC3\xA9",
       "Creator ID must be four printable ASCII characters (letters, digits, "
       "signs or blanks)"},  // four characters, five bytes
      {"\xC3\xA9\xC3\xA9",
       "Creator ID must be four printable ASCII characters (letters, "
       "digits, signs or blanks)"},  // four bytes, two characters
      {"AB\tC",
       "Creator ID must be four printable ASCII characters (letters, digits, signs or "
       "blanks)"},
      {"ABC\x7F",
       "Creator ID must be four printable ASCII characters (letters, digits, signs "
       "or blanks)"},
      {std::string("AB\0C", 4),
       "Creator ID must be four printable ASCII characters (letters, "
       "digits, signs or blanks)"},
      {"ABC", "Creator ID must be of length four"},
      {"ABCDE", "Creator ID must be of length four"},
      {"", "Please Enter valid creator ID for this PDB"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CheckCreator(c.code), c.creatorMessage) << c.code;
    std::string typeMessage = c.creatorMessage;
    if (c.code.empty()) {
      typeMessage = "Please Enter valid PDB Type";
    } else if (!typeMessage.empty()) {
      typeMessage.replace(0, std::string("Creator ID").size(), "PDB Type");
    }
    EXPECT_EQ(CheckType(c.code), typeMessage) << c.code;
  }
}

TEST(OutputFolder, IsNormalisedWithoutTrailingBlanksAndWithOneSlash) {
  TempFolder folder;
  std::string text = folder.Path() + "   ";
  ASSERT_TRUE(CheckOutputFolder(text));
  const std::string withSeparator = folder.Path() + platform::kPathSeparator;
  EXPECT_EQ(text, withSeparator);
  text = withSeparator;
  ASSERT_TRUE(CheckOutputFolder(text));
  EXPECT_EQ(text, withSeparator);
  text = std::string("/");
  ASSERT_TRUE(CheckOutputFolder(text));
  EXPECT_EQ(text, "/");
}

TEST(OutputFolder, RefusesWhatCannotBeEnteredAndLeavesTheTextAlone) {
  TempFolder folder;
  const std::string file = folder.File("plain-file");
  std::ofstream(file) << "x";
  for (std::string text :
       {std::string(), std::string("    "), folder.File("missing"), file, file + "/below"}) {
    const std::string before = text;
    EXPECT_FALSE(CheckOutputFolder(text)) << before;
    EXPECT_EQ(text, before);
  }
}

TEST(OutputFolder, NeverChangesTheWorkingFolder) {
  const std::filesystem::path before = std::filesystem::current_path();
  TempFolder folder;
  std::string good = folder.Path();
  std::string bad = folder.File("missing");
  CheckOutputFolder(good);
  CheckOutputFolder(bad);
  EXPECT_EQ(std::filesystem::current_path(), before);
}

}  // namespace
}  // namespace tallowick
