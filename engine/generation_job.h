#pragma once
// One generation run: describe the columns (Helper file, log heads), then
// read every row into records and write the PDB and the log tails. The PDB
// and its Helper file are one unit: both are written beside their targets
// and put in place together only when every row was read and both files are
// complete; otherwise the earlier pair stays as it was.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "engine/column_info.h"
#include "engine/generation_log.h"
#include "engine/handheld_charset.h"
#include "engine/log_file.h"
#include "engine/pdb_file.h"
#include "engine/result_source.h"
#include "engine/spooled_pdb_writer.h"
#include "engine/temporary_output_file.h"

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
  // The largest PDB file the run writes: what 32-bit offsets reach. Tests
  // lower it to reach the limit without writing gigabytes.
  std::uint64_t maxPdbSize = kMaxPdbFileSize;
};

// What stopped a run.
enum class GenerationFailure {
  None,
  Execute,    // the query could not be executed
  Fetch,      // reading a row failed
  WriteFile,  // the Helper file or the PDB could not be written (failedFile)
  TooLarge,   // the PDB would pass the most 32-bit offsets address
};

struct GenerationResult {
  bool ok = false;  // the Helper file and the PDB were put in place together
  GenerationFailure failure = GenerationFailure::None;
  std::string failed;          // what failed, in a few words; empty when ok
  std::string failedFile;      // full path of the file that could not be written
  std::uint32_t records = 0;   // records written to the PDB (0 unless ok)
  std::uint32_t rowsRead = 0;  // rows read from the source and made into records
  std::string diagnostic;      // the driver's diagnostic line ("message  STATE") of a failed
                               // execution or fetch; empty otherwise
};

class GenerationJob {
 public:
  GenerationJob(NoticeSink& notices, ProgressSink* progress = nullptr);

  // Returns 1 when the Helper file and the PDB were put in place, else 0;
  // Result() then says what failed. Waits first while another run writes
  // into the same output folder.
  int Generate(ResultSource& source, const GenerationRequest& request);
  const GenerationResult& Result() const { return m_result; }

 private:
  struct BoundColumns;

  void DescribeColumns(ResultSource& source);
  // Reads the rows into the PDB, writes it and its Helper file, then the
  // logs' tails.
  void ConvertRows(ResultSource& source);
  // Executes the query and reads the rows into the spooled PDB; false when
  // the run failed.
  bool ReadRows(ResultSource& source, SpooledPdbWriter& pdb);
  BoundColumns BindColumns(ResultSource& source);
  // Fetches, encodes and spools every row; false when the run failed.
  bool ReadRecords(ResultSource& source, SpooledPdbWriter& pdb, BoundColumns& columns);
  // Closes the record just encoded; false (the run failed) when it cannot be
  // written or the PDB would grow past its limit.
  bool EndRecord(SpooledPdbWriter& pdb);
  // Completes the PDB and puts it in place with its Helper file.
  void WritePair(SpooledPdbWriter& pdb);
  // Renames the two completed files into place; false when one could not be.
  bool PutPairInPlace(SpooledPdbWriter& pdb);
  void WriteTails();
  void Fail(GenerationFailure failure, std::string failed);
  void FailWriting(const std::string& path);

  NoticeSink& m_notices;
  ProgressSink* m_progress;
  GenerationRequest m_request;
  std::string m_helperName;
  std::vector<ColumnInfo> m_columns;
  DateTimeUse m_dateTimeUse;
  std::string m_handheldPdbName;  // the PDB name in the handheld's set
  std::unique_ptr<TemporaryOutputFile> m_helperFile;
  LogFile m_log;
  LogFile m_processLog;
  GenerationResult m_result;
};

}  // namespace tallowick
