// The generator page on CSV files and .xlsx workbooks written by Python
// (the csv module, openpyxl) and by hand in Windows-1252: chosen in the file
// dialog, a table picked, generated, and the PDB read back byte by byte.
#include <gtest/gtest.h>

#include <memory>

#include "tests/import/import_test_support.h"
#include "tests/import/open_format_records.h"
#include "tests/source/page/generator_page_fixture.h"

namespace tallowick {
namespace {

namespace g = res::generator;
using import_test::ExpectedPdb;
using testing::GeneratorPageTest;

class OpenFormatsPage : public GeneratorPageTest {
 protected:
  static void SetUpTestSuite() {
    GeneratorPageTest::SetUpTestSuite();
    s_files = std::make_unique<import_test::ScratchFolder>();
    ASSERT_TRUE(import_test::RunDataWriter("make_csv_files.py", {s_files->Path()}));
    ASSERT_TRUE(import_test::RunDataWriter("make_xlsx_workbooks.py", {s_files->Path()}));
  }
  static void TearDownTestSuite() { s_files.reset(); }

  static std::unique_ptr<import_test::ScratchFolder> s_files;
};

std::unique_ptr<import_test::ScratchFolder> OpenFormatsPage::s_files;

TEST_F(OpenFormatsPage, APickedTableIsGeneratedWithItsTypesAndValues) {
  const struct {
    const char* file;
    const char* table;
    const char* composedQuery;
    ExpectedPdb (*expected)();
  } cases[] = {
      // ALL is a keyword: the composed query quotes the table.
      {"all.csv", "all", "SELECT   *   FROM  \"all\"", import_test::CsvRowsPdb},
      {"tabs.tsv", "tabs", "SELECT   *   FROM  tabs", import_test::CsvRowsPdb},
      {"western.csv", "western", "SELECT   *   FROM  western", import_test::WesternCsvPdb},
      {"main.xlsx", "Sheet1$", "SELECT   *   FROM  [Sheet1$]", import_test::MainSheetPdb},
      {"main.xlsx",
       "Donn\xC3\xA9"
       "es$",
       "SELECT   *   FROM  [Donn\xC3\xA9"
       "es$]",
       import_test::SecondSheetPdb},
  };
  Show();
  int number = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.file) + ", " + c.table);
    ASSERT_NO_FATAL_FAILURE(Connect(s_files->File(c.file)));
    ASSERT_NO_FATAL_FAILURE(HighlightTables({c.table}));
    EXPECT_EQ(W().Text(g::kQuery), c.composedQuery);
    const std::string name = "Pdb" + std::to_string(++number);
    FillGenerateInputs(name);
    W().Click(g::kGenerate);
    ASSERT_EQ(m_host.LastMessage().icon, MessageIcon::Information) << m_host.LastMessage().text;
    const ExpectedPdb expected = c.expected();
    EXPECT_EQ(import_test::HelperKinds(m_output.File(name + "Helper.mhl")), expected.kinds);
    EXPECT_EQ(import_test::PdbRecords(m_output.Path(), name), expected.records);
  }
}

}  // namespace
}  // namespace tallowick
