// The generator page on converted sources: an Excel workbook's sheets are
// listed and bracketed as the Excel driver did; a dBase folder's unreadable
// tables are named.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "tests/source/page/generator_page_fixture.h"
#include "tests/support/dbf_file.h"
#include "tests/support/sqlite_file.h"

namespace tallowick {
namespace {

namespace g = res::generator;
using testing::GeneratorPageTest;
using testing::WriteOneTownTable;
using Strings = std::vector<std::string>;

class ConvertedSourcePage : public GeneratorPageTest {
 protected:
  // Sheet "Sheet1": a heading row, then two rows of a text and a number.
  void WriteWorkbook(const std::string& path) {
    const std::string script = m_data.File("make.py");
    std::ofstream(script)
        << "import sys, xlwt\n"
           "book = xlwt.Workbook()\n"
           "sheet = book.add_sheet('Sheet1')\n"
           "for r, row in enumerate([('City', 'Count'), ('Oslo', 3), ('Lima', 5)]):\n"
           "    for c, value in enumerate(row):\n"
           "        sheet.write(r, c, value)\n"
           "book.save(sys.argv[1])\n";
    const std::string command = "/usr/bin/python3 '" + script + "' '" + path + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << "python3-xlwt is needed";
  }
};

TEST_F(ConvertedSourcePage, SheetsAreListedBracketedAndPreviewed) {
  const std::string workbook = m_data.File("towns.XLS");
  ASSERT_NO_FATAL_FAILURE(WriteWorkbook(workbook));
  Show();
  ASSERT_NO_FATAL_FAILURE(Connect(workbook));
  EXPECT_EQ(W().Entries(g::kTableList), (Strings{"Sheet1$"}));
  ASSERT_NO_FATAL_FAILURE(HighlightTables({"Sheet1$"}));
  EXPECT_EQ(W().Text(g::kQuery), "SELECT   *   FROM  [Sheet1$]");
  EXPECT_EQ(W().Text(g::kPdbName), "[Sheet1$]");
  // COUNT is a reserved word: the column is bracketed like the sheet.
  EXPECT_EQ(W().Entries(g::kSelectedFields), (Strings{"City", "[Count]"}));
  W().Click(g::kFetch);
  EXPECT_EQ(W().Rows(g::kPreviewList),
            (std::vector<Strings>{{"Oslo", "3.000000"}, {"Lima", "5.000000"}}));

  // Leaving the workbook for another file removes its converted database.
  const std::string converted = m_page.Connection().ConvertedDatabasePath();
  ASSERT_FALSE(converted.empty());
  ASSERT_TRUE(std::filesystem::exists(converted));
  const std::string other = m_data.File("other.db");
  ASSERT_NO_FATAL_FAILURE(testing::RunSqliteScript(other, "CREATE TABLE t(x INTEGER);"));
  ASSERT_NO_FATAL_FAILURE(Connect(other));
  EXPECT_FALSE(std::filesystem::exists(converted));
  EXPECT_EQ(W().Entries(g::kTableList), (Strings{"t"}));
}

TEST_F(ConvertedSourcePage, ADamagedDbaseTableBesideTheChosenOneIsNamedAfterConnecting) {
  const std::string table = m_data.File("towns.dbf");
  WriteOneTownTable(table);
  std::ofstream(m_data.File("damaged.dbf")) << "not a dBase table, though long enough for a header";
  Show();
  Browse(table);
  ASSERT_TRUE(m_page.IsConnected());
  ASSERT_EQ(m_host.Messages().size(), 2u);
  EXPECT_EQ(m_host.Messages()[0].text, "Database connected...");
  const auto& leftOut = m_host.Messages()[1];
  EXPECT_EQ(leftOut.caption, "Tallowick");
  EXPECT_EQ(leftOut.icon, MessageIcon::Exclamation);
  EXPECT_EQ(
      leftOut.text.rfind("Cannot read the dBase table " + m_data.File("damaged.dbf") + ": ", 0), 0u)
      << leftOut.text;
  EXPECT_NE(leftOut.text.find("The table is left out."), std::string::npos) << leftOut.text;
  EXPECT_EQ(W().Entries(g::kTableList), (Strings{"towns"}));

  // A folder whose tables all read connects with the one message.
  std::filesystem::remove(m_data.File("damaged.dbf"));
  ASSERT_NO_FATAL_FAILURE(Connect(table));
  EXPECT_EQ(m_host.Messages().size(), 3u);
}

}  // namespace
}  // namespace tallowick
