// tallowick-cli run as a user runs it: exit statuses, texts on stderr,
// and a generation read back through `view`.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "engine/helper_file.h"
#include "engine/pdb_file.h"
#include "engine/utf8.h"
#include "platform/file_lock.h"
#include "tests/support/command_output.h"
#include "tests/support/private_odbc.h"
#include "tests/support/sqlite_file.h"
#include "tests/support/temp_folder.h"

namespace tallowick::testing {
namespace {

struct CliRun {
  int status = -1;
  std::string out;
  std::string err;
};

class CliTest : public OdbcTest {
 protected:
  void SetUp() override {
    m_database = m_folder.File("orders.db");
    RunSqliteScript(m_database,
                    "CREATE TABLE orders(id INTEGER, item VARCHAR(40), price REAL, day DATE,"
                    " stamp TIMESTAMP);"
                    "INSERT INTO orders VALUES(1, 'Tea, green', 2.5, '2003-07-15',"
                    " '2003-05-17 15:04:09');"
                    "INSERT INTO orders VALUES(2, NULL, NULL, NULL, NULL);");
  }

  CliRun Cli(const std::string& arguments, const std::string& input = "") {
    const std::string errFile = m_folder.File("stderr.txt");
    std::string command = ShellQuoted(std::string(TALLOWICK_BINARY_DIR) + "/cli/tallowick-cli") +
                          " " + arguments + " 2>" + ShellQuoted(errFile);
    command += input.empty() ? " </dev/null" : " <<'EOF'\n" + input + "\nEOF\n";
    CliRun run;
    run.out = CommandOutput(command, &run.status);
    std::ifstream err(errFile);
    std::stringstream text;
    text << err.rdbuf();
    run.err = text.str();
    return run;
  }

  std::string Source() const { return "--file " + ShellQuoted(m_database); }

  // A PDB of these records in the test's folder, creator ABCD, type DATA,
  // with `name` in its header.
  void WritePdb(const std::string& file, const std::string& name,
                const std::vector<std::vector<unsigned char>>& records) {
    std::vector<PdbRecordEntry> entries(records.size());
    for (std::size_t i = 0; i < records.size(); ++i) {
      entries[i].length = static_cast<std::uint32_t>(records[i].size());
      entries[i].data = records[i].data();
    }
    PdbFile pdb(file, m_folder.Directory(), ".pdb");
    pdb.SetDatabaseName(name);
    ASSERT_TRUE(pdb.Write(entries, "ABCD", "DATA", static_cast<std::uint16_t>(records.size())));
  }

