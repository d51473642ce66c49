// The application sheet on the scripted host: caption, tab order, the reduced
// button row, and the help page opened from the working folder.
#include "app/pdb_generator.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/help_page.h"
#include "resources/dialog_templates.h"
#include "resources/resource_ids.h"
#include "ui/testing/scripted_host.h"
#include "ui/working_folder.h"

namespace tallowick {
namespace {

// Pages that record their start-up and their destruction.
class RecordingPage : public PropertyPage {
 public:
  RecordingPage(int templateId, std::vector<std::string>& log, std::string name)
      : PropertyPage(res::DialogTemplateOf(templateId)), m_log(log), m_name(std::move(name)) {}
  ~RecordingPage() override { m_log.push_back(m_name + " destroyed"); }
  bool OnInitDialog() override {
    m_log.push_back(m_name + " started");
    return PropertyPage::OnInitDialog();
  }

 private:
  std::vector<std::string>& m_log;
  std::string m_name;
};

class PdbGeneratorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_start = std::filesystem::current_path();
    m_temp =
        std::filesystem::temp_directory_path() / ("tallowick_app_" + std::to_string(::getpid()));
    std::filesystem::create_directories(m_temp / "other");
    std::filesystem::current_path(m_temp);
  }
  void TearDown() override {
    std::filesystem::current_path(m_start);
    std::filesystem::remove_all(m_temp);
  }
  std::unique_ptr<PDBGenerator> MakeSheet() {
    return std::make_unique<PDBGenerator>(
        std::make_unique<RecordingPage>(res::kGeneratorPage, m_log, "generator"),
        std::make_unique<RecordingPage>(res::kViewerPage, m_log, "viewer"));
  }

  std::filesystem::path m_start;
  std::filesystem::path m_temp;
  std::vector<std::string> m_log;
};

TEST_F(PdbGeneratorTest, OpensOnPdbGeneratorWithTwoTabsInOrder) {
  ScriptedHost host;
  auto sheet = MakeSheet();
  ScriptedSheet& shown = host.OpenSheet(*sheet);
  EXPECT_EQ(shown.Caption(), "Tallowick");
  EXPECT_EQ(shown.TabTitles(), (std::vector<std::string>{"PDB Generator", "PDB Viewer"}));
  EXPECT_EQ(shown.ActiveTab(), 0);
  EXPECT_EQ(shown.IconId(), res::kProgramIcon);
  EXPECT_EQ(shown.Page(0).Template().id, res::kGeneratorPage);
  EXPECT_EQ(shown.Page(1).Template().id, res::kViewerPage);
  EXPECT_EQ(m_log, (std::vector<std::string>{"generator started", "viewer started"}));
  shown.SelectTab(1);
  EXPECT_EQ(sheet->GetActiveIndex(), 1);
}

TEST_F(PdbGeneratorTest, ShowsOnlyCloseAndHelp) {
  ScriptedHost host;
  auto sheet = MakeSheet();
  ScriptedSheet& shown = host.OpenSheet(*sheet);
  EXPECT_EQ(shown.VisibleButtons(), (std::vector<std::string>{"&Close", "He&lp"}));
  EXPECT_FALSE(shown.IsButtonVisible(kIdOk));
  EXPECT_THROW(shown.Click(kIdOk), ScriptError);  // hidden
  shown.Click(kIdCancel);
  EXPECT_FALSE(shown.IsOpen());
  EXPECT_EQ(shown.Result(), kIdCancel);
}

TEST_F(PdbGeneratorTest, TheCloseBoxEndsTheSheetAsCloseDoes) {
  ScriptedHost host;
  auto sheet = MakeSheet();
  host.AnswerSheet([](ScriptedSheet& shown) { shown.Close(); });
  EXPECT_EQ(sheet->DoModal(host), kIdCancel);
  EXPECT_FALSE(sheet->IsCreated());
  EXPECT_FALSE(sheet->GeneratorPage().IsCreated());
}

TEST_F(PdbGeneratorTest, HelpButtonAndF1OpenHelpHtmlOfTheWorkingFolderAtThatMoment) {
  ScriptedHost host;
  auto sheet = MakeSheet();
  ScriptedSheet& shown = host.OpenSheet(*sheet);
  shown.Click(kIdHelp);
  shown.SelectTab(1);
  shown.PressF1();
  std::filesystem::current_path(m_temp / "other");
  shown.PressF1();
  const std::string first = (m_temp / "Help.html").string();
  const std::string second = (m_temp / "other" / "Help.html").string();
  EXPECT_EQ(host.OpenedPaths(), (std::vector<std::string>{first, first, second}));
  EXPECT_TRUE(host.Messages().empty());  // no message of the program's own
  EXPECT_TRUE(shown.IsOpen());
}

TEST_F(PdbGeneratorTest, AHelpPageTheDesktopCannotOpenShowsNoMessage) {
  ScriptedHost host;
  host.SetOpenResult(false);
  auto sheet = MakeSheet();
  host.OpenSheet(*sheet).Click(kIdHelp);
  EXPECT_EQ(host.OpenedPaths().size(), 1u);
  EXPECT_TRUE(host.Messages().empty());
}

TEST_F(PdbGeneratorTest, PagesGoWithTheSheetTheViewerFirst) {
  {
    auto sheet = MakeSheet();
    m_log.clear();
  }
  EXPECT_EQ(m_log, (std::vector<std::string>{"viewer destroyed", "generator destroyed"}));
}

TEST_F(PdbGeneratorTest, AWorkingFolderTooLongForAPathOpensNothing) {
  // Nest folders until the working folder no longer fits the path bound.
  // (Relative steps: the whole path is too long for the file calls.)
  const std::string part(200, 'd');
  std::size_t length = m_temp.string().size();
  int levels = 0;
  while (length <= kMaxPathLength + 10) {
    ASSERT_EQ(::mkdir(part.c_str(), 0700), 0);
    ASSERT_EQ(::chdir(part.c_str()), 0);
    length += part.size() + 1;
    ++levels;
  }
  EXPECT_FALSE(HelpPagePath().has_value());
  ScriptedHost host;
  EXPECT_FALSE(OpenHelpPage(host));
  EXPECT_TRUE(host.OpenedPaths().empty());
  for (; levels > 0; --levels) {  // climb down again, removing each level
    ASSERT_EQ(::chdir(".."), 0);
    ASSERT_EQ(::rmdir(part.c_str()), 0);
  }
  EXPECT_EQ(CurrentWorkingFolder(), m_temp.string());
  EXPECT_EQ(HelpPagePath(), (m_temp / "Help.html").string());
}

}  // namespace
}  // namespace tallowick
