#include "tests/app/sheet_smoke_run.h"

#include <wx/app.h>
#include <wx/bookctrl.h>
#include <wx/combobox.h>
#include <wx/dialog.h>
#include <wx/display.h>
#include <wx/image.h>
#include <wx/propdlg.h>
#include <wx/statbmp.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/toplevel.h>
#include <wx/utils.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <functional>
#include <memory>
#include <vector>

#include "app/pdb_generator.h"
#include "resources/dialog_templates.h"
#include "resources/resource_ids.h"
#include "tests/support/smoke_report.h"
#include "ui/dialog.h"
#include "ui/list_view_table.h"
#include "ui/property_page.h"
#include "ui/wx/wx_host.h"
#include "ui/wx/wx_images.h"
#include "ui/wx/wx_screenshot.h"
#include "ui/wx/wx_text.h"

namespace tallowick {
namespace {

// A static text or group box below `parent` with this label.
bool HasStaticLabel(wxWindow* parent, const std::string& label, ControlKind kind) {
  for (wxWindow* child : parent->GetChildren()) {
    const bool rightKind = kind == ControlKind::GroupBox
                               ? wxDynamicCast(child, wxStaticBox) != nullptr
                               : wxDynamicCast(child, wxStaticText) != nullptr;
    if (rightKind && FromWx(child->GetLabel()) == label) return true;
    if (HasStaticLabel(child, label, kind)) return true;
  }
  return false;
}

void CheckPage(SmokeReport& report, PropertyPage& page, wxWindow* panel) {
  const DialogTemplate& layout = page.Template();
  const std::string name = "page " + std::to_string(layout.id) + " ";
  const wxSize area = panel->GetClientSize();
  for (const ControlTemplate& control : layout.controls) {
    if (control.id != kIdStatic) {
      const bool present = page.HasItem(control.id);
      report.Check(present, name + "has control " + std::to_string(control.id));
      if (!present) continue;
      const Control item = page.GetItem(control.id);
      report.Check(item.Kind() == control.kind, name + "control " + std::to_string(control.id) +
                                                    " is a " + ControlKindName(control.kind));
      if (control.kind == ControlKind::PushButton || control.kind == ControlKind::Label) {
        report.Check(
            item.GetText() == control.text,
            name + "control " + std::to_string(control.id) + " reads \"" + control.text + "\"");
      }
    } else if (!control.text.empty() &&
               (control.kind == ControlKind::Label || control.kind == ControlKind::GroupBox)) {
      report.Check(HasStaticLabel(panel, control.text, control.kind),
                   name + "shows \"" + control.text + "\"");
    }
  }
  // Every control lies inside the page.
  for (wxWindow* child : panel->GetChildren()) {
    const wxRect rect = child->GetRect();
    report.Check(rect.GetRight() < area.x && rect.GetBottom() < area.y,
                 name + "control \"" + FromWx(child->GetLabel()) + "\" lies inside the page");
  }
}

std::vector<std::string> SetLabels() {
  return {"Western (Windows-1252)",     "Japanese (Shift-JIS)", "Simplified Chinese (GB2312)",
          "Traditional Chinese (Big5)", "Korean (EUC-KR)",      "UTF-8 (no conversion)"};
}

// The static control directly on `panel` with this label and kind, or null.
wxWindow* StaticControl(wxWindow* panel, const std::string& label, ControlKind kind) {
  for (wxWindow* child : panel->GetChildren()) {
    const bool rightKind = kind == ControlKind::GroupBox
                               ? wxDynamicCast(child, wxStaticBox) != nullptr
                               : wxDynamicCast(child, wxStaticText) != nullptr;
    if (rightKind && FromWx(child->GetLabel()) == label) return child;
  }
  return nullptr;
}

// A character-set list: its entries in order, the one chosen at start-up,
// not editable, and (with its label) inside its group, clear of every other
// control as the theme sizes them (ViewLog too, which shows later).
void CheckCharsetList(SmokeReport& report, PropertyPage& page, wxWindow* panel, int id,
                      const std::vector<std::string>& entries, const std::string& label,
                      const std::string& group) {
  const std::string name =
      "page " + std::to_string(page.TemplateId()) + " list " + std::to_string(id) + " ";
  if (!page.HasItem(id)) return;  // reported by CheckPage
  const ComboBox list = page.GetComboBox(id);
  std::vector<std::string> shown;
  for (int i = 0; i < list.GetCount(); ++i) shown.push_back(list.GetEntry(i));
  report.Check(shown == entries,
               name + "lists its " + std::to_string(entries.size()) + " entries in order");
  report.Check(list.GetCurSel() == 0 && list.GetText() == entries.front(),
               name + "starts on \"" + entries.front() + "\"");
  auto* combo = wxDynamicCast(panel->FindWindow(id), wxComboBox);
  report.Check(combo != nullptr && combo->HasFlag(wxCB_READONLY), name + "takes no typing");
  wxWindow* labelWindow = StaticControl(panel, label, ControlKind::Label);
  wxWindow* groupWindow = StaticControl(panel, group, ControlKind::GroupBox);
  if (combo == nullptr || labelWindow == nullptr || groupWindow == nullptr) {
    report.Check(false, name + "has its label \"" + label + "\" and its group \"" + group + "\"");
    return;
  }
  for (wxWindow* placed : {static_cast<wxWindow*>(combo), labelWindow}) {
    const wxRect rect = placed->GetRect();
    const std::string what = placed == combo ? name : name + "label ";
    report.Check(groupWindow->GetRect().Contains(rect), what + "lies inside \"" + group + "\"");
    for (wxWindow* other : panel->GetChildren()) {
      if (other == combo || other == labelWindow || wxDynamicCast(other, wxStaticBox) != nullptr)
        continue;
      report.Check(!other->GetRect().Intersects(rect), what + "is clear of \"" +
                                                           FromWx(other->GetLabel()) + "\" (" +
                                                           std::to_string(other->GetId()) + ")");
    }
  }
}

// "r<row>c<column>", built by appending: GCC 12 at -O3 misreads the
// literal-plus-temporary form as an overlapping copy (-Wrestrict).
std::string CellText(int row, int column) {
  std::string text("r");
  text.append(std::to_string(row)).append("c").append(std::to_string(column));
  return text;
}

// A dialog on one of the templates, photographed and closed.
class DialogProbe : public Dialog {
 public:
  DialogProbe(int templateId, std::string path, bool& saved)
      : Dialog(res::DialogTemplateOf(templateId)), m_path(std::move(path)), m_saved(saved) {}
  bool OnInitDialog() override {
    Dialog::OnInitDialog();
    CallAfter();
    return true;
  }

