#pragma once
// The texts of the two generation logs. Every function takes a stream that
// may be null (a log that could not be opened); then it writes nothing.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "engine/field_kind.h"

namespace tallowick {

inline constexpr const char* kLogFileName = "TallowickLog.txt";
inline constexpr const char* kProcessLogFileName = "TallowickProcess.log";

// Which Palm date/time types the records used (a NULL value counts).
struct DateTimeUse {
  bool timestamp = false;
  bool time = false;
  bool date = false;
};

// A column name as the logs show it: line breaks, tabs and the other
// control characters (C0, DEL, and C1 as UTF-8) escaped as "\n", "\r", "\t"
// and "\x1b"; every other byte stays as it is.
std::string EscapeControlCharacters(const std::string& text);

// "TallowickLog.txt"
void WriteLogHead(std::FILE* log, const std::string& pdbName, const std::string& creator,
                  const std::string& type);  // up to and including "typedef struct\n{"
void WriteLogMember(std::FILE* log, RowGroup group, const std::string& columnName);
// The member line WriteLogMember writes; empty for RowGroup::None.
std::string LogMemberLine(RowGroup group, const std::string& columnName);
void WriteLogRecordEnd(std::FILE* log);  // "}\n"
void WriteLogTail(std::FILE* log, unsigned long total, const DateTimeUse& use,
                  const std::string& helperName, const std::string& pdbName,
                  const std::string& outputFolder);
// In place of WriteLogTail when the run failed: a total of 0 and where to
// read why.
void WriteLogFailedTail(std::FILE* log, const std::string& outputFolder);

// "TallowickProcess.log"
void WriteProcessHead(std::FILE* log, const std::string& pdbName);  // + "Retriving database..."
void WriteProcessColumn(std::FILE* log, int columnNumber, const std::string& columnName,
                        RowGroup group);
void WriteProcessDescribeEnd(std::FILE* log);
void WriteProcessConvertStart(std::FILE* log);
void WriteProcessExecuteError(std::FILE* log, const std::string& diagnostic);
void WriteProcessBindError(std::FILE* log, const std::string& diagnostic);
void WriteProcessFetchError(std::FILE* log, unsigned long rowsRead, const std::string& diagnostic);
void WriteProcessReadEnd(std::FILE* log);  // "Finished Reading..." + "Writing Records..."
void WriteProcessWriteEnd(std::FILE* log, unsigned long total);
// A file of the run that could not be written whole (Helper file or PDB):
// "\nCould not write \"<path>\"\n\n".
void WriteProcessFileError(std::FILE* log, const std::string& path);
// Characters of text fields that the handheld's set cannot hold and that
// were stored as "?", per column (only columns with replacements).
struct ReplacedCharacters {
  std::string column;
  unsigned long count = 0;
};
void WriteProcessReplacements(std::FILE* log, const std::string& charsetLabel,
                              const std::vector<ReplacedCharacters>& columns);
void WriteProcessTail(std::FILE* log, const std::string& helperName, const std::string& pdbName);
// Reading stopped because record no. `records` (from 1) would take the PDB
// beyond 4 GiB.
void WriteProcessSizeLimit(std::FILE* log, unsigned long records);
// In place of the closing text when the run failed: nothing was put in place.
void WriteProcessRunFailed(std::FILE* log);

// "\n\t\t%s \n\n" with `diagnostic` ("message  STATE").
void WriteDiagnosticLine(std::FILE* log, const std::string& diagnostic);

}  // namespace tallowick
