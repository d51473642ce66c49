#include "source/identifier_quoting.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "odbc/odbc_api.h"
#include "source/source_kind.h"

namespace tallowick {

namespace {

// The reserved words of SQL-92 (ISO/IEC 9075:1992, 5.2), sorted.
constexpr std::array<std::string_view, 227> kSql92ReservedWords = {"ABSOLUTE",
                                                                   "ACTION",
                                                                   "ADD",
                                                                   "ALL",
                                                                   "ALLOCATE",
                                                                   "ALTER",
                                                                   "AND",
                                                                   "ANY",
                                                                   "ARE",
                                                                   "AS",
                                                                   "ASC",
                                                                   "ASSERTION",
                                                                   "AT",
                                                                   "AUTHORIZATION",
                                                                   "AVG",
                                                                   "BEGIN",
                                                                   "BETWEEN",
                                                                   "BIT",
                                                                   "BIT_LENGTH",
                                                                   "BOTH",
                                                                   "BY",
                                                                   "CASCADE",
                                                                   "CASCADED",
                                                                   "CASE",
                                                                   "CAST",
                                                                   "CATALOG",
                                                                   "CHAR",
                                                                   "CHARACTER",
                                                                   "CHARACTER_LENGTH",
                                                                   "CHAR_LENGTH",
                                                                   "CHECK",
                                                                   "CLOSE",
                                                                   "COALESCE",
                                                                   "COLLATE",
                                                                   "COLLATION",
                                                                   "COLUMN",
                                                                   "COMMIT",
                                                                   "CONNECT",
                                                                   "CONNECTION",
                                                                   "CONSTRAINT",
                                                                   "CONSTRAINTS",
                                                                   "CONTINUE",
                                                                   "CONVERT",
                                                                   "CORRESPONDING",
                                                                   "COUNT",
                                                                   "CREATE",
                                                                   "CROSS",
                                                                   "CURRENT",
                                                                   "CURRENT_DATE",
                                                                   "CURRENT_TIME",
                                                                   "CURRENT_TIMESTAMP",
                                                                   "CURRENT_USER",
                                                                   "CURSOR",
                                                                   "DATE",
                                                                   "DAY",
                                                                   "DEALLOCATE",
                                                                   "DEC",
                                                                   "DECIMAL",
                                                                   "DECLARE",
                                                                   "DEFAULT",
                                                                   "DEFERRABLE",
                                                                   "DEFERRED",
                                                                   "DELETE",
                                                                   "DESC",
                                                                   "DESCRIBE",
                                                                   "DESCRIPTOR",
                                                                   "DIAGNOSTICS",
                                                                   "DISCONNECT",
                                                                   "DISTINCT",
                                                                   "DOMAIN",
                                                                   "DOUBLE",
                                                                   "DROP",
                                                                   "ELSE",
                                                                   "END",
                                                                   "END-EXEC",
                                                                   "ESCAPE",
                                                                   "EXCEPT",
                                                                   "EXCEPTION",
                                                                   "EXEC",
                                                                   "EXECUTE",
                                                                   "EXISTS",
                                                                   "EXTERNAL",
                                                                   "EXTRACT",
                                                                   "FALSE",
                                                                   "FETCH",
                                                                   "FIRST",
                                                                   "FLOAT",
                                                                   "FOR",
                                                                   "FOREIGN",
                                                                   "FOUND",
                                                                   "FROM",
                                                                   "FULL",
                                                                   "GET",
                                                                   "GLOBAL",
                                                                   "GO",
                                                                   "GOTO",
                                                                   "GRANT",
                                                                   "GROUP",
                                                                   "HAVING",
                                                                   "HOUR",
                                                                   "IDENTITY",
                                                                   "IMMEDIATE",
                                                                   "IN",
                                                                   "INDICATOR",
                                                                   "INITIALLY",
                                                                   "INNER",
                                                                   "INPUT",
                                                                   "INSENSITIVE",
                                                                   "INSERT",
                                                                   "INT",
                                                                   "INTEGER",
                                                                   "INTERSECT",
                                                                   "INTERVAL",
                                                                   "INTO",
                                                                   "IS",
                                                                   "ISOLATION",
                                                                   "JOIN",
                                                                   "KEY",
                                                                   "LANGUAGE",
                                                                   "LAST",
                                                                   "LEADING",
                                                                   "LEFT",
                                                                   "LEVEL",
                                                                   "LIKE",
                                                                   "LOCAL",
                                                                   "LOWER",
                                                                   "MATCH",
                                                                   "MAX",
                                                                   "MIN",
                                                                   "MINUTE",
                                                                   "MODULE",
                                                                   "MONTH",
                                                                   "NAMES",
                                                                   "NATIONAL",
                                                                   "NATURAL",
                                                                   "NCHAR",
                                                                   "NEXT",
                                                                   "NO",
                                                                   "NOT",
                                                                   "NULL",
                                                                   "NULLIF",
                                                                   "NUMERIC",
                                                                   "OCTET_LENGTH",
                                                                   "OF",
                                                                   "ON",
                                                                   "ONLY",
                                                                   "OPEN",
                                                                   "OPTION",
                                                                   "OR",
                                                                   "ORDER",
                                                                   "OUTER",
                                                                   "OUTPUT",
                                                                   "OVERLAPS",
                                                                   "PAD",
                                                                   "PARTIAL",
                                                                   "POSITION",
                                                                   "PRECISION",
                                                                   "PREPARE",
                                                                   "PRESERVE",
                                                                   "PRIMARY",
                                                                   "PRIOR",
                                                                   "PRIVILEGES",
                                                                   "PROCEDURE",
                                                                   "PUBLIC",
                                                                   "READ",
                                                                   "REAL",
                                                                   "REFERENCES",
                                                                   "RELATIVE",
                                                                   "RESTRICT",
                                                                   "REVOKE",
                                                                   "RIGHT",
                                                                   "ROLLBACK",
                                                                   "ROWS",
                                                                   "SCHEMA",
                                                                   "SCROLL",
                                                                   "SECOND",
                                                                   "SECTION",
                                                                   "SELECT",
                                                                   "SESSION",
                                                                   "SESSION_USER",
                                                                   "SET",
                                                                   "SIZE",
                                                                   "SMALLINT",
                                                                   "SOME",
                                                                   "SPACE",
                                                                   "SQL",
                                                                   "SQLCODE",
                                                                   "SQLERROR",
                                                                   "SQLSTATE",
                                                                   "SUBSTRING",
                                                                   "SUM",
                                                                   "SYSTEM_USER",
                                                                   "TABLE",
                                                                   "TEMPORARY",
                                                                   "THEN",
                                                                   "TIME",
                                                                   "TIMESTAMP",
                                                                   "TIMEZONE_HOUR",
                                                                   "TIMEZONE_MINUTE",
                                                                   "TO",
                                                                   "TRAILING",
                                                                   "TRANSACTION",
                                                                   "TRANSLATE",
                                                                   "TRANSLATION",
                                                                   "TRIM",
                                                                   "TRUE",
                                                                   "UNION",
                                                                   "UNIQUE",
                                                                   "UNKNOWN",
                                                                   "UPDATE",
                                                                   "UPPER",
                                                                   "USAGE",
                                                                   "USER",
                                                                   "USING",
                                                                   "VALUE",
                                                                   "VALUES",
                                                                   "VARCHAR",
                                                                   "VARYING",
                                                                   "VIEW",
                                                                   "WHEN",
                                                                   "WHENEVER",
                                                                   "WHERE",
                                                                   "WITH",
                                                                   "WORK",
                                                                   "WRITE",
                                                                   "YEAR",
                                                                   "ZONE"};

// SQL_KEYWORDS lists can be long (the SQLite driver's holds every keyword
// of SQLite); a longer list is cut, which only leaves its tail unquoted.
constexpr SQLSMALLINT kKeywordBuffer = 16384;

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }

std::string UpperAscii(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

// The driver's own keywords, upper case; none when there is no connection
// or the driver does not say.
std::vector<std::string> DriverKeywords(SQLHDBC connection) {
  if (connection == SQL_NULL_HANDLE) return {};
  std::string keywords(static_cast<std::size_t>(kKeywordBuffer), '\0');
  SQLSMALLINT length = 0;
  if (!SQL_SUCCEEDED(
          SQLGetInfo(connection, SQL_KEYWORDS, keywords.data(), kKeywordBuffer, &length))) {
    return {};
  }
  keywords.resize(std::min<std::size_t>(keywords.find('\0'), keywords.size()));
  return ParseKeywordList(keywords);
}

// The driver's identifier quote; '"' when it cannot be asked, empty when the
// driver does not quote identifiers (it answers " ").
std::string DriverIdentifierQuote(SQLHDBC connection) {
  if (connection == SQL_NULL_HANDLE) return "\"";
  SQLCHAR quote[8] = {};
  SQLSMALLINT length = 0;
  if (!SQL_SUCCEEDED(
          SQLGetInfo(connection, SQL_IDENTIFIER_QUOTE_CHAR, quote, sizeof quote, &length))) {
    return "\"";
  }
  const std::string text(reinterpret_cast<const char*>(quote));
  return text == " " ? std::string() : text;
}

}  // namespace

bool IsPlainIdentifier(const std::string& name) {
  if (name.empty() || IsAsciiDigit(name[0])) return false;
  for (char c : name) {
    if (!IsAsciiLetter(c) && !IsAsciiDigit(c) && c != '_') return false;
  }
  return true;
}

bool IsSql92ReservedWord(const std::string& name) {
  return std::binary_search(kSql92ReservedWords.begin(), kSql92ReservedWords.end(),
                            std::string_view(UpperAscii(name)));
}

std::vector<std::string> ParseKeywordList(const std::string& list) {
  std::vector<std::string> words;
  std::size_t start = 0;
  while (start < list.size()) {
    std::size_t comma = list.find(',', start);
    if (comma == std::string::npos) comma = list.size();
    const std::string part = list.substr(start, comma - start);
    const std::size_t first = part.find_first_not_of(" \t\r\n");
    if (first != std::string::npos) {
      const std::size_t last = part.find_last_not_of(" \t\r\n");
      words.push_back(UpperAscii(part.substr(first, last - first + 1)));
    }
    start = comma + 1;
  }
  return words;
}

bool QueryNaming::StaysBare(const std::string& name) const {
  if (!IsPlainIdentifier(name) || IsSql92ReservedWord(name)) return false;
  const std::string upper = UpperAscii(name);
  return std::find(driverKeywords.begin(), driverKeywords.end(), upper) == driverKeywords.end();
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
  if (bracketEveryTable) return QueryNaming{false, "[", "]", {}}.Quoted(name);
  return StaysBare(name) ? name : Quoted(name);
}

std::string QueryNaming::Column(const std::string& name) const {
  return StaysBare(name) ? name : Quoted(name);
}

std::string QueryNaming::PdbNameOf(const std::string& table) const {
  return bracketEveryTable ? "[" + table + "]" : table;
}

QueryNaming NamingFor(SourceKind kind, SQLHDBC connection) {
  std::vector<std::string> keywords = DriverKeywords(connection);
  if (kind == SourceKind::AccessFile || kind == SourceKind::ExcelFile) {
    return QueryNaming{kind == SourceKind::ExcelFile, "[", "]", std::move(keywords)};
  }
  const std::string quote = DriverIdentifierQuote(connection);
  return QueryNaming{false, quote, quote, std::move(keywords)};
}

}  // namespace tallowick
