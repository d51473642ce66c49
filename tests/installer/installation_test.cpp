// The installation of the destination page on the scripted host, with a
// private HOME and desktop: folders, copies, messages, shortcuts.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "installer/destination_dialog.h"
#include "installer/installer_app.h"
#include "resources/resource_ids.h"
#include "tests/installer/installer_fixture.h"
#include "ui/testing/scripted_host.h"
#include "ui/working_folder.h"

namespace tallowick {
namespace {

using testing::DesktopEntryKeys;
namespace d = res::destination;

constexpr const char* kFolderMessage =
    "Could not copy files in installation path, please re-select path";
constexpr const char* kSuccessMessage =
    "Tallowick installed successfully!\nShortcut created on Desktop";
const std::vector<std::string> kEntries = {"Help.html",
                                           "tallowick",
                                           "tallowick.png",
                                           "/img/PDBGen.jpg",
                                           "/img/PDBEnlarged.jpg",
                                           "/img/PDBView.jpg",
                                           "/img/browse.jpg"};

// Notes, for each message box, whether the page was still open under it.
class PageWatchingHost : public ScriptedHost {
 public:
  std::function<bool()> pageOpen;
  std::vector<bool> openUnderMessage;

  int ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon,
                  MessageButtons buttons) override {
    openUnderMessage.push_back(pageOpen && pageOpen());
    return ScriptedHost::ShowMessage(text, caption, icon, buttons);
  }
};

class Installation : public testing::InstallerFixture {
 protected:
  // Chooses `folder` with "B&rowse" and presses "&Next >" with the working
  // folder `from`.
  void Install(const std::string& folder, const std::string& from) {
    ASSERT_TRUE(ChangeWorkingFolder(from));
    m_window = &ScriptHost().OpenDialog(m_dialog);
    ScriptHost().AnswerFolder(folder);
    m_window->Click(d::kBrowse);
    m_window->Click(kIdOk);
  }
  std::vector<std::string> MessageTexts() const {
    std::vector<std::string> texts;
    for (const auto& message : ScriptHost().Messages()) texts.push_back(message.text);
    return texts;
  }
  void ExpectFolderRefused() {
    ASSERT_EQ(ScriptHost().Messages().size(), 1u);
    EXPECT_EQ(ScriptHost().Messages()[0].text, kFolderMessage);
    EXPECT_EQ(ScriptHost().Messages()[0].caption, "tallowick-setup");
    EXPECT_EQ(ScriptHost().Messages()[0].icon, MessageIcon::Stop);
    EXPECT_FALSE(m_window->IsEnded()) << "the page stays open for another choice";
    EXPECT_FALSE(Exists(Desktop() + "/Tallowick.desktop"));
    EXPECT_FALSE(Exists(Desktop() + "/Tallowick_UserGuide.desktop"));
  }
  // A fresh host and page, the page open with `folder` as its text (set as the
  // program would, not through the folder dialog).
  void ReopenWithFolder(const std::string& folder) {
    m_window = nullptr;
    m_hostHolder = std::make_unique<PageWatchingHost>();
    m_window = &ScriptHost().OpenDialog(m_dialog);
    m_dialog.GetItem(d::kFolder).SetText(folder);
  }

