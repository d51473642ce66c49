// The pieces of the window layer that need no window: message maps, the list
// view table, file filters, the working folder and the image resources.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "resources/images.h"
#include "resources/resource_ids.h"
#include "ui/file_filter.h"
#include "ui/list_view_table.h"
#include "ui/message_map.h"
#include "ui/working_folder.h"

namespace tallowick {
namespace {

struct Recorder {
  std::vector<std::string> calls;
  void OnBrowse() { calls.push_back("browse"); }
  void OnFetch() { calls.push_back("fetch"); }
  void OnSelect() { calls.push_back("select"); }
  void OnSecond() { calls.push_back("second"); }
};

const MessageEntry<Recorder> kTable[] = {
    {1001, Notification::Clicked, &Recorder::OnBrowse},
    {1008, Notification::Clicked, &Recorder::OnFetch},
    {1002, Notification::SelectionChange, &Recorder::OnSelect},
    {1001, Notification::Clicked, &Recorder::OnSecond},  // never reached: the first entry wins
};

TEST(MessageMap, RoutesByIdAndNotificationToTheFirstMatchingEntry) {
  Recorder recorder;
  const MessageMap map(&recorder, kTable);
  EXPECT_EQ(map.Size(), 4u);
  EXPECT_TRUE(map.Dispatch(1001, Notification::Clicked));
  EXPECT_TRUE(map.Dispatch(1002, Notification::SelectionChange));
  EXPECT_FALSE(map.Dispatch(1002, Notification::Clicked));          // right id, other notification
  EXPECT_FALSE(map.Dispatch(1003, Notification::SelectionChange));  // no entry
  EXPECT_TRUE(map.Dispatch(1008, Notification::Clicked));
  EXPECT_EQ(recorder.calls, (std::vector<std::string>{"browse", "select", "fetch"}));
  EXPECT_TRUE(map.Handles(1008, Notification::Clicked));
  EXPECT_FALSE(map.Handles(1008, Notification::TextChange));
  EXPECT_EQ(map.Entries()[2].id, 1002);
}

TEST(ListViewTable, ColumnsAndRowsKeepTheirCellsInStep) {
  ListViewTable table;
  EXPECT_EQ(table.AddColumn("ID"), 0u);
  EXPECT_EQ(table.AddColumn("Name", 120, ColumnAlign::Right), 1u);
  EXPECT_EQ(table.AddColumn("City"), 2u);
  EXPECT_EQ(table.Column(0).width, 75);  // the default width of a list column
  EXPECT_EQ(table.Column(1).align, ColumnAlign::Right);
  table.AddRow({"1", "Alice", "Bern"});
  const std::size_t second = table.AddRow();
  table.SetText(second, 2, "Chur");
  EXPECT_EQ(table.RowCount(), 2u);
  EXPECT_EQ(table.Text(1, 0), "");  // a cell never set reads empty
  EXPECT_EQ(table.Text(1, 2), "Chur");

  table.DeleteColumn(1);  // the cells of later columns move left with their heading
  ASSERT_EQ(table.ColumnCount(), 2u);
  EXPECT_EQ(table.Column(1).heading, "City");
  EXPECT_EQ(table.Text(0, 1), "Bern");
  EXPECT_EQ(table.Text(1, 1), "Chur");
  EXPECT_THROW(table.SetText(0, 5, "x"), std::out_of_range);
  EXPECT_THROW(table.DeleteColumn(7), std::out_of_range);

  table.DeleteAllRows();
  EXPECT_EQ(table.RowCount(), 0u);
  EXPECT_EQ(table.ColumnCount(), 2u);
  table.Clear();
  EXPECT_EQ(table.ColumnCount(), 0u);
}

TEST(FileFilter, SplitsDescriptionsAndPatterns) {
  const auto entries = ParseFileFilter(
      "Microsoft Access Database(*.mdb)|*.mdb|Excel File(*.xls)|*.xls|FoxPro/dbase "
      "Database(*.dbf)|*.dbf||");
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].description, "Microsoft Access Database(*.mdb)");
  EXPECT_EQ(entries[0].patterns, std::vector<std::string>{"*.mdb"});
  EXPECT_EQ(entries[2].description, "FoxPro/dbase Database(*.dbf)");

  const auto helper =
      ParseFileFilter("Tallowick Helper file(*Helper.mhl)|*Helper.mhl|Helper file(*.mhl)|*.mhl||");
  ASSERT_EQ(helper.size(), 2u);
  EXPECT_EQ(helper[0].patterns, std::vector<std::string>{"*Helper.mhl"});

