#include "ui/wx/wx_sheet.h"

#include <wx/bookctrl.h>
#include <wx/button.h>
#include <wx/panel.h>
#include <wx/sizer.h>

#include "ui/property_page.h"
#include "ui/standard_ids.h"
#include "ui/wx/wx_images.h"
#include "ui/wx/wx_text.h"

namespace tallowick {
namespace {

ControlTemplate ButtonTemplate(int id) {
  ControlTemplate button;
  button.id = id;
  button.kind = ControlKind::PushButton;
  return button;
}

}  // namespace

WxSheet::WxSheet(PropertySheet& owner, Host& host, wxWindow* parent) : m_owner(&owner) {
  m_dialog = new wxPropertySheetDialog(parent, wxID_ANY, ToWx(owner.Caption()), wxDefaultPosition,
                                       wxDefaultSize, wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER);
  if (owner.IconId() != 0) m_dialog->SetIcon(ImageIcon(owner.IconId()));
  m_dialog->CreateButtons(wxOK | wxCANCEL | (owner.HasHelp() ? wxHELP : 0));

  wxBookCtrlBase* book = m_dialog->GetBookCtrl();
  for (PropertyPage* page : owner.Pages()) {
    auto* panel = new wxPanel(book, wxID_ANY);
    auto peer = std::make_unique<WxWindowPeer>(*page, page->Template(), panel);
    panel->SetMinSize(peer->ClientSize());
    panel->SetSize(peer->ClientSize());
    book->AddPage(panel, ToWx(page->Caption()));
    page->AttachPeer(*peer, host);
    m_pages.push_back(std::move(peer));
  }

  const std::pair<int, wxWindowID> buttons[] = {
      {kIdOk, wxID_OK}, {kIdCancel, wxID_CANCEL}, {kIdHelp, wxID_HELP}};
  for (const auto& [id, wxId] : buttons) {
    wxWindow* button = m_dialog->FindWindow(wxId);
    if (button != nullptr)
      m_buttons[id] = std::make_unique<WxControlPeer>(ButtonTemplate(id), button, nullptr);
  }
  owner.AttachPeer(*this, host);
  BindEvents();
  m_dialog->LayoutDialog();
  // The pages at their templates' size are the smallest the sheet gets.
  m_dialog->GetSizer()->SetSizeHints(m_dialog);
}

void WxSheet::TakeActivePageFocus() {
  const int active = ActivePage();
  if (active >= 0 && static_cast<std::size_t>(active) < m_pages.size())
    m_pages[static_cast<std::size_t>(active)]->TakePendingFocus();
}

WxSheet::~WxSheet() {
  // Owners first, so that nothing the controls send while they go reaches a
  // page; then the window, at once; then the peers that served it.
  for (PropertyPage* page : m_owner != nullptr ? m_owner->Pages() : std::vector<PropertyPage*>())
    page->DetachPeer();
  for (auto& page : m_pages) page->OwnerGone();
  if (m_owner != nullptr) m_owner->DetachPeer();
  m_owner = nullptr;
  delete m_dialog;
  m_pages.clear();
}

void WxSheet::BindEvents() {
  const std::pair<int, wxWindowID> buttons[] = {
      {kIdOk, wxID_OK}, {kIdCancel, wxID_CANCEL}, {kIdHelp, wxID_HELP}};
  for (const auto& [id, wxId] : buttons) {
    m_dialog->Bind(
        wxEVT_BUTTON,
        [this, id = id](wxCommandEvent&) {
          if (m_owner != nullptr) m_owner->SendButton(id);
        },
        wxId);
  }
  m_dialog->Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent& event) {
    if (m_owner != nullptr && m_dialog->IsModal()) {
      m_owner->OnCancel();
      if (m_dialog->IsModal()) event.Veto();
    } else {
      event.Skip();
    }
  });
  // A page shown for the first time takes the focus its program asked for,
  // once the click on its tab has been handled.
  m_dialog->GetBookCtrl()->Bind(wxEVT_BOOKCTRL_PAGE_CHANGED, [this](wxBookCtrlEvent& event) {
    m_dialog->CallAfter([this] { TakeActivePageFocus(); });
    event.Skip();
  });
  m_dialog->Bind(wxEVT_CHAR_HOOK, [this](wxKeyEvent& event) {
    if (event.GetKeyCode() == WXK_F1 && event.GetModifiers() == wxMOD_NONE && m_owner != nullptr &&
        m_owner->HasHelp()) {
      m_owner->OnHelpInfo();
      return;
    }
    event.Skip();
  });
}

ControlPeer* WxSheet::FindControl(int id) {
  const auto found = m_buttons.find(id);
  return found == m_buttons.end() ? nullptr : found->second.get();
}

void WxSheet::EndModal(int result) {
  if (m_dialog->IsModal()) m_dialog->EndModal(result);
}

int WxSheet::ActivePage() const { return m_dialog->GetBookCtrl()->GetSelection(); }

void WxSheet::SetActivePage(int index) {
  if (index >= 0 && static_cast<std::size_t>(index) < m_dialog->GetBookCtrl()->GetPageCount()) {
    m_dialog->GetBookCtrl()->SetSelection(static_cast<std::size_t>(index));
  }
}

}  // namespace tallowick
