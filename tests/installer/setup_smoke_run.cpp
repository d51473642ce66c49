#include "tests/installer/setup_smoke_run.h"

#include <dlfcn.h>
#include <unistd.h>
#include <wx/app.h>
#include <wx/button.h>
#include <wx/dcclient.h>
#include <wx/dialog.h>
#include <wx/image.h>
#include <wx/settings.h>
#include <wx/statbmp.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/toplevel.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "installer/destination_dialog.h"
#include "installer/file_table.h"
#include "installer/installer_app.h"
#include "installer/path_join.h"
#include "resources/resource_ids.h"
#include "tests/installer/screen_pixels.h"
#include "tests/support/smoke_report.h"
#include "ui/dialog.h"
#include "ui/working_folder.h"
#include "ui/wx/wx_host.h"
#include "ui/wx/wx_images.h"
#include "ui/wx/wx_screenshot.h"
#include "ui/wx/wx_text.h"
#include "ui/wx/wx_window_peer.h"

namespace tallowick {
namespace {

constexpr const char* kDefaultFolder = "/opt/Tallowick";
constexpr const char* kSuccessCaption = "Thank you for using Tallowick";

// The whole screen as the X server has it now (window frames included),
// saved as PNG.
bool SaveScreen(const std::string& path) {
  ScreenPixels pixels = ReadScreenPixels();
  if (pixels.width == 0) return false;
  if (wxImage::FindHandler(wxBITMAP_TYPE_PNG) == nullptr) wxImage::AddHandler(new wxPNGHandler);
  wxImage image(pixels.width, pixels.height);
  std::copy(pixels.rgb.begin(), pixels.rgb.end(), image.GetData());
  return image.SaveFile(ToWx(path), wxBITMAP_TYPE_PNG);
}

// A message box on the screen: a wx dialog, or GTK's own message dialog
// (reached through GTK functions looked up at run time, so no GTK headers are
// needed).
struct ShownBox {
  bool found = false;
  int width = 0;
  std::string title;
};

class MessageBoxOnScreen {
 public:
  explicit MessageBoxOnScreen(const wxWindow* page) : m_page(page) {}

  ShownBox Find() const {
    for (wxWindow* window : wxTopLevelWindows) {
      auto* box = wxDynamicCast(window, wxDialog);
      if (box != nullptr && box != m_page && box->IsShownOnScreen() && box->IsModal())
        return {true, box->GetSize().x, FromWx(box->GetTitle())};
    }
    ShownBox shown;
    ForEachGtkBox([&shown](void* box, const Gtk& gtk) {
      if (!gtk.mapped(box)) return;
      const char* title = gtk.title(box);
      shown = {true, gtk.width(box), title != nullptr ? title : ""};
    });
    return shown;
  }

  // Presses the box's OK button.
  void Close() const {
    for (wxWindow* window : wxTopLevelWindows) {
      auto* box = wxDynamicCast(window, wxDialog);
      if (box != nullptr && box != m_page && box->IsModal()) {
        box->EndModal(wxID_OK);
        return;
      }
    }
    ForEachGtkBox([](void* box, const Gtk& gtk) { gtk.respond(box, kGtkResponseOk); });
  }

 private:
  static constexpr int kGtkResponseOk = -5;
  struct Gtk {
    int (*mapped)(void*);
    const char* (*title)(void*);
    int (*width)(void*);
    void (*respond)(void*, int);
  };

  template <typename Action>
  static void ForEachGtkBox(Action action) {
    struct List {
      void* data;
      List* next;
      List* previous;
    };
    auto listToplevels =
        reinterpret_cast<List* (*)()>(dlsym(RTLD_DEFAULT, "gtk_window_list_toplevels"));
    auto freeList = reinterpret_cast<void (*)(List*)>(dlsym(RTLD_DEFAULT, "g_list_free"));
    auto typeName =
        reinterpret_cast<const char* (*)(void*)>(dlsym(RTLD_DEFAULT, "g_type_name_from_instance"));
    const Gtk gtk{
        reinterpret_cast<int (*)(void*)>(dlsym(RTLD_DEFAULT, "gtk_widget_get_mapped")),
        reinterpret_cast<const char* (*)(void*)>(dlsym(RTLD_DEFAULT, "gtk_window_get_title")),
        reinterpret_cast<int (*)(void*)>(dlsym(RTLD_DEFAULT, "gtk_widget_get_allocated_width")),
        reinterpret_cast<void (*)(void*, int)>(dlsym(RTLD_DEFAULT, "gtk_dialog_response"))};
    if (!listToplevels || !freeList || !typeName || !gtk.mapped || !gtk.title || !gtk.width ||
        !gtk.respond) {
      return;
    }
    List* windows = listToplevels();
    for (List* item = windows; item != nullptr; item = item->next) {
      if (std::string(typeName(item->data)) == "GtkMessageDialog") action(item->data, gtk);
    }
    freeList(windows);
  }

