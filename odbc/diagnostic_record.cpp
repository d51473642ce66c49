#include "odbc/diagnostic_record.h"

#include <vector>

#include "platform/driver_text.h"

namespace tallowick {

namespace {

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
  const std::string full = platform::TextFromDrivers(reinterpret_cast<const char*>(message.data()));
  record.message = WithoutTrailingLineBreaks(CutAtCharacter(full, messageBuffer - 1));
  return record;
}

}  // namespace tallowick
