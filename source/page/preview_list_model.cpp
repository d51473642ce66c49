#include "source/page/preview_list_model.h"

namespace tallowick {

void PreviewListModel::Columns(const std::vector<std::string>& names) {
  m_columns.clear();
  m_columns.reserve(names.size());
  for (const std::string& name : names) m_columns.push_back({name, 75, ColumnAlign::Left});
}

void PreviewListModel::Row(std::vector<std::string> texts) { m_rows.push_back(std::move(texts)); }

std::string PreviewListModel::Text(std::size_t row, std::size_t column) const {
  const std::vector<std::string>& cells = m_rows.at(row);
  return column < cells.size() ? cells[column] : std::string();
}

}  // namespace tallowick