  TempFolder m_folder;
  std::string m_database;
};

TEST_F(CliTest, UsageErrorsExitWithTwoAndEveryCommandHasHelp) {
  const CliRun none = Cli("");
  EXPECT_EQ(none.status, 2);
  EXPECT_EQ(none.err.rfind("tallowick-cli: no command given\n\nusage: tallowick-cli COMMAND", 0),
            0u);
  EXPECT_EQ(Cli("frobnicate").status, 2);
  EXPECT_EQ(Cli("tables " + Source() + " --bogus").status, 2);
  EXPECT_EQ(Cli("tables").status, 2) << "a source is required";
  EXPECT_EQ(Cli("tables " + Source() + " --dsn X").status, 2) << "only one source";
  EXPECT_EQ(Cli("generate " + Source() + " --query 'SELECT 1' --out /tmp").status, 2);
  EXPECT_EQ(Cli("preview " + Source() + " --query 'SELECT 1' --format xml").status, 2);
  for (const char* command : {"sources", "tables", "columns", "preview", "generate", "view"}) {
    const CliRun help = Cli(std::string(command) + " --help");
    EXPECT_EQ(help.status, 0) << command;
    EXPECT_NE(help.out.find("usage: tallowick-cli " + std::string(command)), std::string::npos)
        << command;
    EXPECT_EQ(Cli(std::string(command) + " -h").out, help.out) << command;
  }
}

TEST_F(CliTest, GenerateChecksComeInThePagesOrderWithItsTexts) {
  const std::string out = " --out " + ShellQuoted(m_folder.Path());
  const auto firstFault = [&](const std::string& options) {
    const CliRun run = Cli("generate " + Source() + options);
    EXPECT_EQ(run.status, 1) << options;
    return run.err;
  };
  EXPECT_EQ(firstFault(" --query 'DELETE FROM orders' --name '' --creator ab" + out),
            "tallowick-cli: Only SELECT Query Suppoted\n");
  EXPECT_EQ(firstFault(" --query 'SELECT * FROM orders' --name '' --creator ab" + out),
            "tallowick-cli: Invalid PDB Name\n");
  EXPECT_EQ(firstFault(" --query 'SELECT * FROM orders' --name O --creator '' --type x" + out),
            "tallowick-cli: Please Enter valid creator ID for this PDB\n");
  EXPECT_EQ(firstFault(" --query 'SELECT * FROM orders' --name O --creator abc" + out),
            "tallowick-cli: Creator ID must be of length four\n");
  EXPECT_EQ(firstFault(" --query 'SELECT * FROM orders' --name O --type ''" + out),
            "tallowick-cli: Please Enter valid PDB Type\n");
  EXPECT_EQ(firstFault(" --query 'SELECT * FROM orders' --name O --type abcde" + out),
            "tallowick-cli: PDB Type must be of length four\n");
  EXPECT_EQ(firstFault(" --query 'SELECT * FROM orders' --name O --out /no/such/folder"),
            "tallowick-cli: Invalid Ouput path\n");
  EXPECT_EQ(firstFault(" --query 'SELECT * FROM orders' --name 'a/b'" + out),
            "tallowick-cli: PDB Name must not contain \"/\"\n");
  EXPECT_EQ(firstFault(" --query 'SELECT * FROM nowhere' --name O" + out)
                .rfind("tallowick-cli: Invalid Query, Please Enter Valid SELECT  Query", 0),
            0u);
}

TEST_F(CliTest, GeneratedPdbReadsBackThroughView) {
  const CliRun generate = Cli("generate " + Source() +
                              " --query 'SELECT * FROM orders' --name Orders --creator ABCD"
                              " --type DATA --out " +
                              ShellQuoted(m_folder.Path()));
  ASSERT_EQ(generate.status, 0) << generate.err;
  EXPECT_EQ(generate.out, "PDB " + m_folder.File("Orders.pdb") + ", Helper file " +
                              m_folder.File("OrdersHelper.mhl") + ", log " +
                              m_folder.File("TallowickLog.txt") + "\n");

  const CliRun json =
      Cli("view " + ShellQuoted(m_folder.File("OrdersHelper.mhl")) + " --format json");
  ASSERT_EQ(json.status, 0) << json.err;
  EXPECT_EQ(json.out,
            "{\"name\":\"Orders\",\"creator\":\"ABCD\",\"type\":\"DATA\",\"fields\":["
            "{\"name\":\"id\",\"kind\":\"Long\"},{\"name\":\"item\",\"kind\":\"String\"},"
            "{\"name\":\"price\",\"kind\":\"Double\"},{\"name\":\"day\",\"kind\":\"Date\"},"
            "{\"name\":\"stamp\",\"kind\":\"DateTime\"}],\"records\":[\n"
            "[1,\"Tea, green\",2.500000,\"2003/7/15\",\"2003/5/17 3:4:9::0 PM\"],\n"
            "[2,\"\",0.000000,\"1904/0/0\",\"0/0/0 12:0:0::0 AM\"]]}\n");

  const CliRun csv = Cli("view " + ShellQuoted(m_folder.File("OrdersHelper.mhl")) + " " +
                         ShellQuoted(m_folder.File("Orders.pdb")) + " --format csv");
  ASSERT_EQ(csv.status, 0) << csv.err;
  EXPECT_EQ(csv.out,
            "id,item,price,day,stamp\r\n"
            "1,\"Tea, green\",2.500000,2003/7/15,2003/5/17 3:4:9::0 PM\r\n"
            "2,,0.000000,1904/0/0,0/0/0 12:0:0::0 AM\r\n");
}

TEST_F(CliTest, ViewRefusesWrongFilesWithTheViewersTexts) {
  const CliRun missing = Cli("view " + ShellQuoted(m_folder.File("NoneHelper.mhl")));
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.err,
            "tallowick-cli: " + m_folder.File("NoneHelper.mhl") + ": No such file or directory\n");

