#include "source/identifier_quoting.h"

#include <sqlext.h>

#include "source/source_kind.h"

namespace tallowick {

namespace {

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

bool IsPlainIdentifier(const std::string& name) {
  if (name.empty() || IsAsciiDigit(name[0])) return false;
  for (char c : name) {
    if (!IsAsciiLetter(c) && !IsAsciiDigit(c) && c != '_') return false;
  }
  return true;
}

std::string QueryNaming::Quoted(const std::string& name) const {
  if (open.empty()) return name;
  // A closing quote inside the name is doubled, as SQL escapes it.
  std::string text = open;
  for (char c : name) {
    text.push_back(c);
    if (close.size() == 1 && c == close[0]) text.push_back(c);
  }
  return text + close;
}

std::string QueryNaming::Table(const std::string& name) const {
  if (bracketEveryTable) return "[" + name + "]";
  return IsPlainIdentifier(name) ? name : Quoted(name);
}

std::string QueryNaming::Column(const std::string& name) const {
  return IsPlainIdentifier(name) ? name : Quoted(name);
}

std::string QueryNaming::PdbNameOf(const std::string& table) const {
  return bracketEveryTable ? "[" + table + "]" : table;
}

QueryNaming NamingFor(int kind, SQLHDBC connection) {
  QueryNaming naming;
  if (kind == kAccessFile || kind == kExcelFile) {
    naming.bracketEveryTable = kind == kExcelFile;
    naming.open = "[";
    naming.close = "]";
    return naming;
  }
  SQLCHAR quote[8] = {};
  SQLSMALLINT length = 0;
  const SQLRETURN result =
      connection == SQL_NULL_HANDLE
          ? SQL_ERROR
          : SQLGetInfo(connection, SQL_IDENTIFIER_QUOTE_CHAR, quote, sizeof quote, &length);
  std::string text = SQL_SUCCEEDED(result) ? std::string(reinterpret_cast<const char*>(quote)) : "\"";
  if (text == " ") text.clear();  // the driver does not quote identifiers
  naming.open = text;
  naming.close = text;
  return naming;
}

}  // namespace tallowick
