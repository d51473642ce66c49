#include "ui/wx/wx_host.h"

#include <wx/app.h>
#include <wx/dialog.h>
#include <wx/dirdlg.h>
#include <wx/filedlg.h>
#include <wx/frame.h>
#include <wx/panel.h>
#include <wx/toplevel.h>
#include <wx/utils.h>

#include "ui/dialog.h"
#include "ui/file_filter.h"
#include "ui/property_page.h"
#include "ui/property_sheet.h"
#include "ui/standard_ids.h"
#include "ui/wx/desktop_opener.h"
#include "ui/wx/wx_message_box.h"
#include "ui/wx/wx_sheet.h"
#include "ui/wx/wx_text.h"
#include "ui/wx/wx_window_peer.h"

namespace tallowick {
namespace {

int ResultOf(int wxResult) {
  switch (wxResult) {
    case wxID_OK:
      return kIdOk;
    case wxID_YES:
      return kIdYes;
    case wxID_NO:
      return kIdNo;
    default:
      return kIdCancel;
  }
}

// The filter text in wx's form, each pattern matching either letter case.
wxString WildcardOf(const std::string& filter) {
  wxString wildcard;
  for (const FileFilterEntry& entry : ParseFileFilter(filter)) {
    std::string patterns;
    for (const std::string& pattern : entry.patterns) {
      if (!patterns.empty()) patterns += ';';
      patterns += CaseInsensitivePattern(pattern);
    }
    if (!wildcard.empty()) wildcard += '|';
    wildcard += ToWx(entry.description) + '|' + ToWx(patterns);
  }
  return wildcard.empty() ? wxString(wxFileSelectorDefaultWildcardStr) : wildcard;
}

// A window destroyed a moment ago (a wait window that is gone) stays hidden
// in wx's list of windows to delete until the event loop is idle again; a
// window made its child then would be deleted with it.
bool CanOwn(wxWindow* window) {
  return window != nullptr && !window->IsBeingDeleted() && !wxPendingDelete.Member(window) &&
         window->IsShown();
}

// The wait window, which handles nothing.
class WaitDialog : public DialogWindow {
 public:
  explicit WaitDialog(const DialogTemplate& layout) : DialogWindow(layout) {}
};

class WxWaitWindow : public WaitWindow {
 public:
  WxWaitWindow(Host& host, const DialogTemplate& layout) : m_owner(layout) {
    m_window = new wxDialog(CurrentOwnerWindow(), wxID_ANY, wxString(), wxDefaultPosition,
                            wxDefaultSize, wxBORDER_RAISED | wxFRAME_NO_TASKBAR | wxSTAY_ON_TOP);
    auto* panel = new wxPanel(m_window, wxID_ANY);
    m_peer = std::make_unique<WxWindowPeer>(m_owner, layout, panel);
    m_window->SetClientSize(m_peer->ClientSize());
    m_owner.AttachPeer(*m_peer, host);
    m_window->CentreOnScreen();
    m_window->Show();
    // Let the window appear and paint before the long work blocks the loop;
    // only the wait window takes input meanwhile.
    for (int i = 0; i < 50 && !m_window->IsShownOnScreen(); ++i) {
      wxSafeYield(m_window, true);
      wxMilliSleep(2);
    }
    wxSafeYield(m_window, true);
    m_window->Update();
  }

  ~WxWaitWindow() override {
    m_owner.DetachPeer();
    m_peer->OwnerGone();
    m_window->Destroy();  // hidden at once, deleted when the loop is idle again
    m_peer.reset();
  }

 private:
  WaitDialog m_owner;
  wxDialog* m_window = nullptr;
  std::unique_ptr<WxWindowPeer> m_peer;
};

}  // namespace

wxWindow* CurrentOwnerWindow() {
  wxWindow* active = wxGetActiveWindow();
  // A window that cannot own passes the part to the window it belongs to.
  for (wxWindow* top = active != nullptr ? wxGetTopLevelParent(active) : nullptr; top != nullptr;
       top = top->GetParent() != nullptr ? wxGetTopLevelParent(top->GetParent()) : nullptr) {
    if (CanOwn(top)) return top;
  }
  wxWindow* program = wxTheApp != nullptr ? wxTheApp->GetTopWindow() : nullptr;
  return CanOwn(program) ? program : nullptr;
}

WxHost::WxHost() = default;
WxHost::~WxHost() = default;

int WxHost::ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon,
                        MessageButtons buttons) {
  return ResultOf(RunMessageBox(CurrentOwnerWindow(), text, caption, icon, buttons));
}

