#pragma once
// The viewer's record list: one column per field of the Helper file, one row
// per record, read by the virtual list view on demand. The texts stay as the
// PDB holds them; headings and String fields are decoded for display from
// the chosen set as the list reads them, so another choice only needs
// another model over the same contents.
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/handheld_charset.h"
#include "ui/list_view_model.h"
#include "viewer/pdb_contents.h"

namespace tallowick {

class RecordListModel : public ListViewModel {
 public:
  // `as`: the set the texts are decoded from; none: each text by itself
  // (UTF-8 when it is valid UTF-8 with non-ASCII characters, else Windows-1252).
  RecordListModel(std::shared_ptr<const PdbContents> contents, std::optional<HandheldCharset> as);

  std::size_t ColumnCount() const override { return m_columns.size(); }
  const ListViewColumn& Column(std::size_t column) const override { return m_columns.at(column); }
  std::size_t RowCount() const override { return m_contents->rows.size(); }
  std::string Text(std::size_t row, std::size_t column) const override;

 private:
  std::shared_ptr<const PdbContents> m_contents;
  std::optional<HandheldCharset> m_as;
  std::vector<ListViewColumn> m_columns;
};

}  // namespace tallowick
