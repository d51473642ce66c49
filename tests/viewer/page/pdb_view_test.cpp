// The "PDB Viewer" page on the scripted host, over Helper files and
// databases whose bytes the tests write themselves.
#include "viewer/page/pdb_view.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <utility>

#include "engine/field_kind.h"
#include "engine/helper_file.h"
#include "engine/pdb_file.h"
#include "resources/resource_ids.h"
#include "tests/support/temp_folder.h"
#include "ui/testing/scripted_host.h"

namespace tallowick {
namespace {

namespace v = res::viewer;
using Bytes = std::vector<unsigned char>;
using Strings = std::vector<std::string>;

// A PDB-format file of these records.
void WriteDatabase(const std::string& folder, const std::string& name, const std::string& extension,
                   const std::string& creator, const std::string& type,
                   const std::vector<Bytes>& records) {
  std::vector<PdbRecordEntry> entries(records.size());
  for (std::size_t i = 0; i < records.size(); ++i) {
    entries[i].length = static_cast<std::uint32_t>(records[i].size());
    entries[i].data = records[i].data();
  }
  PdbFile file(name, folder, extension);
  ASSERT_TRUE(file.Write(entries, creator, type, static_cast<std::uint16_t>(records.size())));
}

struct HelperSpec {
  std::string headerName;  // the Helper file's own name (and file name)
  std::string pdbName;
  std::string creator = "TWck";
  std::string type = "DATA";
  std::vector<HelperField> fields;
  std::string fileCreator = "HWRP";
  std::string fileType = "HWRP";
  std::size_t keepRecords = 1000;  // fewer: the file is cut after this many records
};

void WriteHelper(const std::string& folder, const HelperSpec& spec) {
  auto records = BuildHelperRecords(spec.pdbName, spec.creator, spec.type, spec.fields);
  if (records.size() > spec.keepRecords) records.resize(spec.keepRecords);
  ASSERT_NO_FATAL_FAILURE(
      WriteDatabase(folder, spec.headerName, ".mhl", spec.fileCreator, spec.fileType, records));
}

const std::vector<HelperField> kEveryKind = {
    {1, "Text"},  {2, "Double"}, {3, "Float"}, {4, "Long"},  {5, "Short"},
    {6, "Stamp"}, {7, "Time"},   {8, "Date"},  {5, "After"},
};

const std::vector<Bytes> kEveryKindRecords = {
    {0x61, 0x0D, 0x0A, 0x62, 0x00,                                     // "a\r\nb"
     0x3F, 0xF8, 0,    0,    0,    0,  0, 0,                           // 1.5
     0x40, 0x20, 0,    0,                                              // 2.5f
     0xFF, 0xFF, 0xFF, 0xFF,                                           // -1
     0xFF, 0xFF,                                                       // 65535
     0,    9,    0,    4,    0,    15, 0, 17, 0, 5, 0x07, 0xD3, 0, 6,  // 2003-05-17 15:04:09
     8,    5,                                                          // 08:05
     0xC6, 0xB1,                                                       // 2003-05-17
     0x00, 0x2A},                                                      // 42
    {0x00,                                                             // ""
     0x41, 0xCD, 0xCD, 0x65, 0, 0, 0, 0,                               // 1e9
     0xBF, 0x00, 0,    0,                                              // -0.5f
     0,    0,    0,    7,                                              // 7
     0x80, 0x00,                                                       // 32768
     0,    0,    0,    30,   0, 0, 0, 1, 0, 1, 0x07, 0xD0, 0, 6,       // 2000-01-01 00:30:00
     0,    0,                                                          // 00:00
     0x00, 0x21,                                                       // 1904-01-01
     0,    0},
    {0x78, 0x00,                                                             // "x"
     0xC2, 0x6D, 0x1A, 0x94, 0xA2, 0,  0, 0,                                 // -1e12
     0,    0,    0,    0,    0x80, 0,  0, 0,                                 // -2147483648
     0,    1,    0,    0,    0,    30, 0, 12, 0, 1, 0, 1, 0x07, 0xD0, 0, 6,  // 12:30
     23,   59,   0xFF, 0x9F,                                                 // 2031-12-31
     0,    3},
    {0x7A, 0x00, 0x3F, 0xF8},  // "z", then too short
};

const std::vector<Strings> kEveryKindTexts = {
    {"a\nb", "1.500000", "2.500000", "-1", "65535", "2003/5/17 3:4:9::0 PM", "8:5", "2003/5/17",
     "42"},
    {"", "1.000000e+09", "-0.500000", "7", "32768", "2000/1/1 12:30:0::0 AM", "0:0", "1904/1/1",
     "0"},
    {"x", "-1000000000000.000000", "0.000000", "-2147483648", "1", "2000/1/1 12:30:0::0 AM",
     "23:59", "2031/12/31", "3"},
    {"z", "", "", "", "", "", "", "", ""},
};

class ViewerPage : public ::testing::Test {
 protected:
  void SetUp() override {
    m_window = &m_host.ShowPage(m_page);
    ASSERT_NO_FATAL_FAILURE(
        WriteHelper(Folder(), {"EveryHelper", "Every", "TWck", "DATA", kEveryKind}));
    ASSERT_NO_FATAL_FAILURE(
        WriteDatabase(Folder(), "Every", ".pdb", "TWck", "DATA", kEveryKindRecords));
  }
  std::string Folder() const { return m_files.Path() + "/"; }
  ScriptedWindow& W() { return *m_window; }
  void SelectHelper(const std::string& path) {
    m_host.AnswerFile(path);
    W().Click(v::kSelectHelper);
  }
  void BrowsePdb(const std::string& path) {
    m_host.AnswerFile(path);
    W().Click(v::kBrowsePdb);
  }
  Strings InformationBoxes() {
    return {W().Text(v::kName), W().Text(v::kCreator), W().Text(v::kType),
            W().Text(v::kTotalRecords), W().Text(v::kTotalFields)};
  }

