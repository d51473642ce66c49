// tallowick-cli against a data source that wants a password: given on
// standard input, asked for on a terminal, or not to be had.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "tests/support/command_output.h"
#include "tests/support/postgres_server.h"
#include "tests/support/private_odbc.h"
#include "tests/support/temp_folder.h"

namespace tallowick::testing {
namespace {

class CliPostgres : public OdbcTest {
 protected:
  void SetUp() override { AddPostgresDataSource("CliPg", false); }
  void TearDown() override { PrivateOdbc::Get().ClearDataSources(); }

  // Runs the command line; `terminal` gives it a pseudo-terminal, so that it
  // asks for the credentials there.
  int Cli(const std::string& arguments, const std::string& input, std::string& out,
          std::string& err, bool terminal = false) {
    const std::string cli =
        ShellQuoted(std::string(TALLOWICK_BINARY_DIR) + "/cli/tallowick-cli") + " " + arguments;
    std::ofstream(m_folder.File("input.txt")) << input;
    const std::string errFile = m_folder.File("stderr.txt");
    std::string command;
    if (terminal) {
      // The password is typed once the question stands on the terminal.
      command = "(head -n 1 " + ShellQuoted(m_folder.File("input.txt")) +
                "; sleep 1.5; tail -n +2 " + ShellQuoted(m_folder.File("input.txt")) +
                ") | script -qec " + ShellQuoted(cli) + " /dev/null 2>" + ShellQuoted(errFile);
    } else {
      command = cli + " <" + ShellQuoted(m_folder.File("input.txt")) + " 2>" + ShellQuoted(errFile);
    }
    int status = -1;
    out = CommandOutput(command, &status);
    std::ifstream file(errFile);
    std::stringstream text;
    text << file.rdbuf();
    err = text.str();
    return status;
  }

  TempFolder m_folder;
};

TEST_F(CliPostgres, PasswordFromStandardInputConnects) {
  std::string out, err;
  EXPECT_EQ(Cli("tables --dsn CliPg --user tallowick --password-stdin", "tallowick-pw\n", out, err),
            0)
      << err;
  EXPECT_NE(out.find("big\n"), std::string::npos) << out;
  EXPECT_NE(out.find("kinds\n"), std::string::npos) << out;
}

TEST_F(CliPostgres, AWrongPasswordGivesTheOdbcError) {
  std::string out, err;
  EXPECT_EQ(Cli("tables --dsn CliPg --user tallowick --password-stdin", "wrong\n", out, err), 1);
  EXPECT_EQ(err.rfind("tallowick-cli: ODBC Error ::", 0), 0u) << err;
  EXPECT_NE(err.find("password authentication failed"), std::string::npos) << err;
  EXPECT_EQ(out, "");
}

TEST_F(CliPostgres, WithoutATerminalNoOneIsAsked) {
  std::string out, err;
  EXPECT_EQ(Cli("tables --dsn CliPg", "tallowick\ntallowick-pw\n", out, err), 1);
  EXPECT_EQ(err, "tallowick-cli: no user name and password were given for \"CliPg\"\n");
}

TEST_F(CliPostgres, OnATerminalItAsksOnceWithoutEcho) {
  std::string out, err;
  EXPECT_EQ(Cli("tables --dsn CliPg", "tallowick\ntallowick-pw\n", out, err, true), 0) << out;
  // Everything the terminal shows: the questions, the typed user name, the
  // tables; never the password.
  EXPECT_NE(out.find("User Name: "), std::string::npos) << out;
  EXPECT_NE(out.find("Password: "), std::string::npos) << out;
  EXPECT_NE(out.find("kinds"), std::string::npos) << out;
  EXPECT_EQ(out.find("tallowick-pw"), std::string::npos) << out;
}

// Ctrl-C at the password prompt: the terminal gets its echo back and the
// run ends with 128 + SIGINT.
TEST_F(CliPostgres, InterruptAtThePromptPutsTheEchoBack) {
  // On a pseudo-terminal: wait until echo is off, type Ctrl-C, then read the
  // terminal's settings once the program has ended.
  std::ofstream(m_folder.File("interrupt.py"))
      << "import os, pty, select, sys, termios, time\n"
         "pid, fd = pty.fork()\n"
         "if pid == 0:\n"
         "    os.execv(sys.argv[1], sys.argv[1:])\n"
         "def echo():\n"
         "    return bool(termios.tcgetattr(fd)[3] & termios.ECHO)\n"
         "shown, deadline = b'', time.time() + 30\n"
         "while (b'Password: ' not in shown or echo()) and time.time() < deadline:\n"
         "    if select.select([fd], [], [], 0.05)[0]:\n"
         "        shown += os.read(fd, 1024)\n"
         "was_quiet = not echo()\n"
         "os.write(fd, b'\\x03')\n"
         "status = os.waitpid(pid, 0)[1]\n"
         "print(was_quiet, os.waitstatus_to_exitcode(status), echo())\n";
  const std::string cli = std::string(TALLOWICK_BINARY_DIR) + "/cli/tallowick-cli";
  const std::string result =
      CommandOutput("/usr/bin/python3 " + ShellQuoted(m_folder.File("interrupt.py")) + " " +
                    ShellQuoted(cli) + " tables --dsn CliPg --user tallowick");
  EXPECT_EQ(result, "True 130 True\n") << "echo off at the prompt, status, echo after";
}

}  // namespace
}  // namespace tallowick::testing
