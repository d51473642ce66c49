#pragma once
// How table and column names are written into a composed query. Plain
// names (letters, digits, underscore, not starting with a digit) stay bare;
// others are quoted with the driver's identifier quote. Excel sheet names
// are always bracketed.
#include <sql.h>

#include <string>

namespace tallowick {

bool IsPlainIdentifier(const std::string& name);

struct QueryNaming {
  bool bracketEveryTable = false;  // Excel: [Sheet1$]
  std::string open;                // empty: the driver cannot quote; names stay bare
  std::string close;

  std::string Table(const std::string& name) const;
  std::string Column(const std::string& name) const;
  // The PDB name proposed for a single highlighted table: bracketed for
  // Excel, otherwise the bare name.
  std::string PdbNameOf(const std::string& table) const;

 private:
  std::string Quoted(const std::string& name) const;
};

// Access files use [ ] (MDB Tools' parser takes them, and they are the
// Access convention); Excel sources bracket too; everything else asks the
// driver (SQLGetInfo SQL_IDENTIFIER_QUOTE_CHAR) and falls back to '"'.
QueryNaming NamingFor(int kind, SQLHDBC connection);

}  // namespace tallowick
