#pragma once
// The viewer's record list: one column per field of the Helper file, one row
// per record, read by the virtual list view on demand.
#include <cstddef>
#include <string>
#include <vector>

#include "ui/list_view_model.h"
#include "viewer/pdb_contents.h"

namespace tallowick {

class RecordListModel : public ListViewModel {
 public:
  // Takes the decoded rows over; headings are the field names.
  explicit RecordListModel(PdbContents contents);

  std::size_t ColumnCount() const override { return m_columns.size(); }
  const ListViewColumn& Column(std::size_t column) const override { return m_columns.at(column); }
  std::size_t RowCount() const override { return m_rows.size(); }
  std::string Text(std::size_t row, std::size_t column) const override;

 private:
  std::vector<ListViewColumn> m_columns;
  std::vector<std::vector<std::string>> m_rows;
};

}  // namespace tallowick
