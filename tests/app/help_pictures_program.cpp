// Pictures for the help page, taken from the real sheet at work: the program's
// own pages on a virtual display, a generate from a sample database, the
// Helper file and its PDB in the viewer, and the sheet enlarged. Files and
// messages are answered by the program itself instead of a person.
//
//   xvfb-run -s "-screen 0 1366x768x24" tallowick_help_pictures <database> <folder>
//
// writes generator.png, viewer.png and enlarged.png into <folder>, and the
// same as the help page's PDBGen.jpg, PDBView.jpg and PDBEnlarged.jpg (the
// PDB, Helper file and logs of the run go into <folder>/output). Exit status
// 0 when every picture was taken.
#include <wx/app.h>
#include <wx/bookctrl.h>
#include <wx/dialog.h>
#include <wx/display.h>
#include <wx/propdlg.h>

#include <deque>
#include <filesystem>
#include <iostream>
#include <string>

#include "app/pdb_generator.h"
#include "resources/images.h"
#include "resources/resource_ids.h"
#include "ui/image_resources.h"
#include "ui/property_page.h"
#include "ui/wx/wx_assert.h"
#include "ui/wx/wx_host.h"
#include "ui/wx/wx_screenshot.h"

namespace tallowick {
namespace {

namespace g = res::generator;
namespace v = res::viewer;

// Answers the file dialogs from a queue and every message box with its first button.
class AnsweringHost : public WxHost {
 public:
  std::deque<std::string> files;

  std::optional<std::string> ChooseFile(const FileDialogOptions&) override {
    if (files.empty()) return std::nullopt;
    std::string next = files.front();
    files.pop_front();
    return next;
  }
  int ShowMessage(const std::string& text, const std::string& caption, MessageIcon,
                  MessageButtons buttons) override {
    std::cerr << caption << ": " << text << "\n";
    return buttons == MessageButtons::YesNo ? kIdYes : kIdOk;
  }
};

std::string FileEndingWith(const std::filesystem::path& folder, const std::string& ending) {
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    if (name.size() >= ending.size() &&
        name.compare(name.size() - ending.size(), ending.size(), ending) == 0)
      return entry.path().string();
  }
  return {};
}

bool TakePictures(AnsweringHost& host, PDBGenerator& sheet, wxDialog& window,
                  const std::string& database, const std::filesystem::path& folder) {
  const std::filesystem::path output = folder / "output";
  std::filesystem::create_directories(output);
  PropertyPage& generator = sheet.GeneratorPage();
  PropertyPage& viewer = sheet.ViewerPage();

  host.files = {database};
  generator.SendCommand(g::kBrowse, Notification::Clicked);
  ListBox tables = generator.GetListBox(g::kTableList);
  if (tables.GetCount() == 0) return false;
  tables.SetSelected(0);
  generator.SendCommand(g::kTableList, Notification::SelectionChange);
  ListBox fields = generator.GetListBox(g::kAvailableFields);
  for (int i = 0; i < fields.GetCount(); ++i) fields.SetSelected(i);
  generator.SendCommand(g::kAvailableFields, Notification::SelectionChange);
  generator.SendCommand(g::kAddFields, Notification::Clicked);
  generator.SendCommand(g::kFetch, Notification::Clicked);
  generator.GetEdit(g::kPdbName).SetText("Orders");
  generator.GetEdit(g::kOutputFolder).SetText(output.string());
  generator.SendCommand(g::kGenerate, Notification::Clicked);
  bool taken = SaveWindowScreenshot(window, (folder / "generator.png").string());

  sheet.SetActivePage(1);
  host.files = {FileEndingWith(output, ".mhl"), FileEndingWith(output, ".pdb")};
  viewer.SendCommand(v::kSelectHelper, Notification::Clicked);
  if (!host.files.empty()) viewer.SendCommand(v::kBrowsePdb, Notification::Clicked);
  taken = SaveWindowScreenshot(window, (folder / "viewer.png").string()) && taken;

  // Enlarged to the work area: the lists take the room.
  sheet.SetActivePage(0);
  const wxRect first = window.GetRect();
  window.SetSize(wxDisplay(0u).GetClientArea());
  taken = SaveWindowScreenshot(window, (folder / "enlarged.png").string()) && taken;
  window.SetSize(first);
  const std::pair<const char*, const char*> forHelp[] = {
      {"generator", "PDBGen"}, {"viewer", "PDBView"}, {"enlarged", "PDBEnlarged"}};
  for (const auto& [picture, help] : forHelp) {
    taken = SavePictureAsJpeg((folder / (std::string(picture) + ".png")).string(),
                              (folder / (std::string(help) + ".jpg")).string()) &&
            taken;
  }
  return taken;
}

class HelpPicturesApp : public wxApp {
 public:
  bool OnInit() override {
    if (argc != 3) {
      std::cerr << "usage: tallowick_help_pictures <database> <folder>\n";
      return false;
    }
    SetAppName("tallowick");
    SetXpmImageLookup(res::XpmImage);
    InstallFatalAssertHandler();
    m_database = std::filesystem::absolute(argv[1].ToStdString()).string();
    m_folder = std::filesystem::absolute(argv[2].ToStdString());
    return true;
  }

  int OnRun() override {
    AnsweringHost host;
    PDBGenerator sheet(host);
    bool taken = false;
    host.CallWhenSheetShown([&](wxDialog& window) {
      taken = TakePictures(host, sheet, window, m_database, m_folder);
      sheet.EndDialog(kIdCancel);
    });
    sheet.DoModal(host);
    return taken ? 0 : 1;
  }

 private:
  std::string m_database;
  std::filesystem::path m_folder;
};

}  // namespace
}  // namespace tallowick

wxIMPLEMENT_APP(tallowick::HelpPicturesApp);