 private:
  void CallAfter() {
    wxTheApp->CallAfter([this] {
      // The modal window with this dialog's caption (with a window manager
      // the active window may still be the sheet).
      wxWindow* window = nullptr;
      for (wxWindow* top : wxTopLevelWindows) {
        auto* dialog = wxDynamicCast(top, wxDialog);
        if (dialog != nullptr && dialog->IsModal() &&
            FromWx(dialog->GetTitle()) == Template().caption)
          window = dialog;
      }
      if (window != nullptr) m_saved = SaveWindowScreenshot(*window, m_path);
      EndDialog(kIdCancel);
    });
  }
  std::string m_path;
  bool& m_saved;
};

}  // namespace

bool RunSmokeChecks(WxHost& host, PDBGenerator& sheet, wxDialog& window,
                    const std::string& folder) {
  SmokeReport report;
  auto* dialog = wxDynamicCast(&window, wxPropertySheetDialog);
  report.Check(dialog != nullptr, "the sheet is a property sheet dialog");
  if (dialog == nullptr) return report.Write(folder + "/report.txt") && false;
  wxBookCtrlBase* book = dialog->GetBookCtrl();

  report.Check(FromWx(window.GetTitle()) == "Tallowick", "the title bar reads Tallowick");
  report.Check(book->GetPageCount() == 2, "the sheet has two tabs");
  if (book->GetPageCount() == 2) {
    report.Check(FromWx(book->GetPageText(0)) == "PDB Generator", "the first tab is PDB Generator");
    report.Check(FromWx(book->GetPageText(1)) == "PDB Viewer", "the second tab is PDB Viewer");
  }
  report.Check(book->GetSelection() == 0, "the sheet opens on the first tab");
  wxWindow* ok = window.FindWindow(wxID_OK);
  wxWindow* cancel = window.FindWindow(wxID_CANCEL);
  wxWindow* help = window.FindWindow(wxID_HELP);
  report.Check(ok == nullptr || !ok->IsShown(), "OK is hidden");
  report.Check(window.FindWindow(wxID_APPLY) == nullptr, "there is no Apply button");
  report.Check(cancel != nullptr && cancel->IsShown() && FromWx(cancel->GetLabel()) == "&Close",
               "the Cancel button reads &Close");
  report.Check(help != nullptr && help->IsShown() && FromWx(help->GetLabel()) == "He&lp",
               "the Help button reads He&lp");
  report.Check(window.GetIcon().IsOk(), "the sheet carries the program icon");

  {
    // The whole window, frame included, fits a laptop's screen: within
    // 1300 x 720 and inside the display's work area (panels excluded).
    const wxRect frame = window.GetScreenRect();
    const int display = wxDisplay::GetFromWindow(&window);
    const wxRect work = wxDisplay(display == wxNOT_FOUND ? 0u : unsigned(display)).GetClientArea();
    const std::string size = std::to_string(frame.width) + " x " + std::to_string(frame.height);
    report.Check(frame.width <= 1300 && frame.height <= 720,
                 "the sheet is " + size + ", within 1300 x 720");
    report.Check(work.Contains(frame),
                 "the sheet (" + size + " at " + std::to_string(frame.x) + ", " +
                     std::to_string(frame.y) + ") lies inside the work area " +
                     std::to_string(work.width) + " x " + std::to_string(work.height));
    report.Check(window.HasFlag(wxRESIZE_BORDER) && window.GetMinSize().x <= frame.width &&
                     window.GetMinSize().y <= frame.height,
                 "the sheet can be resized, not below its first size");
  }

  const std::vector<std::pair<PropertyPage*, std::string>> pages = {
      {&sheet.GeneratorPage(), "generator.png"}, {&sheet.ViewerPage(), "viewer.png"}};
  for (std::size_t i = 0; i < pages.size() && i < book->GetPageCount(); ++i) {
    book->SetSelection(i);
    CheckPage(report, *pages[i].first, book->GetPage(i));
    if (i == 0) {
      CheckCharsetList(report, *pages[i].first, book->GetPage(i), res::generator::kHandheldCharset,
                       SetLabels(), "Handheld text :", "Generate PDB");
    } else {
      std::vector<std::string> textAs = SetLabels();
      textAs.insert(textAs.begin(), "Automatic");
      CheckCharsetList(report, *pages[i].first, book->GetPage(i), res::viewer::kTextAs, textAs,
                       "Text as :", "PDB Inforamtion");
    }
    report.Check(SaveWindowScreenshot(window, folder + "/" + pages[i].second),
                 "screenshot " + pages[i].second);
    if (i == 1) {
      // The focus the viewer asks for when it starts is there once its tab shows.
      wxWindow* focused = wxWindow::FindFocus();
      report.Check(focused != nullptr && focused->GetId() == res::viewer::kSelectHelper,
                   "the viewer's focus is on &Select");
    }
  }
  {
    // Enlarged: the lists take the room, the buttons beside them move along.
    wxWindow* list = book->GetPage(1)->FindWindow(res::viewer::kRecordList);
    wxWindow* select = book->GetPage(1)->FindWindow(res::viewer::kSelectHelper);
    wxWindow* page = book->GetPage(1);
    const wxRect first = window.GetRect();
    const wxSize pageBefore = page->GetSize();
    const wxRect listBefore = list != nullptr ? list->GetRect() : wxRect();
    const wxRect selectBefore = select != nullptr ? select->GetRect() : wxRect();
    const wxRect work = wxDisplay(0u).GetClientArea();
    window.SetSize(work.x, work.y, std::min(first.width + 200, work.width),
                   std::min(first.height + 80, work.height));
    for (int i = 0; i < 50 && page->GetSize() == pageBefore; ++i) {
      wxYield();
      wxMilliSleep(10);
    }
    const wxSize grown = page->GetSize() - pageBefore;
    report.Check(grown.x > 0 && grown.y > 0, "the sheet can be enlarged");
    report.Check(list != nullptr && list->GetSize() - listBefore.GetSize() == grown,
                 "enlarged, the viewer's list takes the extra room");
    report.Check(select != nullptr && select->GetSize() == selectBefore.GetSize() &&
                     select->GetPosition() - selectBefore.GetPosition() == wxPoint(grown.x, 0),
                 "enlarged, Select keeps its size and moves along");
    report.Check(SaveWindowScreenshot(window, folder + "/viewer_enlarged.png"),
                 "screenshot viewer_enlarged.png");
    window.SetSize(first);
    wxYield();
  }
  book->SetSelection(0);

  {
    // The preview filled with the most rows a PDB can hold: a virtual list shows them at once.
    auto table = std::make_shared<ListViewTable>();
    for (int c = 0; c < 8; ++c) table->AddColumn("Field" + std::to_string(c + 1));
    table->ReserveRows(65535);
    for (int r = 0; r < 65535; ++r) {
      std::vector<std::string> cells;
      for (int c = 0; c < 8; ++c) cells.push_back(CellText(r + 1, c + 1));
      table->AddRow(std::move(cells));
    }
    ListView preview = sheet.GeneratorPage().GetListView(res::generator::kPreviewList);
    const auto start = std::chrono::steady_clock::now();
    preview.SetModel(table);
    const auto shownIn = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - start);
    report.Check(shownIn.count() < 1000, "65535 x 8 rows shown in the preview in " +
                                             std::to_string(shownIn.count()) + " ms");
    report.Check(preview.GetRowCount() == 65535, "the preview holds 65535 rows");
    report.Check(SaveWindowScreenshot(window, folder + "/generator_rows.png"),
                 "screenshot generator_rows.png");
    preview.Clear();
  }

