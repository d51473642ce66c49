#pragma once
// The seam to the converters that turn an Excel workbook, a folder of dBase
// tables or a CSV file into a SQLite database, which the SQLite3 driver then serves
// under the temporary data source.
#include <string>
#include <vector>

namespace tallowick {

// What a converter reads.
enum class ConvertedFile {
  Workbook,       // an Excel workbook (.xls, .xlsx, .xlsm)
  DbaseFolder,    // the .dbf tables of a folder
  DelimitedText,  // a CSV file (.csv, .tsv, .txt)
};

struct ConvertedDatabase {
  std::string sqlitePath;  // the new database file; empty on failure
  std::string error;       // a message for the user when sqlitePath is empty
  // Parts of the source that could not be read and were left out (a damaged
  // table of a dBase folder), one message each naming the file.
  std::vector<std::string> leftOut;
};

class FileConverter {
 public:
  virtual ~FileConverter() = default;
  // `source` is the workbook file or the folder of .dbf tables. The file
  // made belongs to the caller, who deletes it when the temporary data
  // source is removed.
  virtual ConvertedDatabase Convert(ConvertedFile what, const std::string& source) = 0;
};

}  // namespace tallowick
