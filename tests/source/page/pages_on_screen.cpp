// Both pages in the real program on a (virtual) display, driven through one
// session as a user would click: connect to Northwind.mdb, choose fields,
// Fetch, Generate, view the result. Photographs the pages and the file
// dialog for the help page (PDBGen.jpg, PDBView.jpg, browse.jpg) and measures
// how soon 65,535 rows appear in the preview and in the viewer once they
// have been read (timings.txt). Exits 0 when every step did what it should.
//
//   xvfb-run -a -s "-screen 0 1280x1024x24" pages_on_screen <folder> [<work folder>]
#include <dlfcn.h>
#include <wx/app.h>
#include <wx/bookctrl.h>
#include <wx/dcmemory.h>
#include <wx/dcscreen.h>
#include <wx/filedlg.h>
#include <wx/listctrl.h>
#include <wx/propdlg.h>
#include <wx/utils.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>

#include "app/pdb_generator.h"
#include "resources/resource_ids.h"
#include "source/page/make_pdb.h"
#include "tests/support/private_odbc.h"
#include "tests/support/sqlite_file.h"
#include "ui/working_folder.h"
#include "ui/wx/wx_assert.h"
#include "ui/wx/wx_host.h"
#include "ui/wx/wx_screenshot.h"
#include "ui/wx/wx_text.h"
#include "viewer/page/pdb_view.h"

namespace tallowick {
namespace {

namespace g = res::generator;
namespace v = res::viewer;
using Clock = std::chrono::steady_clock;

const std::string kFixtures = TALLOWICK_FIXTURES;

double Milliseconds(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double, std::milli>(to - from).count();
}

// The real wx host, with the file and folder dialogs answered by the session
// and message boxes written to the log instead of waiting for a click.
class SessionHost : public WxHost {
 public:
  void AnswerFile(std::string path) { m_files.push_back(std::move(path)); }
  // The next file dialog really opens, is photographed, and then answered.
  void PhotographNextFileDialog(std::string pngPath) { m_photograph = std::move(pngPath); }
  bool DialogPhotographed() const { return m_photographed; }

  std::vector<std::string> messages;
  Clock::time_point waitOpened;
  Clock::time_point waitClosed;

  int ShowMessage(const std::string& text, const std::string&, MessageIcon,
                  MessageButtons) override {
    messages.push_back(text);
    std::cout << "message: " << text << '\n';
    return kIdOk;
  }
  std::optional<std::string> ChooseFile(const FileDialogOptions& options) override {
    if (!m_photograph.empty()) {
      const std::string png = std::exchange(m_photograph, {});
      wxTheApp->CallAfter([this, png] { PhotographFileDialog(png); });
      m_dialogOpen = true;
      WxHost::ChooseFile(options);
      m_dialogOpen = false;
    }
    if (m_files.empty()) return std::nullopt;
    std::string path = m_files.front();
    m_files.pop_front();
    return path;
  }
  std::optional<std::string> ChooseFolder(const std::string&) override { return std::nullopt; }
  bool OpenWithDesktop(const std::string& path) override {
    std::cout << "open: " << path << '\n';
    return true;
  }
  std::unique_ptr<WaitWindow> ShowWaitWindow(const DialogTemplate& layout) override {
    // The time stamps bracket the work the wait window stands for.
    class Timed : public WaitWindow {
     public:
      Timed(SessionHost& host, std::unique_ptr<WaitWindow> shown)
          : m_host(host), m_shown(std::move(shown)) {
        m_host.waitOpened = Clock::now();
      }
      ~Timed() override {
        m_host.waitClosed = Clock::now();
        m_shown.reset();
      }

     private:
      SessionHost& m_host;
      std::unique_ptr<WaitWindow> m_shown;
    };
    return std::make_unique<Timed>(*this, WxHost::ShowWaitWindow(layout));
  }

 private:
  // The native file chooser is no wx window: the screen is photographed
  // (cut to what is drawn on it) once the chooser had time to list the
  // folder, then the chooser is cancelled.
  void PhotographFileDialog(const std::string& png) {
    for (int i = 0; i < 150; ++i) {
      wxYield();
      wxMilliSleep(10);
    }
    m_photographed = SaveScreenContents(png);
    CloseFileDialog(20);
  }

  // The chooser is GTK's own dialog, no wx window: it is cancelled through
  // GTK (functions looked up at run time, so no GTK headers are needed), as
  // its Cancel button would.
  void CloseFileDialog(int triesLeft) {
    if (!m_dialogOpen || triesLeft == 0) return;
    CancelNativeFileChooser();
    WaitThenCloseAgain(triesLeft - 1, Clock::now() + std::chrono::seconds(1));
  }

