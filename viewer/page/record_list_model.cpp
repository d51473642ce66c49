#include "viewer/page/record_list_model.h"

namespace tallowick {

RecordListModel::RecordListModel(PdbContents contents) : m_rows(std::move(contents.rows)) {
  m_columns.reserve(contents.fields.size());
  for (const HelperField& field : contents.fields) m_columns.push_back({field.name, 75, ColumnAlign::Left});
}

std::string RecordListModel::Text(std::size_t row, std::size_t column) const {
  const std::vector<std::string>& cells = m_rows.at(row);
  return column < cells.size() ? cells[column] : std::string();
}

}  // namespace tallowick
