// The handheld's character set on the generator page: the choice, the bytes
// a generation stores (read back from the PDB's records), and the same text
// shown again on the viewer page.
#include <gtest/gtest.h>

#include <fstream>
#include <memory>

#include "engine/pdb_file.h"
#include "tests/source/page/generator_page_fixture.h"
#include "tests/source/source_test_util.h"
#include "tests/support/sqlite_file.h"
#include "viewer/page/pdb_view.h"

namespace tallowick {
namespace {

namespace g = res::generator;
namespace v = res::viewer;

using testing::GeneratorPageTest;
using testing::RunSqliteScript;
using Strings = std::vector<std::string>;

const std::string kFixtures = TALLOWICK_FIXTURES;

const Strings kSetLabels = {
    "Western (Windows-1252)",     "Japanese (Shift-JIS)", "Simplified Chinese (GB2312)",
    "Traditional Chinese (Big5)", "Korean (EUC-KR)",      "UTF-8 (no conversion)"};

const std::string kCremeBruleeUtf8 =
    "Cr\xC3\xA8me br\xC3\xBBl\xC3\xA9"
    "e";
const std::string kCremeBrulee1252 =
    "Cr\xE8me br\xFBl\xE9"
    "e";
const std::string kNihongoUtf8 = "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E";  // 日本語
const std::string kNihongoShiftJis = "\x93\xFA\x96\x7B\x8C\xEA";

class CharsetPage : public GeneratorPageTest {
 protected:
  void SetUp() override {
    GeneratorPageTest::SetUp();
    ASSERT_NO_FATAL_FAILURE(RunSqliteScript(m_database,
                                            "CREATE TABLE menu(dish VARCHAR(40));"
                                            "INSERT INTO menu VALUES('" +
                                                kCremeBruleeUtf8 +
                                                "');"
                                                "CREATE TABLE words(word VARCHAR(40));"
                                                "INSERT INTO words VALUES('" +
                                                kNihongoUtf8 + "');"));
  }

  // Connects to `source`, types the query and generates `name` with the
  // set chosen by its label; expects success.
  void Generate(const std::string& source, const std::string& query, const std::string& name,
                const std::string& set) {
    Show();
    ASSERT_NO_FATAL_FAILURE(Connect(source));
    W().Type(g::kQuery, query);
    FillGenerateInputs(name);
    W().Select(g::kHandheldCharset, set);
    W().Click(g::kGenerate);
    ASSERT_EQ(m_host.LastMessage().icon, MessageIcon::Information) << m_host.LastMessage().text;
  }

  // The bytes of the PDB's first record and its header's name.
  std::string FirstRecord(const std::string& name, std::string* headerName = nullptr) {
    PdbFile pdb(name, m_output.Path() + "/", ".pdb");
    PdbHeader header;
    std::vector<PdbRecordEntry> entries;
    std::uint16_t count = 0;
    if (!pdb.ReadRecordList(header, entries, count) || count == 0) return "(unreadable)";
    if (headerName != nullptr) *headerName = header.name;
    const auto record = pdb.ReadRecord(entries, 0, count);
    if (!record) return "(unreadable)";
    return std::string(record->begin(), record->end() - 1);  // without the reader's spare 0 byte
  }

  // The viewer page, on the same host, showing the generated `name`.
  ScriptedWindow& View(const std::string& name, const std::string& textAs = "Automatic") {
    ScriptedWindow& viewer = m_host.ShowPage(m_viewer);
    viewer.Select(v::kTextAs, textAs);
    m_host.AnswerFile(m_output.File(name + "Helper.mhl"));
    viewer.Click(v::kSelectHelper);
    m_host.AnswerFile(m_output.File(name + ".pdb"));
    viewer.Click(v::kBrowsePdb);
    return viewer;
  }