std::optional<std::string> WxHost::ChooseFile(const FileDialogOptions& options) {
  // A pattern given as initial name ("*Helper.mhl") is a filter, not a name.
  const bool namePattern = options.initialName.find_first_of("*?") != std::string::npos;
  wxFileDialog dialog(
      CurrentOwnerWindow(),
      options.title.empty() ? wxString(wxFileSelectorPromptStr) : ToWx(options.title),
      ToWx(options.initialFolder), namePattern ? wxString() : ToWx(options.initialName),
      WildcardOf(options.filter), wxFD_OPEN | wxFD_FILE_MUST_EXIST);
  if (dialog.ShowModal() != wxID_OK) return std::nullopt;
  return FromWx(dialog.GetPath());
}

std::optional<std::string> WxHost::ChooseFolder(const std::string& title) {
  wxDirDialog dialog(CurrentOwnerWindow(), ToWx(title), wxString(),
                     wxDD_DEFAULT_STYLE | wxDD_DIR_MUST_EXIST);
  if (dialog.ShowModal() != wxID_OK) return std::nullopt;
  std::string path = FromWx(dialog.GetPath());
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

std::unique_ptr<WaitWindow> WxHost::ShowWaitWindow(const DialogTemplate& layout) {
  return std::make_unique<WxWaitWindow>(*this, layout);
}

bool WxHost::OpenWithDesktop(const std::string& path) {
#ifdef __UNIX__
  return OpenWithDesktopProgram(path);
#else
  return wxLaunchDefaultApplication(ToWx(path));
#endif
}

int WxHost::RunModal(Dialog& dialog) {
  const DialogTemplate& layout = dialog.Template();
  auto* window =
      new wxDialog(CurrentOwnerWindow(), wxID_ANY, ToWx(layout.caption), wxDefaultPosition,
                   wxDefaultSize, wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX);
  // The controls go on a panel that fills the dialog (keyboard navigation, background).
  auto* panel = new wxPanel(window, wxID_ANY);
  auto peer = std::make_unique<WxWindowPeer>(dialog, layout, panel);
  window->SetClientSize(peer->ClientSize());
  dialog.AttachPeer(*peer, *this);
  // Escape and the close box are the Cancel command.
  window->Bind(wxEVT_CHAR_HOOK, [&dialog](wxKeyEvent& event) {
    if (event.GetKeyCode() == WXK_ESCAPE) {
      dialog.SendCommand(kIdCancel, Notification::Clicked);
      return;
    }
    event.Skip();
  });
  window->Bind(wxEVT_CLOSE_WINDOW, [&dialog, window](wxCloseEvent& event) {
    if (window->IsModal()) {
      dialog.SendCommand(kIdCancel, Notification::Clicked);
      if (window->IsModal()) event.Veto();
    } else {
      event.Skip();
    }
  });
  dialog.OnInitDialog();
  if (layout.centred) window->CentreOnScreen();
  window->CallAfter([&peer] { peer->TakePendingFocus(); });
  const int result = window->ShowModal();
  dialog.DetachPeer();
  peer->OwnerGone();
  delete window;  // at once: no later event may reach the dialog object
  peer.reset();
  return result;
}

int WxHost::RunModal(PropertySheet& sheet) {
  WxSheet shown(sheet, *this, CurrentOwnerWindow());
  for (PropertyPage* page : sheet.Pages()) page->OnInitDialog();
  sheet.OnInitDialog();
  wxPropertySheetDialog& dialog = shown.Dialog();
  dialog.Centre();
  dialog.CallAfter([&shown] { shown.TakeActivePageFocus(); });
  if (m_sheetShown) {
    dialog.CallAfter([this, &dialog] {
      auto action = std::move(m_sheetShown);
      m_sheetShown = nullptr;
      action(dialog);
    });
  }
  return dialog.ShowModal();
}

void WxHost::CallWhenSheetShown(std::function<void(wxDialog&)> action) {
  m_sheetShown = std::move(action);
}

}  // namespace tallowick
