#include "ui/controls.h"

#include "platform/text_compare.h"
#include "ui/list_view_table.h"

namespace tallowick {

std::vector<std::string> ListBox::GetEntries() const {
  std::vector<std::string> entries;
  const int count = GetCount();
  entries.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) entries.push_back(GetEntry(i));
  return entries;
}

int ListBox::FindExact(const std::string& text) const {
  const int count = GetCount();
  for (int i = 0; i < count; ++i) {
    if (EqualsIgnoringCase(GetEntry(i), text)) return i;
  }
  return -1;
}

int ComboBox::GetCurSel() const {
  const auto selected = m_peer->SelectedEntries();
  return selected.empty() ? -1 : selected.front();
}

void ListView::Clear() { m_peer->SetModel(std::make_shared<ListViewTable>()); }

std::size_t ListView::GetColumnCount() const {
  const auto model = m_peer->Model();
  return model ? model->ColumnCount() : 0;
}

std::string ListView::GetColumnHeading(std::size_t column) const {
  const auto model = m_peer->Model();
  return model && column < model->ColumnCount() ? model->Column(column).heading : std::string();
}

std::size_t ListView::GetRowCount() const {
  const auto model = m_peer->Model();
  return model ? model->RowCount() : 0;
}

std::string ListView::GetCellText(std::size_t row, std::size_t column) const {
  const auto model = m_peer->Model();
  if (!model || row >= model->RowCount() || column >= model->ColumnCount()) return {};
  return model->Text(row, column);
}

}  // namespace tallowick