  testing::TempFolder m_files;
  ScriptedHost m_host;
  PDBView m_page;
  ScriptedWindow* m_window = nullptr;
};

TEST_F(ViewerPage, BrowseBeforeAHelperFileAsksForOne) {
  W().Click(v::kBrowsePdb);
  EXPECT_EQ(m_host.LastMessage().text, "Please Select Valid Tallowick Helper file first");
  EXPECT_EQ(m_host.LastMessage().caption, "Tallowick");
  EXPECT_EQ(m_host.LastMessage().icon, MessageIcon::Stop);
  EXPECT_TRUE(m_host.FileDialogs().empty());
  EXPECT_TRUE(W().Columns(v::kRecordList).empty());
}

TEST_F(ViewerPage, AValidHelperFileShowsWhatItDescribes) {
  SelectHelper(Folder() + "EveryHelper.mhl");
  EXPECT_TRUE(m_host.Messages().empty());
  EXPECT_EQ(W().Text(v::kHelperPath), Folder() + "EveryHelper.mhl");
  EXPECT_EQ(W().Text(v::kPdbPath), "");
  EXPECT_EQ(InformationBoxes(), (Strings{"Every", "TWck", "DATA", "", ""}));
  const FileDialogOptions& helperDialog = m_host.FileDialogs().at(0);
  EXPECT_EQ(helperDialog.filter,
            "Tallowick Helper file(*Helper.mhl)|*Helper.mhl|Helper file(*.mhl)|*.mhl||");
  EXPECT_EQ(helperDialog.initialName, "*Helper.mhl");

  m_host.CancelFile();
  W().Click(v::kBrowsePdb);
  const FileDialogOptions& pdbDialog = m_host.FileDialogs().at(1);
  EXPECT_EQ(pdbDialog.filter, "Palm Database(*.pdb)|*.pdb||");
  EXPECT_EQ(pdbDialog.initialName, "Every.pdb");
  EXPECT_EQ(pdbDialog.defaultExtension, "pdb");
  EXPECT_TRUE(m_host.Messages().empty());

  // A name that leads out of the folder is not offered to the dialog.
  ASSERT_NO_FATAL_FAILURE(WriteHelper(Folder(), {"OutHelper", "../Every", "TWck", "DATA", {}}));
  SelectHelper(Folder() + "OutHelper.mhl");
  m_host.CancelFile();
  W().Click(v::kBrowsePdb);
  EXPECT_EQ(m_host.FileDialogs().back().initialName, "");
}

TEST_F(ViewerPage, EveryFieldKindIsShownInItsTextForm) {
  SelectHelper(Folder() + "EveryHelper.mhl");
  BrowsePdb(Folder() + "Every.pdb");
  EXPECT_TRUE(m_host.Messages().empty()) << m_host.LastMessage().text;
  EXPECT_EQ(W().Text(v::kPdbPath), Folder() + "Every.pdb");
  EXPECT_EQ(InformationBoxes(), (Strings{"Every", "TWck", "DATA", "4", "9"}));
  EXPECT_EQ(W().Columns(v::kRecordList), (Strings{"Text", "Double", "Float", "Long", "Short",
                                                  "Stamp", "Time", "Date", "After"}));
  EXPECT_EQ(W().Rows(v::kRecordList), kEveryKindTexts);
  EXPECT_EQ(m_host.WaitWindowsShown(), 1);
  EXPECT_FALSE(m_host.IsWaitWindowOpen());
}

TEST_F(ViewerPage, TheTwelveHourClockOfDateTimeFields) {
  ASSERT_NO_FATAL_FAILURE(
      WriteHelper(Folder(), {"ClockHelper", "Clock", "TWck", "DATA", {{6, "When"}}}));
  auto at = [](unsigned char hour, unsigned char minute) {
    return Bytes{0, 0, 0, minute, 0, hour, 0, 1, 0, 1, 0x07, 0xD0, 0, 6};
  };
  ASSERT_NO_FATAL_FAILURE(WriteDatabase(Folder(), "Clock", ".pdb", "TWck", "DATA",
                                        {at(0, 30), at(12, 30), at(13, 30), at(23, 5)}));
  SelectHelper(Folder() + "ClockHelper.mhl");
  BrowsePdb(Folder() + "Clock.pdb");
  EXPECT_EQ(W().Rows(v::kRecordList), (std::vector<Strings>{{"2000/1/1 12:30:0::0 AM"},
                                                            {"2000/1/1 12:30:0::0 AM"},
                                                            {"2000/1/1 1:30:0::0 PM"},
                                                            {"2000/1/1 11:5:0::0 PM"}}));
}

TEST_F(ViewerPage, HelperFilesThatAreAcceptedAndRefused) {
  // Accepted: "Helper" in any case; a name chosen without ".mhl" gets it.
  ASSERT_NO_FATAL_FAILURE(
      WriteHelper(Folder(), {"CapsHELPER", "Caps", "ABCD", "EFGH", {{4, "n"}}}));
  std::filesystem::rename(Folder() + "CapsHELPER.mhl", Folder() + "CapsHELPER.MHL");
  SelectHelper(Folder() + "CapsHELPER.MHL");
  EXPECT_TRUE(m_host.Messages().empty());
  EXPECT_EQ(InformationBoxes(), (Strings{"Caps", "ABCD", "EFGH", "", ""}));
  SelectHelper(Folder() + "EveryHelper");
  EXPECT_TRUE(m_host.Messages().empty());
  EXPECT_EQ(W().Text(v::kName), "Every");
  BrowsePdb(Folder() + "Every.pdb");
  ASSERT_EQ(W().RowCount(v::kRecordList), 4u);

  HelperSpec wrongType{"TypedHelper", "Typed", "TWck", "DATA", {}};
  wrongType.fileType = "HWRX";
  HelperSpec wrongCreator{"MadeHelper", "Made", "TWck", "DATA", {}};
  wrongCreator.fileCreator = "XWRP";
  HelperSpec cut{"CutHelper", "Cut", "TWck", "DATA", {}};
  cut.keepRecords = 2;
  ASSERT_NO_FATAL_FAILURE(WriteHelper(Folder(), wrongType));
  ASSERT_NO_FATAL_FAILURE(WriteHelper(Folder(), wrongCreator));
  ASSERT_NO_FATAL_FAILURE(WriteHelper(Folder(), cut));
  ASSERT_NO_FATAL_FAILURE(WriteHelper(Folder(), {"NotAHelpr", "Not", "TWck", "DATA", {}}));
  std::ofstream(Folder() + "junkHelper.mhl") << "not a database";

  const Strings refused = {"TypedHelper.mhl", "MadeHelper.mhl", "CutHelper.mhl", "NotAHelpr.mhl",
                           "junkHelper.mhl",  "MissingHelper",  "Every.pdb"};
  for (const std::string& name : refused) {
    SelectHelper(Folder() + name);
    EXPECT_EQ(m_host.LastMessage().text, "Invalid Tallowick Helper file, Please Reselect") << name;
    EXPECT_EQ(m_host.LastMessage().icon, MessageIcon::Stop) << name;
    // Everything shown before stays.
    EXPECT_EQ(W().Text(v::kHelperPath), Folder() + "EveryHelper") << name;
    EXPECT_EQ(W().Text(v::kPdbPath), Folder() + "Every.pdb") << name;
    EXPECT_EQ(InformationBoxes(), (Strings{"Every", "TWck", "DATA", "4", "9"})) << name;
    EXPECT_EQ(W().RowCount(v::kRecordList), 4u) << name;
  }
  EXPECT_EQ(m_host.Messages().size(), refused.size());
}

TEST_F(ViewerPage, ADatabaseThatDoesNotMatchChangesNothing) {
  // Same records, other name case, creator or type; and a file that is no database.
  ASSERT_NO_FATAL_FAILURE(
      WriteDatabase(Folder(), "EVERY", ".pdb", "TWck", "DATA", kEveryKindRecords));
  ASSERT_NO_FATAL_FAILURE(
      WriteDatabase(Folder(), "Every", ".other", "TWcK", "DATA", kEveryKindRecords));
  ASSERT_NO_FATAL_FAILURE(
      WriteDatabase(Folder(), "Every", ".type", "TWck", "DATa", kEveryKindRecords));
  std::ofstream(Folder() + "junk.pdb") << "xx";

  SelectHelper(Folder() + "EveryHelper.mhl");
  BrowsePdb(Folder() + "Every.pdb");
  ASSERT_EQ(W().RowCount(v::kRecordList), 4u);
  for (const std::string name :
       {"EVERY.pdb", "Every.other", "Every.type", "junk.pdb", "absent.pdb"}) {
    BrowsePdb(Folder() + name);
    EXPECT_EQ(m_host.LastMessage().text,
              "Incompatible \"Helper file\" - \"Original PDB\", Please Reselect")
        << name;
    EXPECT_EQ(m_host.LastMessage().icon, MessageIcon::Stop);
    EXPECT_EQ(W().Text(v::kPdbPath), Folder() + "Every.pdb") << name;
    EXPECT_EQ(InformationBoxes(), (Strings{"Every", "TWck", "DATA", "4", "9"})) << name;
    EXPECT_EQ(W().RowCount(v::kRecordList), 4u) << name;
  }
  // Only the database that matched put up the wait window.
  EXPECT_EQ(m_host.WaitWindowsShown(), 1);
}

TEST_F(ViewerPage, AFileNameWithoutTheExactExtensionIsOpenedItself) {
  std::filesystem::copy_file(Folder() + "Every.pdb", Folder() + "copy.PDB");
  SelectHelper(Folder() + "EveryHelper.mhl");
  BrowsePdb(Folder() + "copy.PDB");
  EXPECT_TRUE(m_host.Messages().empty());
  EXPECT_EQ(W().RowCount(v::kRecordList), 4u);
}

TEST_F(ViewerPage, ANameTooLongForTheHeaderNeverMatches) {
  const std::string name(40, 'N');
  ASSERT_NO_FATAL_FAILURE(WriteHelper(Folder(), {"LongHelper", name, "TWck", "DATA", {{4, "n"}}}));
  ASSERT_NO_FATAL_FAILURE(WriteDatabase(Folder(), name, ".pdb", "TWck", "DATA", {{0, 0, 0, 1}}));
  SelectHelper(Folder() + "LongHelper.mhl");
  EXPECT_EQ(W().Text(v::kName), name);
  BrowsePdb(Folder() + name + ".pdb");
  EXPECT_EQ(m_host.LastMessage().text,
            "Incompatible \"Helper file\" - \"Original PDB\", Please Reselect");
}

TEST_F(ViewerPage, ADatabaseWithoutRecordsShowsItsColumnsOnly) {
  ASSERT_NO_FATAL_FAILURE(WriteDatabase(Folder(), "Every", ".pdb", "TWck", "DATA", {}));
  SelectHelper(Folder() + "EveryHelper.mhl");
  BrowsePdb(Folder() + "Every.pdb");
  EXPECT_TRUE(m_host.Messages().empty());
  EXPECT_EQ(W().Text(v::kTotalRecords), "0");
  EXPECT_EQ(W().Text(v::kTotalFields), "9");
  EXPECT_EQ(W().Columns(v::kRecordList).size(), 9u);
  EXPECT_EQ(W().RowCount(v::kRecordList), 0u);
}

TEST_F(ViewerPage, AHelperFileWithoutFieldsShowsOneEmptyRowPerRecord) {
  ASSERT_NO_FATAL_FAILURE(WriteHelper(Folder(), {"BareHelper", "Bare", "TWck", "DATA", {}}));
  ASSERT_NO_FATAL_FAILURE(
      WriteDatabase(Folder(), "Bare", ".pdb", "TWck", "DATA", {{1, 2}, {3}, {}}));
  SelectHelper(Folder() + "BareHelper.mhl");
  BrowsePdb(Folder() + "Bare.pdb");
  EXPECT_TRUE(m_host.Messages().empty());
  EXPECT_EQ(InformationBoxes(), (Strings{"Bare", "TWck", "DATA", "3", "0"}));
  EXPECT_TRUE(W().Columns(v::kRecordList).empty());
  EXPECT_EQ(m_page.GetListView(v::kRecordList).GetModel()->RowCount(), 3u);
}

TEST_F(ViewerPage, RecordsThatCannotBeReadAreReportedAfterTheWaitWindow) {
  SelectHelper(Folder() + "EveryHelper.mhl");
  BrowsePdb(Folder() + "Every.pdb");
  // The Helper file is gone by the time the database is read again.
  std::filesystem::remove(Folder() + "EveryHelper.mhl");
  BrowsePdb(Folder() + "Every.pdb");
  EXPECT_EQ(m_host.LastMessage().text, "Unable To View PDB contents, Please select valid pdb(s)");
  EXPECT_EQ(m_host.LastMessage().icon, MessageIcon::Stop);
  const auto& journal = m_host.Journal();
  ASSERT_GE(journal.size(), 2u);
  EXPECT_EQ(journal[journal.size() - 2], "wait: close");
  EXPECT_EQ(InformationBoxes(), (Strings{"", "", "", "", ""}));
  EXPECT_TRUE(W().Columns(v::kRecordList).empty());
  EXPECT_EQ(W().Text(v::kPdbPath), Folder() + "Every.pdb");

  // A record whose offset points beyond the end of the file.
  ASSERT_NO_FATAL_FAILURE(
      WriteHelper(Folder(), {"EveryHelper", "Every", "TWck", "DATA", kEveryKind}));
  {
    std::fstream pdb(Folder() + "Every.pdb", std::ios::in | std::ios::out | std::ios::binary);
    pdb.seekp(78 + 8 * 3);  // offset of the last record
    const char beyond[4] = {0x00, 0x10, 0x00, 0x00};
    pdb.write(beyond, 4);
  }
  BrowsePdb(Folder() + "Every.pdb");
  EXPECT_EQ(m_host.LastMessage().text, "Unable To View PDB contents, Please select valid pdb(s)");
  EXPECT_EQ(m_host.Messages().size(), 2u);
}

// Sets the offset of record `index` of a PDB-format file beyond the file's end.
void PointRecordBeyondTheEnd(const std::string& path, std::size_t index) {
  std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
  file.seekp(static_cast<std::streamoff>(78 + 8 * index));
  const char beyond[4] = {0x00, 0x10, 0x00, 0x00};
  file.write(beyond, 4);
  ASSERT_TRUE(file.good()) << path;
}

// A Helper file is judged at Select by its header and records 0 to 2; what
// else is wrong with it, or with the database, is found when the records are
// read, and then the page shows nothing of that database.
TEST_F(ViewerPage, DamageFoundWhileViewingEmptiesThePage) {
  struct Case {
    const char* what;
    std::string pdbFile;
    std::function<void(const std::string& helperPath)> damage;
  };
  const std::vector<Case> cases = {
      {"a database record beyond the file's end", "Damaged.pdb",
       [&](const std::string&) { PointRecordBeyondTheEnd(Folder() + "Damaged.pdb", 3); }},
      // Record 3 now ends, and record 4 starts, beyond the end.
      {"field records beyond the file's end", "Every.pdb",
       [&](const std::string& helper) { PointRecordBeyondTheEnd(helper, 4); }},
      {"a field kind above 8", "Every.pdb",
       [&](const std::string&) {
         WriteHelper(Folder(), {"CaseHelper", "Every", "TWck", "DATA", {{4, "n"}, {9, "odd"}}});
       }},
      {"a field kind 0", "Every.pdb",
       [&](const std::string&) {
         WriteHelper(Folder(), {"CaseHelper", "Every", "TWck", "DATA", {{0, "none"}}});
       }},
  };
  const std::string helper = Folder() + "CaseHelper.mhl";
  const Strings nothing = {"", "", "", "", ""};
  for (const Case& c : cases) {
    ASSERT_NO_FATAL_FAILURE(
        WriteHelper(Folder(), {"CaseHelper", "Every", "TWck", "DATA", kEveryKind}));
    std::filesystem::copy_file(Folder() + "Every.pdb", Folder() + "Damaged.pdb",
                               std::filesystem::copy_options::overwrite_existing);
    SelectHelper(helper);
    BrowsePdb(Folder() + c.pdbFile);
    ASSERT_EQ(W().RowCount(v::kRecordList), 4u) << c.what;
    // The database dialog opens beside the Helper file, on the name it gives.
    EXPECT_EQ(m_host.FileDialogs().back().initialFolder, m_files.Path()) << c.what;
    EXPECT_EQ(m_host.FileDialogs().back().initialName, "Every.pdb") << c.what;
    const std::size_t messagesBefore = m_host.Messages().size();

    ASSERT_NO_FATAL_FAILURE(c.damage(helper)) << c.what;
    BrowsePdb(Folder() + c.pdbFile);
    EXPECT_EQ(m_host.LastMessage().text, "Unable To View PDB contents, Please select valid pdb(s)")
        << c.what;
    EXPECT_EQ(InformationBoxes(), nothing) << c.what;
    EXPECT_TRUE(W().Columns(v::kRecordList).empty()) << c.what;
    EXPECT_EQ(W().RowCount(v::kRecordList), 0u) << c.what;

    // Selected again as it is now: accepted, and refused again when viewed.
    SelectHelper(helper);
    EXPECT_EQ(m_host.Messages().size(), messagesBefore + 1) << c.what;
    EXPECT_EQ(W().Text(v::kHelperPath), helper) << c.what;
    EXPECT_EQ(InformationBoxes(), (Strings{"Every", "TWck", "DATA", "", ""})) << c.what;
    BrowsePdb(Folder() + c.pdbFile);
    EXPECT_EQ(m_host.Messages().size(), messagesBefore + 2) << c.what;
    EXPECT_EQ(m_host.LastMessage().text, "Unable To View PDB contents, Please select valid pdb(s)")
        << c.what;
    EXPECT_EQ(InformationBoxes(), nothing) << c.what;
    EXPECT_EQ(W().RowCount(v::kRecordList), 0u) << c.what;
  }
}

TEST_F(ViewerPage, AnotherHelperFileReplacesTheShownDatabase) {
  ASSERT_NO_FATAL_FAILURE(WriteHelper(Folder(), {"BareHelper", "Bare", "ABCD", "WXYZ", {}}));
  SelectHelper(Folder() + "EveryHelper.mhl");
  BrowsePdb(Folder() + "Every.pdb");
  SelectHelper(Folder() + "BareHelper.mhl");
  EXPECT_EQ(InformationBoxes(), (Strings{"Bare", "ABCD", "WXYZ", "", ""}));
  EXPECT_EQ(W().Text(v::kPdbPath), "");
  EXPECT_TRUE(W().Columns(v::kRecordList).empty());
  EXPECT_EQ(W().RowCount(v::kRecordList), 0u);
  // The old database no longer matches.
  BrowsePdb(Folder() + "Every.pdb");
  EXPECT_EQ(m_host.LastMessage().text,
            "Incompatible \"Helper file\" - \"Original PDB\", Please Reselect");
}

// --- "Text as :": the texts as shown, decoded from the chosen set ---

const std::string kMenuName1252 = "Cr\xE8me";
const std::string kMenuNameUtf8 = "Cr\xC3\xA8me";
const std::string kDish1252 =
    "Cr\xE8me br\xFBl\xE9"
    "e";
const std::string kDishUtf8 =
    "Cr\xC3\xA8me br\xC3\xBBl\xC3\xA9"
    "e";
const std::string kNihongoShiftJis = "\x93\xFA\x96\x7B\x8C\xEA";
const std::string kNihongoUtf8 = "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E";

Bytes Text(const std::string& text) {
  Bytes bytes(text.begin(), text.end());
  bytes.push_back(0);
  return bytes;
}

Bytes Join(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

class TextAsTest : public ViewerPage {
 protected:
  // A database `name` (bytes as stored) with a String field `heading` and a Long.
  void WriteTextDatabase(const std::string& file, const std::string& name,
                         const std::string& heading, const std::string& text) {
    ASSERT_NO_FATAL_FAILURE(
        WriteHelper(Folder(), {file + "Helper", name, "TWck", "DATA", {{1, heading}, {4, "n"}}}));
    ASSERT_NO_FATAL_FAILURE(
        WriteDatabase(Folder(), name, ".pdb", "TWck", "DATA", {Join(Text(text), {0, 0, 0, 7})}));
  }
  void Show(const std::string& file, const std::string& pdbFile) {
    SelectHelper(Folder() + file + "Helper.mhl");
    BrowsePdb(Folder() + pdbFile);
  }
};

TEST_F(TextAsTest, StartsOnAutomaticFollowedByTheSets) {
  EXPECT_EQ(W().Kind(v::kTextAs), ControlKind::ComboBox);
  EXPECT_EQ(W().Entries(v::kTextAs),
            (Strings{"Automatic", "Western (Windows-1252)", "Japanese (Shift-JIS)",
                     "Simplified Chinese (GB2312)", "Traditional Chinese (Big5)", "Korean (EUC-KR)",
                     "UTF-8 (no conversion)"}));
  EXPECT_EQ(W().Text(v::kTextAs), "Automatic");
  EXPECT_EQ(m_page.TextAs(), std::nullopt);
  EXPECT_THROW(W().Type(v::kTextAs, "Latin-9"), ScriptError);
  // Nothing to decode yet: the choice shows nothing and asks nothing.
  W().Select(v::kTextAs, "Japanese (Shift-JIS)");
  EXPECT_EQ(m_page.TextAs(), HandheldCharset::Japanese);
  EXPECT_TRUE(m_host.Messages().empty());
  EXPECT_EQ(InformationBoxes(), (Strings{"", "", "", "", ""}));
}

TEST_F(TextAsTest, AutomaticShowsWindows1252AndUtf8DatabasesRight) {
  ASSERT_NO_FATAL_FAILURE(WriteTextDatabase("Western", kMenuName1252, "Plat\xE9", kDish1252));
  ASSERT_NO_FATAL_FAILURE(WriteTextDatabase("Unicode", kMenuNameUtf8, "Plat\xC3\xA9", kDishUtf8));
  for (const auto& [helper, pdb] :
       {std::pair<std::string, std::string>{"Western", kMenuName1252 + ".pdb"},
        std::pair<std::string, std::string>{"Unicode", kMenuNameUtf8 + ".pdb"}}) {
    SelectHelper(Folder() + helper + "Helper.mhl");
    EXPECT_EQ(W().Text(v::kName), kMenuNameUtf8) << helper;
    BrowsePdb(Folder() + pdb);
    EXPECT_TRUE(m_host.Messages().empty()) << helper << ": " << m_host.LastMessage().text;
    EXPECT_EQ(m_host.FileDialogs().back().initialName, kMenuNameUtf8 + ".pdb") << helper;
    EXPECT_EQ(InformationBoxes(), (Strings{kMenuNameUtf8, "TWck", "DATA", "1", "2"})) << helper;
    EXPECT_EQ(W().Columns(v::kRecordList), (Strings{"Plat\xC3\xA9", "n"})) << helper;
    EXPECT_EQ(W().Rows(v::kRecordList), (std::vector<Strings>{{kDishUtf8, "7"}})) << helper;
  }
  // Both show the same name, yet a Helper file matches only the header it
  // was written with: the comparison is on the bytes as stored.
  SelectHelper(Folder() + "WesternHelper.mhl");
  BrowsePdb(Folder() + kMenuNameUtf8 + ".pdb");
  EXPECT_EQ(m_host.LastMessage().text,
            "Incompatible \"Helper file\" - \"Original PDB\", Please Reselect");
}

TEST_F(TextAsTest, AnotherChoiceDecodesWhatIsShownAgainWithoutReading) {
  ASSERT_NO_FATAL_FAILURE(
      WriteTextDatabase("Words", kNihongoShiftJis, kNihongoShiftJis, kNihongoShiftJis));
  SelectHelper(Folder() + "WordsHelper.mhl");
  const std::string automaticName = W().Text(v::kName);
  EXPECT_NE(automaticName, kNihongoUtf8);  // Shift-JIS bytes are not UTF-8: read as Windows-1252
  // Only the Helper file is shown yet: its name follows the choice, and so
  // does the name the database dialog proposes.
  W().Select(v::kTextAs, "Japanese (Shift-JIS)");
  EXPECT_EQ(W().Text(v::kName), kNihongoUtf8);
  m_host.CancelFile();
  W().Click(v::kBrowsePdb);
  EXPECT_EQ(m_host.FileDialogs().back().initialName, kNihongoUtf8 + ".pdb");

  std::filesystem::rename(Folder() + kNihongoShiftJis + ".pdb", Folder() + kNihongoUtf8 + ".pdb");
  BrowsePdb(Folder() + kNihongoUtf8 + ".pdb");
  ASSERT_TRUE(m_host.Messages().empty()) << m_host.LastMessage().text;
  EXPECT_EQ(W().Columns(v::kRecordList), (Strings{kNihongoUtf8, "n"}));
  EXPECT_EQ(W().Rows(v::kRecordList), (std::vector<Strings>{{kNihongoUtf8, "7"}}));

  const std::size_t dialogs = m_host.FileDialogs().size();
  W().Select(v::kTextAs, "Automatic");
  EXPECT_EQ(InformationBoxes(), (Strings{automaticName, "TWck", "DATA", "1", "2"}));
  EXPECT_EQ(W().Columns(v::kRecordList), (Strings{automaticName, "n"}));
  EXPECT_EQ(W().Rows(v::kRecordList), (std::vector<Strings>{{automaticName, "7"}}));
  W().Select(v::kTextAs, "UTF-8 (no conversion)");  // bytes that are no UTF-8 show as U+FFFD
  EXPECT_EQ(W().Cell(v::kRecordList, 0, 0).find(kNihongoUtf8), std::string::npos);
  EXPECT_NE(W().Cell(v::kRecordList, 0, 0).find("\xEF\xBF\xBD"), std::string::npos);
  W().Select(v::kTextAs, "Japanese (Shift-JIS)");
  EXPECT_EQ(InformationBoxes(), (Strings{kNihongoUtf8, "TWck", "DATA", "1", "2"}));
  EXPECT_EQ(W().Rows(v::kRecordList), (std::vector<Strings>{{kNihongoUtf8, "7"}}));
  // No message, no dialog, no wait window: nothing was read again.
  EXPECT_TRUE(m_host.Messages().empty());
  EXPECT_EQ(m_host.FileDialogs().size(), dialogs);
  EXPECT_EQ(m_host.WaitWindowsShown(), 1);
  // The database still matches its Helper file under any choice.
  BrowsePdb(Folder() + kNihongoUtf8 + ".pdb");
  EXPECT_TRUE(m_host.Messages().empty());
}

TEST_F(TextAsTest, NumbersAndDatesAreNeverDecoded) {
  Show("Every", "Every.pdb");
  W().Select(v::kTextAs, "UTF-8 (no conversion)");
  EXPECT_EQ(W().Rows(v::kRecordList), kEveryKindTexts);
  W().Select(v::kTextAs, "Korean (EUC-KR)");
  EXPECT_EQ(W().Rows(v::kRecordList), kEveryKindTexts);
}

TEST_F(TextAsTest, BoxesEmptiedByAFailureStayEmpty) {
  ASSERT_NO_FATAL_FAILURE(WriteTextDatabase("Western", kMenuName1252, "Plat\xE9", kDish1252));
  Show("Western", kMenuName1252 + ".pdb");
  ASSERT_EQ(W().RowCount(v::kRecordList), 1u);
  std::filesystem::remove(Folder() + "WesternHelper.mhl");
  BrowsePdb(Folder() + kMenuName1252 + ".pdb");
  ASSERT_EQ(m_host.LastMessage().text, "Unable To View PDB contents, Please select valid pdb(s)");
  W().Select(v::kTextAs, "Western (Windows-1252)");
  EXPECT_EQ(InformationBoxes(), (Strings{"", "", "", "", ""}));
  EXPECT_TRUE(W().Columns(v::kRecordList).empty());
}

}  // namespace
}  // namespace tallowick