  const wxWindow* m_page;
};

// The label as the template gives it: wrapping a long text replaces blanks
// by line breaks.
std::string Unwrapped(const wxWindow* window) {
  std::string text = FromWx(window->GetLabel());
  for (char& c : text) {
    if (c == '\n') c = ' ';
  }
  return text;
}

bool HasStaticLabel(wxWindow* parent, const std::string& label, ControlKind kind) {
  for (wxWindow* child : parent->GetChildren()) {
    const bool rightKind = kind == ControlKind::GroupBox
                               ? wxDynamicCast(child, wxStaticBox) != nullptr
                               : wxDynamicCast(child, wxStaticText) != nullptr;
    if (rightKind && Unwrapped(child) == label) return true;
  }
  return false;
}

int CountPictures(wxWindow* parent) {
  int pictures = 0;
  for (wxWindow* child : parent->GetChildren()) {
    auto* picture = wxDynamicCast(child, wxStaticBitmap);
    if (picture != nullptr && picture->GetBitmap().IsOk()) ++pictures;
  }
  return pictures;
}

// A wx host that acts on each installer page once it is on the screen, as a
// user would: the script of the walk is in Step.
class SmokeHost : public WxHost {
 public:
  SmokeHost(SmokeReport& report, std::string folder)
      : m_report(report), m_folder(std::move(folder)) {}

  int RunModal(Dialog& dialog) override {
    const int run = static_cast<int>(m_runs.size());
    m_runs.push_back(dialog.TemplateId());
    wxTheApp->CallAfter([this, &dialog, run] { Step(dialog, run); });
    return WxHost::RunModal(dialog);
  }

  // Message boxes are recorded and answered OK (No to a question) without
  // being shown, but for the success box: it is shown over the page, checked,
  // photographed with the whole screen and closed with its OK button.
  int ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon,
                  MessageButtons buttons) override {
    m_messages.push_back({text, caption, icon});
    if (caption != kSuccessCaption) return buttons == MessageButtons::YesNo ? kIdNo : kIdOk;
    m_report.Check(m_page != nullptr && m_page->IsShownOnScreen(),
                   "the destination page is on the screen under the success box");
    const MessageBoxOnScreen box(m_page);
    wxTheApp->CallAfter([this, box] { ExamineSuccessBox(box, 300); });
    const int answer = WxHost::ShowMessage(text, caption, icon, buttons);
    m_report.Check(m_successBoxSeen, "the success box was shown and closed");
    return answer;
  }

  struct Message {
    std::string text;
    std::string caption;
    MessageIcon icon;
  };
  const std::vector<int>& Runs() const { return m_runs; }
  const std::vector<Message>& Messages() const { return m_messages; }
  std::string InstallationFolder() const { return m_folder + "/installed"; }

 private:
  // Waits (bounded) until the box is on the screen, checks that its caption
  // has room, photographs the screen and presses OK.
  void ExamineSuccessBox(const MessageBoxOnScreen& box, int triesLeft) {
    const ShownBox shown = box.Find();
    if (!shown.found && triesLeft > 0) {
      wxMilliSleep(10);
      wxTheApp->CallAfter([this, box, triesLeft] { ExamineSuccessBox(box, triesLeft - 1); });
      return;
    }
    m_successBoxSeen = shown.found;
    if (shown.found) {
      for (int i = 0; i < 50; ++i) {  // let it paint
        wxYield();
        wxMilliSleep(10);
      }
      m_report.Check(shown.title == kSuccessCaption, "the success box's title is its caption");
      // The title bar needs room for the caption in a bold face and for the
      // window's buttons.
      wxClientDC measure(m_page);
      measure.SetFont(wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT).Bold());
      const int captionWidth = measure.GetTextExtent(kSuccessCaption).x;
      m_report.Check(shown.width >= captionWidth + 80,
                     "the success box (" + std::to_string(shown.width) +
                         " pixels) is wide enough for its caption (" +
                         std::to_string(captionWidth) + " pixels and the title bar's buttons)");
      m_report.Check(SaveScreen(m_folder + "/screen-success.png"), "screenshot screen-success.png");
    }
    box.Close();
  }

