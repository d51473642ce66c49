// Desktop entries: the escapes and quoting of their values, checked against
// the format's own validator and against a real launcher (GLib's gio).
#include "installer/desktop_entry.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "installer/desktop_shortcut.h"
#include "tests/installer/installer_fixture.h"
#include "tests/support/command_output.h"

namespace tallowick {
namespace {

using testing::CommandOutput;
using testing::DesktopEntryKeys;
using testing::ShellQuoted;

TEST(DesktopEntryValues, StringValuesEscapeBackslashControlsAndOuterBlanks) {
  EXPECT_EQ(EscapeStringValue("/opt/My Apps"), "/opt/My Apps");
  EXPECT_EQ(EscapeStringValue("/opt/back\\slash"), "/opt/back\\\\slash");
  EXPECT_EQ(EscapeStringValue("a\tb\nc\rd"), "a\\tb\\nc\\rd");
  EXPECT_EQ(EscapeStringValue("  both ends "), "\\s\\sboth ends\\s");
  EXPECT_EQ(EscapeStringValue("   "), "\\s\\s\\s");
  EXPECT_EQ(EscapeStringValue("$HOME \"q\" 'a' %"), "$HOME \"q\" 'a' %");
}

TEST(DesktopEntryValues, ExecArgumentsAreQuotedWhenTheyHoldReservedCharacters) {
  EXPECT_EQ(QuoteExecArgument("/opt/Tallowick/tallowick"), "/opt/Tallowick/tallowick");
  EXPECT_EQ(QuoteExecArgument("/opt/My Apps/tallowick"), "\"/opt/My Apps/tallowick\"");
  EXPECT_EQ(QuoteExecArgument("/a\"b"), "\"/a\\\"b\"");
  EXPECT_EQ(QuoteExecArgument("/a$b"), "\"/a\\$b\"");
  EXPECT_EQ(QuoteExecArgument("/a`b"), "\"/a\\`b\"");
  EXPECT_EQ(QuoteExecArgument("/a\\b"), "\"/a\\\\b\"");
  EXPECT_EQ(QuoteExecArgument("/it's"), "\"/it's\"");
  for (const char* reserved : {"/a;b", "/a&b", "/a|b", "/a<b", "/a>b", "/a~b", "/a*b", "/a?b",
                               "/a#b", "/a(b", "/a)b", "/a\tb", "/a\nb"}) {
    const std::string quoted = QuoteExecArgument(reserved);
    EXPECT_EQ(quoted, std::string("\"").append(reserved).append("\"")) << reserved;
  }
  EXPECT_EQ(QuoteExecArgument("/100%/x"), "/100%%/x") << "a percent sign is never a field code";
  EXPECT_EQ(QuoteExecArgument("/100% sure/x"), "\"/100%% sure/x\"");
  EXPECT_EQ(QuoteExecArgument("/opt/Ärger/x"), "/opt/Ärger/x");
}

TEST(DesktopEntryValues, ALiteralBackslashInAQuotedExecTakesFourBackslashes) {
  DesktopEntry entry;
  entry.name = "Tallowick";
  entry.program = "/opt/a\\b c/tallowick";
  entry.workingFolder = "/opt/a\\b c";
  const auto keys = DesktopEntryKeys(DesktopEntryText(entry).value());
  EXPECT_EQ(keys.at("Exec"), "\"/opt/a\\\\\\\\b c/tallowick\"");
  EXPECT_EQ(keys.at("Path"), "/opt/a\\\\b c");
}

TEST(DesktopEntryValues, FileUrlsArePercentEncoded) {
  EXPECT_EQ(FileUrl("/opt/Tallowick/Help.html"), "file:///opt/Tallowick/Help.html");
  EXPECT_EQ(FileUrl("/opt/My Apps/Help.html"), "file:///opt/My%20Apps/Help.html");
  EXPECT_EQ(FileUrl("/ü/100%#?\"\\"), "file:///%C3%BC/100%25%23%3F%22%5C");
  EXPECT_EQ(FileUrl("/a\nb\x01"), "file:///a%0Ab%01");
}

TEST(DesktopEntryValues, OnlyUtf8WithoutStrayControlsCanStandInAString) {
  EXPECT_TRUE(IsStringValueText("/opt/Ärger\tund\nmehr\r"));
  EXPECT_TRUE(IsStringValueText("\xF0\x9F\x93\x81"));  // a four-byte character
  EXPECT_FALSE(
      IsStringValueText("/opt/a\x01"
                        "b"));
  EXPECT_FALSE(IsStringValueText("/opt/\x7F"));
  EXPECT_FALSE(IsStringValueText("/opt/\xFF"));
  EXPECT_FALSE(IsStringValueText("/opt/\xC3"));          // cut short
  EXPECT_FALSE(IsStringValueText("/opt/\xC0\xAF"));      // overlong '/'
  EXPECT_FALSE(IsStringValueText("/opt/\xED\xA0\x80"));  // a surrogate
}

TEST(DesktopEntryValues, AnApplicationThatCannotBeWrittenIsRefusedALinkAlwaysCan) {
  DesktopEntry program;
  program.name = "Tallowick";
  program.program =
      "/opt/a\x01"
      "b/tallowick";
  EXPECT_FALSE(DesktopEntryText(program));
  program.program = "/opt/\xFF/tallowick";
  EXPECT_FALSE(DesktopEntryText(program));
  program.program = "tallowick";
  EXPECT_FALSE(DesktopEntryText(program)) << "not an absolute path";
  program.program = "/opt/ok/tallowick";
  program.workingFolder = "/opt/\xFF";
  EXPECT_FALSE(DesktopEntryText(program));

  DesktopEntry link;
  link.type = DesktopEntry::Type::Link;
  link.name = "Tallowick_UserGuide";
  link.linkTarget = "/opt/\xFF\x01/Help.html";
  ASSERT_TRUE(DesktopEntryText(link));
  EXPECT_EQ(DesktopEntryKeys(*DesktopEntryText(link)).at("URL"), "file:///opt/%FF%01/Help.html");
}

// Shortcuts for an installation in a folder with an awkward name.
class ShortcutReaders : public testing::InstallerFixture {
 protected:
  std::string InstallProgramInto(const std::string& name) {
    const std::string folder = Scratch() + "/" + name;
    std::filesystem::create_directories(folder);
    std::filesystem::copy_file(Source() + "/tallowick", folder + "/tallowick",
                               std::filesystem::copy_options::overwrite_existing);
    for (const ShortcutSpec& shortcut : kShortcuts) {
      CreateDesktopShortcut(folder, shortcut.fileName, shortcut.linkName, shortcut.description,
                            shortcut.kind, shortcut.iconFile);
    }
    return folder;
  }