  const auto several = ParseFileFilter("Tables|*.mdb;*.accdb||");
  ASSERT_EQ(several.size(), 1u);
  EXPECT_EQ(several[0].patterns, (std::vector<std::string>{"*.mdb", "*.accdb"}));
  EXPECT_TRUE(ParseFileFilter("").empty());
  EXPECT_TRUE(ParseFileFilter("no patterns").empty());
}

TEST(FileFilter, PatternsMatchEitherLetterCase) {
  EXPECT_EQ(CaseInsensitivePattern("*.mdb"), "*.[mM][dD][bB]");
  EXPECT_EQ(CaseInsensitivePattern("*Helper.mhl"), "*[hH][eE][lL][pP][eE][rR].[mM][hH][lL]");
  EXPECT_EQ(CaseInsensitivePattern("*.1?"), "*.1?");
  EXPECT_TRUE(MatchesPattern("orders.MDB", "*.mdb"));
  EXPECT_TRUE(MatchesPattern("ordersHELPER.Mhl", "*Helper.mhl"));
  EXPECT_TRUE(MatchesPattern("a.mdb", "?.mdb"));
  EXPECT_FALSE(MatchesPattern("orders.mdb.bak", "*.mdb"));
  EXPECT_FALSE(MatchesPattern("ordersmdb", "*.mdb"));
  EXPECT_TRUE(MatchesPattern("x.y.mdb", "*.*.mdb"));
  EXPECT_FALSE(MatchesPattern("ab.mdb", "?.mdb"));
}

class WorkingFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_start = std::filesystem::current_path();
    m_temp =
        std::filesystem::temp_directory_path() / ("tallowick_ui_" + std::to_string(::getpid()));
    std::filesystem::create_directories(m_temp / "inner");
  }
  void TearDown() override {
    std::filesystem::current_path(m_start);
    std::filesystem::remove_all(m_temp);
  }
  std::filesystem::path m_start;
  std::filesystem::path m_temp;
};

TEST_F(WorkingFolderTest, GuardRestoresTheFolderItFound) {
  ASSERT_TRUE(ChangeWorkingFolder(m_temp.string()));
  {
    WorkingFolderGuard guard;
    ASSERT_TRUE(ChangeWorkingFolder((m_temp / "inner").string()));
    EXPECT_EQ(CurrentWorkingFolder(), (m_temp / "inner").string());
  }
  EXPECT_EQ(CurrentWorkingFolder(), m_temp.string());
  EXPECT_FALSE(ChangeWorkingFolder((m_temp / "missing").string()));
  EXPECT_FALSE(ChangeWorkingFolder(""));
  EXPECT_EQ(CurrentWorkingFolder(), m_temp.string());
}

TEST_F(WorkingFolderTest, AFolderThatWasRemovedCannotBeRead) {
  ASSERT_TRUE(ChangeWorkingFolder((m_temp / "inner").string()));
  std::filesystem::remove(m_temp / "inner");
  EXPECT_FALSE(CurrentWorkingFolder().has_value());
}

// Width and height from an XPM's first line ("32 32 9 1").
std::pair<int, int> XpmSize(const char* const* xpm) {
  std::istringstream header(xpm[0]);
  int width = 0;
  int height = 0;
  header >> width >> height;
  return {width, height};
}

TEST(ImageResources, IconsAndPictureHaveTheirSizes) {
  ASSERT_NE(res::XpmImage(res::kProgramIcon), nullptr);
  ASSERT_NE(res::XpmImage(res::kInstallerIcon), nullptr);
  ASSERT_NE(res::XpmImage(res::kInstallerPicture), nullptr);
  EXPECT_EQ(XpmSize(res::XpmImage(res::kProgramIcon)), std::make_pair(32, 32));
  EXPECT_EQ(XpmSize(res::XpmImage(res::kInstallerIcon)), std::make_pair(32, 32));
  EXPECT_EQ(XpmSize(res::XpmImage(res::kInstallerPicture)), std::make_pair(104, 210));
  EXPECT_EQ(res::XpmImage(999), nullptr);
  // At most 16 colours in each icon (the first line's third number).
  for (int id : {res::kProgramIcon, res::kInstallerIcon}) {
    std::istringstream header(res::XpmImage(id)[0]);
    int width = 0, height = 0, colours = 0;
    header >> width >> height >> colours;
    EXPECT_LE(colours, 17) << id;  // 16 and "None" for transparency
  }
}

}  // namespace
}  // namespace tallowick