  void Step(Dialog& dialog, int run) {
    auto* peer = dynamic_cast<WxWindowPeer*>(dialog.Peer());
    m_report.Check(peer != nullptr, "run " + std::to_string(run) + ": the page is built with wx");
    if (peer == nullptr) return;
    wxWindow* panel = peer->Parent();
    auto* window = wxDynamicCast(wxGetTopLevelParent(panel), wxDialog);
    m_page = window;
    const std::string name =
        "run " + std::to_string(run) + " (template " + std::to_string(dialog.TemplateId()) + ") ";
    CheckPage(dialog, *window, panel, name);

    switch (run) {
      case 0:
        m_report.Check(dialog.TemplateId() == res::kWelcomeDialog, name + "is the welcome page");
        m_report.Check(SaveWindowScreenshot(*window, m_folder + "/welcome.png") &&
                           SaveScreen(m_folder + "/screen-welcome.png"),
                       "screenshots welcome.png, screen-welcome.png");
        Press(panel, kIdOk);
        break;
      case 1:
        m_report.Check(dialog.TemplateId() == res::kDestinationDialog,
                       name + "is the destination page");
        m_report.Check(dialog.GetItem(res::destination::kFolder).GetText() == kDefaultFolder,
                       name + "shows the default folder");
        m_report.Check(SaveWindowScreenshot(*window, m_folder + "/destination.png") &&
                           SaveScreen(m_folder + "/screen-destination.png"),
                       "screenshots destination.png, screen-destination.png");
        // A folder of our own, which Back and Next must forget.
        dialog.GetItem(res::destination::kFolder).SetText("/tmp/somewhere else");
        Press(panel, res::destination::kBack);
        break;
      case 2:
        m_report.Check(dialog.TemplateId() == res::kWelcomeDialog,
                       name + "is the welcome page again");
        Press(panel, kIdOk);
        break;
      default:
        m_report.Check(dialog.TemplateId() == res::kDestinationDialog,
                       name + "is the destination page again");
        m_report.Check(dialog.GetItem(res::destination::kFolder).GetText() == kDefaultFolder,
                       name + "shows the default folder again after Back and Next");
        dialog.GetItem(res::destination::kFolder).SetText(InstallationFolder());
        Press(panel, kIdOk);
        break;
    }
  }

  // A click on the button as the desktop delivers it.
  void Press(wxWindow* panel, int id) {
    auto* button = wxDynamicCast(panel->FindWindow(id), wxButton);
    m_report.Check(button != nullptr && button->IsEnabled(),
                   "button " + std::to_string(id) + " can be pressed");
    if (button == nullptr) return;
    wxCommandEvent click(wxEVT_BUTTON, id);
    click.SetEventObject(button);
    button->GetEventHandler()->ProcessEvent(click);
  }

  void CheckPage(Dialog& dialog, wxDialog& window, wxWindow* panel, const std::string& name) {
    const DialogTemplate& layout = dialog.Template();
    m_report.Check(FromWx(window.GetTitle()) == "Tallowick Installer",
                   name + "the title bar reads Tallowick Installer");
    int pictures = 0;
    for (const ControlTemplate& control : layout.controls) {
      if (control.kind == ControlKind::Bitmap || control.kind == ControlKind::Icon) ++pictures;
      if (control.id != kIdStatic) {
        const bool present = dialog.HasItem(control.id);
        m_report.Check(present, name + "has control " + std::to_string(control.id));
        if (!present) continue;
        const Control item = dialog.GetItem(control.id);
        m_report.Check(item.Kind() == control.kind, name + "control " + std::to_string(control.id) +
                                                        " is a " + ControlKindName(control.kind));
        m_report.Check(
            item.GetText() == control.text,
            name + "control " + std::to_string(control.id) + " reads \"" + control.text + "\"");
        m_report.Check(item.IsVisible() && item.IsEnabled(),
                       name + "control " + std::to_string(control.id) + " is visible and enabled");
      } else if (!control.text.empty()) {
        m_report.Check(HasStaticLabel(panel, control.text, control.kind),
                       name + "shows \"" + control.text + "\"");
      }
    }
    m_report.Check(CountPictures(panel) == pictures,
                   name + "shows its " + std::to_string(pictures) + " picture(s)");
    auto* next = wxDynamicCast(panel->FindWindow(kIdOk), wxButton);
    m_report.Check(next != nullptr && window.GetDefaultItem() == next,
                   name + "button 1 is the default button");
    const wxSize area = panel->GetClientSize();
    for (wxWindow* child : panel->GetChildren()) {
      const wxRect rect = child->GetRect();
      m_report.Check(rect.GetLeft() >= 0 && rect.GetTop() >= 0 && rect.GetRight() < area.x &&
                         rect.GetBottom() < area.y,
                     name + "control \"" + Unwrapped(child) + "\" lies inside the page");
    }
  }

