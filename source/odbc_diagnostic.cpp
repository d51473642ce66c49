#include "source/odbc_diagnostic.h"

#include <algorithm>
#include <cctype>

#include "odbc/odbc_api.h"

namespace tallowick {

namespace {

constexpr std::size_t kStatementMessageBuffer = 100;
constexpr std::size_t kConnectionMessageBuffer = 300;

}  // namespace

std::string DiagnosticLine(const DiagnosticRecord& record) {
  const std::string message = (record.present && !record.message.empty())
                                  ? CutAtCharacter(record.message, kStatementMessageBuffer - 1)
                                  : std::string(kNoDiagnosticMessage);
  const bool stateUsable = record.present && record.state.size() == 5;
  return message + "  " + (stateUsable ? record.state : std::string(kUnknownState));
}

std::string StatementDiagnostic(SQLHSTMT statement) {
  return DiagnosticLine(ReadFirstDiagnostic(SQL_HANDLE_STMT, statement, kStatementMessageBuffer));
}

std::string OdbcErrorText(const DiagnosticRecord& record) {
  const std::string message = (record.present && !record.message.empty())
                                  ? record.message
                                  : std::string(kNoDiagnosticMessage);
  return "ODBC Error ::" + message + "  ";
}

std::string FormatOdbcError(SQLHDBC connection) {
  return OdbcErrorText(ReadFirstDiagnostic(SQL_HANDLE_DBC, connection, kConnectionMessageBuffer));
}

bool MentionsPassword(const std::string& message) {
  std::string upper = message;
  std::transform(upper.begin(), upper.end(), upper.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return upper.find("PASSWORD") != std::string::npos;
}

bool IsPasswordError(SQLSMALLINT handleType, SQLHANDLE handle) {
  const DiagnosticRecord record = ReadFirstDiagnostic(handleType, handle, kConnectionMessageBuffer);
  return record.present && MentionsPassword(record.message);
}

}  // namespace tallowick
