// The installation source folder the build assembles: run from it, the
// installer installs the built program, the help page and its pictures.
#include <gtest/gtest.h>

#include <string>

#include "installer/destination_dialog.h"
#include "resources/resource_ids.h"
#include "tests/installer/installer_fixture.h"
#include "ui/testing/scripted_host.h"
#include "ui/working_folder.h"

namespace tallowick {
namespace {

class InstallSource : public testing::InstallerFixture {};

TEST_F(InstallSource, HoldsTheInstallerAndInstallsEveryFileFromIt) {
  const std::string source = TALLOWICK_INSTALL_SOURCE;
  EXPECT_TRUE(IsExecutable(source + "/tallowick-setup"));
  ASSERT_TRUE(ChangeWorkingFolder(source));

  ScriptedHost host;
  CDestinationDialog dialog("tallowick-setup");
  ScriptedWindow& window = host.OpenDialog(dialog);
  const std::string target = Scratch() + "/Tallowick";
  host.AnswerFolder(target);
  window.Click(res::destination::kBrowse);
  window.Click(kIdOk);

  ASSERT_EQ(host.Messages().size(), 1u) << host.Messages()[0].text;
  EXPECT_EQ(host.Messages()[0].caption, "Thank you for using Tallowick");
  const std::string help = TALLOWICK_HELP_DIR;
  for (const char* file : {"Help.html", "img/PDBGen.jpg", "img/PDBEnlarged.jpg", "img/PDBView.jpg",
                           "img/browse.jpg"}) {
    const std::string installed = ReadFile(target + "/" + file);
    EXPECT_FALSE(installed.empty()) << file;
    EXPECT_EQ(installed, ReadFile(help + "/" + file)) << file;
  }
  EXPECT_EQ(ReadFile(target + "/tallowick"), ReadFile(TALLOWICK_PROGRAM_FILE));
  const std::string icon = ReadFile(target + "/tallowick.png");
  EXPECT_EQ(icon.substr(0, 8), "\x89PNG\r\n\x1a\n") << "the program's icon beside it";
  EXPECT_EQ(icon, ReadFile(source + "/tallowick.png"));
  EXPECT_TRUE(IsExecutable(target + "/tallowick"));
  EXPECT_FALSE(Exists(target + "/tallowick-setup")) << "the installer does not install itself";
}

}  // namespace
}  // namespace tallowick
