#include "ui/list_view_table.h"

#include <stdexcept>

namespace tallowick {

std::string ListViewTable::Text(std::size_t row, std::size_t column) const {
  const auto& cells = m_rows.at(row);
  return column < cells.size() ? cells[column] : std::string();
}

std::size_t ListViewTable::AddColumn(std::string heading, int width, ColumnAlign align) {
  m_columns.push_back(ListViewColumn{std::move(heading), width, align});
  return m_columns.size() - 1;
}

void ListViewTable::DeleteColumn(std::size_t column) {
  if (column >= m_columns.size()) throw std::out_of_range("ListViewTable::DeleteColumn");
  m_columns.erase(m_columns.begin() + static_cast<std::ptrdiff_t>(column));
  for (auto& cells : m_rows) {
    if (column < cells.size()) cells.erase(cells.begin() + static_cast<std::ptrdiff_t>(column));
  }
}

std::size_t ListViewTable::AddRow() {
  m_rows.emplace_back();
  return m_rows.size() - 1;
}

std::size_t ListViewTable::AddRow(std::vector<std::string> cells) {
  m_rows.push_back(std::move(cells));
  return m_rows.size() - 1;
}

void ListViewTable::SetText(std::size_t row, std::size_t column, std::string text) {
  auto& cells = m_rows.at(row);
  if (column >= m_columns.size()) throw std::out_of_range("ListViewTable::SetText: no such column");
  if (cells.size() <= column) cells.resize(column + 1);
  cells[column] = std::move(text);
}

void ListViewTable::Clear() {
  m_columns.clear();
  m_rows.clear();
}

}  // namespace tallowick
