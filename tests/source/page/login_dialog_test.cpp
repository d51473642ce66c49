// The "Connection" dialog and the prompt that shows it.
#include "source/page/login_dialog.h"

#include <gtest/gtest.h>

#include "resources/resource_ids.h"
#include "source/page/login_prompt.h"
#include "ui/testing/scripted_host.h"

namespace tallowick {
namespace {

namespace l = res::login;

TEST(LoginDialog, OkSavesBothBoxesCancelSavesNothing) {
  ScriptedHost host;
  {
    CLoginDialog dialog;
    ScriptedWindow& window = host.OpenDialog(dialog);
    EXPECT_EQ(window.Template().caption, "Connection");
    EXPECT_EQ(window.Text(l::kUserName), "");
    EXPECT_EQ(window.TextLimit(l::kUserName), 0u);
    EXPECT_EQ(window.TextLimit(l::kPassword), 0u);
    window.Type(l::kUserName, "scott");
    window.Type(l::kPassword, std::string(300, 't'));
    window.Click(kIdOk);
    EXPECT_TRUE(window.IsEnded());
    EXPECT_EQ(window.Result(), kIdOk);
    EXPECT_EQ(dialog.m_userName, "scott");
    EXPECT_EQ(dialog.m_password, std::string(300, 't'));
  }
  {
    CLoginDialog dialog;
    ScriptedWindow& window = host.OpenDialog(dialog);
    window.Type(l::kUserName, "scott");
    window.Click(kIdCancel);
    EXPECT_EQ(window.Result(), kIdCancel);
    EXPECT_EQ(dialog.m_userName, "");
  }
}

TEST(LoginDialogPrompt, AnswersWithTheDialogOnceAndNothingOnCancel) {
  ScriptedHost host;
  LoginDialogPrompt prompt([&host]() -> Host& { return host; });
  host.AnswerDialog(res::kLoginDialog, [](ScriptedWindow& d) {
    d.Type(l::kUserName, "user");
    d.Type(l::kPassword, "secret");
    d.Click(kIdOk);
  });
  const auto credentials = prompt.Ask("Server");
  ASSERT_TRUE(credentials.has_value());
  EXPECT_EQ(credentials->userName, "user");
  EXPECT_EQ(credentials->password, "secret");

  host.AnswerDialog(res::kLoginDialog, [](ScriptedWindow& d) { d.PressEscape(); });
  EXPECT_FALSE(prompt.Ask("Server").has_value());
  EXPECT_EQ(host.ModalDialogsRun(), (std::vector<int>{res::kLoginDialog, res::kLoginDialog}));
  EXPECT_EQ(host.PendingAnswers(), 0u);
}

}  // namespace
}  // namespace tallowick
