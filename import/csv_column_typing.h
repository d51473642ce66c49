#pragma once
// How a column of a delimited text file becomes a table column: its
// declared type follows its fields, and each field is stored in the form
// that type calls for.
//   only integers that fit 32 bits                   -> INTEGER
//   only numbers                                     -> DOUBLE
//   only "true"/"false" (any case)                   -> BIT
//   only ISO dates (YYYY-MM-DD)                      -> DATE
//   only ISO dates and date-times (YYYY-MM-DD HH:MM:SS,
//   or with a 'T')                                   -> TIMESTAMP
//   anything else, or no value                       -> VARCHAR, the text as it stands
// Blanks around a field do not change its kind. A number with a leading
// zero ("007") or more digits than a double keeps exactly is text: reading
// it as a number would change it. An empty field is NULL in every type.
#include <cstddef>
#include <string_view>

#include "import/column_type.h"

namespace tallowick {

class SqliteTableWriter;

class CsvColumnCensus {
 public:
  // A field that is not empty.
  void Add(std::string_view field);
  ColumnType Result() const;

 private:
  std::size_t m_values = 0;
  std::size_t m_integers = 0;
  std::size_t m_numbers = 0;  // integers included
  std::size_t m_booleans = 0;
  std::size_t m_dates = 0;
  std::size_t m_dateTimes = 0;
};

// Binds `field` (UTF-8, not empty) as column `column` of the row `writer`
// is building, in the form `type` calls for.
void BindCsvField(SqliteTableWriter& writer, int column, ColumnType type, std::string_view field);

}  // namespace tallowick
