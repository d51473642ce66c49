#pragma once
// A list view model that stores its columns and rows: what a page fills when it
// has all the texts at hand (the preview, the viewer's records).
#include <cstddef>
#include <string>
#include <vector>

#include "ui/list_view_model.h"

namespace tallowick {

class ListViewTable : public ListViewModel {
 public:
  std::size_t ColumnCount() const override { return m_columns.size(); }
  const ListViewColumn& Column(std::size_t column) const override { return m_columns.at(column); }
  std::size_t RowCount() const override { return m_rows.size(); }
  // Empty text for a cell never set (rows may be shorter than the columns).
  std::string Text(std::size_t row, std::size_t column) const override;

  // Appends a column (heading, width in pixels, alignment); returns its index.
  std::size_t AddColumn(std::string heading, int width = 75, ColumnAlign align = ColumnAlign::Left);
  // Removes a column and its cells from every row.
  void DeleteColumn(std::size_t column);
  // Appends a row of empty cells; returns its index.
  std::size_t AddRow();
  // Appends a row with these cells.
  std::size_t AddRow(std::vector<std::string> cells);
  void SetText(std::size_t row, std::size_t column, std::string text);
  void DeleteAllRows() { m_rows.clear(); }
  // No columns and no rows.
  void Clear();
  void ReserveRows(std::size_t rows) { m_rows.reserve(rows); }

 private:
  std::vector<ListViewColumn> m_columns;
  std::vector<std::vector<std::string>> m_rows;
};

}  // namespace tallowick