  for (const char* name : {"Orders", "Other"}) {
    ASSERT_EQ(Cli("generate " + Source() + " --query 'SELECT * FROM orders' --name " + name +
                  " --out " + ShellQuoted(m_folder.Path()))
                  .status,
              0);
  }
  const CliRun mismatch = Cli("view " + ShellQuoted(m_folder.File("OrdersHelper.mhl")) + " " +
                              ShellQuoted(m_folder.File("Other.pdb")));
  EXPECT_EQ(mismatch.status, 1);
  EXPECT_NE(mismatch.err.find("Incompatible \"Helper file\" - \"Original PDB\", Please Reselect"),
            std::string::npos);
}

// A crafted Helper file or PDB, an unknown table: a message, status 1,
// nothing on standard output.
TEST_F(CliTest, BadInputIsRefusedWithItsMessage) {
  // The Helper file in in/ names "../outside"; outside.pdb beside in/ carries
  // that very name and would match.
  std::filesystem::create_directory(m_folder.File("in"));
  ASSERT_TRUE(
      WriteHelperFile(m_folder.File("in/"), "Escape", "../outside", "ABCD", "DATA", {{4, "n"}}));
  ASSERT_NO_FATAL_FAILURE(WritePdb("outside", "../outside", {{0, 0, 0, 7}}));
  ASSERT_TRUE(
      WriteHelperFile(m_folder.Directory(), "Nine", "ABCD", "DATA", {{4, "n"}, {9, "odd"}}));
  // Record 0 starts on the record list's last entry.
  ASSERT_TRUE(WriteHelperFile(m_folder.Directory(), "Inside", "ABCD", "DATA", {{4, "n"}}));
  ASSERT_NO_FATAL_FAILURE(WritePdb("Inside", "Inside", {{0, 0, 0, 1}, {0, 0, 0, 2}}));
  {
    std::fstream pdb(m_folder.File("Inside.pdb"), std::ios::in | std::ios::out | std::ios::binary);
    pdb.seekp(78);
    pdb.write("\0\0\0\x56", 4);  // 86 = 78 + 8
  }

  const std::pair<std::string, std::string> cases[] = {
      {"view " + ShellQuoted(m_folder.File("in/EscapeHelper.mhl")),
       "tallowick-cli: the Helper file names the PDB \"../outside\", which is not a file of the "
       "Helper file's folder"},
      {"view " + ShellQuoted(m_folder.File("NineHelper.mhl")),
       "tallowick-cli: Invalid Tallowick Helper file, Please Reselect"},
      {"view " + ShellQuoted(m_folder.File("InsideHelper.mhl")),
       "tallowick-cli: Unable To View PDB contents, Please select valid pdb(s)"},
      {"columns " + Source() + " --table nosuch",
       "tallowick-cli: there is no table \"nosuch\" in this source\n"},
  };
  for (const auto& [arguments, message] : cases) {
    const CliRun run = Cli(arguments);
    EXPECT_EQ(run.status, 1) << arguments;
    EXPECT_EQ(run.err.rfind(message, 0), 0u) << arguments << "\n" << run.err;
    EXPECT_EQ(run.out, "") << arguments;
  }
}

// Whatever failed, the status is 1 and stderr says what.
TEST_F(CliTest, FailuresEndWithStatusOne) {
  const std::string overflow = " --query 'SELECT abs(-9223372036854775808) AS big FROM orders'";
  const CliRun preview = Cli("preview " + Source() + overflow);
  EXPECT_EQ(preview.status, 1);
  EXPECT_EQ(preview.out, "big\n---\n") << "the headings are shown";
  EXPECT_EQ(preview.err,
            "tallowick-cli: The query could not be executed\n"
            "  [SQLite]integer overflow (1)  HY000\n");

  const CliRun generate =
      Cli("generate " + Source() + overflow + " --name Big --out " + ShellQuoted(m_folder.Path()));
  EXPECT_EQ(generate.status, 1);
  EXPECT_EQ(generate.err.rfind("tallowick-cli: Big.pdb: The PDB was not generated", 0), 0u)
      << generate.err;
  EXPECT_NE(generate.err.find("integer overflow"), std::string::npos) << generate.err;
  EXPECT_EQ(generate.out, "");
  EXPECT_FALSE(std::filesystem::exists(m_folder.File("Big.pdb")));

  const CliRun full = Cli("preview " + Source() + " --query 'SELECT id FROM orders' >/dev/full");
  EXPECT_EQ(full.status, 1);
  EXPECT_EQ(full.err, "tallowick-cli: standard output could not be written completely\n");
}

// Every failure is named on standard error after "tallowick-cli: " with
// status 1 (2 for usage); output that cannot be written is a failure too.
TEST_F(CliTest, ErrorsNameTheProgramAndOutputThatCannotBeWrittenFails) {
  const std::string folder = ShellQuoted(m_folder.Path());
  const std::string generate =
      "generate " + Source() + " --query 'SELECT id FROM orders' --name Ids --out " + folder;
  ASSERT_EQ(Cli(generate).status, 0);
  const std::string helper = ShellQuoted(m_folder.File("IdsHelper.mhl"));
  const std::string version = std::string("tallowick-cli ") + TALLOWICK_VERSION + "\n";
  const std::string full = "tallowick-cli: standard output could not be written completely\n";
  const struct {
    std::string arguments;
    int status;
    std::string out;
    std::string err;
  } cases[] = {
      {"--version", 0, version, ""},
      {"-V", 0, version, ""},
      {"view " + ShellQuoted(m_folder.File("nonexist.mhl")), 1, "",
       "tallowick-cli: " + m_folder.File("nonexist.mhl") + ": No such file or directory\n"},
      {"view " + helper + " " + ShellQuoted(m_folder.File("none.pdb")), 1, "",
       "tallowick-cli: " + m_folder.File("none.pdb") + ": No such file or directory\n"},
      {"view " + helper + " --format xml", 2, "",
       "tallowick-cli: view: unknown format \"xml\" (text, csv or json)\n"
       "(try tallowick-cli view --help)\n"},
      {"preview --bogus", 2, "",
       "tallowick-cli: preview: unknown option --bogus\n(try tallowick-cli preview --help)\n"},
      {"--version >/dev/full", 1, "", full},
      {"view -h >/dev/full", 1, "", full},
      {"view " + helper + " >/dev/full", 1, "", full},
      {generate + " >/dev/full", 1, "", full},
  };
  for (const auto& c : cases) {
    const CliRun run = Cli(c.arguments);
    EXPECT_EQ(run.status, c.status) << c.arguments;
    EXPECT_EQ(run.out, c.out) << c.arguments;
    EXPECT_EQ(run.err, c.err) << c.arguments;
  }
}

// JSON tells numbers and NULL from text, in one shape for both commands;
// CSV keeps the texts the page shows.
TEST_F(CliTest, JsonKeepsNumbersAndNullCsvKeepsTheTexts) {
  ASSERT_EQ(Cli("generate " + Source() + " --query 'SELECT * FROM orders' --name Orders --out " +
                ShellQuoted(m_folder.Path()))
                .status,
            0);
  const std::string query = " --query 'SELECT * FROM orders'";
  const std::string columns = "{\"columns\":[\"id\",\"item\",\"price\",\"day\",\"stamp\"],";
  const std::pair<std::string, std::string> cases[] = {
      {"preview " + Source() + query + " --format json",
       columns + "\"records\":[\n"
                 "[1,\"Tea, green\",2.500000,\"2003/7/15\",\"2003/05/17 03:04:09 PM\"],\n"
                 "[2,null,null,null,null]]}\n"},
      {"preview " + Source() + query + " --format csv",
       "id,item,price,day,stamp\r\n"
       "1,\"Tea, green\",2.500000,2003/7/15,2003/05/17 03:04:09 PM\r\n"
       "2,,0.000000,,\r\n"},
      {"preview " + Source() +
           " --query 'SELECT item, price FROM orders WHERE id = 3' --format json",
       "{\"columns\":[\"item\",\"price\"],\"records\":[]}\n"},
      {"view " + ShellQuoted(m_folder.File("OrdersHelper.mhl")) + " --format json",
       "{\"name\":\"Orders\",\"creator\":\"HWRP\",\"type\":\"HWRP\",\"fields\":["
       "{\"name\":\"id\",\"kind\":\"Long\"},{\"name\":\"item\",\"kind\":\"String\"},"
       "{\"name\":\"price\",\"kind\":\"Double\"},{\"name\":\"day\",\"kind\":\"Date\"},"
       "{\"name\":\"stamp\",\"kind\":\"DateTime\"}],\"records\":[\n"
       "[1,\"Tea, green\",2.500000,\"2003/7/15\",\"2003/5/17 3:4:9::0 PM\"],\n"
       "[2,\"\",0.000000,\"1904/0/0\",\"0/0/0 12:0:0::0 AM\"]]}\n"},
  };
  for (const auto& [arguments, out] : cases) {
    const CliRun run = Cli(arguments);
    EXPECT_EQ(run.status, 0) << arguments << "\n" << run.err;
    EXPECT_EQ(run.out, out) << arguments;
  }
}

// A second run into the same folder says on stderr that it waits, then runs.
TEST_F(CliTest, ARunIntoABusyFolderSaysItWaits) {
  platform::FileLock busy;
  ASSERT_TRUE(busy.Lock(m_folder.Path()));
  const std::string errFile = m_folder.File("waiting.txt");
  const std::string statusFile = m_folder.File("status.txt");
  const std::string cli = ShellQuoted(std::string(TALLOWICK_BINARY_DIR) + "/cli/tallowick-cli");
  const std::string run = "(" + cli + " generate " + Source() +
                          " --query 'SELECT id FROM orders' --name W --out " +
                          ShellQuoted(m_folder.Path()) + " >/dev/null 2>" + ShellQuoted(errFile) +
                          " </dev/null; echo $? >" + ShellQuoted(statusFile) + ") &";
  ASSERT_EQ(std::system(run.c_str()), 0);
  const auto textOf = [](const std::string& path) {
    std::ifstream file(path);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  };
  const auto waitFor = [&](const std::string& path, const std::string& text) {
    for (int i = 0; i < 300 && textOf(path).find(text) == std::string::npos; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return textOf(path);
  };
  EXPECT_EQ(waitFor(errFile, "\n"), "tallowick-cli: Another run is writing into " +
                                        m_folder.Path() + "/; waiting for it to finish\n");
  EXPECT_FALSE(std::filesystem::exists(m_folder.File("W.pdb"))) << "nothing written while it waits";
  busy.Unlock();
  EXPECT_EQ(waitFor(statusFile, "\n"), "0\n");
  EXPECT_TRUE(std::filesystem::exists(m_folder.File("W.pdb")));
}

// Text output never sends a control character raw; CSV and JSON keep the
// text exact.
TEST_F(CliTest, ControlCharactersReachTheTerminalEscaped) {
  RunSqliteScript(m_database,
                  "CREATE TABLE \"odd\x1b]0;title\x07\"(\"v\x1b[2J\" VARCHAR(20));"
                  "INSERT INTO \"odd\x1b]0;title\x07\" VALUES('a\rb\xC2\x9B"
                  "c\nd');");
  const std::string odd = " --query \"SELECT * FROM \\\"odd\x1b]0;title\x07\\\"\"";
  EXPECT_EQ(Cli("preview " + Source() + odd).out, "v\\x1b[2J\n--------------\na\\rb\\u009bc\\nd\n");
  EXPECT_EQ(Cli("preview " + Source() + odd + " --format csv").out,
            "v\x1b[2J\r\n\"a\rb\xC2\x9B"
            "c\nd\"\r\n");
  EXPECT_EQ(Cli("preview " + Source() + odd + " --format json").out,
            "{\"columns\":[\"v\\u001b[2J\"],\"records\":[\n[\"a\\rb\\u009bc\\nd\"]]}\n");
  EXPECT_EQ(Cli("tables " + Source()).out, "odd\\x1b]0;title\\x07\norders\n");
  EXPECT_EQ(Cli("columns " + Source() + " --table " + ShellQuoted("odd\x1b]0;title\x07")).out,
            "v\\x1b[2J\n");

  // A crafted PDB: its name, a field name and a value.
  ASSERT_TRUE(WriteHelperFile(m_folder.Directory(), "Crafted", "C\x1b[2J", "ABCD", "DATA",
                              {{1, "f\x1b]0;t\x07"}}));
  ASSERT_NO_FATAL_FAILURE(WritePdb("C\x1b[2J", "C\x1b[2J", {{'\x1b', 'c', 0}}));
  const CliRun view = Cli("view " + ShellQuoted(m_folder.File("CraftedHelper.mhl")));
  EXPECT_EQ(view.status, 0) << view.err;
  EXPECT_EQ(view.out,
            "Name          : C\\x1b[2J\nCreator       : ABCD\nType          : DATA\n"
            "Total Records : 1\nTotal Fields  : 1\n\n"
            "f\\x1b]0;t\\x07\n-------------\n\\x1bc\n");
}

TEST_F(CliTest, PreviewPrintsTheRowsOrSaysWhyNot) {
  const CliRun table = Cli("preview " + Source() + " --query 'SELECT id, item FROM orders'");
  ASSERT_EQ(table.status, 0) << table.err;
  EXPECT_EQ(table.out, "id  item\n--  ----------\n1   Tea, green\n2\n");

  const CliRun notSelect = Cli("preview " + Source() + " --query ' update orders set id=1'");
  EXPECT_EQ(notSelect.status, 1);
  EXPECT_EQ(notSelect.err, "tallowick-cli: Only SELECT Query Suppoted\n");

  const CliRun invalid = Cli("preview " + Source() + " --query 'SELECT * FROM nowhere'");
  EXPECT_EQ(invalid.status, 1);
  EXPECT_EQ(invalid.err.rfind("tallowick-cli: Invalid Query, Please Enter Valid SELECT Query", 0),
            0u);
}

TEST_F(CliTest, SourcesTablesAndColumnsListTheCatalogue) {
  const CliRun tables = Cli("tables " + Source());
  ASSERT_EQ(tables.status, 0) << tables.err;
  EXPECT_EQ(tables.out, "orders\n");
  const CliRun columns = Cli("columns " + Source() + " --table orders");
  ASSERT_EQ(columns.status, 0) << columns.err;
  EXPECT_EQ(columns.out, "id\nitem\nprice\nday\nstamp\n");

  PrivateOdbc::Get().AddUserDataSource("CliOrders", "SQLite3", {{"Database", m_database}});
  const CliRun sources = Cli("sources");
  PrivateOdbc::Get().ClearDataSources();
  EXPECT_EQ(sources.status, 0);
  EXPECT_EQ(sources.out, "CliOrders\n");

  const CliRun missingFile = Cli("tables --file " + ShellQuoted(m_folder.File("none.db")));
  EXPECT_EQ(missingFile.status, 1);
  EXPECT_EQ(missingFile.err.rfind("tallowick-cli: ", 0), 0u);
  EXPECT_GT(missingFile.err.size(), std::string("tallowick-cli: \n").size());
}

// Text reaches the handheld in its own encoding: the bytes of the first
// String field of the first record of <name>.pdb in the test folder.
class HandheldTextTest : public CliTest {
 protected:
  std::string FirstText(const std::string& name) {
    std::ifstream file(m_folder.File(name + ".pdb"), std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (bytes.size() < 90) return {};
    const std::size_t records =
        static_cast<unsigned char>(bytes[77]) | static_cast<unsigned char>(bytes[76]) << 8;
    const std::size_t first = 81 + 8 * records;
    return std::string(bytes.c_str() + first);
  }
  std::string ProcessLog() {
    std::ifstream file(m_folder.File("TallowickProcess.log"));
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  }
  std::string Out() const { return " --out " + ShellQuoted(m_folder.Path()); }
  // Runs a Python script (python3-xlwt, python3-dbf) that writes the file
  // `name` of the test's folder, given as its argument.
  bool WriteWithPython(const std::string& script, const std::string& name) {
    std::ofstream(m_folder.File("make.py")) << script;
    int status = -1;
    CommandOutput("/usr/bin/python3 " + ShellQuoted(m_folder.File("make.py")) + " " +
                      ShellQuoted(m_folder.File(name)),
                  &status);
    return status == 0;
  }
};

TEST_F(HandheldTextTest, SqliteTextIsStoredAsWindows1252AndShownBackAsUtf8) {
  RunSqliteScript(m_database,
                  "CREATE TABLE menu(dish VARCHAR(40));"
                  "INSERT INTO menu VALUES('Cr\xC3\xA8me br\xC3\xBBl\xC3\xA9"
                  "e');");
  ASSERT_EQ(
      Cli("generate " + Source() + " --query 'SELECT dish FROM menu' --name Menu" + Out()).status,
      0);
  EXPECT_EQ(FirstText("Menu"),
            "Cr\xE8me br\xFBl\xE9"
            "e");
  const CliRun view = Cli("view " + ShellQuoted(m_folder.File("MenuHelper.mhl")) + " --format csv");
  EXPECT_EQ(view.out,
            "dish\r\nCr\xC3\xA8me br\xC3\xBBl\xC3\xA9"
            "e\r\n");

  ASSERT_EQ(Cli("generate " + Source() +
                " --query 'SELECT dish FROM menu' --name Raw --charset utf-8" + Out())
                .status,
            0);
  EXPECT_EQ(FirstText("Raw"),
            "Cr\xC3\xA8me br\xC3\xBBl\xC3\xA9"
            "e")
      << "the driver's bytes";
  EXPECT_EQ(
      Cli("generate " + Source() + " --query 'SELECT 1' --name X --charset latin9" + Out()).status,
      2);
}

TEST_F(HandheldTextTest, JapaneseRoundTripsThroughShiftJis) {
  RunSqliteScript(m_database,
                  "CREATE TABLE words(word VARCHAR(40));"
                  "INSERT INTO words VALUES('\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E');");
  ASSERT_EQ(Cli("generate " + Source() +
                " --query 'SELECT word FROM words' --name Words --charset shift-jis" + Out())
                .status,
            0);
  EXPECT_EQ(FirstText("Words"), "\x93\xFA\x96\x7B\x8C\xEA");
  const CliRun view = Cli("view " + ShellQuoted(m_folder.File("WordsHelper.mhl")) +
                          " --format csv --charset shift-jis");
  EXPECT_EQ(view.out, "word\r\n\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\r\n");
}

TEST_F(HandheldTextTest, CharactersWindows1252LacksBecomeQuestionMarksAndAreCounted) {
  RunSqliteScript(m_database,
                  "CREATE TABLE signs(sign VARCHAR(40));"
                  "INSERT INTO signs VALUES('a\xE2\x86\x92"
                  "b\xCE\xA9');");
  ASSERT_EQ(
      Cli("generate " + Source() + " --query 'SELECT sign FROM signs' --name Signs" + Out()).status,
      0);
  EXPECT_EQ(FirstText("Signs"), "a?b?");
  EXPECT_NE(ProcessLog().find("2 character(s) not available in Western (Windows-1252) were "
                              "stored as \"?\": 2 in column \"sign\""),
            std::string::npos)
      << ProcessLog();
}

TEST_F(HandheldTextTest, AccessTextIsStoredAsWindows1252) {
  const std::string northwind = std::string(TALLOWICK_FIXTURES) + "/Northwind.mdb";
  const CliRun run = Cli("generate --file " + ShellQuoted(northwind) +
                         " --query \"SELECT CompanyName FROM Customers WHERE CustomerID = "
                         "'BERGS'\" --name Bergs" +
                         Out());
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(FirstText("Bergs"), "Berglunds snabbk\xF6p");
}

TEST_F(HandheldTextTest, DbaseTextIsStoredAsWindows1252) {
  const std::string script =
      "import dbf, sys\n"
      "t = dbf.Table(sys.argv[1], 'dish C(40)', codepage='cp1252')\n"
      "t.open(dbf.READ_WRITE)\n"
      "t.append((u'Cr\\u00e8me br\\u00fbl\\u00e9e',))\n"
      "t.close()\n";
  ASSERT_TRUE(WriteWithPython(script, "menu.dbf"));
  const CliRun run = Cli("generate --file " + ShellQuoted(m_folder.File("menu.dbf")) +
                         " --query 'SELECT dish FROM menu' --name Dbase" + Out());
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(FirstText("Dbase"),
            "Cr\xE8me br\xFBl\xE9"
            "e");

  // A damaged table beside the chosen one is named; the chosen one still serves.
  std::ofstream(m_folder.File("broken.dbf"))
      << "not a dBase table, though long enough for a header";
  const CliRun tables = Cli("tables --file " + ShellQuoted(m_folder.File("menu.dbf")));
  ASSERT_EQ(tables.status, 0) << tables.err;
  EXPECT_EQ(tables.out, "menu\n");
  EXPECT_EQ(tables.err.rfind(
                "tallowick-cli: Cannot read the dBase table " + m_folder.File("broken.dbf"), 0),
            0u)
      << tables.err;
  EXPECT_NE(tables.err.find("The table is left out.\n"), std::string::npos) << tables.err;
}

// `preview ... | head`: the run ends as a broken pipe ends it (128 + 13),
// and the converted table and the temporary data source are gone.
TEST_F(HandheldTextTest, AReaderThatGoesAwayEndsTheRunAsABrokenPipe) {
  const std::string script =
      "import dbf, sys\n"
      "t = dbf.Table(sys.argv[1], 'v C(60)', codepage='cp1252')\n"
      "t.open(dbf.READ_WRITE)\n"
      "for i in range(3000): t.append(('%050d' % i,))\n"
      "t.close()\n";
  ASSERT_TRUE(WriteWithPython(script, "big.dbf"));  // 150 KB of text, more than a pipe holds
  std::ofstream(m_folder.File("pipe.sh"))
      << "TMPDIR=\"$2\" \"$1\" preview --file \"$3\" --query 'SELECT * FROM big'"
         " | head -c 1 >/dev/null\n"
         "echo \"${PIPESTATUS[0]}\"\n";
  TempFolder temporary;
  const std::string status =
      CommandOutput("bash " + ShellQuoted(m_folder.File("pipe.sh")) + " " +
                    ShellQuoted(std::string(TALLOWICK_BINARY_DIR) + "/cli/tallowick-cli") + " " +
                    ShellQuoted(temporary.Path()) + " " + ShellQuoted(m_folder.File("big.dbf")));
  EXPECT_EQ(status, "141\n");
  EXPECT_TRUE(temporary.Entries().empty());
  EXPECT_EQ(PrivateOdbc::Get().UserIniText().find("TempPTallowickDSN"), std::string::npos);
}

TEST_F(HandheldTextTest, WorkbookSheetsAreTablesOnTheCommandLine) {
  const std::string script =
      "import sys, xlwt\n"
      "book = xlwt.Workbook()\n"
      "sheet = book.add_sheet('Menu')\n"
      "sheet.write(0, 0, 'dish'); sheet.write(0, 1, 'price')\n"
      "sheet.write(1, 0, u'Cr\\u00e8me br\\u00fbl\\u00e9e'); sheet.write(1, 1, 7.25)\n"
      "book.add_sheet('Other').write(0, 0, 'x')\n"
      "book.save(sys.argv[1])\n";
  ASSERT_TRUE(WriteWithPython(script, "menu.xls"));
  const std::string book = "--file " + ShellQuoted(m_folder.File("menu.xls"));
  EXPECT_EQ(Cli("tables " + book).out, "Menu$\nOther$\n");
  EXPECT_EQ(Cli("columns " + book + " --table 'Menu$'").out, "dish\nprice\n");
  const CliRun run =
      Cli("generate " + book + " --query 'SELECT * FROM [Menu$]' --name Menu" + Out());
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(FirstText("Menu"),
            "Cr\xE8me br\xFBl\xE9"
            "e");
  EXPECT_EQ(Cli("view " + ShellQuoted(m_folder.File("MenuHelper.mhl")) + " --format csv").out,
            "dish,price\r\nCr\xC3\xA8me br\xC3\xBBl\xC3\xA9"
            "e,7.250000\r\n");
}

// Long names in each set: the file names and logs stay valid UTF-8, the
// pair is read back by `view`, a name or code that cannot be stored is
// refused before anything is written.
TEST_F(HandheldTextTest, NamesAreCutAtWholeCharactersInEverySet) {
  RunSqliteScript(m_database, "CREATE TABLE t(v VARCHAR(10)); INSERT INTO t VALUES('v');");
  const std::string german =
      "Artikel\xC3\xBC"
      "bersicht_Gr\xC3\xB6\xC3\x9F"
      "e";
  std::string umlauts;  // 16 characters: 16 bytes in Windows-1252, 32 in UTF-8
  for (int i = 0; i < 16; ++i) umlauts += "\xC3\x9C";
  std::string suns;   // 13 characters: 26 bytes in Shift-JIS
  std::string words;  // 31 characters: 62 bytes in Shift-JIS
  for (int i = 0; i < 13; ++i) suns += "\xE6\x97\xA5";
  for (int i = 0; i < 31; ++i) words += "\xE8\xAA\x9E";
  const std::string longAccented = std::string(63, 'c') + "\xC3\xA9";
  const std::string tooLong = "tallowick-cli: PDB Name must not be longer than 31 characters\n";
  const struct {
    std::string charset;
    std::string name;
    std::string column;
    std::string options;
    std::string error;       // empty when the run succeeds
    std::string helperFile;  // then: without ".mhl"
    std::string columnShown;
  } cases[] = {
      {"cp1252", german + "_XY", longAccented, "", "", german + "_Helper", longAccented},
      {"utf-8", german + "_XY", longAccented, "", "", german + "_Helper", std::string(63, 'c')},
      {"cp1252", umlauts, "u", "", "", umlauts + "Helper", "u"},
      {"utf-8", umlauts, "u", "", tooLong, "", ""},
      {"shift-jis", suns + "X", words + "a" + words, "", "", suns + "XHelper", words + "a"},
      {"cp1252", "Codes", "u", " --creator 'HWR\xC3\xA9'",
       "tallowick-cli: Creator ID must be four printable ASCII characters (letters, digits, signs "
       "or blanks)\n",
       "", ""},
      {"cp1252", "Codes", "u",
       " --type 'AB\x01"
       "C'",
       "tallowick-cli: PDB Type must be four printable ASCII characters (letters, digits, signs or "
       "blanks)\n",
       "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.charset + " " + c.name);
    TempFolder out;
    const std::string query = "SELECT v AS \"" + c.column + "\" FROM t";
    const CliRun run = Cli("generate " + Source() + " --query " + ShellQuoted(query) + " --name " +
                           ShellQuoted(c.name) + " --charset " + c.charset + c.options + " --out " +
                           ShellQuoted(out.Path()));
    if (!c.error.empty()) {
      EXPECT_EQ(run.status, 1);
      EXPECT_EQ(run.err, c.error);
      EXPECT_TRUE(out.Entries().empty());
      continue;
    }
    ASSERT_EQ(run.status, 0) << run.err;
    std::vector<std::string> expected = {c.name + ".pdb", c.helperFile + ".mhl", "TallowickLog.txt",
                                         "TallowickProcess.log"};
    std::sort(expected.begin(), expected.end());
    std::vector<std::string> entries = out.Entries();
    std::sort(entries.begin(), entries.end());
    EXPECT_EQ(entries, expected);
    for (const char* log : {"TallowickLog.txt", "TallowickProcess.log"}) {
      std::ifstream file(out.File(log));
      const std::string text((std::istreambuf_iterator<char>(file)),
                             std::istreambuf_iterator<char>());
      EXPECT_TRUE(IsValidUtf8(text)) << log;
      EXPECT_NE(text.find(c.helperFile), std::string::npos) << log;
    }
    const CliRun view =
        Cli("view " + ShellQuoted(out.File(c.helperFile + ".mhl")) + " " +
            ShellQuoted(out.File(c.name + ".pdb")) + " --format csv --charset " + c.charset);
    EXPECT_EQ(view.status, 0) << view.err;
    EXPECT_EQ(view.out, c.columnShown + "\r\nv\r\n");
  }
}

TEST_F(HandheldTextTest, ViewFindsAPdbWhoseNameTheHandheldSpellsDifferently) {
  ASSERT_EQ(
      Cli("generate " + Source() + " --query 'SELECT id FROM orders' --name 'Cr\xC3\xA8me'" + Out())
          .status,
      0);
  const CliRun view =
      Cli("view " + ShellQuoted(m_folder.File("Cr\xC3\xA8meHelper.mhl")) + " --format csv");
  EXPECT_EQ(view.status, 0) << view.err;
  EXPECT_EQ(view.out, "id\r\n1\r\n2\r\n");
}

// Without PDB.pdb, view opens the PDB of the Helper file's folder whose
// header carries the Helper file's name, creator and type, whatever the file
// is called; never one whose header differs, and never a guess among several.
TEST_F(HandheldTextTest, ViewFindsThePdbByItsHeader) {
  const std::string japanese = "\xE6\x97\xA5\xE6\x9C\xAC";
  // A copy of Sales.pdb under another creator: same name, not its PDB.
  const std::string decoy =
      "cp Sales.pdb sales.pdb && printf ABCD | dd of=sales.pdb bs=1 seek=64 conv=notrunc "
      "2>/dev/null";
  const struct {
    std::string name;
    std::string charset;
    std::string shell;  // run in the output folder after the generation
    std::string error;  // empty when the PDB is found
  } cases[] = {
      {"Sales", "cp1252", decoy + " && mv Sales.pdb SALES.PDB", ""},
      {japanese, "shift-jis", "", ""},  // shown as Windows-1252, the name is not the file's
      {japanese, "shift-jis", "mv " + japanese + ".pdb x.Pdb", ""},
      {"Sales", "cp1252", "cp Sales.pdb Copy.pdb", ""},  // the file it names comes first
      {"Sales", "cp1252", "mv Sales.pdb A.pdb && cp A.pdb B.pdb",
       "tallowick-cli: several PDBs in DIR/ carry the name, creator and type of "
       "DIR/SalesHelper.mhl: A.pdb B.pdb\ngive the one to show as the second argument\n"},
      {"Sales", "cp1252", decoy + " && rm Sales.pdb",
       "tallowick-cli: no PDB in DIR/ carries the name \"Sales\", creator and type of "
       "DIR/SalesHelper.mhl; give the PDB as the second argument\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.shell);
    TempFolder out;
    ASSERT_EQ(
        Cli("generate " + Source() + " --query 'SELECT id FROM orders' --name " +
            ShellQuoted(c.name) + " --charset " + c.charset + " --out " + ShellQuoted(out.Path()))
            .status,
        0);
    if (!c.shell.empty()) {
      int status = -1;
      CommandOutput("cd " + ShellQuoted(out.Path()) + " && " + c.shell, &status);
      ASSERT_EQ(status, 0);
    }
    const CliRun view =
        Cli("view " + ShellQuoted(out.File(c.name + "Helper.mhl")) + " --format csv");
    if (c.error.empty()) {
      EXPECT_EQ(view.status, 0) << view.err;
      EXPECT_EQ(view.out, "id\r\n1\r\n2\r\n");
      continue;
    }
    std::string error = c.error;
    for (std::size_t at; (at = error.find("DIR")) != std::string::npos;) {
      error.replace(at, 3, out.Path());
    }
    EXPECT_EQ(view.status, 1);
    EXPECT_EQ(view.err, error);
    EXPECT_EQ(view.out, "");
  }
}

}  // namespace
}  // namespace tallowick::testing
