#include "engine/generation_job.h"

#include <cstring>
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

// Converts a text value into the handheld's set in place; returns the
// number of characters replaced by "?".
std::size_t ConvertForHandheld(ColumnInfo& column, HandheldTextEncoder& encoder,
                               std::string& scratch) {
  if (column.IsNull() || column.value.empty()) return 0;
  char* text = reinterpret_cast<char*>(column.value.data());
  const std::size_t length = strnlen(text, column.value.size());
  if (IsAsciiText(text, length)) return 0;
  const std::size_t replaced = encoder.Convert(text, length, scratch, column.value.size() - 1);
  std::memcpy(text, scratch.data(), scratch.size());
  text[scratch.size()] = '\0';
  return replaced;
}

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

  HandheldTextEncoder encoder(m_request.charset);
  m_handheldPdbName = encoder.Convert(m_request.pdbName);
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
      fields.push_back({static_cast<std::uint8_t>(*column.kind), encoder.Convert(column.name)});
    }
    WriteProcessColumn(processLog.get(), number, column.name, column.group);
    m_columns.push_back(std::move(column));
  }

  m_helperWritten = WriteHelperFile(folder, m_request.pdbName, m_handheldPdbName,
                                    m_request.creator, m_request.type, fields);
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

  // Text fields are converted into the handheld's set before the tab and
  // carriage-return rules apply.
  const bool convert = m_request.charset != HandheldCharset::Utf8;
  HandheldTextEncoder encoder(m_request.charset);
  std::string scratch;
  std::vector<ColumnInfo*> texts;
  for (ColumnInfo* column : fields) {
    if (column->bindType == bind::Char) texts.push_back(column);
  }
  std::vector<unsigned long> replaced(texts.size(), 0);

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
    if (convert) {
      for (std::size_t t = 0; t < texts.size(); ++t) {
        replaced[t] += ConvertForHandheld(*texts[t], encoder, scratch);
      }
    }
    for (const ColumnInfo* column : fields) EncodeField(*column, records);
    records.EndRecord();
    ++count;
    if (m_progress != nullptr && count % kProgressInterval == 0) m_progress->RowsRead(count);
  }
  if (count > 0) m_dateTimeUse = use;

  std::vector<ReplacedCharacters> replacements;
  for (std::size_t t = 0; t < texts.size(); ++t) {
    if (replaced[t] > 0) replacements.push_back({texts[t]->name, replaced[t]});
  }
  WriteProcessReplacements(processLog.get(), InfoOf(m_request.charset).label, replacements);

  WriteProcessReadEnd(processLog.get());
  PdbFile pdb(m_request.pdbName, folder, kPdbExtension);
  pdb.SetDatabaseName(m_handheldPdbName);
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
