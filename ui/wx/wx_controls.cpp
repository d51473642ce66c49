#include "ui/wx/wx_controls.h"

#include <wx/combobox.h>
#include <wx/control.h>
#include <wx/listbox.h>
#include <wx/settings.h>
#include <wx/textctrl.h>

#include <algorithm>

#include "platform/text_compare.h"
#include "ui/list_view_table.h"
#include "ui/wx/wx_text.h"

namespace tallowick {
namespace {

// Where `text` goes in a list kept sorted without regard to case.
unsigned int SortedPlace(const std::function<std::string(unsigned int)>& entry, unsigned int count,
                         const std::string& text) {
  unsigned int low = 0;
  unsigned int high = count;
  while (low < high) {
    const unsigned int mid = (low + high) / 2;
    if (LessIgnoringCase(text, entry(mid))) {
      high = mid;
    } else {
      low = mid + 1;
    }
  }
  return low;
}

}  // namespace

WxControlPeer::WxControlPeer(const ControlTemplate& layout, wxWindow* window, NotifyFunction notify)
    : m_id(layout.id),
      m_kind(layout.kind),
      m_style(layout.style),
      m_window(window),
      m_notify(std::move(notify)) {}

std::string WxControlPeer::GetText() const { return FromWx(m_window->GetLabel()); }
void WxControlPeer::SetText(const std::string& text) { m_window->SetLabel(ToWx(text)); }
bool WxControlPeer::IsEnabled() const { return m_window->IsThisEnabled(); }
void WxControlPeer::Enable(bool enable) { m_window->Enable(enable); }
bool WxControlPeer::IsVisible() const { return m_window->IsShown(); }
void WxControlPeer::Show(bool show) { m_window->Show(show); }
void WxControlPeer::SetFocus() {
  if (m_focus) {
    m_focus(m_window);
  } else {
    m_window->SetFocus();
  }
}

void WxControlPeer::Notify(Notification code) const {
  if (m_notify) m_notify(m_id, code);
}

// --- edit box ---

WxEditPeer::WxEditPeer(const ControlTemplate& layout, wxTextCtrl* edit, NotifyFunction notify)
    : WxControlPeer(layout, edit, std::move(notify)), m_edit(edit) {
  m_edit->Bind(wxEVT_TEXT, [this](wxCommandEvent&) { OnText(); });
}

std::string WxEditPeer::GetText() const { return FromWx(m_edit->GetValue()); }

void WxEditPeer::SetText(const std::string& text) {
  const wxString value = ToWx(text);
  if (m_limit != 0 && value.length() > m_limit) {
    // The limit holds for typing only: lift it until the text fits again.
    m_limitLifted = true;
    m_edit->SetMaxLength(0);
  }
  m_edit->SetValue(value);  // sends wxEVT_TEXT, as typing does
}

void WxEditPeer::SetTextLimit(std::size_t limit) {
  m_limit = limit;
  m_limitLifted = limit != 0 && m_edit->GetValue().length() > limit;
  m_edit->SetMaxLength(m_limitLifted ? 0 : static_cast<unsigned long>(limit));
}

void WxEditPeer::OnText() {
  if (m_limitLifted && m_edit->GetValue().length() <= m_limit) {
    m_limitLifted = false;
    m_edit->SetMaxLength(static_cast<unsigned long>(m_limit));
  }
  Notify(Notification::TextChange);
}

// --- combo box ---

WxComboPeer::WxComboPeer(const ControlTemplate& layout, wxComboBox* combo, NotifyFunction notify)
    : WxControlPeer(layout, combo, std::move(notify)), m_combo(combo) {
  m_combo->Bind(wxEVT_COMBOBOX, [this](wxCommandEvent&) {
    if (!m_quiet) Notify(Notification::SelectionChange);
  });
  m_combo->Bind(wxEVT_COMBOBOX_DROPDOWN, [this](wxCommandEvent& event) {
    OnDropDown();
    event.Skip();
  });
  m_combo->Bind(wxEVT_COMBOBOX_CLOSEUP, [this](wxCommandEvent& event) {
    OnCloseUp();
    event.Skip();
  });
  m_combo->Bind(wxEVT_TEXT, [this](wxCommandEvent&) {
    if (m_quiet) return;
    // Picking an entry from the list also changes the text; only typing counts here.
    const int selected = m_combo->GetSelection();
    if (selected != wxNOT_FOUND &&
        m_combo->GetString(static_cast<unsigned int>(selected)) == m_combo->GetValue()) {
      return;
    }
    Notify(Notification::TextChange);
  });
}

void WxComboPeer::OnDropDown() {
  if (m_combo->GetSelection() == wxNOT_FOUND) return;
  m_quiet = true;
  const wxString value = m_combo->GetValue();
  m_combo->SetSelection(wxNOT_FOUND);
  m_combo->ChangeValue(value);
  m_quiet = false;
}

void WxComboPeer::OnCloseUp() {
  // The choice, if any, arrives after the list has closed: look once it has.
  // Only the combo box is touched then, which takes its pending calls with it.
  wxComboBox* combo = m_combo;
  const wxString value = combo->GetValue();
  combo->CallAfter([combo, value] {
    if (combo->GetSelection() != wxNOT_FOUND || combo->GetValue() != value) return;
    // Nothing chosen: the entry shown is the chosen one again, quietly.
    const int entry = combo->FindString(value, true);
    if (entry == wxNOT_FOUND) return;
    combo->SetSelection(entry);  // sends nothing
    combo->ChangeValue(value);
  });
}

std::string WxComboPeer::GetText() const { return FromWx(m_combo->GetValue()); }

void WxComboPeer::SetText(const std::string& text) {
  m_quiet = true;
  m_combo->ChangeValue(ToWx(text));
  m_quiet = false;
}

int WxComboPeer::AddEntry(const std::string& text) {
  unsigned int at = m_combo->GetCount();
  if (HasStyle(Style(), kSorted)) {
    at = SortedPlace([this](unsigned int i) { return FromWx(m_combo->GetString(i)); }, at, text);
  }
  m_quiet = true;
  const wxString value = m_combo->GetValue();
  m_combo->Insert(ToWx(text), at);
  if (m_combo->GetValue() != value) m_combo->ChangeValue(value);
  m_quiet = false;
  return static_cast<int>(at);
}

void WxComboPeer::DeleteEntry(int index) {
  if (index < 0 || index >= EntryCount()) return;
  m_quiet = true;
  m_combo->Delete(static_cast<unsigned int>(index));
  m_quiet = false;
}

void WxComboPeer::ClearEntries() {
  m_quiet = true;
  const wxString value = m_combo->GetValue();
  m_combo->Clear();  // empties the list and the edit field
  m_combo->ChangeValue(value);
  m_quiet = false;
}

int WxComboPeer::EntryCount() const { return static_cast<int>(m_combo->GetCount()); }

std::string WxComboPeer::EntryText(int index) const {
  if (index < 0 || index >= EntryCount()) return {};
  return FromWx(m_combo->GetString(static_cast<unsigned int>(index)));
}

std::vector<int> WxComboPeer::SelectedEntries() const {
  const int selected = m_combo->GetSelection();
  if (selected == wxNOT_FOUND) return {};
  return {selected};
}

void WxComboPeer::SetEntrySelected(int index, bool selected) {
  m_quiet = true;
  if (selected && index >= 0 && index < EntryCount()) {
    m_combo->SetSelection(index);
  } else if (!selected) {
    const wxString value = m_combo->GetValue();
    m_combo->SetSelection(wxNOT_FOUND);
    m_combo->ChangeValue(value);
  }
  m_quiet = false;
}

// --- list box ---

WxListBoxPeer::WxListBoxPeer(const ControlTemplate& layout, wxListBox* list, NotifyFunction notify)
    : WxControlPeer(layout, list, std::move(notify)), m_list(list) {
  m_list->Bind(wxEVT_LISTBOX, [this](wxCommandEvent&) { Notify(Notification::SelectionChange); });
  m_list->Bind(wxEVT_LISTBOX_DCLICK,
               [this](wxCommandEvent&) { Notify(Notification::DoubleClick); });
}

std::string WxListBoxPeer::GetText() const {
  const auto selected = SelectedEntries();
  return selected.empty() ? std::string() : EntryText(selected.front());
}

int WxListBoxPeer::AddEntry(const std::string& text) {
  unsigned int at = m_list->GetCount();
  if (HasStyle(Style(), kSorted)) {
    at = SortedPlace([this](unsigned int i) { return FromWx(m_list->GetString(i)); }, at, text);
  }
  m_list->Insert(ToWx(text), at);
  return static_cast<int>(at);
}

void WxListBoxPeer::DeleteEntry(int index) {
  if (index >= 0 && index < EntryCount()) m_list->Delete(static_cast<unsigned int>(index));
}

void WxListBoxPeer::ClearEntries() { m_list->Clear(); }
int WxListBoxPeer::EntryCount() const { return static_cast<int>(m_list->GetCount()); }

std::string WxListBoxPeer::EntryText(int index) const {
  if (index < 0 || index >= EntryCount()) return {};
  return FromWx(m_list->GetString(static_cast<unsigned int>(index)));
}

std::vector<int> WxListBoxPeer::SelectedEntries() const {
  wxArrayInt selections;
  m_list->GetSelections(selections);
  std::vector<int> selected(selections.begin(), selections.end());
  std::sort(selected.begin(), selected.end());
  return selected;
}

void WxListBoxPeer::SetEntrySelected(int index, bool selected) {
  if (index == -1 && !selected) {
    m_list->DeselectAll();
    return;
  }
  if (index < 0 || index >= EntryCount()) return;
  if (!HasStyle(Style(), kExtendedSelection) && selected) m_list->DeselectAll();
  m_list->SetSelection(index, selected);
}

// --- list view ---

VirtualListCtrl::VirtualListCtrl(wxWindow* parent, wxWindowID id, const wxPoint& pos,
                                 const wxSize& size)
    : wxListCtrl(parent, id, pos, size, wxLC_REPORT | wxLC_VIRTUAL | wxBORDER_SIMPLE) {
  // Drawn as a white box even before it has columns, as a list view is.
  SetBackgroundColour(wxSystemSettings::GetColour(wxSYS_COLOUR_LISTBOX));
}

void VirtualListCtrl::SetModel(std::shared_ptr<const ListViewModel> model) {
  m_model = std::move(model);
  Reload();
}

void VirtualListCtrl::Reload() {
  Freeze();
  SetItemCount(0);
  DeleteAllColumns();
  const std::size_t columns = m_model ? m_model->ColumnCount() : 0;
  for (std::size_t c = 0; c < columns; ++c) {
    const ListViewColumn& column = m_model->Column(c);
    const wxListColumnFormat format = column.align == ColumnAlign::Right    ? wxLIST_FORMAT_RIGHT
                                      : column.align == ColumnAlign::Centre ? wxLIST_FORMAT_CENTRE
                                                                            : wxLIST_FORMAT_LEFT;
    InsertColumn(static_cast<long>(c), ToWx(column.heading), format, column.width);
  }
  SetItemCount(columns == 0 ? 0 : static_cast<long>(m_model->RowCount()));
  Thaw();
  Refresh();
}

wxString VirtualListCtrl::OnGetItemText(long item, long column) const {
  if (!m_model || item < 0 || column < 0) return {};
  const auto row = static_cast<std::size_t>(item);
  const auto col = static_cast<std::size_t>(column);
  if (row >= m_model->RowCount() || col >= m_model->ColumnCount()) return {};
  return OneLineText(ToWx(m_model->Text(row, col)));
}

WxListViewPeer::WxListViewPeer(const ControlTemplate& layout, VirtualListCtrl* list,
                               NotifyFunction notify)
    : WxControlPeer(layout, list, std::move(notify)), m_list(list) {}

void WxListViewPeer::SetModel(std::shared_ptr<const ListViewModel> model) {
  m_list->SetModel(std::move(model));
}
std::shared_ptr<const ListViewModel> WxListViewPeer::Model() const { return m_list->Model(); }
void WxListViewPeer::ModelChanged() { m_list->Reload(); }

}  // namespace tallowick
