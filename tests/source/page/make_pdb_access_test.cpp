// The generator page on the real Access fixtures through MDB Tools: tables,
// bracketed names, the preview, a generation, and files that fail.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "engine/pdb_file.h"
#include "tests/source/page/generator_page_fixture.h"
#include "tests/source/source_test_util.h"

namespace tallowick {
namespace {

namespace g = res::generator;

using testing::GeneratorPageTest;
using Strings = std::vector<std::string>;

const std::string kFixtures = TALLOWICK_FIXTURES;

class AccessPage : public GeneratorPageTest {};

TEST_F(AccessPage, DateTestPreviewsAndGenerates) {
  Show();
  ASSERT_NO_FATAL_FAILURE(Connect(kFixtures + "/DateTest.mdb"));
  EXPECT_EQ(W().Entries(g::kTableList), (Strings{"DateTest"}));
  ASSERT_NO_FATAL_FAILURE(HighlightTables({"DateTest"}));
  EXPECT_EQ(W().Text(g::kQuery), "SELECT   *   FROM  DateTest");
  EXPECT_EQ(W().Entries(g::kSelectedFields),
            (Strings{"IDCol", "DateTimeCol", "DateCol", "TimeCol", "LongTextCol", "ShortTextCol"}));
  EXPECT_EQ(W().Text(g::kPdbName), "DateTest");

  W().Click(g::kFetch);
  ASSERT_EQ(W().RowCount(g::kPreviewList), 6u);
  EXPECT_EQ(W().Rows(g::kPreviewList)[0],
            (Strings{"1", "2021/12/02 12:00:00  AM", "2021/12/02 12:00:00  AM",
                     "2021/12/02 12:00:00  AM", "Hello", "Hello"}));
  EXPECT_EQ(W().Cell(g::kPreviewList, 5, 4), "New line\r\nin field");

  W().Type(g::kOutputFolder, m_output.Path());
  W().Click(g::kGenerate);
  EXPECT_EQ(m_host.LastMessage().text, "PDB \"DateTest.pdb\" Generated At " + m_output.Path() +
                                           "/ \n\nClick View Log to see PDB details");
  PdbFile pdb("DateTest", m_output.Path() + "/", ".pdb");
  PdbHeader header;
  std::vector<PdbRecordEntry> entries;
  std::uint16_t count = 0;
  ASSERT_TRUE(pdb.ReadRecordList(header, entries, count));
  EXPECT_EQ(count, 6u);
}

TEST_F(AccessPage, NamesWithBlanksAreBracketedInTheQuery) {
  Show();
  ASSERT_NO_FATAL_FAILURE(Connect(kFixtures + "/Northwind.mdb"));
  EXPECT_EQ(W().Entries(g::kTableList),
            (Strings{"Categories", "Customers", "Employees", "Order Details", "Orders", "Products",
                     "Shippers", "Suppliers", "Umsätze"}));
  ASSERT_NO_FATAL_FAILURE(HighlightTables({"Order Details", "Shippers"}));
  EXPECT_EQ(W().Text(g::kQuery), "SELECT   *   FROM  [Order Details] , Shippers");
  EXPECT_EQ(
      W().Entries(g::kSelectedFields),
      (Strings{"[Order Details].OrderID", "[Order Details].ProductID", "[Order Details].UnitPrice",
               "[Order Details].Quantity", "[Order Details].Discount", "Shippers.ShipperID",
               "Shippers.CompanyName", "Shippers.Phone"}));

  ASSERT_NO_FATAL_FAILURE(HighlightTables({"Shippers"}));
  W().SelectMany(g::kSelectedFields, {0});
  W().Click(g::kRemoveFields);
  EXPECT_EQ(W().Text(g::kQuery), "SELECT    CompanyName , Phone FROM  Shippers");
  W().Click(g::kFetch);
  EXPECT_EQ(W().Columns(g::kPreviewList), (Strings{"CompanyName", "Phone"}));
  EXPECT_EQ(W().Rows(g::kPreviewList),
            (std::vector<Strings>{{"Speedy Express", "(503) 555-9831"},
                                  {"United Package", "(503) 555-3199"},
                                  {"Federal Shipping", "(503) 555-9931"}}));
}

TEST_F(AccessPage, TheExtensionIsComparedWithoutRegardToCase) {
  const std::string copy = m_data.File("orders.MDB");
  std::filesystem::copy_file(kFixtures + "/DateTest.mdb", copy);
  Show();
  ASSERT_NO_FATAL_FAILURE(Connect(copy));
  EXPECT_EQ(W().Entries(g::kTableList), (Strings{"DateTest"}));
  EXPECT_EQ(m_page.Connection().Kind(), SourceKind::AccessFile);
}

TEST_F(AccessPage, AnUnreadableFileFailsWithTheOdbcErrorAndLeavesNothing) {
  Show();
  ASSERT_NO_FATAL_FAILURE(Connect(kFixtures + "/DateTest.mdb"));
  ASSERT_NO_FATAL_FAILURE(HighlightTables({"DateTest"}));
  const std::string broken = m_data.File("broken.mdb");
  std::ofstream(broken, std::ios::binary) << testing::UnreadableAccessBytes();
  Browse(broken);
  EXPECT_FALSE(m_page.IsConnected());
  EXPECT_EQ(m_host.LastMessage().text.rfind("ODBC Error ::", 0), 0u) << m_host.LastMessage().text;
  EXPECT_EQ(m_host.LastMessage().icon, MessageIcon::Stop);
  EXPECT_EQ(W().Text(g::kDataSource), broken);
  EXPECT_TRUE(W().Entries(g::kTableList).empty());
  EXPECT_TRUE(W().Entries(g::kSelectedFields).empty());
  EXPECT_EQ(W().Text(g::kQuery), "");
  EXPECT_FALSE(W().IsEnabled(g::kFetch));
  EXPECT_FALSE(TemporarySourceConfigured());
}

TEST_F(AccessPage, AnAccess2007FileWithABlankInItsTableName) {
  Show();
  ASSERT_NO_FATAL_FAILURE(Connect(kFixtures + "/AssetItems.accdb"));
  ASSERT_NO_FATAL_FAILURE(HighlightTables({"Asset Items"}));
  EXPECT_EQ(W().Text(g::kQuery), "SELECT   *   FROM  [Asset Items]");
  EXPECT_EQ(W().Text(g::kPdbName), "Asset Items");
  W().Click(g::kFetch);
  EXPECT_EQ(W().RowCount(g::kPreviewList), 65u);
}

}  // namespace
}  // namespace tallowick