  void WaitThenCloseAgain(int triesLeft, Clock::time_point when) {
    if (!m_dialogOpen) return;
    if (Clock::now() < when) {
      wxMilliSleep(10);
      wxTheApp->CallAfter([this, triesLeft, when] { WaitThenCloseAgain(triesLeft, when); });
      return;
    }
    CloseFileDialog(triesLeft);
  }

  static void CancelNativeFileChooser() {
    struct List {
      void* data;
      List* next;
      List* previous;
    };
    using ListToplevels = List* (*)();
    using FreeList = void (*)(List*);
    using TypeName = const char* (*)(void*);
    using Respond = void (*)(void*, int);
    constexpr int kResponseCancel = -6;
    auto listToplevels =
        reinterpret_cast<ListToplevels>(dlsym(RTLD_DEFAULT, "gtk_window_list_toplevels"));
    auto freeList = reinterpret_cast<FreeList>(dlsym(RTLD_DEFAULT, "g_list_free"));
    auto typeName = reinterpret_cast<TypeName>(dlsym(RTLD_DEFAULT, "g_type_name_from_instance"));
    auto respond = reinterpret_cast<Respond>(dlsym(RTLD_DEFAULT, "gtk_dialog_response"));
    if (!listToplevels || !freeList || !typeName || !respond) return;
    List* windows = listToplevels();
    for (List* item = windows; item != nullptr; item = item->next) {
      if (std::string(typeName(item->data)) == "GtkFileChooserDialog")
        respond(item->data, kResponseCancel);
    }
    freeList(windows);
  }

  // The whole screen, cut to the box of everything that is not the black
  // background of the virtual display.
  static bool SaveScreenContents(const std::string& png) {
    const wxSize size = wxGetDisplaySize();
    wxBitmap shot(size.x, size.y, 24);
    {
      wxMemoryDC memory(shot);
      wxScreenDC screen;
      if (!memory.Blit(0, 0, size.x, size.y, &screen, 0, 0)) return false;
    }
    wxImage image = shot.ConvertToImage();
    int left = size.x, top = size.y, right = -1, bottom = -1;
    for (int y = 0; y < size.y; ++y) {
      for (int x = 0; x < size.x; ++x) {
        if (image.GetRed(x, y) + image.GetGreen(x, y) + image.GetBlue(x, y) == 0) continue;
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
      }
    }
    if (right < left) return false;
    if (wxImage::FindHandler(wxBITMAP_TYPE_PNG) == nullptr) wxImage::AddHandler(new wxPNGHandler);
    return image.GetSubImage(wxRect(left, top, right - left + 1, bottom - top + 1))
        .SaveFile(ToWx(png), wxBITMAP_TYPE_PNG);
  }

  std::deque<std::string> m_files;
  std::string m_photograph;
  bool m_photographed = false;
  bool m_dialogOpen = false;
};

class Session {
 public:
  Session(SessionHost& host, PDBGenerator& sheet, wxDialog& window, std::string folder,
          std::string work)
      : m_host(host),
        m_sheet(sheet),
        m_window(window),
        m_folder(std::move(folder)),
        m_work(std::move(work)),
        m_generator(dynamic_cast<MakePDB&>(sheet.GeneratorPage())),
        m_viewer(dynamic_cast<PDBView&>(sheet.ViewerPage())) {}