  {
    // The wait window must be painted by the time ShowWaitWindow returns,
    // before any further event processing.
    auto wait = host.ShowWaitWindow(res::DialogTemplateOf(res::kWaitDialog));
    wxWindow* shown = nullptr;
    for (wxWindow* top : wxTopLevelWindows) {
      auto* frame = wxDynamicCast(top, wxTopLevelWindow);
      if (top != &window && top->IsShown() && frame != nullptr && frame->GetTitle().empty())
        shown = top;
    }
    report.Check(shown != nullptr, "the wait window is shown");
    if (shown != nullptr) {
      report.Check(HasStaticLabel(shown, "Please   Wait..........", ControlKind::Label),
                   "the wait window reads Please   Wait..........");
      report.Check(SaveWindowScreenshot(*shown, folder + "/wait.png"), "screenshot wait.png");
    }
  }

  const std::pair<int, std::string> dialogs[] = {{res::kLoginDialog, "login.png"},
                                                 {res::kWelcomeDialog, "welcome.png"},
                                                 {res::kDestinationDialog, "destination.png"}};
  for (const auto& [templateId, picture] : dialogs) {
    bool saved = false;
    DialogProbe probe(templateId, folder + "/" + picture, saved);
    report.Check(probe.DoModal(host) == kIdCancel,
                 "dialog " + std::to_string(templateId) + " ends with Cancel");
    report.Check(saved, "screenshot " + picture);
  }

