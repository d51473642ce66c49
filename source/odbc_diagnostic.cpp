#include "source/odbc_diagnostic.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "source/odbc_api.h"

namespace tallowick {

namespace {

constexpr std::size_t kStatementMessageBuffer = 100;
constexpr std::size_t kConnectionMessageBuffer = 300;

std::string WithoutTrailingLineBreaks(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  return text;
}

}  // namespace

std::string CutAtCharacter(const std::string& text, std::size_t maxBytes) {
  if (text.size() <= maxBytes) return text;
  std::size_t end = maxBytes;
  // Step back over continuation bytes (10xxxxxx) to the start of the
  // sequence that the cut would split.
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  return text.substr(0, end);
}

DiagnosticRecord ReadFirstDiagnostic(SQLSMALLINT handleType, SQLHANDLE handle,
                                     std::size_t messageBuffer) {
  DiagnosticRecord record;
  if (handle == SQL_NULL_HANDLE || messageBuffer == 0) return record;
  SQLCHAR state[6] = {};
  SQLINTEGER nativeError = 0;
  // Room for the driver's whole message; cut afterwards at a character.
  std::vector<SQLCHAR> message(1024, 0);
  SQLSMALLINT length = 0;
  const SQLRETURN result = SQLGetDiagRec(handleType, handle, 1, state, &nativeError, message.data(),
                                         static_cast<SQLSMALLINT>(message.size()), &length);
  if (!SQL_SUCCEEDED(result)) return record;
  record.present = true;
  record.state.assign(reinterpret_cast<const char*>(state));
  const std::string full(reinterpret_cast<const char*>(message.data()));
  record.message = WithoutTrailingLineBreaks(CutAtCharacter(full, messageBuffer - 1));
  return record;
}

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
