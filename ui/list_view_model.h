#pragma once
// What a report-mode list view shows: its columns and the text of each cell.
// The list view reads it on demand (virtual list), so 65,535 rows by 8 columns
// appear at once. The page owns the model and hands it to the control.
#include <cstddef>
#include <string>

namespace tallowick {

enum class ColumnAlign { Left, Right, Centre };

struct ListViewColumn {
  std::string heading;
  int width = 75;  // pixels
  ColumnAlign align = ColumnAlign::Left;
};

class ListViewModel {
 public:
  virtual ~ListViewModel() = default;
  virtual std::size_t ColumnCount() const = 0;
  virtual const ListViewColumn& Column(std::size_t column) const = 0;
  virtual std::size_t RowCount() const = 0;
  // The text of one cell; row < RowCount(), column < ColumnCount().
  virtual std::string Text(std::size_t row, std::size_t column) const = 0;
};

}  // namespace tallowick
