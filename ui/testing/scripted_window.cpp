#include "ui/testing/scripted_window.h"

#include <algorithm>
#include <string>

#include "ui/dialog_window.h"
#include "ui/standard_ids.h"
#include "ui/testing/script_error.h"
#include "ui/testing/scripted_control.h"

namespace tallowick {

ScriptedWindow::ScriptedWindow(DialogWindow& owner, const DialogTemplate& layout)
    : m_owner(&owner), m_template(layout) {
  for (const auto& control : m_template.controls) {
    auto built = std::make_unique<ScriptedControl>(
        control, [this](int id, Notification code) { Notify(id, code); });
    built->SetFocusCallback([this](int id) { m_focused = id; });
    if (control.id != kIdStatic && m_byId.find(control.id) == m_byId.end())
      m_byId[control.id] = built.get();
    m_controls.push_back(std::move(built));
  }
}

ScriptedWindow::~ScriptedWindow() {
  if (m_owner != nullptr) m_owner->DetachPeer();
}

ScriptedControl& ScriptedWindow::Control(int id) const {
  const auto found = m_byId.find(id);
  if (found == m_byId.end()) {
    throw ScriptError("dialog " + std::to_string(m_template.id) + " has no control " +
                      std::to_string(id));
  }
  return *found->second;
}

ScriptedControl& ScriptedWindow::Usable(int id, const char* action) const {
  ScriptedControl& control = Control(id);
  if (m_ended) {
    throw ScriptError(std::string(action) + " on control " + std::to_string(id) + ": dialog " +
                      std::to_string(m_template.id) + " has already ended");
  }
  if (!control.IsVisible() || !control.IsEnabled()) {
    throw ScriptError(std::string(action) + " on control " + std::to_string(id) + ", which is " +
                      (control.IsVisible() ? "disabled" : "hidden"));
  }
  return control;
}

void ScriptedWindow::Notify(int id, Notification code) {
  if (m_owner != nullptr) m_owner->SendCommand(id, code);
}

void ScriptedWindow::Click(int id) {
  ScriptedControl& control = Usable(id, "Click");
  if (control.Kind() != ControlKind::PushButton) {
    throw ScriptError("Click on control " + std::to_string(id) + ", which is a " +
                      ControlKindName(control.Kind()));
  }
  Notify(id, Notification::Clicked);
}

void ScriptedWindow::Type(int id, const std::string& text) {
  ScriptedControl& control = Usable(id, "Type");
  const bool edit = control.Kind() == ControlKind::Edit && !HasStyle(control.Style(), kReadOnly);
  const bool combo =
      control.Kind() == ControlKind::ComboBox && HasStyle(control.Style(), kDropDown);
  if (!edit && !combo)
    throw ScriptError("Type into control " + std::to_string(id) + ", which takes no typing");
  control.TypeText(text);
}

void ScriptedWindow::Select(int id, int index) {
  ScriptedControl& control = Usable(id, "Select");
  control.SetEntrySelected(-1, false);
  control.SetEntrySelected(index, true);
  Notify(id, Notification::SelectionChange);
}

void ScriptedWindow::Select(int id, const std::string& entry) {
  const auto entries = Entries(id);
  const auto found = std::find(entries.begin(), entries.end(), entry);
  if (found == entries.end())
    throw ScriptError("control " + std::to_string(id) + " has no entry \"" + entry + "\"");
  Select(id, static_cast<int>(found - entries.begin()));
}

void ScriptedWindow::SelectMany(int id, const std::vector<int>& indices) {
  ScriptedControl& control = Usable(id, "SelectMany");
  if (control.Kind() != ControlKind::ListBox || !HasStyle(control.Style(), kExtendedSelection)) {
    throw ScriptError("SelectMany on control " + std::to_string(id) +
                      ", which has no extended selection");
  }
  control.SetEntrySelected(-1, false);
  for (int index : indices) control.SetEntrySelected(index, true);
  Notify(id, Notification::SelectionChange);
}

void ScriptedWindow::ClearSelection(int id) {
  ScriptedControl& control = Usable(id, "ClearSelection");
  control.SetEntrySelected(-1, false);
  Notify(id, Notification::SelectionChange);
}

void ScriptedWindow::DoubleClick(int id, int index) {
  Select(id, index);
  Notify(id, Notification::DoubleClick);
}

void ScriptedWindow::PressEscape() {
  if (m_ended)
    throw ScriptError("Escape on dialog " + std::to_string(m_template.id) + ", which has ended");
  Notify(kIdCancel, Notification::Clicked);
}

std::string ScriptedWindow::Text(int id) const { return Control(id).GetText(); }
bool ScriptedWindow::IsEnabled(int id) const { return Control(id).IsEnabled(); }
bool ScriptedWindow::IsVisible(int id) const { return Control(id).IsVisible(); }
bool ScriptedWindow::Has(int id) const { return m_byId.find(id) != m_byId.end(); }
ControlKind ScriptedWindow::Kind(int id) const { return Control(id).Kind(); }
std::size_t ScriptedWindow::TextLimit(int id) const { return Control(id).TextLimit(); }

std::vector<std::string> ScriptedWindow::Entries(int id) const {
  const ScriptedControl& control = Control(id);
  std::vector<std::string> entries;
  for (int i = 0; i < control.EntryCount(); ++i) entries.push_back(control.EntryText(i));
  return entries;
}

std::vector<int> ScriptedWindow::Selection(int id) const { return Control(id).SelectedEntries(); }

std::vector<std::string> ScriptedWindow::Columns(int id) const {
  const ScriptedControl& control = Control(id);
  if (control.Kind() != ControlKind::ListView)
    throw ScriptError("control " + std::to_string(id) + " is no list view");
  return control.ShownHeadings();
}

std::size_t ScriptedWindow::RowCount(int id) const {
  const ScriptedControl& control = Control(id);
  if (control.Kind() != ControlKind::ListView)
    throw ScriptError("control " + std::to_string(id) + " is no list view");
  return control.ShownRows();
}

std::string ScriptedWindow::Cell(int id, std::size_t row, std::size_t column) const {
  const ScriptedControl& control = Control(id);
  const auto model = control.Model();
  if (!model || row >= control.ShownRows() || column >= control.ShownHeadings().size()) {
    throw ScriptError("list view " + std::to_string(id) + " shows no cell (" + std::to_string(row) +
                      ", " + std::to_string(column) + ")");
  }
  return model->Text(row, column);
}

std::vector<std::vector<std::string>> ScriptedWindow::Rows(int id) const {
  std::vector<std::vector<std::string>> rows(RowCount(id));
  const std::size_t columns = Columns(id).size();
  for (std::size_t r = 0; r < rows.size(); ++r) {
    for (std::size_t c = 0; c < columns; ++c) rows[r].push_back(Cell(id, r, c));
  }
  return rows;
}

ControlPeer* ScriptedWindow::FindControl(int id) {
  const auto found = m_byId.find(id);
  return found == m_byId.end() ? nullptr : found->second;
}

void ScriptedWindow::EndModal(int result) {
  m_ended = true;
  m_result = result;
}

}  // namespace tallowick