  std::unique_ptr<PageWatchingHost> m_hostHolder = std::make_unique<PageWatchingHost>();
  PageWatchingHost& ScriptHost() const { return *m_hostHolder; }
  CDestinationDialog m_dialog{"tallowick-setup"};
  ScriptedWindow* m_window = nullptr;
};

std::string In(const std::string& folder, const std::string& entry) {
  return folder + (entry.front() == '/' ? "" : "/") + entry;
}

TEST_F(Installation, NewFolderReceivesTheFilesTheShortcutsAndTheSuccessMessage) {
  const std::string target = Scratch() + "/Tallowick";
  ScriptHost().pageOpen = [this] { return m_window != nullptr && !m_window->IsEnded(); };
  Install(target, Source());

  for (const std::string& entry : kEntries)
    EXPECT_EQ(ReadFile(In(target, entry)), m_contents[entry]) << entry;
  EXPECT_TRUE(IsExecutable(target + "/tallowick"));
  EXPECT_FALSE(IsExecutable(target + "/Help.html"));
  EXPECT_TRUE(std::filesystem::is_directory(target + "/img"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(target), {}), 4)
      << "Help.html, tallowick, tallowick.png, img";

  ASSERT_EQ(ScriptHost().Messages().size(), 1u);
  const MessageRecord& success = ScriptHost().Messages()[0];
  EXPECT_EQ(success.text, kSuccessMessage);
  EXPECT_EQ(success.caption, "Thank you for using Tallowick");
  EXPECT_EQ(success.icon, MessageIcon::Information);
  EXPECT_EQ(success.buttons, MessageButtons::Ok);
  EXPECT_EQ(ScriptHost().openUnderMessage, std::vector<bool>{true})
      << "the success box stands over the page, which ends when the box is closed";
  EXPECT_TRUE(m_window->IsEnded());
  EXPECT_EQ(m_window->Result(), kIdOk);
  EXPECT_TRUE(Exists(Desktop() + "/Tallowick.desktop"));
  EXPECT_TRUE(Exists(Desktop() + "/Tallowick_UserGuide.desktop"));
  EXPECT_EQ(CurrentWorkingFolder(), Source()) << "the working folder is the source folder again";
}

TEST_F(Installation, ShortcutFilesCarryTheRightKeys) {
  const std::string target = Scratch() + "/Tallowick";
  Install(target, Source());

  const std::string program = Desktop() + "/Tallowick.desktop";
  const std::string guide = Desktop() + "/Tallowick_UserGuide.desktop";
  auto keys = DesktopEntryKeys(ReadFile(program));
  EXPECT_EQ(keys["Type"], "Application");
  EXPECT_EQ(keys["Name"], "Tallowick");
  EXPECT_EQ(keys["Comment"], "Tallowick");
  EXPECT_EQ(keys["Exec"], target + "/tallowick");
  EXPECT_EQ(keys["Path"], target) << "the program finds its help page in its working folder";
  EXPECT_EQ(keys["Icon"], target + "/tallowick.png") << "the icon installed beside the program";
  EXPECT_EQ(keys.count("URL"), 0u);

  keys = DesktopEntryKeys(ReadFile(guide));
  EXPECT_EQ(keys["Type"], "Link");
  EXPECT_EQ(keys["Name"], "Tallowick_UserGuide");
  EXPECT_EQ(keys["Comment"], "User Guide");
  EXPECT_EQ(keys["URL"], "file://" + target + "/Help.html");
  EXPECT_EQ(keys.count("Exec"), 0u);
  EXPECT_EQ(keys.count("Path"), 0u) << "Path is valid for applications only";
  EXPECT_EQ(keys.count("Icon"), 0u) << "the desktop shows its own icon for a page";

  for (const std::string& file : {program, guide}) {
    EXPECT_TRUE(IsExecutable(file)) << file;
    EXPECT_EQ(ReadFile(file).rfind("[Desktop Entry]\n", 0), 0u) << file;
  }
}

TEST_F(Installation, ExistingFolderIsUsedAndSameNamedFilesAreOverwritten) {
  const std::string target = Scratch() + "/Tallowick";
  std::filesystem::create_directories(target + "/img");
  for (const std::string& entry : kEntries)
    WriteFile(In(target, entry), "an older version, longer than the new one");
  ::chmod((target + "/tallowick").c_str(), 0644);
  WriteFile(target + "/notes.txt", "mine");
  WriteFile(Desktop() + "/Tallowick.desktop",
            "[Desktop Entry]\nType=Application\nName=Old\nExec=/old/tallowick\n");

  Install(target, Source());

  for (const std::string& entry : kEntries)
    EXPECT_EQ(ReadFile(In(target, entry)), m_contents[entry]) << entry;
  EXPECT_TRUE(IsExecutable(target + "/tallowick")) << "the program takes the source's permissions";
  EXPECT_EQ(ReadFile(target + "/notes.txt"), "mine");
  EXPECT_EQ(DesktopEntryKeys(ReadFile(Desktop() + "/Tallowick.desktop"))["Exec"],
            target + "/tallowick");
  EXPECT_EQ(MessageTexts(), std::vector<std::string>{kSuccessMessage});
}

TEST_F(Installation, FolderWhoseParentIsMissingGivesTheFolderMessageAndCopiesNothing) {
  const std::string target = Scratch() + "/missing/Tallowick";
  Install(target, Source());
  ExpectFolderRefused();
  EXPECT_FALSE(Exists(Scratch() + "/missing"));
  EXPECT_EQ(CurrentWorkingFolder(), Source());

  // The page is still usable: another choice installs.
  ScriptHost().AnswerFolder(Scratch());
  m_window->Click(d::kBrowse);
  m_window->Click(kIdOk);
  EXPECT_EQ(ReadFile(Scratch() + "/Help.html"), m_contents["Help.html"])
      << "the files go directly into the choice";
  EXPECT_EQ(ScriptHost().LastMessage().text, kSuccessMessage);
}

TEST_F(Installation, WorkingFolderWithoutTheFilesGivesOneMessagePerFileThenShortcutsAndSuccess) {
  const std::string target = Scratch() + "/Tallowick";
  Install(target, Scratch());  // the working folder holds none of the six files

  std::vector<std::string> expected;
  for (const std::string& entry : kEntries)
    expected.push_back("Could not copy file \"" + entry + "\"");
  expected.push_back(kSuccessMessage);
  EXPECT_EQ(MessageTexts(), expected);
  for (std::size_t i = 0; i < kEntries.size(); ++i) {
    EXPECT_EQ(ScriptHost().Messages()[i].caption, "tallowick-setup");
    EXPECT_EQ(ScriptHost().Messages()[i].icon, MessageIcon::Stop);
  }
  EXPECT_TRUE(std::filesystem::is_directory(target + "/img"));
  EXPECT_FALSE(Exists(target + "/Help.html"));
  EXPECT_TRUE(Exists(Desktop() + "/Tallowick.desktop"));
  EXPECT_TRUE(Exists(Desktop() + "/Tallowick_UserGuide.desktop"));
  EXPECT_TRUE(m_window->IsEnded());
}

TEST_F(Installation, FilesComeFromTheWorkingFolderNotFromBesideTheInstaller) {
  // Only the help page is in the working folder; the rest fail one by one.
  const std::string partial = Scratch() + "/partial";
  std::filesystem::create_directories(partial);
  WriteFile(partial + "/Help.html", "partial help");
  const std::string target = Scratch() + "/Tallowick";
  Install(target, partial);
  EXPECT_EQ(ReadFile(target + "/Help.html"), "partial help");
  // One failure for each entry but the help page, then the success box.
  ASSERT_EQ(ScriptHost().Messages().size(), kEntries.size());
  EXPECT_EQ(ScriptHost().Messages()[0].text, "Could not copy file \"tallowick\"");
  EXPECT_EQ(ScriptHost().Messages().back().text, kSuccessMessage);
}

TEST_F(Installation, AFailedCopyLeavesTheOthersAndTheOldFileInPlace) {
  const std::string target = Scratch() + "/Tallowick";
  std::filesystem::create_directories(target +
                                      "/img/PDBView.jpg");  // a folder where a file should go
  Install(target, Source());
  EXPECT_EQ(MessageTexts(), (std::vector<std::string>{"Could not copy file \"/img/PDBView.jpg\"",
                                                      kSuccessMessage}));
  EXPECT_TRUE(std::filesystem::is_directory(target + "/img/PDBView.jpg"));
  EXPECT_EQ(ReadFile(target + "/img/browse.jpg"), m_contents["/img/browse.jpg"]);
  std::vector<std::string> leftovers;
  for (const auto& item : std::filesystem::directory_iterator(target + "/img")) {
    leftovers.push_back(item.path().filename().string());
  }
  std::sort(leftovers.begin(), leftovers.end());
  EXPECT_EQ(leftovers, (std::vector<std::string>{"PDBEnlarged.jpg", "PDBGen.jpg", "PDBView.jpg",
                                                 "browse.jpg"}))
      << "no temporary files";
}

TEST_F(Installation, InstallingFromTheInstallationFolderItselfKeepsTheFilesWhole) {
  Install(Source(), Source());
  for (const std::string& entry : kEntries)
    EXPECT_EQ(ReadFile(In(Source(), entry)), m_contents[entry]) << entry;
  EXPECT_EQ(MessageTexts(), std::vector<std::string>{kSuccessMessage});
}

TEST_F(Installation, PathsThatDoNotFitAreRefusedWithTheFolderMessage) {
  // A folder that could be created under its existing parent, but whose
  // longest file path (with the copy's temporary suffix) would not fit:
  // refused before anything is created, nothing cut.
  constexpr std::size_t kTargetLength =
      kMaxPathLength - 19;  // "/img/PDBView.jpg" fits, the suffix not
  std::string parent = Scratch();
  while (parent.size() + 201 < kTargetLength - 10) parent += "/" + std::string(200, 'd');
  std::filesystem::create_directories(parent);
  const std::string target = parent + "/" + std::string(kTargetLength - parent.size() - 1, 't');
  ASSERT_EQ(target.size(), kTargetLength);
  Install(target, Source());
  ExpectFolderRefused();
  EXPECT_FALSE(Exists(target));

  ReopenWithFolder(Scratch() + "/" + std::string(kMaxPathLength, 'x'));
  m_window->Click(kIdOk);
  ExpectFolderRefused();
}

TEST_F(Installation, RelativeOrEmptyFolderIsRefused) {
  ASSERT_TRUE(ChangeWorkingFolder(Source()));
  for (const std::string& folder : {std::string("Tallowick"), std::string()}) {
    ReopenWithFolder(folder);
    m_window->Click(kIdOk);
    ExpectFolderRefused();
  }
  EXPECT_FALSE(Exists(Source() + "/Tallowick"));
}

TEST_F(Installation, DesktopFolderFallsBackToHomeDesktopWithoutXdgUserDir) {
  std::filesystem::create_directories(Home() + "/Desktop");
  SetEnv("PATH", Scratch());  // no xdg-user-dir to be found
  Install(Scratch() + "/Tallowick", Source());
  EXPECT_TRUE(Exists(Home() + "/Desktop/Tallowick.desktop"));
  EXPECT_TRUE(Exists(Home() + "/Desktop/Tallowick_UserGuide.desktop"));
  EXPECT_FALSE(Exists(Desktop() + "/Tallowick.desktop"));
}

TEST_F(Installation, MissingDesktopFolderMeansNoShortcutsButStillSuccess) {
  std::filesystem::remove(Desktop());
  const std::string target = Scratch() + "/Tallowick";
  Install(target, Source());
  EXPECT_FALSE(Exists(Desktop())) << "the desktop folder is not created";
  EXPECT_EQ(MessageTexts(), std::vector<std::string>{kSuccessMessage});
  EXPECT_EQ(ReadFile(target + "/Help.html"), m_contents["Help.html"]);
}

TEST_F(Installation, WholeWizardInstallsAndEnds) {
  ASSERT_TRUE(ChangeWorkingFolder(Source()));
  const std::string target = Scratch() + "/Tallowick";
  ScriptHost().AnswerDialog(res::kWelcomeDialog, [](ScriptedWindow& w) { w.Click(kIdOk); });
  ScriptHost().AnswerDialog(res::kDestinationDialog, [&](ScriptedWindow& w) {
    ScriptHost().AnswerFolder(target);
    w.Click(d::kBrowse);
    w.Click(kIdOk);
  });
  EXPECT_FALSE(CInstallerApp(ScriptHost(), "tallowick-setup").InitInstance());
  EXPECT_EQ(ScriptHost().ModalDialogsRun(),
            (std::vector<int>{res::kWelcomeDialog, res::kDestinationDialog}));
  EXPECT_EQ(ScriptHost().LastMessage().text, kSuccessMessage);
  EXPECT_EQ(ScriptHost().Journal().back(), std::string("message: ") + kSuccessMessage)
      << "the message comes last";
  EXPECT_TRUE(IsExecutable(target + "/tallowick"));
}

}  // namespace
}  // namespace tallowick