  std::string m_database = m_data.File("menu.db");
  PDBView m_viewer;
};

TEST_F(CharsetPage, StartsOnWesternAndKeepsTheChoiceAcrossConnections) {
  Show();
  EXPECT_EQ(W().Kind(g::kHandheldCharset), ControlKind::ComboBox);
  EXPECT_EQ(W().Entries(g::kHandheldCharset), kSetLabels);  // in this order, not sorted
  EXPECT_EQ(W().Text(g::kHandheldCharset), "Western (Windows-1252)");
  EXPECT_EQ(W().Selection(g::kHandheldCharset), (std::vector<int>{0}));
  EXPECT_THROW(W().Type(g::kHandheldCharset, "Latin-9"),
               ScriptError);  // a list, not a box to type in
  EXPECT_TRUE(W().IsEnabled(g::kHandheldCharset));

  W().Select(g::kHandheldCharset, "Japanese (Shift-JIS)");
  EXPECT_TRUE(m_host.Messages().empty());
  ASSERT_NO_FATAL_FAILURE(Connect(m_database));
  EXPECT_EQ(W().Text(g::kHandheldCharset), "Japanese (Shift-JIS)");
  // A failed attempt empties the database's views, not the choice.
  const std::string broken = m_data.File("broken.mdb");
  std::ofstream(broken, std::ios::binary) << testing::UnreadableAccessBytes();
  Browse(broken);
  ASSERT_FALSE(m_page.IsConnected());
  EXPECT_EQ(W().Text(g::kHandheldCharset), "Japanese (Shift-JIS)");
  EXPECT_EQ(m_page.ChosenCharset(), HandheldCharset::Japanese);
}

TEST_F(CharsetPage, SqliteTextIsStoredAsWindows1252AndShownBackAsUtf8) {
  // The name is stored in the set too: the header holds it so, the files carry it as typed.
  ASSERT_NO_FATAL_FAILURE(
      Generate(m_database, "SELECT dish FROM menu", "Cr\xC3\xA8me", "Western (Windows-1252)"));
  std::string headerName;
  EXPECT_EQ(FirstRecord("Cr\xC3\xA8me", &headerName), kCremeBrulee1252 + '\0');
  EXPECT_EQ(headerName, "Cr\xE8me");

  ScriptedWindow& viewer = View("Cr\xC3\xA8me");
  EXPECT_EQ(m_host.LastMessage().icon, MessageIcon::Information) << m_host.LastMessage().text;
  EXPECT_EQ(m_host.FileDialogs().back().initialName, "Cr\xC3\xA8me.pdb");
  EXPECT_EQ(viewer.Text(v::kName), "Cr\xC3\xA8me");
  EXPECT_EQ(viewer.Columns(v::kRecordList), (Strings{"dish"}));
  EXPECT_EQ(viewer.Rows(v::kRecordList), (std::vector<Strings>{{kCremeBruleeUtf8}}));
}

TEST_F(CharsetPage, AccessTextIsStoredAsWindows1252AndShownBackAsUtf8) {
  ASSERT_NO_FATAL_FAILURE(
      Generate(kFixtures + "/Northwind.mdb",
               "SELECT CustomerID, CompanyName FROM Customers WHERE CustomerID = 'BERGS'", "Bergs",
               "Western (Windows-1252)"));
  EXPECT_EQ(FirstRecord("Bergs"), std::string("BERGS\0Berglunds snabbk\xF6p\0", 25));
  ScriptedWindow& viewer = View("Bergs");
  EXPECT_EQ(viewer.Rows(v::kRecordList),
            (std::vector<Strings>{{"BERGS", "Berglunds snabbk\xC3\xB6p"}}));
}

TEST_F(CharsetPage, JapaneseRoundTripsWithShiftJisChosenOnBothPages) {
  ASSERT_NO_FATAL_FAILURE(
      Generate(m_database, "SELECT word FROM words", kNihongoUtf8, "Japanese (Shift-JIS)"));
  std::string headerName;
  EXPECT_EQ(FirstRecord(kNihongoUtf8, &headerName), kNihongoShiftJis + '\0');
  EXPECT_EQ(headerName, kNihongoShiftJis);

  ScriptedWindow& viewer = View(kNihongoUtf8, "Japanese (Shift-JIS)");
  EXPECT_EQ(viewer.Text(v::kName), kNihongoUtf8);
  EXPECT_EQ(viewer.Rows(v::kRecordList), (std::vector<Strings>{{kNihongoUtf8}}));
}

TEST_F(CharsetPage, Utf8StoresTheDriversBytesAndAutomaticShowsThem) {
  ASSERT_NO_FATAL_FAILURE(
      Generate(m_database, "SELECT dish FROM menu", "Raw", "UTF-8 (no conversion)"));
  EXPECT_EQ(FirstRecord("Raw"), kCremeBruleeUtf8 + '\0');
  ScriptedWindow& viewer = View("Raw");
  EXPECT_EQ(viewer.Rows(v::kRecordList), (std::vector<Strings>{{kCremeBruleeUtf8}}));
}

TEST_F(CharsetPage, ThePdbNameIsMeasuredInTheChosenSet) {
  // Eleven characters: 22 bytes in Shift-JIS, 33 in UTF-8 (the header holds 31).
  std::string name;
  for (int i = 0; i < 11; ++i) name += "\xE6\x97\xA5";
  Show();
  ASSERT_NO_FATAL_FAILURE(Connect(m_database));
  W().Type(g::kQuery, "SELECT word FROM words");
  FillGenerateInputs("");
  m_page.GetEdit(g::kPdbName).SetText(name);  // as a proposed table name arrives, not cut by typing

  W().Select(g::kHandheldCharset, "UTF-8 (no conversion)");
  W().Click(g::kGenerate);
  EXPECT_EQ(m_host.LastMessage().text, "PDB Name must not be longer than 31 characters");
  EXPECT_TRUE(OutputFiles().empty());

  W().Select(g::kHandheldCharset, "Japanese (Shift-JIS)");
  W().Click(g::kGenerate);
  EXPECT_EQ(m_host.LastMessage().icon, MessageIcon::Information) << m_host.LastMessage().text;
  EXPECT_EQ(FirstRecord(name), kNihongoShiftJis + '\0');
}

}  // namespace
}  // namespace tallowick
