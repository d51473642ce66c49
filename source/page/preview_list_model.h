#pragma once
// The preview list view's model: the preview run writes its headings and
// rows into it, and the virtual list view reads the cells back by index, so
// 65,535 rows appear at once.
#include <cstddef>
#include <string>
#include <vector>

#include "source/preview.h"
#include "ui/list_view_model.h"

namespace tallowick {

class PreviewListModel : public PreviewSink, public ListViewModel {
 public:
  // PreviewSink: one column per described result column (75 pixels, left-aligned).
  void Columns(const std::vector<std::string>& names) override;
  void Row(std::vector<std::string> texts) override;

  // ListViewModel
  std::size_t ColumnCount() const override { return m_columns.size(); }
  const ListViewColumn& Column(std::size_t column) const override { return m_columns.at(column); }
  std::size_t RowCount() const override { return m_rows.size(); }
  std::string Text(std::size_t row, std::size_t column) const override;

 private:
  std::vector<ListViewColumn> m_columns;
  std::vector<std::vector<std::string>> m_rows;
};

}  // namespace tallowick
