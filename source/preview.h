#pragma once
// Filling a preview from a query's rows: the column headings, then one row
// of texts per result row, at most 65,535 rows.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/result_source.h"

namespace tallowick {

// What a preview text stands for, for a printer that keeps numbers and NULL
// apart from text (the command line's JSON).
enum class PreviewValueForm : std::uint8_t { Text, Number, Null };

// Where the preview goes: the GUI's list view, or a printer of the CLI.
class PreviewSink {
 public:
  virtual ~PreviewSink() = default;
  // Once, before any row: the names of the described columns.
  virtual void Columns(const std::vector<std::string>& names) = 0;
  // One per row, one text per described column.
  virtual void Row(std::vector<std::string> texts) = 0;
  // Before each Row: one form per text. A sink that shows texts alone
  // ignores it.
  virtual void RowForms(const std::vector<PreviewValueForm>& /*forms*/) {}
};

// A sink that keeps everything (a virtual list view reads it by index).
class PreviewTable : public PreviewSink {
 public:
  void Columns(const std::vector<std::string>& names) override { columns = names; }
  void Row(std::vector<std::string> texts) override { rows.push_back(std::move(texts)); }

  std::vector<std::string> columns;
  std::vector<std::vector<std::string>> rows;
};

struct PreviewResult {
  bool executed = false;      // false: the query failed to execute; only headings were given
  std::uint32_t rows = 0;     // rows given to the sink
  bool limitReached = false;  // a 65,536th row exists; the row-limit notice was given
  bool fetchFailed = false;   // a fetch ended with an error: `rows` are those read before it
  // The driver's word on a failed execution or fetch, else on the first
  // failed binding (a binding failure leaves that column empty and is not
  // a failure of the preview).
  std::string diagnostic;
};

// Describes `columnCount` columns (the first failure ends the description),
// executes (a failure ends it with the headings given and the diagnostic
// read), binds each column by its type and reads the rows. The notice
// "No More than 65535 records supported in a single PDB!!" comes only when
// a row beyond the 65,535th really exists.
PreviewResult FillPreview(ResultSource& source, std::int16_t columnCount, PreviewSink& sink,
                          NoticeSink& notices, ProgressSink* progress = nullptr);

}  // namespace tallowick