  bool Run() {
    const std::string& work = m_work;
    std::filesystem::create_directories(work + "/Databases");
    std::filesystem::create_directories(work + "/Palm");
    for (const char* name : {"Northwind.mdb", "DateTest.mdb"}) {
      std::filesystem::copy_file(kFixtures + "/" + name, work + "/Databases/" + name,
                                 std::filesystem::copy_options::overwrite_existing);
    }
    const std::string northwind = work + "/Databases/Northwind.mdb";
    const std::string palm = work + "/Palm";

    // The generator page: Northwind's customers, five fields, previewed and generated.
    Check(ConnectTo(northwind), "connected to Northwind.mdb");
    Check(HighlightTable("Customers"), "Customers highlighted");
    ListBox selected = m_generator.GetListBox(g::kSelectedFields);
    for (const char* field : {"ContactTitle", "Address", "Region", "PostalCode", "Phone", "Fax"}) {
      const int index = selected.FindExact(field);
      if (index >= 0) selected.SetSelected(index);
    }
    Press(m_generator, g::kRemoveFields, Notification::Clicked);
    Check(m_generator.GetEdit(g::kQuery).GetText() ==
              "SELECT    CustomerID , CompanyName , ContactName , City , Country FROM  Customers",
          "query composed from the fields");
    Press(m_generator, g::kFetch, Notification::Clicked);
    Check(m_generator.GetListView(g::kPreviewList).GetRowCount() == 91, "91 customers previewed");
    m_generator.GetEdit(g::kOutputFolder).SetText(palm);
    Press(m_generator, g::kGenerate, Notification::Clicked);
    Check(!m_host.messages.empty() &&
              m_host.messages.back().rfind("PDB \"Customers.pdb\" Generated At ", 0) == 0,
          "Customers.pdb generated");
    m_generator.GetListBox(g::kAvailableFields).SetSelected(0);
    Check(Photograph("PDBGen"), "PDBGen.jpg");

    // The viewer page: the Helper file, then the database.
    m_sheet.SetActivePage(1);
    Settle();
    Check(HasFocus(v::kSelectHelper), "the viewer page starts with the focus on Select");
    Check(ShowDatabase(palm + "/CustomersHelper.mhl", palm + "/Customers.pdb"),
          "Customers.pdb viewed");
    Check(m_viewer.GetEdit(v::kTotalRecords).GetText() == "91", "91 records shown");
    // Stored in Windows-1252 (the generator's default), shown back as it was.
    Check(m_viewer.GetListView(v::kRecordList).GetCellText(4, 3) == "Lule\xC3\xA5",
          "BERGS's city shown as Lule\xC3\xA5");
    Check(Photograph("PDBView"), "PDBView.jpg");

    // The file dialog of "&Browse", opened in the folder of the databases.
    m_sheet.SetActivePage(0);
    {
      WorkingFolderGuard back;
      ChangeWorkingFolder(work + "/Databases");
      m_host.PhotographNextFileDialog(m_folder + "/browse.png");
      m_host.AnswerFile(northwind);
      Press(m_generator, g::kBrowse, Notification::Clicked);
    }
    Check(m_host.DialogPhotographed() && ToJpeg("browse"), "browse.jpg");

    Measure(work);
    return m_failed == 0;
  }

 private:
  void Check(bool held, const std::string& what) {
    std::cout << (held ? "ok: " : "FAIL: ") << what << '\n';
    if (!held) ++m_failed;
  }

  // A notification as a click sends it, then the event loop runs as it does
  // between two clicks of a user (windows closed by the handler go).
  static void Press(DialogWindow& page, int id, Notification code) {
    page.SendCommand(id, code);
    Settle();
  }
  static void Settle() {
    for (int i = 0; i < 5; ++i) wxYield();
  }

  bool ConnectTo(const std::string& path) {
    m_host.AnswerFile(path);
    Press(m_generator, g::kBrowse, Notification::Clicked);
    return m_generator.IsConnected();
  }

  bool HighlightTable(const std::string& name) {
    ListBox tables = m_generator.GetListBox(g::kTableList);
    const int index = tables.FindExact(name);
    if (index < 0) return false;
    tables.SetSelected(-1, false);
    tables.SetSelected(index);
    Press(m_generator, g::kTableList, Notification::SelectionChange);
    return true;
  }

  bool ShowDatabase(const std::string& helper, const std::string& pdb) {
    const std::size_t before = m_host.messages.size();
    m_host.AnswerFile(helper);
    Press(m_viewer, v::kSelectHelper, Notification::Clicked);
    m_host.AnswerFile(pdb);
    Press(m_viewer, v::kBrowsePdb, Notification::Clicked);
    return m_host.messages.size() == before;
  }

  bool HasFocus(int id) const {
    auto* book = dynamic_cast<wxPropertySheetDialog&>(m_window).GetBookCtrl();
    wxWindow* control = wxWindow::FindWindowById(id, book);
    return control != nullptr && wxWindow::FindFocus() == control;
  }

  // Paints the list at once: the moment it is on the screen with its rows.
  void PaintList(int id) {
    auto* book = dynamic_cast<wxPropertySheetDialog&>(m_window).GetBookCtrl();
    wxWindow* list = wxWindow::FindWindowById(id, book);
    if (list == nullptr) return;
    list->Refresh();
    list->Update();
    for (wxWindow* child : list->GetChildren()) child->Update();
  }

  bool Photograph(const std::string& name) {
    return SaveWindowScreenshot(m_window, m_folder + "/" + name + ".png") && ToJpeg(name);
  }

  bool ToJpeg(const std::string& name) {
    const std::string png = m_folder + "/" + name + ".png";
    const std::string jpg = m_folder + "/" + name + ".jpg";
    return SavePictureAsJpeg(png, jpg);
  }

  // 65,535 rows x 8 columns: from the end of the reading (the wait window
  // goes) to the list painted on the screen.
  void Measure(const std::string& work) {
    const std::string big = work + "/Databases/big.db";
    std::filesystem::remove(big);
    testing::RunSqliteScript(big, R"(
CREATE TABLE big(id INTEGER, name VARCHAR(30), city VARCHAR(20), amount DOUBLE, qty SMALLINT,
                 day DATE, stamp TIMESTAMP, note TEXT);
WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE x < 65535)
INSERT INTO big SELECT x, 'Customer ' || x, 'City ' || (x % 97), x * 1.25, x % 1000,
  date('2000-01-01', '+' || (x % 3650) || ' days'), datetime('2000-01-01 00:00:00', '+' || x || ' minutes'),
  'note ' || x FROM c;
)");
    std::ostringstream report;
    Check(ConnectTo(big) && HighlightTable("big"), "connected to big.db");