  SmokeReport& m_report;
  std::string m_folder;
  wxDialog* m_page = nullptr;  // the page on the screen now
  bool m_successBoxSeen = false;
  std::vector<int> m_runs;
  std::vector<Message> m_messages;
};

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return in ? text.str() : std::string();
}

// The installation the walk ended with: each file of the working folder in
// place, a copy message for each file it lacks, the two shortcuts on the
// private desktop, and the success message last.
void CheckInstallation(SmokeReport& report, const SmokeHost& host, const std::string& desktop) {
  const std::string source = CurrentWorkingFolder().value_or("");
  const std::string target = host.InstallationFolder();
  std::vector<std::string> expected;
  for (std::string_view entry : kInstallFiles) {
    const std::string name(entry);
    const std::string sourceFile = JoinPath(source, name).value_or("");
    if (::access(sourceFile.c_str(), R_OK) == 0) {
      const std::string installed = ReadAll(JoinPath(target, name).value_or(""));
      report.Check(!installed.empty() && installed == ReadAll(sourceFile), "installed " + name);
    } else {
      expected.push_back("Could not copy file \"" + name + "\"");
    }
  }
  expected.push_back("Tallowick installed successfully!\nShortcut created on Desktop");
  std::vector<std::string> shown;
  for (const auto& message : host.Messages()) shown.push_back(message.text);
  report.Check(shown == expected,
               "the messages of the installation: " + std::to_string(shown.size()));
  if (!host.Messages().empty()) {
    report.Check(host.Messages().back().caption == "Thank you for using Tallowick" &&
                     host.Messages().back().icon == MessageIcon::Information,
                 "the success message has its caption and icon");
  }
  for (const char* link : {"/Tallowick.desktop", "/Tallowick_UserGuide.desktop"}) {
    report.Check(::access((desktop + link).c_str(), X_OK) == 0,
                 std::string("the desktop holds ") + (link + 1));
  }
  const std::string icon = JoinPath(target, kProgramIconFile).value_or("");
  report.Check(
      ReadAll(desktop + "/Tallowick.desktop").find("\nIcon=" + icon + "\n") != std::string::npos &&
          !ReadAll(icon).empty(),
      "the program's shortcut shows the icon installed beside it");
}

void SaveEnlarged(SmokeReport& report, int imageId, int factor, const std::string& path) {
  const wxBitmap image = ImageBitmap(imageId);
  report.Check(image.IsOk(), "image " + std::to_string(imageId) + " exists");
  if (!image.IsOk()) return;
  if (wxImage::FindHandler(wxBITMAP_TYPE_PNG) == nullptr) wxImage::AddHandler(new wxPNGHandler);
  const wxImage picture = image.ConvertToImage();
  report.Check(picture.Scale(picture.GetWidth() * factor, picture.GetHeight() * factor)
                   .SaveFile(ToWx(path), wxBITMAP_TYPE_PNG),
               "saved " + path);
}

}  // namespace

bool RunSetupSmoke(const std::string& appTitle, const std::string& folder) {
  SmokeReport report;
  report.Check(appTitle == "tallowick-setup",
               "message boxes are captioned with the program's file name");
  // A private home whose desktop receives the shortcuts.
  const std::string home = folder + "/home";
  const std::string desktop = home + "/Desktop";
  std::error_code ignored;
  std::filesystem::remove_all(home, ignored);
  std::filesystem::create_directories(desktop, ignored);
  ::setenv("HOME", home.c_str(), 1);
  ::unsetenv("XDG_CONFIG_HOME");
  SmokeHost host(report, folder);
  std::filesystem::remove_all(host.InstallationFolder(), ignored);
  const bool result = CInstallerApp(host, appTitle).InitInstance();
  report.Check(!result, "the wizard's start-up returns false");
  report.Check(host.Runs() == std::vector<int>{res::kWelcomeDialog, res::kDestinationDialog,
                                               res::kWelcomeDialog, res::kDestinationDialog},
               "the wizard ran welcome, destination, welcome, destination");
  CheckInstallation(report, host, desktop);

  const wxBitmap picture = ImageBitmap(res::kInstallerPicture);
  report.Check(picture.IsOk() && picture.GetWidth() == 104 && picture.GetHeight() == 210,
               "the installer picture is 104 x 210");
  const wxBitmap icon = ImageBitmap(res::kInstallerIcon);
  report.Check(icon.IsOk() && icon.GetWidth() == 32 && icon.GetHeight() == 32,
               "the installer icon is 32 x 32");
  SaveEnlarged(report, res::kInstallerPicture, 2, folder + "/picture.png");
  SaveEnlarged(report, res::kInstallerIcon, 4, folder + "/icon.png");

  const bool written = report.Write(folder + "/report.txt");
  return written && report.AllHeld();
}

}  // namespace tallowick
