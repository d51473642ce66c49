#pragma once
// Reading a handle's first ODBC diagnostic record, and the texts made of it.

#include <cstddef>
#include <string>

#include "odbc/diagnostic_record.h"
#include "odbc/odbc_api.h"

namespace tallowick {

// Stands in for the message when a driver fails without leaving a record
// (MDB Tools on a missing file, for one).
inline constexpr const char* kNoDiagnosticMessage = "The driver reported no diagnostic";
// Stands in for a missing or empty SQLSTATE.
inline constexpr const char* kUnknownState = "HY000";

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

}  // namespace tallowick
