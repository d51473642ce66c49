// Excel and dBase files through the same connection, catalogue, composition
// and generation as every other source.
#include <gtest/gtest.h>

#include <fstream>

#include "engine/helper_file.h"
#include "import/import_file_converter.h"
#include "source/catalogue.h"
#include "source/query_run.h"
#include "source/source_connection.h"
#include "tests/support/command_output.h"
#include "tests/support/private_odbc.h"
#include "tests/support/temp_folder.h"
#include "viewer/pdb_contents.h"

namespace tallowick::testing {
namespace {

class NoPrompt : public CredentialPrompt {
 public:
  std::optional<Credentials> Ask(const std::string&) override { return std::nullopt; }
};

class NoNotices : public NoticeSink {
 public:
  void Notice(const std::string&) override {}
};

class FileSources : public OdbcTest {
 protected:
  // Writes `target` with a script of python3-xlwt or python3-dbf.
  void RunPython(const std::string& script, const std::string& target) {
    std::ofstream(m_folder.File("writer.py")) << script;
    int status = -1;
    const std::string output =
        CommandOutput("/usr/bin/python3 " + ShellQuoted(m_folder.File("writer.py")) + " " +
                          ShellQuoted(target) + " 2>&1",
                      &status);
    ASSERT_EQ(status, 0) << output;
  }

  // Connects, lists the tables, highlights `table`, generates from the
  // composed query and reads the PDB back.
  PdbContents GenerateFromTable(const std::string& file, const std::string& table,
                                std::vector<std::string>& tables, std::string& query) {
    SourceConnection connection(&m_converter);
    NoPrompt prompt;
    EXPECT_TRUE(connection.OpenFile(file, prompt).Connected());
    const TableListing listing = ListTables(connection);
    EXPECT_TRUE(listing.ok);
    tables = listing.names;
    std::sort(tables.begin(), tables.end());
    const TableSelection selection = SelectTables(connection, {table});
    query = selection.query.value_or("");

    GenerationRequest request;
    request.outputFolder = m_folder.Path() + "/";
    request.pdbName = "Sheet";
    request.creator = "HWRP";
    request.type = "HWRP";
    NoNotices notices;
    const GenerationRun run = RunGeneration(connection.Connection(), query, request, notices);
    EXPECT_EQ(run.generated, 1) << run.message << run.driverDiagnostic;
    const std::string converted = connection.ConvertedDatabasePath();
    EXPECT_FALSE(converted.empty());
    connection.Disconnect();
    EXPECT_NE(access(converted.c_str(), F_OK), 0) << "the converted database is deleted";

    const auto helper = ReadHelperFile(m_folder.File("SheetHelper.mhl"));
    EXPECT_TRUE(helper);
    PdbContents contents;
    if (helper) {
      EXPECT_EQ(LoadPdbContents(*helper, m_folder.File("SheetHelper.mhl"), "Sheet",
                                m_folder.Path() + "/", contents),
                PdbMatch::Decoded);
    }
    return contents;
  }

  static std::vector<std::string> Kinds(const PdbContents& contents) {
    std::vector<std::string> kinds;
    for (const auto& field : contents.fields) kinds.emplace_back(FieldKindName(field.kind));
    return kinds;
  }

  TempFolder m_folder;
  ImportFileConverter m_converter;
};

TEST_F(FileSources, WorkbookSheetsAreTablesWithTypedColumns) {
  RunPython(
      "import sys, datetime, xlwt\n"
      "book = xlwt.Workbook()\n"
      "dates = xlwt.easyxf(num_format_str='YYYY-MM-DD')\n"
      "orders = book.add_sheet('Orders')\n"
      "for c, name in enumerate(['id', 'item', 'day', 'paid', 'mixed']):\n"
      "    orders.write(0, c, name)\n"
      "rows = [(1, 'Tea', datetime.date(2003, 7, 15), True, 'abc'),\n"
      "        (2, 'Coffee', datetime.date(2003, 7, 16), False, 42)]\n"
      "for r, row in enumerate(rows, 1):\n"
      "    for c, value in enumerate(row):\n"
      "        orders.write(r, c, value, dates if c == 2 else xlwt.Style.default_style)\n"
      "orders.write(3, 0, 3)\n"
      "book.add_sheet('Notes').write(0, 0, 'note')\n"
      "book.save(sys.argv[1])\n",
      m_folder.File("book.xls"));
  ASSERT_FALSE(HasFatalFailure());
  std::vector<std::string> tables;
  std::string query;
  const PdbContents contents =
      GenerateFromTable(m_folder.File("book.xls"), "Orders$", tables, query);
  EXPECT_EQ(tables, (std::vector<std::string>{"Notes$", "Orders$"}));
  EXPECT_EQ(query, "SELECT   *   FROM  [Orders$]");
  EXPECT_EQ(Kinds(contents),
            (std::vector<std::string>{"Double", "String", "Date", "Short", "String"}));
  ASSERT_EQ(contents.rows.size(), 3u);
  EXPECT_EQ(contents.rows[0],
            (std::vector<std::string>{"1.000000", "Tea", "2003/7/15", "1", "abc"}));
  EXPECT_EQ(contents.rows[1],
            (std::vector<std::string>{"2.000000", "Coffee", "2003/7/16", "0", "42"}));
  EXPECT_EQ(contents.rows[2], (std::vector<std::string>{"3.000000", "", "1904/0/0", "0", ""}))
      << "empty cells are NULL";
}

TEST_F(FileSources, DbaseFolderTablesSkipDeletedRowsAndKeepMemos) {
  RunPython(
      "import sys, datetime, dbf\n"
      "t = dbf.Table(sys.argv[1], 'qty N(5,0); name C(20); born D; ok L; memo M; price N(8,2)',"
      " dbf_type='db3', codepage='cp1252')\n"
      "t.open(dbf.READ_WRITE)\n"
      "t.append((7, 'Ann', datetime.date(2003, 7, 15), True, 'long text', 1.5))\n"
      "t.append((8, 'Gone', datetime.date(2003, 7, 16), False, 'x', 2.0))\n"
      "t.append((-9, 'Bob', None, False, '', 3.25))\n"
      "dbf.delete(t[1])\n"
      "t.close()\n",
      m_folder.File("people.dbf"));
  ASSERT_FALSE(HasFatalFailure());
  std::vector<std::string> tables;
  std::string query;
  const PdbContents contents =
      GenerateFromTable(m_folder.File("people.dbf"), "people", tables, query);
  EXPECT_EQ(tables, (std::vector<std::string>{"people"}));
  EXPECT_EQ(query, "SELECT   *   FROM  people");
  EXPECT_EQ(Kinds(contents),
            (std::vector<std::string>{"Long", "String", "Date", "Short", "String", "Double"}));
  ASSERT_EQ(contents.rows.size(), 2u) << "the deleted row is left out";
  EXPECT_EQ(contents.rows[0],
            (std::vector<std::string>{"7", "Ann", "2003/7/15", "1", "long text", "1.500000"}));
  EXPECT_EQ(contents.rows[1][0], "-9");
  EXPECT_EQ(contents.rows[1][1], "Bob");
  EXPECT_EQ(contents.rows[1][5], "3.250000");
}

}  // namespace
}  // namespace tallowick::testing
