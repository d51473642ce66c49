// The generator page on a PostgreSQL data source configured without its
// password: the "Connection" dialog comes up once per attempt.
#include <gtest/gtest.h>

#include "tests/source/page/generator_page_fixture.h"
#include "tests/support/postgres_server.h"

namespace tallowick {
namespace {

namespace g = res::generator;

using testing::GeneratorPageTest;

constexpr const char* kNeedsPassword = "TallowickPgLogin";

class PostgresPage : public GeneratorPageTest {
 protected:
  void SetUp() override {
    GeneratorPageTest::SetUp();
    testing::AddPostgresDataSource(kNeedsPassword, false);
    Show();
  }
  void AnswerLogin(const std::string& user, const std::string& password) {
    m_host.AnswerDialog(res::kLoginDialog, [user, password](ScriptedWindow& d) {
      d.Type(res::login::kUserName, user);
      d.Type(res::login::kPassword, password);
      d.Click(kIdOk);
    });
  }
};

TEST_F(PostgresPage, TheRightPasswordConnects) {
  AnswerLogin(testing::kPostgresUser, testing::kPostgresPassword);
  W().Select(g::kDataSource, kNeedsPassword);
  EXPECT_TRUE(m_page.IsConnected());
  EXPECT_EQ(m_host.ModalDialogsRun(), (std::vector<int>{res::kLoginDialog}));
  EXPECT_EQ(m_host.LastMessage().text, "Database connected...");
  EXPECT_TRUE(W().IsEnabled(g::kFetch));
}

TEST_F(PostgresPage, AWrongPasswordGivesTheOdbcErrorAfterOneDialog) {
  AnswerLogin(testing::kPostgresUser, "wrong");
  W().Select(g::kDataSource, kNeedsPassword);
  EXPECT_FALSE(m_page.IsConnected());
  EXPECT_EQ(m_host.ModalDialogsRun(), (std::vector<int>{res::kLoginDialog}));
  ASSERT_EQ(m_host.Messages().size(), 1u);
  EXPECT_EQ(m_host.LastMessage().text.rfind("ODBC Error ::", 0), 0u);
  EXPECT_NE(m_host.LastMessage().text.find("password authentication failed"), std::string::npos);
  EXPECT_EQ(m_host.LastMessage().icon, MessageIcon::Stop);
  EXPECT_FALSE(W().IsEnabled(g::kFetch));
}

TEST_F(PostgresPage, CancelEndsTheAttemptWithoutAMessage) {
  m_host.AnswerDialog(res::kLoginDialog, [](ScriptedWindow& d) { d.Click(kIdCancel); });
  W().Select(g::kDataSource, kNeedsPassword);
  EXPECT_FALSE(m_page.IsConnected());
  EXPECT_TRUE(m_host.Messages().empty());
  EXPECT_EQ(m_host.PendingAnswers(), 0u);
}

}  // namespace
}  // namespace tallowick
