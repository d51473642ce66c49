#pragma once
// The seam to the converters that turn an Excel workbook or a folder of
// dBase tables into a SQLite database, which the SQLite3 driver then serves
// under the temporary data source.
#include <string>

namespace tallowick {

struct ConvertedDatabase {
  std::string sqlitePath;  // the new database file; empty on failure
  std::string error;       // a message for the user when sqlitePath is empty
};

class FileConverter {
 public:
  virtual ~FileConverter() = default;
  // `kind` is kExcelFile (source: the .xls file) or kDbaseFile (source: the
  // folder of .dbf tables). The file made belongs to the caller, who
  // deletes it when the temporary data source is removed.
  virtual ConvertedDatabase Convert(int kind, const std::string& source) = 0;
};

}  // namespace tallowick