    const std::size_t messages = m_host.messages.size();
    const auto pressed = Clock::now();
    m_generator.SendCommand(g::kFetch, Notification::Clicked);
    const auto handled = Clock::now();
    PaintList(g::kPreviewList);
    const auto painted = Clock::now();
    Settle();
    ListView preview = m_generator.GetListView(g::kPreviewList);
    Check(preview.GetRowCount() == 65535 && preview.GetColumnCount() == 8,
          "65535 x 8 rows previewed");
    Check(m_host.messages.size() == messages, "no row-limit notice for exactly 65535 rows");
    report << "preview 65535 x 8: rows read in "
           << Milliseconds(m_host.waitOpened, m_host.waitClosed) << " ms; list on screen "
           << Milliseconds(m_host.waitClosed, painted)
           << " ms after the reading ended (handler returned after "
           << Milliseconds(m_host.waitClosed, handled) << " ms; press to paint "
           << Milliseconds(pressed, painted) << " ms)\n";

    m_generator.GetEdit(g::kOutputFolder).SetText(work + "/Palm");
    Press(m_generator, g::kGenerate, Notification::Clicked);
    Check(m_host.messages.back().rfind("PDB \"big.pdb\" Generated At ", 0) == 0,
          "big.pdb generated");
    report << "generate 65535 records: " << Milliseconds(m_host.waitOpened, m_host.waitClosed)
           << " ms\n";

    m_sheet.SetActivePage(1);
    m_host.AnswerFile(work + "/Palm/bigHelper.mhl");
    Press(m_viewer, v::kSelectHelper, Notification::Clicked);
    m_host.AnswerFile(work + "/Palm/big.pdb");
    const std::size_t beforeView = m_host.messages.size();
    const auto browse = Clock::now();
    m_viewer.SendCommand(v::kBrowsePdb, Notification::Clicked);
    const auto viewHandled = Clock::now();
    PaintList(v::kRecordList);
    const auto viewPainted = Clock::now();
    Settle();
    Check(m_host.messages.size() == beforeView, "big.pdb viewed");
    Check(m_viewer.GetListView(v::kRecordList).GetRowCount() == 65535, "65535 records listed");
    report << "viewer 65535 records x 8 fields: read and decoded in "
           << Milliseconds(m_host.waitOpened, m_host.waitClosed) << " ms; list on screen "
           << Milliseconds(m_host.waitClosed, viewPainted)
           << " ms after the reading ended (handler returned after "
           << Milliseconds(m_host.waitClosed, viewHandled) << " ms; press to paint "
           << Milliseconds(browse, viewPainted) << " ms)\n";
    Check(Photograph("viewer_65535"), "viewer_65535.jpg");
    m_sheet.SetActivePage(0);
    Check(Photograph("preview_65535"), "preview_65535.jpg");

    std::cout << report.str();
    std::ofstream(m_folder + "/timings.txt") << report.str();
  }

  SessionHost& m_host;
  PDBGenerator& m_sheet;
  wxDialog& m_window;
  std::string m_folder;
  std::string m_work;
  MakePDB& m_generator;
  PDBView& m_viewer;
  int m_failed = 0;
};

class PagesOnScreenApp : public wxApp {
 public:
  bool OnInit() override {
    if (argc < 2 || argc > 3) {
      std::cerr << "usage: pages_on_screen <folder> [<work folder>]\n";
      return false;
    }
    m_folder = FromWx(argv[1]);
    m_work = argc == 3 ? FromWx(argv[2]) : m_folder + "/work";
    return true;
  }

  int OnRun() override {
    InstallFatalAssertHandler();
    std::cout << std::unitbuf;
    testing::PrivateOdbc::Get();  // never the user's own ODBC configuration
    std::filesystem::create_directories(m_folder);
    SessionHost host;
    PDBGenerator sheet(host);
    int status = 1;
    host.CallWhenSheetShown([&](wxDialog& window) {
      status = Session(host, sheet, window, m_folder, m_work).Run() ? 0 : 1;
      sheet.EndDialog(kIdCancel);
    });
    sheet.DoModal(host);
    return status;
  }

 private:
  std::string m_folder;
  std::string m_work;  // the databases and generated files (their paths show in the pictures)
};

}  // namespace
}  // namespace tallowick

wxIMPLEMENT_APP(tallowick::PagesOnScreenApp);
