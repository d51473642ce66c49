#pragma once
// Reading a handle's first ODBC diagnostic record, and the texts made of it.

#include <cstddef>
#include <string>

#include "source/odbc_api.h"

namespace tallowick {

// Stands in for the message when a driver fails without leaving a record
// (MDB Tools on a missing file, for one).
inline constexpr const char* kNoDiagnosticMessage = "The driver reported no diagnostic";
// Stands in for a missing or empty SQLSTATE.
inline constexpr const char* kUnknownState = "HY000";

struct DiagnosticRecord {
  bool present = false;  // SQLGetDiagRec found record 1
  std::string state;     // five characters, or empty
  std::string message;   // trailing line breaks removed
};

// Reads record 1 of the handle with a message buffer of `messageBuffer`
// bytes, so the message keeps at most messageBuffer - 1 bytes (cut at a
// character boundary of UTF-8 text).
DiagnosticRecord ReadFirstDiagnostic(SQLSMALLINT handleType, SQLHANDLE handle,
                                     std::size_t messageBuffer);

// "message  STATE", message at most 99 bytes; a readable text when the
// driver left no record or an empty one.
std::string DiagnosticLine(const DiagnosticRecord& record);
std::string StatementDiagnostic(SQLHSTMT statement);

// "ODBC Error ::" + message (at most 299 bytes) + two blanks.
std::string OdbcErrorText(const DiagnosticRecord& record);
std::string FormatOdbcError(SQLHDBC connection);

// True when the message mentions a password, in any letter case.
bool MentionsPassword(const std::string& message);
bool IsPasswordError(SQLSMALLINT handleType, SQLHANDLE handle);

// Cuts `text` to at most `maxBytes` bytes without splitting a UTF-8 sequence.
std::string CutAtCharacter(const std::string& text, std::size_t maxBytes);

}  // namespace tallowick
