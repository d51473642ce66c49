// The wizard on the scripted host: the order of the pages, Back and Next,
// Cancel on either page, and the folder choice.
#include <gtest/gtest.h>

#include "installer/destination_dialog.h"
#include "installer/installer_app.h"
#include "resources/resource_ids.h"
#include "ui/testing/scripted_host.h"

namespace tallowick {
namespace {

namespace d = res::destination;
constexpr const char* kDefaultFolder = "/opt/Tallowick";
constexpr const char* kAbortQuestion = "Do you want abort Tallowick installation setup";

TEST(InstallerWizard, NextBackNextShowsTheDefaultFolderAgain) {
  ScriptedHost host;
  host.AnswerDialog(res::kWelcomeDialog, [](ScriptedWindow& w) { w.Click(kIdOk); });
  host.AnswerDialog(res::kDestinationDialog, [&host](ScriptedWindow& w) {
    EXPECT_EQ(w.Text(d::kFolder), kDefaultFolder);
    host.AnswerFolder("/srv/apps");
    w.Click(d::kBrowse);
    EXPECT_EQ(w.Text(d::kFolder), "/srv/apps");
    w.Click(d::kBack);
  });
  host.AnswerDialog(res::kWelcomeDialog, [](ScriptedWindow& w) { w.Click(kIdOk); });
  host.AnswerDialog(res::kDestinationDialog, [&host](ScriptedWindow& w) {
    EXPECT_EQ(w.Text(d::kFolder), kDefaultFolder);
    host.AnswerMessage(kIdYes);
    w.Click(kIdCancel);
  });

  EXPECT_FALSE(CInstallerApp(host, "tallowick-setup").InitInstance());
  EXPECT_EQ(host.ModalDialogsRun(),
            (std::vector<int>{res::kWelcomeDialog, res::kDestinationDialog, res::kWelcomeDialog,
                              res::kDestinationDialog}));
  EXPECT_EQ(host.PendingAnswers(), 0u);
  ASSERT_EQ(host.Messages().size(), 1u);
  EXPECT_EQ(host.Messages()[0].text, kAbortQuestion);
}

TEST(InstallerWizard, CancelOrEscapeOnTheWelcomePageEndsAtOnce) {
  for (bool escape : {false, true}) {
    ScriptedHost host;
    host.AnswerDialog(res::kWelcomeDialog, [escape](ScriptedWindow& w) {
      escape ? w.PressEscape() : w.Click(kIdCancel);
    });
    EXPECT_FALSE(CInstallerApp(host, "tallowick-setup").InitInstance());
    EXPECT_EQ(host.ModalDialogsRun(), std::vector<int>{res::kWelcomeDialog});
    EXPECT_TRUE(host.Messages().empty()) << "no question on the welcome page";
  }
}

TEST(InstallerWizard, CancelAfterBackEndsFromTheWelcomePage) {
  ScriptedHost host;
  host.AnswerDialog(res::kWelcomeDialog, [](ScriptedWindow& w) { w.Click(kIdOk); });
  host.AnswerDialog(res::kDestinationDialog, [](ScriptedWindow& w) { w.Click(d::kBack); });
  host.AnswerDialog(res::kWelcomeDialog, [](ScriptedWindow& w) { w.Click(kIdCancel); });
  CInstallerApp(host, "tallowick-setup").InitInstance();
  EXPECT_EQ(host.ModalDialogsRun(),
            (std::vector<int>{res::kWelcomeDialog, res::kDestinationDialog, res::kWelcomeDialog}));
  EXPECT_TRUE(host.Messages().empty());
}

TEST(InstallerWizard, CancelOnTheDestinationPageAsksAndNoStays) {
  ScriptedHost host;
  CDestinationDialog destination("tallowick-setup");
  ScriptedWindow& w = host.OpenDialog(destination);

  host.AnswerMessage(kIdNo);
  w.Click(kIdCancel);
  EXPECT_FALSE(w.IsEnded());
  const MessageRecord& question = host.LastMessage();
  EXPECT_EQ(question.text, kAbortQuestion);
  EXPECT_EQ(question.caption, "tallowick-setup");
  EXPECT_EQ(question.icon, MessageIcon::Stop);
  EXPECT_EQ(question.buttons, MessageButtons::YesNo);

  host.AnswerMessage(kIdNo);
  w.PressEscape();  // Escape and the close box ask the same question
  EXPECT_FALSE(w.IsEnded());
  EXPECT_EQ(host.Messages().size(), 2u);

  host.AnswerMessage(kIdYes);
  w.PressEscape();
  EXPECT_TRUE(w.IsEnded());
  EXPECT_EQ(w.Result(), kIdCancel);
}

TEST(InstallerWizard, AbandoningTheDestinationPageEndsTheWizard) {
  ScriptedHost host;
  host.AnswerDialog(res::kWelcomeDialog, [](ScriptedWindow& w) { w.Click(kIdOk); });
  host.AnswerDialog(res::kDestinationDialog, [&host](ScriptedWindow& w) {
    host.AnswerMessage(kIdNo);
    w.Click(kIdCancel);
    host.AnswerMessage(kIdYes);
    w.Click(kIdCancel);
  });
  CInstallerApp(host, "my-setup").InitInstance();
  EXPECT_EQ(host.ModalDialogsRun(),
            (std::vector<int>{res::kWelcomeDialog, res::kDestinationDialog}));
  ASSERT_EQ(host.Messages().size(), 2u);
  EXPECT_EQ(host.Messages()[1].caption, "my-setup") << "the caption is the program's file name";
}

TEST(InstallerWizard, BrowseSetsTheChosenFolderUnchangedAndCancelKeepsTheText) {
  ScriptedHost host;
  CDestinationDialog destination("tallowick-setup");
  ScriptedWindow& w = host.OpenDialog(destination);

  host.CancelFolder();
  w.Click(d::kBrowse);
  EXPECT_EQ(w.Text(d::kFolder), kDefaultFolder);

  host.AnswerFolder("/home/ann/My Tools");
  w.Click(d::kBrowse);
  EXPECT_EQ(w.Text(d::kFolder), "/home/ann/My Tools")
      << "no product folder is added below the choice";
  EXPECT_EQ(host.FolderDialogs(),
            (std::vector<std::string>{"Choose Installation folder", "Choose Installation folder"}));
  EXPECT_FALSE(w.IsEnded());
  EXPECT_TRUE(host.Messages().empty());
}

}  // namespace
}  // namespace tallowick
