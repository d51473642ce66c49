#pragma once
// The rows of one prepared query, as the generation run and the preview read
// them. The ODBC implementation (with every driver quirk) lives in source/.
#include <cstdint>
#include <string>

#include "engine/column_info.h"

namespace tallowick {

enum class FetchStatus { Row, NoData, Error };

class ResultSource {
 public:
  virtual ~ResultSource() = default;

  // Describes column `number` (1-based): name and SQL type. False when the
  // description of this column fails; the caller then stops describing.
  virtual bool DescribeColumn(std::uint16_t number, std::string& name, std::int16_t& sqlType) = 0;
  // Executes the query; false only when execution fails with an error.
  virtual bool Execute() = 0;
  // Binds the column's value buffer and indicator for its bind type; a column
  // with bind type 0 is left unbound (returns true). False on a real failure.
  virtual bool BindColumn(ColumnInfo& column) = 0;
  // Fetches the next row into the bound buffers (first call: row 1). Every
  // bound column's value and indicator then follow the layout of ColumnInfo.
  virtual FetchStatus FetchNext() = 0;
  // The statement's first diagnostic as "message  STATE" (message at most 99
  // characters); a readable text even when the driver left no record.
  virtual std::string Diagnostic() = 0;
};

// The one message box the engine shows: the record limit. Waiting() tells
// that the run waits for another one writing into the same output folder
// (the command line says so on standard error); it returns at once.
class NoticeSink {
 public:
  virtual ~NoticeSink() = default;
  virtual void Notice(const std::string& text) = 0;
  virtual void Waiting(const std::string& /*text*/) {}
};

inline constexpr const char* kRowLimitMessage =
    "No More than 65535 records supported in a single PDB!!";
inline constexpr std::uint32_t kMaxRecords = 65535;

// Progress of a long read (rows so far); may be ignored.
class ProgressSink {
 public:
  virtual ~ProgressSink() = default;
  virtual void RowsRead(std::uint32_t rows) = 0;
};

}  // namespace tallowick
