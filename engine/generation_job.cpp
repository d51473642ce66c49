#include "engine/generation_job.h"

#include <memory>

#include "engine/field_encoder.h"
#include "engine/helper_file.h"
#include "engine/record_arena.h"

namespace tallowick {

namespace {

constexpr const char* kPdbExtension = ".pdb";
constexpr std::uint32_t kProgressInterval = 1000;

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
// A log stream; null when the log could not be opened, and every text meant
// for it is then skipped.
using LogFile = std::unique_ptr<std::FILE, FileCloser>;

LogFile OpenLog(const std::string& folder, const char* name, const char* mode) {
  return LogFile(std::fopen((folder + name).c_str(), mode));
}

}  // namespace

GenerationJob::GenerationJob(NoticeSink& notices, ProgressSink* progress)
    : m_notices(notices), m_progress(progress) {}

int GenerationJob::Generate(ResultSource& source, const GenerationRequest& request) {
  m_request = request;
  m_helperName = HelperName(request.pdbName);
  m_columns.clear();
  m_dateTimeUse = {};
  m_result = {};
  DescribeColumns(source);
  ConvertRows(source);
  return m_result.ok ? 1 : 0;
}

void GenerationJob::DescribeColumns(ResultSource& source) {
  const std::string& folder = m_request.outputFolder;
  m_helperName = HelperName(m_request.pdbName);
  m_columns.clear();
  LogFile processLog = OpenLog(folder, kProcessLogFileName, "w");
  LogFile log = OpenLog(folder, kLogFileName, "w");
  WriteProcessHead(processLog.get(), m_request.pdbName);
  WriteLogHead(log.get(), m_request.pdbName, m_request.creator, m_request.type);

  std::vector<HelperField> fields;
  for (int number = 1; number <= m_request.columnCount; ++number) {
    std::string name;
    std::int16_t sqlType = 0;
    // A column that cannot be described ends the description: it and every
    // later column are left out.
    if (!source.DescribeColumn(static_cast<std::uint16_t>(number), name, sqlType)) break;
    ColumnInfo column = MakeColumnInfo(static_cast<std::uint16_t>(number), std::move(name), sqlType);
    if (column.kind) {
      WriteLogMember(log.get(), column.group, column.name);
      fields.push_back({static_cast<std::uint8_t>(*column.kind), column.name});
    }
    WriteProcessColumn(processLog.get(), number, column.name, column.group);
    m_columns.push_back(std::move(column));
  }

  m_helperWritten = WriteHelperFile(folder, m_request.pdbName, m_request.creator, m_request.type,
                                    fields);
  if (!m_helperWritten) {
    m_result.failedFile = folder + m_helperName + kHelperExtension;
    WriteProcessFileError(processLog.get(), m_result.failedFile);
  }

  WriteLogRecordEnd(log.get());
  log.reset();
  WriteProcessDescribeEnd(processLog.get());
}

void GenerationJob::ConvertRows(ResultSource& source) {
  const std::string& folder = m_request.outputFolder;
  LogFile processLog = OpenLog(folder, kProcessLogFileName, "a+");
  WriteProcessConvertStart(processLog.get());

  if (!source.Execute() && processLog) {
    WriteProcessExecuteError(processLog.get(), source.Diagnostic());
  }

  // Fields in record order; a field whose binding failed is encoded as NULL.
  std::vector<ColumnInfo*> fields;
  std::vector<ColumnInfo*> unbound;
  DateTimeUse use;
  for (ColumnInfo& column : m_columns) {
    column.indicator = kNullIndicator;
    if (column.kind) column.value.assign(kValueBufferSize, 0);
    const bool bound = source.BindColumn(column);
    if (!bound && processLog) WriteProcessBindError(processLog.get(), source.Diagnostic());
    if (!column.kind) continue;
    fields.push_back(&column);
    if (!bound) unbound.push_back(&column);
    use.timestamp |= column.bindType == bind::Timestamp;
    use.time |= column.bindType == bind::Time;
    use.date |= column.bindType == bind::Date;
  }

  LogFile log = OpenLog(folder, kLogFileName, "a+");

  RecordArena records;
  records.ReserveRecords(kMaxRecords);
  std::uint32_t count = 0;
  for (;;) {
    const FetchStatus status = source.FetchNext();
    if (status == FetchStatus::NoData) break;
    if (status == FetchStatus::Error) {
      if (processLog) WriteProcessFetchError(processLog.get(), count, source.Diagnostic());
      break;
    }
    // Only a row that really exists beyond the limit earns the notice.
    if (count == kMaxRecords) {
      m_notices.Notice(kRowLimitMessage);
      break;
    }
    if (fields.empty()) break;
    for (ColumnInfo* column : unbound) column->indicator = kNullIndicator;
    for (const ColumnInfo* column : fields) EncodeField(*column, records);
    records.EndRecord();
    ++count;
    if (m_progress != nullptr && count % kProgressInterval == 0) m_progress->RowsRead(count);
  }
  if (count > 0) m_dateTimeUse = use;

  WriteProcessReadEnd(processLog.get());
  PdbFile pdb(m_request.pdbName, folder, kPdbExtension);
  const bool pdbWritten = pdb.Write(records, m_request.creator, m_request.type);
  if (pdbWritten) {
    m_result.records = count;
    WriteProcessWriteEnd(processLog.get(), count);
  } else {
    m_result.records = 0;
    if (m_result.failedFile.empty()) m_result.failedFile = pdb.WritePath();
    WriteProcessWriteFailed(processLog.get(), pdb.WritePath());
  }
  m_result.ok = m_helperWritten && pdbWritten;

  WriteLogTail(log.get(), m_result.records, m_dateTimeUse, m_helperName, m_request.pdbName,
               folder);
  WriteProcessTail(processLog.get(), m_helperName, m_request.pdbName);
  log.reset();
  processLog.reset();

  // Nothing of the run's buffers outlives it.
  for (ColumnInfo& column : m_columns) std::vector<unsigned char>().swap(column.value);
}

}  // namespace tallowick
