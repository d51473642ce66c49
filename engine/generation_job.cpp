#include "engine/generation_job.h"

#include <cstring>
#include <ctime>

#include "engine/field_encoder.h"
#include "engine/helper_file.h"
#include "platform/file_lock.h"
#include "platform/file_system.h"
#include "platform/stale_files.h"

namespace tallowick {

namespace {

constexpr const char* kPdbExtension = ".pdb";
constexpr std::uint32_t kProgressInterval = 1000;

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

bool IsFolder(const std::string& path) {
  return platform::KindOf(path) == platform::PathKind::Folder;
}

void Flush(const LogFile& log) {
  if (log) std::fflush(log.get());
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
  const std::string& folder = m_request.outputFolder;

  // One run at a time writes into a folder: its files and logs never mix
  // with another's. A folder that cannot be locked cannot be written either;
  // the run then fails on its first file.
  platform::FileLock lock;
  if (IsFolder(folder)) {
    lock.Lock(folder, [this, &folder] {
      m_notices.Waiting("Another run is writing into " + folder + "; waiting for it to finish");
    });
    platform::RemoveStaleFiles(folder, kTemporaryPrefix, kTemporarySuffix);
  }

  m_processLog = OpenEmptiedLog(folder + kProcessLogFileName);
  m_log = OpenEmptiedLog(folder + kLogFileName);
  DescribeColumns(source);
  ConvertRows(source);
  m_log.reset();
  m_processLog.reset();
  m_helperFile.reset();
  // Nothing of the run's buffers outlives it.
  for (ColumnInfo& column : m_columns) std::vector<unsigned char>().swap(column.value);
  return m_result.ok ? 1 : 0;
}

void GenerationJob::Fail(GenerationFailure failure, std::string failed) {
  if (m_result.failure != GenerationFailure::None) return;
  m_result.failure = failure;
  m_result.failed = std::move(failed);
}

void GenerationJob::FailWriting(const std::string& path) {
  if (m_result.failure != GenerationFailure::None) return;
  Fail(GenerationFailure::WriteFile, "\"" + path + "\" could not be written");
  m_result.failedFile = path;
  WriteProcessFileError(m_processLog.get(), path);
}

void GenerationJob::DescribeColumns(ResultSource& source) {
  const std::string& folder = m_request.outputFolder;
  std::FILE* processLog = m_processLog.get();
  std::FILE* log = m_log.get();
  WriteProcessHead(processLog, m_request.pdbName);
  WriteLogHead(log, m_request.pdbName, m_request.creator, m_request.type);

  HandheldTextEncoder encoder(m_request.charset);
  // The header holds 31 bytes of the name: whole characters only.
  m_handheldPdbName = encoder.ConvertWithin(m_request.pdbName, kPdbNameField - 1);
  std::vector<HelperField> fields;
  for (int number = 1; number <= m_request.columnCount; ++number) {
    std::string name;
    std::int16_t sqlType = 0;
    // A column that cannot be described ends the description: it and every
    // later column are left out.
    if (!source.DescribeColumn(static_cast<std::uint16_t>(number), name, sqlType)) break;
    ColumnInfo column =
        MakeColumnInfo(static_cast<std::uint16_t>(number), std::move(name), sqlType);
    if (column.kind) {
      WriteLogMember(log, column.group, column.name);
      fields.push_back({static_cast<std::uint8_t>(*column.kind), column.name});
    }
    WriteProcessColumn(processLog, number, column.name, column.group);
    m_columns.push_back(std::move(column));
  }

  // The Helper file waits beside its target until the PDB is complete too.
  const std::string helperPath = HelperFilePath(folder, m_request.pdbName);
  m_helperFile = std::make_unique<TemporaryOutputFile>();
  if (!CanReplaceByRename(helperPath) ||
      !WriteHelperFile(*m_helperFile, folder, m_request.pdbName, m_request.creator, m_request.type,
                       fields, m_request.charset)) {
    m_helperFile->Remove();
    FailWriting(helperPath);
  }

  WriteLogRecordEnd(log);
  WriteProcessDescribeEnd(processLog);
  Flush(m_log);
  Flush(m_processLog);
}

// The columns bound for one run: the record's fields in order, the fields
// whose binding failed (each encoded as NULL), and the text fields, which
// are converted into the handheld's set before the tab and carriage-return
// rules apply.
struct GenerationJob::BoundColumns {
  std::vector<ColumnInfo*> fields;
  std::vector<ColumnInfo*> unbound;
  std::vector<ColumnInfo*> texts;
  std::vector<unsigned long> replaced;  // characters of each text field replaced by "?"
  DateTimeUse use;
};

void GenerationJob::ConvertRows(ResultSource& source) {
  WriteProcessConvertStart(m_processLog.get());
  PdbFile file(m_request.pdbName, m_request.outputFolder, kPdbExtension);
  file.SetDatabaseName(m_handheldPdbName);
  SpooledPdbWriter pdb(std::move(file));
  const std::string pdbPath = pdb.File().WritePath();
  // Nothing is read when its files cannot be written.
  if (m_result.failure == GenerationFailure::None &&
      (!CanReplaceByRename(pdbPath) || !pdb.Open())) {
    FailWriting(pdbPath);
  }
  if (m_result.failure == GenerationFailure::None && ReadRows(source, pdb)) {
    WriteProcessReadEnd(m_processLog.get());
    WritePair(pdb);
  }
  pdb.Discard();
  WriteTails();
}

bool GenerationJob::ReadRows(ResultSource& source, SpooledPdbWriter& pdb) {
  if (!source.Execute()) {
    m_result.diagnostic = source.Diagnostic();
    WriteProcessExecuteError(m_processLog.get(), m_result.diagnostic);
    Fail(GenerationFailure::Execute, "the query could not be executed");
    return false;
  }
  BoundColumns columns = BindColumns(source);
  if (!ReadRecords(source, pdb, columns)) return false;
  if (m_result.rowsRead > 0) m_dateTimeUse = columns.use;

  std::vector<ReplacedCharacters> replacements;
  for (std::size_t t = 0; t < columns.texts.size(); ++t) {
    if (columns.replaced[t] == 0) continue;
    replacements.push_back({columns.texts[t]->name, columns.replaced[t]});
  }
  WriteProcessReplacements(m_processLog.get(), InfoOf(m_request.charset).label, replacements);
  return true;
}

GenerationJob::BoundColumns GenerationJob::BindColumns(ResultSource& source) {
  BoundColumns bound;
  for (ColumnInfo& column : m_columns) {
    column.indicator = kNullIndicator;
    if (column.kind) column.value.assign(kValueBufferSize, 0);
    const bool bindingWorked = source.BindColumn(column);
    if (!bindingWorked) WriteProcessBindError(m_processLog.get(), source.Diagnostic());
    if (!column.kind) continue;
    bound.fields.push_back(&column);
    if (!bindingWorked) bound.unbound.push_back(&column);
    if (column.bindType == bind::Char) bound.texts.push_back(&column);
    bound.use.timestamp |= column.bindType == bind::Timestamp;
    bound.use.time |= column.bindType == bind::Time;
    bound.use.date |= column.bindType == bind::Date;
  }
  bound.replaced.assign(bound.texts.size(), 0);
  return bound;
}

bool GenerationJob::ReadRecords(ResultSource& source, SpooledPdbWriter& pdb,
                                BoundColumns& columns) {
  const bool convert = m_request.charset != HandheldCharset::Utf8;
  HandheldTextEncoder encoder(m_request.charset);
  std::string scratch;
  std::uint32_t& count = m_result.rowsRead;
  for (;;) {
    const FetchStatus status = source.FetchNext();
    if (status == FetchStatus::NoData) return true;
    if (status == FetchStatus::Error) {
      m_result.diagnostic = source.Diagnostic();
      WriteProcessFetchError(m_processLog.get(), count, m_result.diagnostic);
      Fail(GenerationFailure::Fetch, "reading row " + std::to_string(count + 1) + " failed");
      return false;
    }
    // Only a row that really exists beyond the limit earns the notice.
    if (count == kMaxRecords) {
      m_notices.Notice(kRowLimitMessage);
      return true;
    }
    if (columns.fields.empty()) return true;
    for (ColumnInfo* column : columns.unbound) column->indicator = kNullIndicator;
    for (std::size_t t = 0; convert && t < columns.texts.size(); ++t) {
      columns.replaced[t] += ConvertForHandheld(*columns.texts[t], encoder, scratch);
    }
    for (const ColumnInfo* column : columns.fields) EncodeField(*column, pdb.Records());
    ++count;
    if (!EndRecord(pdb)) return false;
    if (m_progress != nullptr && count % kProgressInterval == 0) m_progress->RowsRead(count);
  }
}

bool GenerationJob::EndRecord(SpooledPdbWriter& pdb) {
  if (!pdb.EndRecord()) {
    FailWriting(pdb.File().WritePath());
    return false;
  }
  // Reading on would only make a file that no offset can address.
  if (pdb.FileSize() > m_request.maxPdbSize) {
    WriteProcessSizeLimit(m_processLog.get(), m_result.rowsRead);
    Fail(GenerationFailure::TooLarge,
         "the PDB would pass 4 GiB, the most its 32-bit offsets can address");
    return false;
  }
  return true;
}

void GenerationJob::WritePair(SpooledPdbWriter& pdb) {
  if (!pdb.Finish(m_request.creator, m_request.type,
                  static_cast<std::int64_t>(std::time(nullptr)))) {
    FailWriting(pdb.File().WritePath());
  } else if (PutPairInPlace(pdb)) {
    m_result.ok = true;
    m_result.records = static_cast<std::uint32_t>(pdb.RecordCount());
  }
}

void GenerationJob::WriteTails() {
  std::FILE* processLog = m_processLog.get();
  if (m_result.ok) {
    WriteProcessWriteEnd(processLog, m_result.records);
    WriteLogTail(m_log.get(), m_result.records, m_dateTimeUse, m_helperName, m_request.pdbName,
                 m_request.outputFolder);
    WriteProcessTail(processLog, m_helperName, m_request.pdbName);
  } else {
    WriteProcessRunFailed(processLog);
    WriteLogFailedTail(m_log.get(), m_request.outputFolder);
  }
}

bool GenerationJob::PutPairInPlace(SpooledPdbWriter& pdb) {
  const std::string helperPath = HelperFilePath(m_request.outputFolder, m_request.pdbName);
  if (!m_helperFile->RenameTo(helperPath)) {
    FailWriting(helperPath);
    return false;
  }
  if (!pdb.Commit()) {
    FailWriting(pdb.File().WritePath());
    return false;
  }
  return true;
}

}  // namespace tallowick
