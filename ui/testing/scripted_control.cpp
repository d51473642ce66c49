#include "ui/testing/scripted_control.h"

#include <algorithm>
#include <string>

#include "platform/text_compare.h"
#include "ui/testing/script_error.h"

namespace tallowick {

ScriptedControl::ScriptedControl(const ControlTemplate& layout,
                                 std::function<void(int, Notification)> notify)
    : m_template(layout),
      m_notify(std::move(notify)),
      m_text(layout.text),
      m_enabled(!HasStyle(layout.style, kDisabled)),
      m_visible(!HasStyle(layout.style, kHidden)) {}

std::string ScriptedControl::GetText() const {
  if (Kind() == ControlKind::ListBox) {
    // A list box's text is that of its (first) highlighted entry.
    const auto selected = SelectedEntries();
    return selected.empty() ? std::string() : m_entries[static_cast<std::size_t>(selected.front())];
  }
  return m_text;
}

void ScriptedControl::SetText(const std::string& text) {
  m_text = text;
  if (Kind() == ControlKind::Edit && m_notify) m_notify(Id(), Notification::TextChange);
}

namespace {

// The first `limit` characters of UTF-8 `text` (a character's continuation
// bytes go with it), as a real edit box counts what can be typed.
std::string FirstCharacters(const std::string& text, std::size_t limit) {
  std::size_t characters = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) continue;
    if (characters++ == limit) return text.substr(0, i);
  }
  return text;
}

}  // namespace

void ScriptedControl::TypeText(const std::string& text) {
  m_text = m_limit != 0 ? FirstCharacters(text, m_limit) : text;
  if (m_notify) m_notify(Id(), Notification::TextChange);
}

void ScriptedControl::SetTextLimit(std::size_t limit) {
  if (Kind() != ControlKind::Edit) WrongKind("SetTextLimit");
  m_limit = limit;
}

std::size_t ScriptedControl::TextLimit() const {
  if (Kind() != ControlKind::Edit) WrongKind("TextLimit");
  return m_limit;
}

bool ScriptedControl::IsList() const {
  return Kind() == ControlKind::ListBox || Kind() == ControlKind::ComboBox;
}

void ScriptedControl::CheckIndex(int index, const char* operation) const {
  if (index < 0 || index >= static_cast<int>(m_entries.size())) {
    throw ScriptError("control " + std::to_string(Id()) + ": " + operation + " with index " +
                      std::to_string(index) + " of " + std::to_string(m_entries.size()) +
                      " entries");
  }
}

int ScriptedControl::AddEntry(const std::string& text) {
  if (!IsList()) WrongKind("AddEntry");
  auto at = m_entries.end();
  if (HasStyle(m_template.style, kSorted)) {
    at = std::upper_bound(m_entries.begin(), m_entries.end(), text, LessIgnoringCase);
  }
  const auto index = at - m_entries.begin();
  m_entries.insert(at, text);
  m_selected.insert(m_selected.begin() + index, false);
  return static_cast<int>(index);
}

void ScriptedControl::DeleteEntry(int index) {
  if (!IsList()) WrongKind("DeleteEntry");
  CheckIndex(index, "DeleteEntry");
  m_entries.erase(m_entries.begin() + index);
  m_selected.erase(m_selected.begin() + index);
}

void ScriptedControl::ClearEntries() {
  if (!IsList()) WrongKind("ClearEntries");
  m_entries.clear();
  m_selected.clear();
}

int ScriptedControl::EntryCount() const {
  if (!IsList()) WrongKind("EntryCount");
  return static_cast<int>(m_entries.size());
}

std::string ScriptedControl::EntryText(int index) const {
  if (!IsList()) WrongKind("EntryText");
  CheckIndex(index, "EntryText");
  return m_entries[static_cast<std::size_t>(index)];
}

std::vector<int> ScriptedControl::SelectedEntries() const {
  if (!IsList()) WrongKind("SelectedEntries");
  std::vector<int> selected;
  for (std::size_t i = 0; i < m_selected.size(); ++i) {
    if (m_selected[i]) selected.push_back(static_cast<int>(i));
  }
  return selected;
}

void ScriptedControl::SetEntrySelected(int index, bool selected) {
  if (!IsList()) WrongKind("SetEntrySelected");
  const bool single =
      Kind() == ControlKind::ComboBox || !HasStyle(m_template.style, kExtendedSelection);
  if (index == -1 && !selected) {  // -1: every entry
    std::fill(m_selected.begin(), m_selected.end(), false);
    return;
  }
  CheckIndex(index, "SetEntrySelected");
  if (single && selected) std::fill(m_selected.begin(), m_selected.end(), false);
  m_selected[static_cast<std::size_t>(index)] = selected;
  if (Kind() == ControlKind::ComboBox && selected)
    m_text = m_entries[static_cast<std::size_t>(index)];
}

void ScriptedControl::SetModel(std::shared_ptr<const ListViewModel> model) {
  if (Kind() != ControlKind::ListView) WrongKind("SetModel");
  m_model = std::move(model);
  ModelChanged();
}

std::shared_ptr<const ListViewModel> ScriptedControl::Model() const {
  if (Kind() != ControlKind::ListView) WrongKind("Model");
  return m_model;
}

void ScriptedControl::ModelChanged() {
  if (Kind() != ControlKind::ListView) WrongKind("ModelChanged");
  m_shownRows = m_model ? m_model->RowCount() : 0;
  m_shownHeadings.clear();
  const std::size_t columns = m_model ? m_model->ColumnCount() : 0;
  for (std::size_t i = 0; i < columns; ++i) m_shownHeadings.push_back(m_model->Column(i).heading);
}

}  // namespace tallowick
