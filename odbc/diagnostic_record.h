#pragma once
// A handle's first ODBC diagnostic record.
#include <cstddef>
#include <string>

#include "odbc/odbc_api.h"

namespace tallowick {

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

// Cuts `text` to at most `maxBytes` bytes without splitting a UTF-8 sequence.
std::string CutAtCharacter(const std::string& text, std::size_t maxBytes);

}  // namespace tallowick
