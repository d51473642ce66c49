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

// "TallowickLog.txt"
void WriteLogHead(std::FILE* log, const std::string& pdbName, const std::string& creator,
                  const std::string& type);  // up to and including "typedef struct\n{"
void WriteLogMember(std::FILE* log, RowGroup group, const std::string& columnName);
void WriteLogRecordEnd(std::FILE* log);  // "}\n"
void WriteLogTail(std::FILE* log, unsigned long total, const DateTimeUse& use,
                  const std::string& helperName, const std::string& pdbName,
                  const std::string& outputFolder);

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
// In place of WriteProcessWriteEnd when the PDB could not be written: the
// file error, then a total of 0.
void WriteProcessWriteFailed(std::FILE* log, const std::string& path);
// Characters of text fields that the handheld's set cannot hold and that
// were stored as "?", per column (only columns with replacements).
struct ReplacedCharacters {
  std::string column;
  unsigned long count = 0;
};
void WriteProcessReplacements(std::FILE* log, const std::string& charsetLabel,
                              const std::vector<ReplacedCharacters>& columns);
void WriteProcessTail(std::FILE* log, const std::string& helperName, const std::string& pdbName);

// "\n\t\t%s \n\n" with `diagnostic` ("message  STATE").
void WriteDiagnosticLine(std::FILE* log, const std::string& diagnostic);

}  // namespace tallowick
