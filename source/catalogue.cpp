#include "source/catalogue.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "odbc/odbc_api.h"
#include "platform/driver_text.h"
#include "platform/text_compare.h"
#include "source/odbc_result_source.h"
#include "source/query_composer.h"
#include "source/source_connection.h"
#include "source/source_kind.h"

namespace tallowick {

namespace {

std::string Trimmed(const std::string& text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  const std::size_t last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

// A catalogue text column: what the buffer holds, or empty for NULL.
std::string CatalogueText(const char* buffer, SQLLEN indicator) {
  if (DecodeIndicator(indicator) == SQL_NULL_DATA) return {};
  return platform::TextFromDrivers(std::string_view(buffer, ::strnlen(buffer, 255)));
}

}  // namespace

const char* TableTypesFor(SourceKind kind) {
  return kind == SourceKind::ExcelFile ? "TABLE,VIEW,SYSTEM TABLE" : "TABLE";
}

bool IsRequestedTableType(const std::string& requestedTypes, const std::string& tableType) {
  const std::string type = Trimmed(tableType);
  std::size_t start = 0;
  while (start <= requestedTypes.size()) {
    std::size_t comma = requestedTypes.find(',', start);
    if (comma == std::string::npos) comma = requestedTypes.size();
    std::string requested = Trimmed(requestedTypes.substr(start, comma - start));
    // Drivers may take the types quoted: 'TABLE'.
    if (requested.size() >= 2 && requested.front() == '\'' && requested.back() == '\'') {
      requested = requested.substr(1, requested.size() - 2);
    }
    if (EqualsIgnoringCase(requested, type)) return true;
    start = comma + 1;
  }
  return false;
}

TableListing ListTables(SourceConnection& connection) {
  TableListing listing;
  const SQLHSTMT statement = connection.RenewCatalogueStatement();
  if (statement == SQL_NULL_HSTMT) return listing;
  const char* types = TableTypesFor(connection.Kind());
  SQLTables(statement, nullptr, 0, nullptr, 0, nullptr, 0,
            reinterpret_cast<SQLCHAR*>(const_cast<char*>(types)), SQL_NTS);

  char columns[4][256];
  SQLLEN indicators[4] = {};
  SQLRETURN bound = SQL_SUCCESS;
  for (SQLUSMALLINT i = 0; i < 4; ++i) {
    bound = SQLBindCol(statement, i + 1, SQL_C_CHAR, columns[i], sizeof columns[i], &indicators[i]);
  }
  if (!SQL_SUCCEEDED(bound)) {
    SQLCloseCursor(statement);
    return listing;
  }
  listing.ok = true;
  // Catalogue results are read forward: MDB Tools cannot position them.
  for (;;) {
    for (SQLUSMALLINT i = 0; i < 4; ++i) {
      indicators[i] = 0;
      columns[i][0] = '\0';
    }
    const SQLRETURN result = SQLFetch(statement);
    if (!SQL_SUCCEEDED(result)) break;
    const std::string name = CatalogueText(columns[2], indicators[2]);
    const std::string type = CatalogueText(columns[3], indicators[3]);
    if (!name.empty() && IsRequestedTableType(types, type)) listing.names.push_back(name);
  }
  SQLCloseCursor(statement);
  return listing;
}

std::optional<std::vector<std::string>> ListColumns(SourceConnection& connection,
                                                    const std::string& table) {
  const SQLHSTMT statement = connection.RenewCatalogueStatement();
  if (statement == SQL_NULL_HSTMT) return std::nullopt;
  // The name came from the table catalogue, in the drivers' code page.
  std::string tableForDriver;
  platform::TextForDrivers(table, tableForDriver);
  const SQLRETURN result =
      SQLColumns(statement, nullptr, 0, nullptr, 0,
                 reinterpret_cast<SQLCHAR*>(tableForDriver.data()), SQL_NTS, nullptr, 0);
  if (!SQL_SUCCEEDED(result)) return std::nullopt;

  char tableName[256];
  char columnName[129];
  SQLLEN tableIndicator = 0;
  SQLLEN columnIndicator = 0;
  SQLBindCol(statement, 3, SQL_C_CHAR, tableName, sizeof tableName, &tableIndicator);
  SQLBindCol(statement, 4, SQL_C_CHAR, columnName, sizeof columnName, &columnIndicator);
  std::vector<std::string> names;
  for (;;) {
    tableIndicator = columnIndicator = 0;
    tableName[0] = columnName[0] = '\0';
    if (!SQL_SUCCEEDED(SQLFetch(statement))) break;
    const std::string rowTable = CatalogueText(tableName, tableIndicator);
    if (!rowTable.empty() && rowTable != table) continue;
    names.push_back(CatalogueText(columnName, columnIndicator));
  }
  SQLCloseCursor(statement);
  return names;
}

TableSelection ComposeTableSelection(const std::vector<TableColumns>& tables,
                                     const QueryNaming& naming) {
  TableSelection selection;
  if (tables.empty()) return selection;
  std::vector<std::string> queryForms;
  for (const TableColumns& table : tables) {
    const std::string queryForm = naming.Table(table.name);
    queryForms.push_back(queryForm);
    if (!table.columns) continue;
    for (const std::string& column : *table.columns) {
      if (tables.size() == 1) {
        selection.selectedFields.push_back(naming.Column(column));
        selection.pdbName = naming.PdbNameOf(table.name);
      } else {
        selection.selectedFields.push_back(queryForm + "." + naming.Column(column));
      }
    }
  }
  selection.query = ComposeTableQuery(queryForms);
  return selection;
}

TableSelection SelectTables(SourceConnection& connection,
                            const std::vector<std::string>& highlightedTables) {
  std::vector<TableColumns> tables;
  for (const std::string& name : highlightedTables) {
    tables.push_back({name, ListColumns(connection, name)});
  }
  return ComposeTableSelection(tables, connection.Naming());
}

}  // namespace tallowick
