#include "viewer/page/record_list_model.h"

#include "viewer/display_text.h"

namespace tallowick {

RecordListModel::RecordListModel(std::shared_ptr<const PdbContents> contents,
                                 std::optional<HandheldCharset> as)
    : m_contents(std::move(contents)), m_as(as) {
  m_columns.reserve(m_contents->fields.size());
  for (const HelperField& field : m_contents->fields) {
    m_columns.push_back({DecodeHandheldText(field.name, m_as), 75, ColumnAlign::Left});
  }
}

std::string RecordListModel::Text(std::size_t row, std::size_t column) const {
  const std::vector<std::string>& cells = m_contents->rows.at(row);
  if (column >= cells.size() || column >= m_contents->fields.size()) return {};
  return DisplayFieldText(cells[column], m_contents->fields[column].kind, m_as);
}

}  // namespace tallowick