  {
    // A message box shows its icon's picture beside the text.
    bool saved = false;
    bool pictured = false;
    wxTheApp->CallAfter([&] {
      for (wxWindow* top : wxTopLevelWindows) {
        auto* box = wxDynamicCast(top, wxDialog);
        if (box == nullptr || !box->IsModal() || FromWx(box->GetTitle()) != "Tallowick") continue;
        if (box == &window) continue;
        for (wxWindow* child : box->GetChildren())
          pictured = pictured || wxDynamicCast(child, wxStaticBitmap) != nullptr;
        saved = SaveWindowScreenshot(*box, folder + "/message.png");
        box->EndModal(wxID_OK);
      }
    });
    static_cast<Host&>(host).ShowMessage("Unable To Connect The Database", "Tallowick",
                                         MessageIcon::Stop);
    report.Check(pictured, "the stop message shows a picture");
    report.Check(saved, "screenshot message.png");
  }

  // The program icon, enlarged for a person to look at.
  const wxBitmap icon = ImageBitmap(res::kProgramIcon);
  report.Check(icon.IsOk() && icon.GetWidth() == 32 && icon.GetHeight() == 32,
               "the program icon is 32 x 32");
  if (icon.IsOk())
    icon.ConvertToImage().Scale(128, 128).SaveFile(ToWx(folder + "/icon.png"), wxBITMAP_TYPE_PNG);

  const bool written = report.Write(folder + "/report.txt");
  return written && report.AllHeld();
}

}  // namespace tallowick
