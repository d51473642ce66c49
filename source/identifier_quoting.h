#pragma once
// How table and column names are written into a composed query. Plain
// names (letters, digits, underscore, not starting with a digit) that are
// no reserved word stay bare; others are quoted with the driver's
// identifier quote, a closing quote inside the name doubled ("[a]]b$]").
// Excel sheet names are always bracketed.

#include <string>
#include <vector>

#include "odbc/odbc_api.h"
#include "source/source_kind.h"

namespace tallowick {

bool IsPlainIdentifier(const std::string& name);

// True for a reserved word of SQL-92 (any letter case).
bool IsSql92ReservedWord(const std::string& name);

struct QueryNaming {
  bool bracketEveryTable = false;  // Excel: [Sheet1$]
  std::string open;                // empty: the driver cannot quote; names stay bare
  std::string close;
  // The driver's own keywords (SQLGetInfo SQL_KEYWORDS), upper case; they
  // are quoted like the SQL-92 reserved words.
  std::vector<std::string> driverKeywords;

  std::string Table(const std::string& name) const;
  std::string Column(const std::string& name) const;
  // The PDB name proposed for a single highlighted table: bracketed for
  // Excel, otherwise the bare name.
  std::string PdbNameOf(const std::string& table) const;
  // A name that may stay bare: plain and no reserved word.
  bool StaysBare(const std::string& name) const;

 private:
  std::string Quoted(const std::string& name) const;
};

// The comma-separated keyword list of SQLGetInfo(SQL_KEYWORDS) as upper-case
// words, blanks around each removed.
std::vector<std::string> ParseKeywordList(const std::string& list);

// Access files use [ ] (MDB Tools' parser takes them, and they are the
// Access convention); Excel sources bracket too; everything else asks the
// driver (SQLGetInfo SQL_IDENTIFIER_QUOTE_CHAR) and falls back to '"'. The
// driver's keywords are asked for every kind.
QueryNaming NamingFor(SourceKind kind, SQLHDBC connection);

}  // namespace tallowick
