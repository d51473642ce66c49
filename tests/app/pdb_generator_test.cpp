// The application sheet on the scripted host: caption, tab order, the reduced
// button row, and the help page opened from the working folder.
#include "app/pdb_generator.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
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
  std::ofstream(m_temp / "Help.html") << "first\n";
  std::ofstream(m_temp / "other" / "Help.html") << "second\n";
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

TEST_F(PdbGeneratorTest, HelpIsLookedForInTheWorkingFolderThenBesideTheInstalledProgram) {
  // An installation under m_temp/prefix; the working folder is m_temp.
  const std::filesystem::path prefix = m_temp / "prefix";
  std::filesystem::create_directories(prefix / "share" / "tallowick");
  const std::string working = (m_temp / "Help.html").string();
  const std::string installed = (prefix / "share" / "tallowick" / "Help.html").string();
  const std::optional<std::string> fromProgram =
      InstalledHelpPagePath((prefix / "bin" / "tallowick").string());
  ASSERT_EQ(fromProgram, installed);
  const std::vector<std::string> places = {HelpPagePath().value(), *fromProgram};
  ASSERT_EQ(places.front(), working);

  struct Case {
    const char* what;
    bool inWorking;
    bool inInstalled;
    bool desktopOpens;
    std::vector<std::string> opened;
    std::vector<std::string> named;  // the paths the message names; none: no message
  };
  const std::vector<Case> cases = {
      {"in both", true, true, true, {working}, {}},
      {"installed only", false, true, true, {installed}, {}},
      {"nowhere", false, false, true, {}, {working, installed}},
      {"no program for it", false, true, false, {installed}, {installed}},
  };
  for (const Case& c : cases) {
    std::filesystem::remove(working);
    std::filesystem::remove(installed);
    if (c.inWorking) std::ofstream(working) << "working\n";
    if (c.inInstalled) std::ofstream(installed) << "installed\n";
    ScriptedHost host;
    host.SetOpenResult(c.desktopOpens);
    EXPECT_EQ(OpenHelpPage(host, places), c.desktopOpens && !c.opened.empty()) << c.what;
    EXPECT_EQ(host.OpenedPaths(), c.opened) << c.what;
    if (c.named.empty()) {
      EXPECT_TRUE(host.Messages().empty()) << c.what;
      continue;
    }
    ASSERT_EQ(host.Messages().size(), 1u) << c.what;
    const MessageRecord& message = host.Messages().front();
    EXPECT_EQ(message.caption, "Tallowick") << c.what;
    EXPECT_EQ(message.icon, MessageIcon::Exclamation) << c.what;
    std::string lines;
    for (const std::string& path : c.named) lines += "\n" + path;
    ASSERT_GE(message.text.size(), lines.size()) << c.what;
    EXPECT_EQ(message.text.substr(message.text.size() - lines.size()), lines) << c.what;
  }
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