  static void ExpectValid(const std::string& file) {
    int status = -1;
    const std::string output =
        CommandOutput("desktop-file-validate " + ShellQuoted(file) + " 2>&1", &status);
    EXPECT_EQ(status, 0) << file << "\n" << output;
    EXPECT_EQ(output.find("error"), std::string::npos) << output;
  }
};

const char* const kAwkwardNames[] = {
    "My Apps",
    "quote\"s and 'apostrophes'",
    "dollar $HOME, `tick` and back\\slash",
    "tab\tand Ärger",
    " leading and trailing ",
    "semi;colon & amp|pipe <angle> (paren) #hash *star ?q ~tilde",
};

TEST_F(ShortcutReaders, EveryAwkwardFolderGivesValidShortcuts) {
  std::vector<std::string> names(std::begin(kAwkwardNames), std::end(kAwkwardNames));
  names.push_back("line\nbreak");
  names.push_back("100% sure");
  for (const std::string& name : names) {
    const std::string folder = InstallProgramInto(name);
    ExpectValid(Desktop() + "/Tallowick.desktop");
    ExpectValid(Desktop() + "/Tallowick_UserGuide.desktop");
    EXPECT_EQ(DesktopEntryKeys(ReadFile(Desktop() + "/Tallowick_UserGuide.desktop")).at("URL"),
              FileUrl(folder + "/Help.html"));
  }
  EXPECT_EQ(DesktopEntryKeys(ReadFile(Desktop() + "/Tallowick.desktop")).at("Exec"),
            "\"" + Scratch() + "/100%% sure/tallowick\"");
}

TEST_F(ShortcutReaders, GioStartsTheProgramInTheInstallationFolder) {
  if (CommandOutput("command -v gio").empty())
    GTEST_SKIP() << "gio (libglib2.0-bin) is not installed";
  const std::string probe = Scratch() + "/probe.txt";
  SetEnv("TALLOWICK_PROBE", probe);
  for (const char* name : kAwkwardNames) {
    const std::string folder = InstallProgramInto(name);
    std::filesystem::remove(probe);
    int status = -1;
    const std::string output = CommandOutput(
        "gio launch " + ShellQuoted(Desktop() + "/Tallowick.desktop") + " 2>&1", &status);
    ASSERT_EQ(status, 0) << name << ": " << output;
    for (int i = 0;
         i < 500 && ReadFile(probe).find('\n', ReadFile(probe).find('\n') + 1) == std::string::npos;
         ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(ReadFile(probe), folder + "\n" + folder + "/tallowick\n") << name;
  }
}

TEST_F(ShortcutReaders, AnExistingShortcutIsReplacedAndNoTemporaryFileStays) {
  WriteFile(Desktop() + "/Tallowick_UserGuide.desktop", "old");
  InstallProgramInto("Tallowick");
  EXPECT_NE(ReadFile(Desktop() + "/Tallowick_UserGuide.desktop"), "old");
  std::vector<std::string> names;
  for (const auto& item : std::filesystem::directory_iterator(Desktop())) {
    names.push_back(item.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"Tallowick.desktop", "Tallowick_UserGuide.desktop"}));
}

TEST_F(ShortcutReaders, AFolderNoEntryCanCarryGetsNoProgramShortcut) {
  InstallProgramInto("bad\x01name");
  EXPECT_FALSE(Exists(Desktop() + "/Tallowick.desktop"));
  EXPECT_TRUE(Exists(Desktop() + "/Tallowick_UserGuide.desktop"))
      << "the guide's URL can carry any byte";
}

}  // namespace
}  // namespace tallowick
