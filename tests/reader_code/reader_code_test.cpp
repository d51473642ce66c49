// The C reader tallowick-cli writes for a Helper file, compiled with gcc
// (C99 with its own Palm OS types, C89 against a stand-in PalmOS.h) and run
// over the PDB: every record must unpack to the texts `tallowick-cli view
// --format csv` shows, field for field, and no record cut short may unpack.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>

#include "engine/helper_file.h"
#include "engine/pdb_file.h"
#include "reader_code/c_identifier.h"
#include "reader_code/reader_layout.h"
#include "tests/support/command_output.h"
#include "tests/support/private_odbc.h"
#include "tests/support/sqlite_file.h"
#include "tests/support/temp_folder.h"

namespace tallowick::testing {
namespace {

const std::string kCli = std::string(TALLOWICK_BINARY_DIR) + "/cli/tallowick-cli";
const std::string kHere = std::string(TALLOWICK_SOURCE_DIR) + "/tests/reader_code";

using Rows = std::vector<std::vector<std::string>>;

// Records ending in CR LF, fields separated by ',' and quoted when they
// hold ',', '"', CR or LF, as the view writes them.
Rows ParseCsv(const std::string& text) {
  Rows rows;
  std::vector<std::string> row;
  std::string field;
  bool quoted = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (quoted) {
      if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
        field += '"';
        ++i;
      } else if (c == '"') {
        quoted = false;
      } else {
        field += c;
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      row.push_back(std::move(field));
      field.clear();
    } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      row.push_back(std::move(field));
      field.clear();
      rows.push_back(std::move(row));
      row.clear();
      ++i;
    } else {
      field += c;
    }
  }
  return rows;
}

