// The SELECT texts composed from the lists, and the tidying of the field
// lists when entries move.
#include "source/query_composer.h"

#include <gtest/gtest.h>

#include "source/catalogue.h"
#include "source/identifier_quoting.h"

namespace tallowick {
namespace {

using Lists = std::vector<std::string>;

TEST(QueryComposition, TableQueryJoinsHighlightedTablesWithTheExactBlanks) {
  EXPECT_EQ(ComposeTableQuery({"Customers"}), "SELECT   *   FROM  Customers");
  EXPECT_EQ(ComposeTableQuery({"Orders", "Customers"}), "SELECT   *   FROM  Orders , Customers");
}

TEST(QueryComposition, FieldQueryUsesItsOwnSeparators) {
  EXPECT_EQ(ComposeFieldQuery({"Name", "City"}, {"Customers"}),
            "SELECT    Name , City FROM  Customers");
  EXPECT_EQ(ComposeFieldQuery({"Orders.Id", "Customers.Name"}, {"Orders", "Customers"}),
            "SELECT    Orders.Id , Customers.Name FROM  Orders ,  Customers");
}

TEST(QueryComposition, LongQueriesAreNeverCut) {
  Lists fields;
  for (int i = 0; i < 60; ++i) fields.push_back("column_number_" + std::to_string(i));
  const std::string query = ComposeFieldQuery(fields, {"t"});
  EXPECT_GT(query.size(), 1000u);
  EXPECT_EQ(query.substr(query.size() - 24), "column_number_59 FROM  t");
}

TEST(FieldMoves, AddingAppendsHighlightedEntriesInListOrderAndRecomposes) {
  const FieldLists lists{{"A", "B", "C", "D"}, {"X"}};
  const FieldMove move = AddFields(lists, {3, 1}, {"T"});
  ASSERT_TRUE(move.moved);
  EXPECT_EQ(move.lists.selected, (Lists{"X", "B", "D"}));
  EXPECT_EQ(move.lists.available, (Lists{"A", "C"}));
  ASSERT_TRUE(move.query);
  EXPECT_EQ(*move.query, "SELECT    X , B , D FROM  T");
  EXPECT_TRUE(move.clearPreview);
}

TEST(FieldMoves, NothingHighlightedChangesNothingNotEvenTheQuery) {
  const FieldLists lists{{"A"}, {"B"}};
  for (const FieldMove& move : {AddFields(lists, {}, {"T"}), RemoveFields(lists, {}, {"T"})}) {
    EXPECT_FALSE(move.moved);
    EXPECT_EQ(move.lists.available, lists.available);
    EXPECT_EQ(move.lists.selected, lists.selected);
    EXPECT_FALSE(move.query);
    EXPECT_FALSE(move.clearPreview);
  }
}

TEST(FieldMoves, TidyingTreatsEntriesThatDifferOnlyInCaseAsTheSame) {
  // The moved "CITY" removes the first entry that matches it, "City".
  const FieldMove add = AddFields({{"name", "City", "CITY"}, {}}, {2}, {"T"});
  EXPECT_EQ(add.lists.selected, (Lists{"CITY"}));
  EXPECT_EQ(add.lists.available, (Lists{"name", "CITY"}));
  // And back: "CITY" going to Available removes the first "city" in Selected.
  const FieldMove remove = RemoveFields({{}, {"city", "Name", "CITY"}}, {2}, {"T"});
  EXPECT_EQ(remove.lists.available, (Lists{"CITY"}));
  EXPECT_EQ(remove.lists.selected, (Lists{"Name", "CITY"}));
  EXPECT_EQ(*remove.query, "SELECT    Name , CITY FROM  T");
}

TEST(FieldMoves, WithoutAHighlightedTableTheListsMoveButTheQueryStays) {
  const FieldMove add = AddFields({{"A", "B"}, {}}, {0}, {});
  EXPECT_TRUE(add.moved);
  EXPECT_EQ(add.lists.selected, (Lists{"A"}));
  EXPECT_FALSE(add.query);
  EXPECT_FALSE(add.clearPreview);
}

TEST(FieldMoves, EmptyingTheSelectedListEmptiesTheQueryAndKeepsThePreview) {
  for (const Lists& tables : {Lists{"T"}, Lists{}}) {
    const FieldMove move = RemoveFields({{"C"}, {"A", "B"}}, {0, 1}, tables);
    EXPECT_TRUE(move.lists.selected.empty());
    EXPECT_EQ(move.lists.available, (Lists{"C", "A", "B"}));
    ASSERT_TRUE(move.query);
    EXPECT_EQ(*move.query, "");
    EXPECT_FALSE(move.clearPreview);
  }
}

TEST(FieldMoves, FieldsMovedBackComeAfterThoseStillSelected) {
  FieldLists lists{{}, {"A", "B", "C"}};
  FieldMove move = RemoveFields(lists, {0}, {"T"});
  EXPECT_EQ(*move.query, "SELECT    B , C FROM  T");
  move = AddFields(move.lists, {0}, {"T"});
  EXPECT_EQ(move.lists.selected, (Lists{"B", "C", "A"}));
  EXPECT_EQ(*move.query, "SELECT    B , C , A FROM  T");
}

TEST(TableSelection, OneTableProposesItsNameAndListsBareColumns) {
  QueryNaming naming{false, "\"", "\"", {}};
  const TableSelection selection =
      ComposeTableSelection({{"Customers", Lists{"Name", "City"}}}, naming);
  EXPECT_EQ(*selection.query, "SELECT   *   FROM  Customers");
  EXPECT_EQ(selection.selectedFields, (Lists{"Name", "City"}));
  EXPECT_EQ(*selection.pdbName, "Customers");
}

TEST(TableSelection, SeveralTablesPrefixTheirColumnsAndProposeNoName) {
  QueryNaming naming{false, "\"", "\"", {}};
  const TableSelection selection = ComposeTableSelection(
      {{"Orders", Lists{"Id"}}, {"Order Details", Lists{"Unit Price"}}}, naming);
  EXPECT_EQ(*selection.query, "SELECT   *   FROM  Orders , \"Order Details\"");
  EXPECT_EQ(selection.selectedFields, (Lists{"Orders.Id", "\"Order Details\".\"Unit Price\""}));
  EXPECT_FALSE(selection.pdbName);
}

TEST(TableSelection, ExcelSheetsAreAlwaysBracketedAlsoInThePdbName) {
  QueryNaming naming{true, "[", "]", {}};
  const TableSelection selection = ComposeTableSelection({{"Sheet1$", Lists{"Name"}}}, naming);
  EXPECT_EQ(*selection.query, "SELECT   *   FROM  [Sheet1$]");
  EXPECT_EQ(*selection.pdbName, "[Sheet1$]");
}

TEST(TableSelection, AFailedColumnCatalogueStillNamesTheTable) {
  QueryNaming naming{false, "\"", "\"", {}};
  const TableSelection selection = ComposeTableSelection({{"Orders", std::nullopt}}, naming);
  EXPECT_EQ(*selection.query, "SELECT   *   FROM  Orders");
  EXPECT_TRUE(selection.selectedFields.empty());
  EXPECT_FALSE(selection.pdbName);
}

TEST(TableSelection, NoHighlightLeavesTheQueryBoxAlone) {
  EXPECT_FALSE(ComposeTableSelection({}, QueryNaming{}).query);
}

TEST(IdentifierQuoting, OnlyNamesThatAreNotPlainIdentifiersAreQuoted) {
  EXPECT_TRUE(IsPlainIdentifier("Order_Details2"));
  EXPECT_FALSE(IsPlainIdentifier("Order Details"));
  EXPECT_FALSE(IsPlainIdentifier("2nd"));
  EXPECT_FALSE(IsPlainIdentifier("Umsätze"));
  EXPECT_FALSE(IsPlainIdentifier(""));
  QueryNaming access{false, "[", "]", {}};
  EXPECT_EQ(access.Table("Orders"), "Orders");
  EXPECT_EQ(access.Table("Order Details"), "[Order Details]");
  QueryNaming ansi{false, "\"", "\"", {}};
  EXPECT_EQ(ansi.Column("say \"hi\""), "\"say \"\"hi\"\"\"");
  QueryNaming none{false, "", "", {}};
  EXPECT_EQ(none.Table("Order Details"), "Order Details");
}

// Each case: the naming, the name, and how a table and a column of that
// name are written into a query.
TEST(IdentifierQuoting, ReservedWordsAndClosingQuotesInsideNamesAreQuoted) {
  const QueryNaming access{false, "[", "]", {}};
  const QueryNaming excel{true, "[", "]", {}};
  const QueryNaming ansi{false, "\"", "\"", {"PRAGMA", "GLOB"}};
  const QueryNaming none{false, "", "", {}};
  struct Case {
    const QueryNaming& naming;
    std::string name;
    std::string table;
    std::string column;
  };
  const Case cases[] = {
      {excel, "a]b$", "[a]]b$]", "[a]]b$]"},
      {excel, "x$] UNION SELECT name FROM sqlite_master --$",
       "[x$]] UNION SELECT name FROM sqlite_master --$]",
       "[x$]] UNION SELECT name FROM sqlite_master --$]"},
      {excel, "Order", "[Order]", "[Order]"},
      {access, "Order Details]", "[Order Details]]]", "[Order Details]]]"},
      {access, "Date", "[Date]", "[Date]"},
      {access, "Dates", "Dates", "Dates"},
      {ansi, "order", "\"order\"", "\"order\""},
      {ansi, "Select", "\"Select\"", "\"Select\""},
      {ansi, "end-exec", "\"end-exec\"", "\"end-exec\""},
      {ansi, "pragma", "\"pragma\"", "\"pragma\""},  // the driver's own keyword
      {ansi, "orders", "orders", "orders"},
      {ansi, "a\"b", "\"a\"\"b\"", "\"a\"\"b\""},
      {none, "order", "order", "order"},  // a driver that cannot quote
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.naming.Table(c.name), c.table) << c.name;
    EXPECT_EQ(c.naming.Column(c.name), c.column) << c.name;
  }
  EXPECT_EQ(excel.PdbNameOf("Sheet1$"), "[Sheet1$]");
  EXPECT_EQ(ParseKeywordList(" abort ,glob,,Pragma\n"), (Lists{"ABORT", "GLOB", "PRAGMA"}));
  EXPECT_EQ(ComposeTableSelection({{"order", Lists{"date"}}}, ansi).query,
            std::optional<std::string>("SELECT   *   FROM  \"order\""));
}

TEST(TableTypeFilter, KeepsOnlyTheRequestedTypes) {
  EXPECT_TRUE(IsRequestedTableType("TABLE", "TABLE"));
  EXPECT_TRUE(IsRequestedTableType("TABLE", "table "));
  EXPECT_FALSE(IsRequestedTableType("TABLE", "VIEW"));
  EXPECT_FALSE(IsRequestedTableType("TABLE", "SYSTEM TABLE"));
  EXPECT_TRUE(IsRequestedTableType("TABLE,VIEW,SYSTEM TABLE", "SYSTEM TABLE"));
  EXPECT_TRUE(IsRequestedTableType("'TABLE','VIEW'", "VIEW"));
}

}  // namespace
}  // namespace tallowick
