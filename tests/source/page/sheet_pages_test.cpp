// The program's sheet with its real pages on the scripted host: the tabs,
// the button row, and Help from either page.
#include <gtest/gtest.h>

#include <fstream>

#include "app/pdb_generator.h"
#include "resources/resource_ids.h"
#include "source/page/make_pdb.h"
#include "tests/support/private_odbc.h"
#include "tests/support/temp_folder.h"
#include "ui/testing/scripted_host.h"
#include "ui/working_folder.h"
#include "viewer/page/pdb_view.h"

namespace tallowick {
namespace {

using Strings = std::vector<std::string>;

class SheetWithPages : public testing::OdbcTest {};

TEST_F(SheetWithPages, ShowsBothPagesCloseAndHelp) {
  ScriptedHost host;
  PDBGenerator sheet(host);
  EXPECT_NE(dynamic_cast<MakePDB*>(&sheet.GeneratorPage()), nullptr);
  EXPECT_NE(dynamic_cast<PDBView*>(&sheet.ViewerPage()), nullptr);

  ScriptedSheet& shown = host.OpenSheet(sheet);
  EXPECT_EQ(shown.Caption(), "Tallowick");
  EXPECT_EQ(shown.TabTitles(), (Strings{"PDB Generator", "PDB Viewer"}));
  EXPECT_EQ(shown.ActiveTab(), 0);
  EXPECT_EQ(shown.VisibleButtons(), (Strings{"&Close", "He&lp"}));
  // The generator page started up inside the sheet.
  EXPECT_EQ(shown.Page(0).Text(res::generator::kCreator), "HWRP");
  EXPECT_FALSE(shown.Page(0).IsEnabled(res::generator::kFetch));

  // Help.html in the working folder of the moment.
  testing::TempFolder helpFolder;
  std::ofstream(helpFolder.File("Help.html")) << "<html></html>\n";
  WorkingFolderGuard keepWorkingFolder;
  ASSERT_TRUE(ChangeWorkingFolder(helpFolder.Path()));
  const std::string help = helpFolder.File("Help.html");
  shown.Click(kIdHelp);
  shown.SelectTab(1);
  shown.PressF1();
  EXPECT_EQ(host.OpenedPaths(), (Strings{help, help}));
  // Browse before Select on the viewer page.
  shown.Page(1).Click(res::viewer::kBrowsePdb);
  EXPECT_EQ(host.LastMessage().text, "Please Select Valid Tallowick Helper file first");

  shown.Click(kIdCancel);
  EXPECT_FALSE(shown.IsOpen());
  EXPECT_EQ(shown.Result(), kIdCancel);
}

}  // namespace
}  // namespace tallowick