void WriteText(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// What the driver needs to know of a reader: its names and fields in order.
std::string ReaderFieldsHeader(const ReaderLayout& layout) {
  const std::string t = layout.TypeName();
  std::string text = "#include \"" + t + ".h\"\ntypedef " + t + " ReaderRecord;\n";
  for (const char* name :
       {"Unpack", "Name", "Creator", "Type", "FieldCount", "ErrTooShort", "ErrNoTerminator"}) {
    text += "#define Reader" + std::string(name) + " " + t + name + "\n";
  }
  text += "#define READER_FIELDS";
  for (const ReaderField& field : layout.fields) {
    text += " FIELD(" + std::string(FieldKindName(static_cast<std::uint8_t>(field.kind))) + ", " +
            field.member + ")";
  }
  return text + "\n";
}

// `command` must exit with 0; its output with the command when it does not.
std::string Succeeding(const std::string& command) {
  int status = -1;
  const std::string output = CommandOutput(command + " 2>&1", &status);
  EXPECT_EQ(status, 0) << command << "\n" << output;
  return output;
}

class ReaderRoundTrip : public OdbcTest {
 protected:
  // Generates the PDB `name` and its reader in a folder of their own from
  // `query` on the file `source`, then checks the reader.
  void Generate(const std::string& source, const std::string& query, const std::string& name) {
    SCOPED_TRACE(source + ": " + query);
    const std::string folder = NewCaseFolder();
    Succeeding(ShellQuoted(kCli) + " generate --file " + ShellQuoted(source) + " --query " +
               ShellQuoted(query) + " --name " + ShellQuoted(name) + " --charset utf-8 --out " +
               ShellQuoted(folder) + " --reader " + ShellQuoted(folder));
    CheckReader(folder, name);
  }

  // Compiles the reader in `folder` for the PDB `name` there, runs it over
  // the PDB and compares its fields with the view's.
  void CheckReader(const std::string& folder, const std::string& name) {
    SCOPED_TRACE("PDB " + name);
    const std::string helperPath = HelperFilePath(folder + "/", name);
    const auto helper = ReadHelperFile(helperPath);
    ASSERT_TRUE(helper) << helperPath;
    std::string error;
    const auto layout = ReaderLayoutOf(*helper, m_prefix, error);
    ASSERT_TRUE(layout) << error;
    WriteText(folder + "/reader_fields.h", ReaderFieldsHeader(*layout));
    const std::string reader = ShellQuoted(folder + "/" + layout->TypeName() + ".c");
    const std::string driver = ShellQuoted(folder + "/driver");
    Succeeding(
        "gcc -std=c99 -Wall -Wextra -pedantic -Werror -fsanitize=address,undefined "
        "-fno-sanitize-recover=all -DTALLOWICK_DESKTOP -I" +
        ShellQuoted(folder) + " " + ShellQuoted(kHere + "/reader_driver.c") + " " + reader +
        " -o " + driver);
    Succeeding("gcc -std=c89 -pedantic -Wall -Wextra -Werror -I" +
               ShellQuoted(kHere + "/palm_stub") + " -c " + reader + " -o " +
               ShellQuoted(folder + "/reader.o"));
    const std::string pdb = ShellQuoted(folder + "/" + name + ".pdb");
    int status = -1;
    const Rows unpacked = ParseCsv(CommandOutput(driver + " " + pdb, &status));
    ASSERT_EQ(status, 0) << "the reader refused a record or a cut one unpacked";
    Rows viewed = ParseCsv(Succeeding(ShellQuoted(kCli) + " view " + ShellQuoted(helperPath) + " " +
                                      pdb + " --format csv --charset utf-8"));
    ASSERT_FALSE(viewed.empty());
    viewed.erase(viewed.begin());  // the headings
    ASSERT_EQ(unpacked.size(), viewed.size());
    for (std::size_t r = 0; r < viewed.size(); ++r) {
      ASSERT_EQ(unpacked[r].size(), viewed[r].size()) << "record " << r;
      for (std::size_t f = 0; f < viewed[r].size(); ++f) {
        EXPECT_EQ(unpacked[r][f], viewed[r][f])
            << "record " << r << ", field " << f << " (" << layout->fields[f].columnName << ")";
      }
    }
  }

  // The sample database, as scripts/make-sample.sh builds it from
  // samples/orders.sql (a clean clone has no samples/orders.db).
  std::string Sample() {
    const std::string sample = m_folder.File("orders.db");
    Succeeding("bash " +
               ShellQuoted(std::string(TALLOWICK_SOURCE_DIR) + "/scripts/make-sample.sh") + " " +
               ShellQuoted(sample));
    return sample;
  }

  std::string NewCaseFolder() {
    const std::string folder = m_folder.File("case" + std::to_string(m_cases++));
    Succeeding("mkdir " + ShellQuoted(folder));
    return folder;
  }

  TempFolder m_folder;
  std::string m_prefix;  // as given to the reader: empty for the PDB's name
  int m_cases = 0;
};

TEST_F(ReaderRoundTrip, SampleAndEdgeValuesInSqlite) {
  Generate(Sample(), "SELECT * FROM orders", "Orders");

  // Names that are no identifiers, keywords, names alike once cleaned, a
  // name that would end a comment or form a trigraph, and values at the
  // edges: NULLs, tabs, carriage returns, CSV's own characters, the longest
  // text, dates that wrap or leave the computed weekdays.
  const std::string database = m_folder.File("edge.db");
  RunSqliteScript(database,
                  "CREATE TABLE edge(\"Unit Price\" DOUBLE, \"int\" INTEGER, \"2nd\" SMALLINT,"
                  " \"a b\" TINYINT, \"a-b\" BIT, \"a_b\" VARCHAR(10), \"x*/y\" DATE,"
                  " \"?\?/\" TIMESTAMP, \"_Total\" TEXT, \"Prénom\" TEXT, \"Edge___RecordName\""
                  " INTEGER, \"$T\" TEXT, long TEXT);"
                  "INSERT INTO edge VALUES(1.5, 2, 3, 4, 1, 'x', '2003-07-15',"
                  " '2003-05-17 15:04:09', 'tab\there', 'Crème', 7, '$T', 'short');"
                  "INSERT INTO edge VALUES(NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL,"
                  " NULL, NULL, NULL, NULL, NULL);"
                  "INSERT INTO edge VALUES(-0.0, -2147483648, -1, 255, 0, 'a,\"b\"' || char(10),"
                  " '1900-01-01', '2040-12-31 23:59:59', 'cr' || char(13) || 'lf' || char(10),"
                  " '', 2147483647, '*/', replace(hex(zeroblob(32767)), '00', 'ab'));"
                  "INSERT INTO edge VALUES(1e300, 0, 32767, 0, 1, '', '0001-01-01',"
                  " '1899-12-30 00:00:00', '', 'ü', -1, '?\?/', 'x');"
                  "INSERT INTO edge VALUES(100000000.0, 1, 0, 1, 1, 'z', '9999-12-31',"
                  " '2003-07-13 12:00:00', 'é', '', 0, '', '');");
  Generate(database, "SELECT * FROM edge", "Edge?\?!");
}

TEST_F(ReaderRoundTrip, EveryAccessFixtureTable) {
  for (const char* file : {"Northwind.mdb", "DateTest.mdb", "AssetItems.accdb"}) {
    const std::string path = std::string(TALLOWICK_FIXTURES) + "/" + file;
    std::istringstream tables(
        Succeeding(ShellQuoted(kCli) + " tables --file " + ShellQuoted(path)));
    int count = 0;
    for (std::string table; std::getline(tables, table); ++count) {
      Generate(path, "SELECT * FROM [" + table + "]",
               table.size() <= 31 ? table : "Table" + std::to_string(count));
    }
    EXPECT_GT(count, 0) << file;
  }
}

// The kinds no driver here delivers (Float, Time) and bit patterns no query
// gives, in a PDB written directly; its reader named by --prefix.
TEST_F(ReaderRoundTrip, EveryKindWrittenDirectly) {
  const std::string folder = NewCaseFolder();
  const std::vector<HelperField> fields = {{1, "text"},  {2, "double"}, {3, "float"}, {4, "long"},
                                           {5, "short"}, {6, "stamp"},  {7, "time"},  {8, "date"}};
  ASSERT_TRUE(WriteHelperFile(folder + "/", "Kinds", "kInd", "Dat?", fields));
  std::vector<std::vector<unsigned char>> records = {
      {'a',  0, 0x3F, 0xF8, 0, 0, 0,  0, 0,  0, 0x3F, 0xA0, 0,    0, 0xFF, 0xFF, 0xFF, 0xFF, 0x12,
       0x34, 0, 9,    0,    4, 0, 13, 0, 17, 0, 5,    0x07, 0xD3, 0, 6,    0x0E, 0x23, 0xC6, 0xEF},
      {0,    0x7F, 0xF8, 0,    0,    0,    0,    0,    1,    0xFF, 0xC0, 0, 0,
       0x80, 0,    0,    0,    0xFF, 0xFF, 0x80, 0,    0xFF, 0xFF, 0,    0, 0x7F,
       0xFF, 0x80, 0,    0xFF, 0xF6, 0,    0,    0xFF, 0xFF, 0xFF, 0xFF},
  };
  std::vector<PdbRecordEntry> entries(records.size());
  for (std::size_t i = 0; i < records.size(); ++i) {
    entries[i].length = static_cast<std::uint32_t>(records[i].size());
    entries[i].data = records[i].data();
  }
  ASSERT_TRUE(PdbFile("Kinds", folder + "/", ".pdb").Write(entries, "kInd", "Dat?", 2));
  m_prefix = "Hand";
  Succeeding(ShellQuoted(kCli) + " reader " + ShellQuoted(HelperFilePath(folder + "/", "Kinds")) +
             " --lang c --prefix Hand --out " + ShellQuoted(folder));
  CheckReader(folder, "Kinds");
}

// Usage errors exit with 2, other failures with 1 and the reason; neither
// leaves a file behind, and generate checks --reader's folder before it
// connects.
TEST_F(ReaderRoundTrip, FailuresWriteNothing) {
  const std::string folder = NewCaseFolder();
  const std::string out = " --out " + ShellQuoted(folder);
  const std::string noFields = folder + "/NoneHelper.mhl";
  ASSERT_TRUE(WriteHelperFile(folder + "/", "None", "ABCD", "DATA", {}));
  const std::string helper = ShellQuoted(noFields);
  const std::string sample = Sample();
  struct Case {
    std::string arguments;
    int status;
    std::string error;  // the start of standard error's text
  };
  const std::vector<Case> cases = {
      {"reader" + out, 2, "tallowick-cli: reader: reader needs HELPER.mhl"},
      {"reader " + helper, 2, "tallowick-cli: reader: reader needs --out"},
      {"reader " + helper + out + " --lang pascal", 2,
       "tallowick-cli: reader: unknown language \"pascal\" (c)"},
      {"reader " + helper + out + " --prefix 9lives", 2, "tallowick-cli: reader: --prefix must be"},
      {"reader " + helper + out + " --prefix _Hidden", 2,
       "tallowick-cli: reader: --prefix must be"},
      {"reader " + ShellQuoted(folder + "/missing.mhl") + out, 1,
       "tallowick-cli: " + folder + "/missing.mhl: No such file or directory"},
      {"reader " + ShellQuoted(sample) + out, 1,
       "tallowick-cli: Invalid Tallowick Helper file, Please Reselect"},
      {"reader " + helper + out, 1,
       "tallowick-cli: " + noFields + ": the Helper file describes no fields"},
      {"generate --file " + ShellQuoted(sample) + " --query 'SELECT * FROM orders' --name O" + out +
           " --reader " + ShellQuoted(folder + "/nowhere"),
       1, "tallowick-cli: " + folder + "/nowhere: no such folder"},
  };
  for (const Case& c : cases) {
    int status = -1;
    const std::string errFile = m_folder.File("stderr.txt");
    const std::string printed = CommandOutput(
        ShellQuoted(kCli) + " " + c.arguments + " 2>" + ShellQuoted(errFile), &status);
    std::ifstream errStream(errFile);
    const std::string err((std::istreambuf_iterator<char>(errStream)),
                          std::istreambuf_iterator<char>());
    EXPECT_EQ(status, c.status) << c.arguments << "\n" << err;
    EXPECT_EQ(err.rfind(c.error, 0), 0u) << c.arguments << "\n" << err;
    EXPECT_EQ(printed, "") << c.arguments;
  }
  std::vector<std::string> left;
  int status = -1;
  std::istringstream listing(CommandOutput("ls -A " + ShellQuoted(folder), &status));
  for (std::string name; std::getline(listing, name);) left.push_back(name);
  EXPECT_EQ(left, std::vector<std::string>{"NoneHelper.mhl"});
}

TEST(ReaderNames, MembersAndPrefixesAreDistinctIdentifiers) {
  const std::vector<std::pair<std::string, std::string>> members = {
      {"Unit Price", "Unit_Price"},
      {"int", "_int"},
      {"2nd", "_2nd"},
      {"a b", "a_b"},
      {"a-b", "a_b_2"},
      {"a_b", "a_b_3"},
      {"a_b_2", "a_b_2_2"},
      {"", "field"},
      {"_Total", "x_Total"},
      {"__x", "x__x"},
      {" lead", "_lead"},
      {"OrdersRecordName", "_OrdersRecordName"},
      {"Pr\xC3\xA9nom", "Pr__nom"},
      {"DateType", "_DateType"},
      {"NULL", "_NULL"},
      {"x", "x"},
      {"x", "x_2"},
  };
  std::vector<std::string> columns;
  for (const auto& member : members) columns.push_back(member.first);
  const std::vector<std::string> made = MemberNames(columns, "OrdersRecord");
  ASSERT_EQ(made.size(), members.size());
  for (std::size_t i = 0; i < members.size(); ++i) {
    EXPECT_EQ(made[i], members[i].second) << "column \"" << members[i].first << "\"";
  }
  for (const auto& [pdbName, prefix] :
       std::vector<std::pair<std::string, std::string>>{{"Orders", "Orders"},
                                                        {"Order Details", "Order_Details"},
                                                        {"2003 Sales", "Pdb2003_Sales"},
                                                        {"_x", "Pdb_x"},
                                                        {"Caf\xC3\xA9", "Caf__"}}) {
    EXPECT_EQ(DefaultReaderPrefix(pdbName), prefix) << pdbName;
  }
}

}  // namespace
}  // namespace tallowick::testing
