#pragma once
// One generation run: describe the columns (Helper file, log heads), then
// read every row into records and write the PDB and the log tails.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "engine/column_info.h"
#include "engine/generation_log.h"
#include "engine/handheld_charset.h"
#include "engine/pdb_file.h"
#include "engine/result_source.h"

namespace tallowick {

struct GenerationRequest {
  std::string outputFolder;  // ends with '/'
  std::int16_t columnCount = 0;
  std::string pdbName;  // at most 31 characters, no '/'
  std::string creator;  // 4 characters
  std::string type;     // 4 characters
  // Text bound for the handheld (record strings, the Helper file's texts,
  // the database name) is converted into this set.
  HandheldCharset charset = HandheldCharset::Western;
};

struct GenerationResult {
  bool ok = false;            // the Helper file and the PDB exist whole
  std::string failedFile;     // full path of the file that could not be written
  std::uint32_t records = 0;  // records written to the PDB
};

class GenerationJob {
 public:
  GenerationJob(NoticeSink& notices, ProgressSink* progress = nullptr);

  // Returns 1 when the Helper file and the PDB were written, else 0;
  // Result() then names the file that failed.
  int Generate(ResultSource& source, const GenerationRequest& request);
  const GenerationResult& Result() const { return m_result; }

  void DescribeColumns(ResultSource& source);
  void ConvertRows(ResultSource& source);

 private:
  NoticeSink& m_notices;
  ProgressSink* m_progress;
  GenerationRequest m_request;
  std::string m_helperName;
  std::vector<ColumnInfo> m_columns;
  DateTimeUse m_dateTimeUse;
  std::string m_handheldPdbName;  // the PDB name in the handheld's set
  bool m_helperWritten = false;
  GenerationResult m_result;
};

}  // namespace tallowick
